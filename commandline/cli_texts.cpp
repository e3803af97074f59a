#include "commandline/cli_texts.h"

#include <algorithm>
#include <initializer_list>
#include <string_view>
#include <utility>
#include <vector>

#include "common/text_mark.h"
#include "messages/file_messages.h"
#include "messages/tool_messages.h"
#include "sheet/sheet_texts.h"

namespace korimet::cli {

// The window program's words (korimet --help and its command-line errors) are marked for
// its translations as well: korimet shows them in the window's other languages.
// clang-format off
constexpr TextEntry kTextTable[static_cast<std::size_t>(Text::Count)] = {
    {Text::ToolSummary,
     "Reads, shows and converts Korimet lap timer runs without a window.",
     "Korimet のラップタイマーの走行データを、ウィンドウなしで読み込み・表示・変換します。"},
    {Text::ToolFooter,
     "Run 'korimet-cli VERB --help' for a verb's options and exit status. Messages follow the "
     "locale (LC_ALL, LC_MESSAGES, LANG): Japanese for ja, English otherwise.",
     "各動作のオプションと終了コードは 'korimet-cli 動作 --help' で表示します。メッセージは"
     "ロケール (LC_ALL, LC_MESSAGES, LANG) に従い、ja なら日本語、それ以外は英語です。"},
    {Text::HelpFlag, "print this help and exit", "このヘルプを表示して終了"},
    {Text::VersionFlag, "print the version and exit", "バージョンを表示して終了"},
    {Text::UsageLabel, "Usage", "使い方"},
    {Text::OptionsLabel, "Options", KORIMET_TR("Korimet", "オプション")},
    {Text::OptionsBadge, "OPTIONS", "オプション"},
    {Text::VerbBadge, "VERB [ARGUMENTS]", "動作 [引数]"},
    {Text::ArgumentsLabel, "Arguments", KORIMET_TR("Korimet", "引数")},
    {Text::VerbsLabel, "Verbs", "動作"},
    {Text::RequiredLabel, "(required)", "(必須)"},
    {Text::DecodeSummary,
     "decode serial bytes, one JSON object per frame; with --out also save each run",
     "シリアルのバイト列を解読し、フレームごとに JSON を 1 行出力。--out で各走行も保存"},
    {Text::DecodeCapture, "captured bytes or a device; standard input when absent or '-'",
     "記録したバイト列またはデバイス。省略または '-' で標準入力"},
    {Text::DecodeOut, "also save each run as the next free DIR/run-NNN.krt",
     "各走行を DIR/run-NNN.krt の空いている番号にも保存"},
    {Text::DecodeExit,
     "Exit status: 0 at least one frame, 1 no frame found, 2 wrong arguments, unreadable input "
     "or a run not saved.",
     "終了コード: 0 フレームが 1 つ以上あった、1 フレームなし、2 引数の誤り・入力を読めない・"
     "保存できない走行があった。"},
    {Text::ShowSummary, "what File > Open of the file shows", "ファイル > 開く で表示される内容"},
    {Text::ShowJson, "as one JSON object (docs/cli-json.md)", "JSON オブジェクト 1 つで出力 (docs/cli-json.md)"},
    {Text::ShowFile, "the data file; '-' for standard input", "データファイル。'-' で標準入力"},
    {Text::ShowExit, "Exit status: 0 shown, 2 wrong arguments or the file cannot be read.",
     "終了コード: 0 表示した、2 引数の誤りまたはファイルを読めない。"},
    {Text::ExportSummary, "one CSV row per counted lap", "数えたラップごとに CSV を 1 行出力"},
    {Text::ExportCsv, "CSV output (the only format)", "CSV で出力 (唯一の形式)"},
    {Text::ExportFile, "the data file; '-' for standard input", "データファイル。'-' で標準入力"},
    {Text::ExportExit, "Exit status: 0 written, 2 wrong arguments or the file cannot be read.",
     "終了コード: 0 出力した、2 引数の誤りまたはファイルを読めない。"},
    {Text::SimulateSummary, "the race line of a race of MINUTES minutes",
     "MINUTES 分のレースのレース模擬結果"},
    {Text::SimulateMinutes, "race length in minutes, as typed into the window's input box",
     "レース時間 (分)。ウィンドウの入力欄と同じ書き方"},
    {Text::SimulateFile, "the data file; '-' for standard input", "データファイル。'-' で標準入力"},
    {Text::SimulateExit,
     "Exit status: 0 line printed (none for 0 minutes or less), 1 no laps or MINUTES not a "
     "number, 2 wrong arguments or the file cannot be read.",
     "終了コード: 0 結果を出力した (0 分以下では出力なし)、1 ラップがない・MINUTES が数値でない、"
     "2 引数の誤りまたはファイルを読めない。"},
    {Text::CompareSummary, "FILE against OTHER: difference labels and chart",
     "FILE と OTHER の比較: 差のラベルとグラフ"},
    {Text::CompareFile, "the data file opened in the window; '-' for standard input",
     "ウィンドウで開いているデータファイル。'-' で標準入力"},
    {Text::CompareOther, "the data file to compare with; '-' for standard input",
     "比較するデータファイル。'-' で標準入力"},
    {Text::CompareJson, "as one JSON object (docs/cli-json.md)", "JSON オブジェクト 1 つで出力 (docs/cli-json.md)"},
    {Text::CompareExit,
     "Exit status: 0 compared, 2 wrong arguments, a file cannot be read or the runs cannot be "
     "compared.",
     "終了コード: 0 比較した、2 引数の誤り・ファイルを読めない・比較できない。"},
    {Text::ListenSummary,
     "read the timer's line, save each frame as DIR/run-NNN.krt (without --out: into the run "
     "library)",
     "タイマーの回線を受信し、フレームごとに DIR/run-NNN.krt に保存 (--out 省略時はラン一覧へ)"},
    {Text::ListenPort, "COM1 to COM8 (as set up for the window) or a device path",
     "COM1～COM8 (ウィンドウの設定どおり) またはデバイスのパス"},
    {Text::ListenOut, "folder for the runs (default: the run library)",
     "走行を保存するフォルダー (省略時はラン一覧)"},
    {Text::ListenCount, "stop after N saved runs", "N 件保存したら終了"},
    {Text::ListenServe,
     "also serve the pit view to phones on this port (on every IPv4 address, or on ADDRESS "
     "only); its address and access code go to standard error",
     "ピットビューもこのポートで配信 (全 IPv4 アドレス、または ADDRESS のみ)。アドレスと"
     "アクセスコードは標準エラーに出力"},
    {Text::ListenExit,
     "Exit status: 0 at least one run saved (Ctrl+C or end of input) or N runs saved, 1 none, "
     "2 wrong arguments, the port cannot be used or a run not saved.",
     "終了コード: 0 走行を 1 件以上保存した (Ctrl+C・入力の終わり) または N 件保存した、1 なし、"
     "2 引数の誤り・ポートを使えない・保存できない走行があった。"},
    {Text::SheetSummary, "the lap sheet as a PDF page, or its chart as a PNG picture",
     "ラップシートを PDF に、またはそのグラフを PNG 画像に出力"},
    {Text::SheetFile, "the data file", "データファイル"},
    {Text::SheetPdf, "write the sheet as this PDF; '-' for standard output",
     "シートをこの PDF に保存。'-' で標準出力"},
    {Text::SheetPng, "write the chart as this PNG; '-' for standard output",
     "グラフをこの PNG に保存。'-' で標準出力"},
    {Text::SheetWidth, "the picture's width in pixels (200 to 8000; height is half)",
     "画像の幅 (ピクセル、200～8000、高さは幅の半分)"},
    {Text::SheetCompare, "a second run drawn beside the first", "比較する 2 本目の走行"},
    {Text::SheetExit,
     "Exit status: 0 written, 2 wrong arguments, a file cannot be read or an output cannot be "
     "written (nothing half-written is left).",
     "終了コード: 0 保存した、2 引数の誤り・ファイルを読めない・出力を保存できない"
     " (書きかけのファイルは残らない)。"},
    {Text::SheetCannotStart, "cannot start {}: {}", "{} を起動できません: {}"},
    {Text::SheetRendererMissing,
     "the sheet renderer {} is not installed; it comes with the package {}",
     "ラップシートの描画プログラム {} がインストールされていません。{} パッケージに含まれています"},
    {Text::PdfNotWritten, "cannot write the PDF file {}: {}", "PDF ファイル {} を書き込めません: {}"},
    {Text::PngNotWritten, "cannot write the picture {}: {}", "画像ファイル {} を書き込めません: {}"},
    {Text::OneStandardOutput, "only one of --pdf and --png can be - (standard output)",
     "--pdf と --png のうち - (標準出力) にできるのは 1 つだけです"},
    {Text::RunsSummary, "the run library, oldest first: statistics per run, unreadable files",
     "ラン一覧 (古い順): 走行ごとの統計、読めないファイル"},
    {Text::RunsLibrary, "the library folder (default: the one the window keeps runs in)",
     "ラン一覧のフォルダー (省略時はウィンドウが走行を保存するフォルダー)"},
    {Text::RunsCar, "only the runs of car N (0 to 255)", "車番 N (0～255) の走行だけ"},
    {Text::RunsJson, "one JSON array, one object per run", "JSON の配列 (走行ごとに 1 つ)"},
    {Text::RunsExit, "Exit status: 0 listed (even empty), 2 wrong arguments or the folder cannot be read.",
     "終了コード: 0 一覧を表示した (空でも)、2 引数の誤り・フォルダーを読めない。"},
    {Text::RunsHeadings,
     "DOWNLOADED|CAR|LAPS|SUSPECT|BEST|AVERAGE|WORST|MEDIAN|SPREAD|CONSIST%|TARGET|PATH|MEMO",
     "ダウンロード日時|車番|周回数|要確認|ベスト|平均|ワースト|中央値|ばらつき|安定度%|目標|パス|"
     "メモ"},
    {Text::RunsUnreadable, "unreadable: ", "読めません: "},
    {Text::CorrectSummary,
     "suspect laps and their fixes, applied or undone beside the file",
     "要確認のラップと修正案。修正をファイルの横に保存、または取り消し"},
    {Text::CorrectFile, "the data file (its bytes are never changed)",
     "データファイル (ファイル自体は変更しない)"},
    {Text::CorrectApply,
     "all suggestions, or laps as listed, comma-separated: N takes the suggested fix, "
     "KIND:N one of merge-next, merge-previous, split, leave-out",
     "すべての修正案 (all)、または一覧の周回をカンマ区切りで: N は修正案どおり、KIND:N は "
     "merge-next, merge-previous, split, leave-out のどれか"},
    {Text::CorrectUndo, "undo the last correction", "最後の修正を取り消す"},
    {Text::CorrectUndoAll, "undo every correction: the laps as downloaded",
     "すべての修正を取り消す (ダウンロードしたままのラップ)"},
    {Text::CorrectJson, "as one JSON object (docs/cli-json.md)",
     "JSON オブジェクト 1 つで出力 (docs/cli-json.md)"},
    {Text::CorrectExit,
     "Exit status: 0 listed or done, 1 nothing done (no such suggestion, a refused "
     "correction, nothing to undo), 2 wrong arguments, the file cannot be read, or the "
     "correction file cannot be used or saved.",
     "終了コード: 0 表示または実行した、1 何もしなかった (修正案がない・修正できない・"
     "取り消す修正がない)、2 引数の誤り・ファイルを読めない・修正ファイルを使えないまたは"
     "保存できない。"},
    {Text::CorrectApplied, "corrections: ", "修正: "},
    {Text::CorrectNoneApplied, "corrections: none", "修正: なし"},
    {Text::CorrectHeadings, "LAP|TIME|SUSPECT|FIX", "周回|タイム|疑い|修正案"},
    {Text::CorrectNoSuspects, "no suspect laps", "要確認のラップはありません"},
    {Text::CorrectOneAction, "only one of --apply, --undo and --undo-all",
     "--apply、--undo、--undo-all はどれか 1 つだけ指定してください"},
    {Text::CorrectNotStandardInput,
     "corrections are kept beside a file: standard input cannot be corrected",
     "修正はファイルの横に保存されます。標準入力は修正できません"},
    {Text::CorrectBadItem, "--apply: '{}' is not all, a lap number or KIND:LAP",
     "--apply: '{}' は all、周回番号、KIND:周回 のどれでもありません"},
    {Text::CorrectNoSuggestion, "lap {} has no suggested correction; nothing changed",
     "{} 周目に修正案はありません。何も変更していません"},
    {Text::CorrectRefused, "{} {} cannot be applied ({}); nothing changed",
     "{} {} は適用できません ({})。何も変更していません"},
    {Text::CorrectNothingToUndo, "no correction to undo", "取り消す修正はありません"},
    {Text::CorrectFileLeft, "the correction file is left as it is; nothing changed",
     "修正ファイルはそのままです。何も変更していません"},
    {Text::UnknownVerb, "unknown verb '{}' (korimet-cli --help lists them)",
     "'{}' という動作はありません (korimet-cli --help で一覧を表示)"},
    {Text::MissingVerb, "no verb given (korimet-cli --help lists them)",
     "動作が指定されていません (korimet-cli --help で一覧を表示)"},
    {Text::UnexpectedArgument, "unexpected argument: {}", "余分な引数があります: {}"},
    {Text::UnknownOption, "unknown option: {}", KORIMET_TR("Korimet", "不明なオプションです: {}")},
    {Text::MissingArgument, "{} is missing", "{} が指定されていません"},
    {Text::OptionNeedsValue, "{} needs one value", KORIMET_TR("Korimet", "{} には値を 1 つ指定してください")},
    {Text::OptionTwice, "{} is given more than once", "{} が 2 回以上指定されています"},
    {Text::NotWholeNumberIn, "{} is not a whole number from {} to {}",
     "{} は {}～{} の整数ではありません"},
    {Text::WrongArguments, "wrong arguments: {}", KORIMET_TR("Korimet", "引数が正しくありません: {}")},
    {Text::ExactlyTwoArguments, "needs MINUTES and FILE.krt, nothing else",
     "MINUTES と FILE.krt の 2 つだけを指定してください"},
    {Text::HeadCar, "Car", "車番"},
    {Text::HeadLaps, "Laps", "周回数"},
    {Text::HeadTarget, "Target", "目標"},
    {Text::HeadBest, "Best", "ベスト"},
    {Text::HeadAverage, "Average", "平均"},
    {Text::HeadWorst, "Worst", "ワースト"},
    {Text::HeadRace, "Race", "レース"},
    {Text::HeadMarks, "(B best, W worst, T at or under the target)",
     "(B ベスト、W ワースト、T 目標以内)"},
    {Text::HeadMemo, "Memo:", "メモ:"},
    {Text::CannotRead, "cannot read {}: {}", "{} を読めません: {}"},
    {Text::ErrorReading, "error reading {}: {}", "{} の読み込み中に失敗しました: {}"},
    {Text::CannotCreate, "cannot create {}: {}", "{} を作成できません: {}"},
    {Text::StandardInput, "standard input", "標準入力"},
    {Text::OneStandardInput, "only one of FILE.krt and OTHER.krt can be - (standard input)",
     "FILE.krt と OTHER.krt のうち - (標準入力) にできるのは 1 つだけです"},
    {Text::RunsNotSaved, "{} of {} runs were not saved", "{} 件の走行を保存できませんでした (全 {} 件)"},
    {Text::NoFrameFound, "no frame found in {}", "{} にフレームがありません"},
    {Text::NoRaceLine, "a race of {} minutes is no race: no race line is shown",
     "{} 分のレースは模擬できません: レース模擬結果は表示されません"},
    {Text::RaceMinutesMissing, "no race length (minutes) given", "レース時間(分)が指定されていません"},
    {Text::RaceMinutesNotNumber, "the race length (minutes) is not a number: {}",
     "レース時間(分)が数値ではありません: {}"},
    {Text::CountNotWhole, "--count needs a whole number of 1 or more",
     "--count には 1 以上の整数を指定してください"},
    {Text::NotAPort, "{} is not a port; use COM1 to COM8 or a device path",
     "{} はポートではありません。COM1～COM8 またはデバイスのパスを指定してください"},
    {Text::CannotOpen, "cannot open {}: {}", "{} を開けません: {}"},
    {Text::CannotSetLine, "cannot set 19200,N,8,1 on {}: {}", "{} を 19200,N,8,1 に設定できません: {}"},
    {Text::WentAway, "{} went away", "{} が使えなくなりました"},
    {Text::ListeningOn, "listening on {} (Ctrl+C ends)", "{} を受信中 (Ctrl+C で終了)"},
    {Text::NotAServeAddress, "--serve needs a port number or ADDRESS:NUMBER (an IP address): {}",
     "--serve にはポート番号または ADDRESS:NUMBER (IP アドレス) を指定してください: {}"},
    {Text::CannotServe, "cannot serve the pit view on {} (port in use or address not here)",
     "{} でピットビューを配信できません (ポートが使用中かアドレスがありません)"},
    {Text::CannotWriteOutput, "cannot write to standard output: {}", "標準出力に書き込めません: {}"},
    {Text::PaintFailed, "the page cannot be drawn", texts::kPaintFailed},
    {Text::NotAnOutput, "not a file, a pipe or a character device: it was left as it is",
     texts::kNotAnOutput},
    {Text::WindowSummary, "Korimet: downloads, shows and compares the runs of a lap timer.",
     KORIMET_TR("Korimet", "Korimet: ラップタイマーの走行データをダウンロード・表示・比較します。")},
    {Text::WindowUsage, "Usage: korimet [options] [FILE.krt]", KORIMET_TR("Korimet", "使い方: korimet [オプション] [FILE.krt]")},
    {Text::WindowHelpFlag, "Displays this help and exits.", KORIMET_TR("Korimet", "このヘルプを表示して終了します。")},
    {Text::WindowVersionFlag, "Displays version information.", KORIMET_TR("Korimet", "バージョンを表示して終了します。")},
    {Text::WindowFileArgument, "A run file to open at start, as File > Open opens it.",
     KORIMET_TR("Korimet", "起動時に開く走行ファイル (ファイル > 開く と同じように開く)")},
    {Text::WindowTooManyFiles, "only one file can be opened at a time",
     KORIMET_TR("Korimet", "一度に開けるファイルは 1 つだけです")},
    {Text::WindowTryHelp, "(see 'korimet --help')", KORIMET_TR("Korimet", "('korimet --help' を参照)")},
    {Text::OptionTakesNoValue, "{} takes no value", KORIMET_TR("Korimet", "{} には値を指定できません")},
};
// clang-format on

// A text added to `Text` without its entry here, or out of order, does not compile.
constexpr bool tableInOrder() {
    for (std::size_t i = 0; i < std::size(kTextTable); ++i) {
        if (kTextTable[i].key != static_cast<Text>(i)) return false;
    }
    return true;
}
static_assert(tableInOrder(), "kTextTable must list every Text once, in order");

const char* Texts::operator()(Text key) const {
    const TextEntry& entry = kTextTable[static_cast<std::size_t>(key)];
    if (wording_) {
        auto [at, added] = worded_.try_emplace(key);
        if (added) at->second = wording_(entry.ja);
        return at->second.c_str();
    }
    return language_ == Language::Japanese ? entry.ja : entry.en;
}

std::string Texts::with(Text key, std::initializer_list<std::string_view> details) const {
    std::string text = (*this)(key);
    std::size_t from = 0;
    for (std::string_view detail : details) {
        const std::size_t at = text.find("{}", from);
        if (at == std::string::npos) break;
        text.replace(at, 2, detail);
        from = at + detail.size();
    }
    return text;
}

std::string Texts::file(const FileError& error) const { return fileMessage(error, language_); }

std::string Texts::reason(int error) const { return systemReason(error, language_); }

std::string Texts::tool(const ToolRefusal& refusal) const {
    return toolRefusalMessage(refusal, language_);
}

namespace {

std::size_t sequenceLength(unsigned char lead) {
    return lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

// Three-byte and longer sequences are CJK here, but for the half-width katakana block
// (U+FF61..U+FF9F: EF BD A1..EF BD BF and EF BE 80..EF BE 9F), which takes one column.
std::size_t characterWidth(std::string_view character) {
    if (character.size() < 3) return 1;
    const auto second = static_cast<unsigned char>(character[1]);
    const auto third = static_cast<unsigned char>(character[2]);
    const bool halfWidthKana =
        static_cast<unsigned char>(character[0]) == 0xEF &&
        ((second == 0xBD && third >= 0xA1) || (second == 0xBE && third <= 0x9F));
    return halfWidthKana ? 1 : 2;
}

// Marks that close a phrase: a line never starts with one.
bool closesPhrase(std::string_view character) {
    constexpr std::string_view kClosing[] = {"、", "。", "，", "．", "）", "」", "』",
                                             "】", "・", "ー", "～", "…",  "：", "！",
                                             "？", ")",  ",",  ".",  ":",  ";"};
    for (std::string_view mark : kClosing) {
        if (character == mark) return true;
    }
    return false;
}

// Marks that open a phrase: a line never ends with one.
bool opensPhrase(std::string_view character) {
    constexpr std::string_view kOpening[] = {"（", "「", "『", "【", "("};
    for (std::string_view mark : kOpening) {
        if (character == mark) return true;
    }
    return false;
}

// A piece of text that no line break splits, and the spaces before it.
struct Piece {
    std::size_t spaces = 0;
    std::string text;
    std::size_t width = 0;
};

// Each run of narrow characters between spaces is one piece; each wide character is one,
// together with the marks that may not stand apart from it.
std::vector<Piece> piecesOf(std::string_view line) {
    std::vector<Piece> pieces;
    std::size_t spaces = 0;
    bool joinNext = false;  // the last piece ends with an opening mark
    bool lastWide = false;
    for (std::size_t i = 0; i < line.size();) {
        const std::size_t length =
            std::min(sequenceLength(static_cast<unsigned char>(line[i])), line.size() - i);
        const std::string_view character = line.substr(i, length);
        i += length;
        if (character == " ") {
            ++spaces;
            joinNext = false;
            continue;
        }
        const std::size_t width = characterWidth(character);
        const bool wide = width == 2;
        const bool join = !pieces.empty() && spaces == 0 &&
                          (joinNext || closesPhrase(character) || (!wide && !lastWide));
        if (join) {
            pieces.back().text += character;
            pieces.back().width += width;
        } else {
            pieces.push_back({spaces, std::string(character), width});
        }
        spaces = 0;
        joinNext = opensPhrase(character);
        lastWide = wide;
    }
    return pieces;
}

}  // namespace

std::size_t displayWidth(std::string_view text) {
    std::size_t width = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length =
            std::min(sequenceLength(static_cast<unsigned char>(text[i])), text.size() - i);
        width += characterWidth(text.substr(i, length));
        i += length;
    }
    return width;
}

std::string wrapToWidth(std::string_view text, std::size_t column, std::size_t indent,
                        std::size_t width) {
    std::string out;
    bool firstLine = true;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        if (!firstLine) {
            out += "\n" + std::string(indent, ' ');
            column = indent;
        }
        bool lineEmpty = true;
        for (const Piece& piece : piecesOf(text.substr(start, end - start))) {
            const std::size_t spaces = lineEmpty ? 0 : piece.spaces;
            if (!lineEmpty && column + spaces + piece.width > width) {
                out += "\n" + std::string(indent, ' ');
                column = indent;
            } else {
                out.append(spaces, ' ');
                column += spaces;
            }
            out += piece.text;
            column += piece.width;
            lineEmpty = false;
        }
        firstLine = false;
        start = end + 1;
    }
    return out;
}

}  // namespace korimet::cli
