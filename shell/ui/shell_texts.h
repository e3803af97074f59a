#pragma once

// Texts the main window shows, written once so that code and tests use the same words.
namespace korimet::texts {

inline constexpr const char* kAppTitle = "Korimet";

// The top-level menu of the features added beside the original window.
inline constexpr const char* kAdditionsMenuTitle = "ﾗﾝ(&R)";
inline constexpr const char* kAdditionsMenuName = "mnuRun";
inline constexpr const char* kPortComboText = "通信ポート";
inline constexpr const char* kStatusPanelText = "ｽﾃｰﾀｽ";
inline constexpr const char* kMemoInitialText = "RichTextBox1";
inline constexpr const char* kContactLine = "Korimet — lap timer companion";

inline constexpr const char* kCarIdCaption = "CarID";
inline constexpr const char* kLapCountCaption = "計測Lap数";
inline constexpr const char* kTargetCaption = "目標Time";
inline constexpr const char* kBestCaption = "BestLap";
inline constexpr const char* kWorstCaption = "Worst";
inline constexpr const char* kAverageCaption = "Average";

inline constexpr const char* kDataFileFilter = "Korimet DATAﾌｧｲﾙ (*.krt)|*.krt";

// Menu items that do nothing yet say so, naming their handler ("mnuFileClose").
inline constexpr const char* kPlaceholderMessage = " '%1_Click' のｺｰﾄﾞを追加します。";
// A menu command that failed: the command's name, then the cause on a second line.
inline constexpr const char* kMenuCommandFailed = "「%1」を実行できませんでした";
inline constexpr const char* kLineBreak = "\r\n";
// A file handed over by the desktop whose name is not UTF-8: Qt cannot name it to the system.
inline constexpr const char* kFileNameNotUtf8 =
    "ファイル名が UTF-8 ではないため開けません。名前を変えてから開いてください。";

// The command line of the window program: for a terminal and its manual page, in English.
inline constexpr const char* kProgramName = "korimet";
inline constexpr const char* kCommandLineSummary =
    "Korimet: downloads, shows and compares the runs of a lap timer.";
inline constexpr const char* kHelpOptionHelp = "Displays this help and exits.";
inline constexpr const char* kFileArgument = "FILE.krt";
inline constexpr const char* kFileArgumentHelp =
    "A run file to open at start, as File > Open opens it.";
inline constexpr const char* kTooManyFiles = "only one file can be opened at a time";
inline constexpr const char* kTryHelp = "(see 'korimet --help')";

// What a screen reader says for the controls whose captions are short or absent.
inline constexpr const char* kGridAccessibleName = "ラップ一覧";
inline constexpr const char* kChartAccessibleName = "ラップタイムのグラフ";
inline constexpr const char* kMemoAccessibleName = "メモ";
inline constexpr const char* kPortComboAccessibleName = "通信ポート";
inline constexpr const char* kCarIdAccessibleName = "カーID";
inline constexpr const char* kLapCountAccessibleName = "計測ラップ数";
inline constexpr const char* kTargetAccessibleName = "目標タイム";
inline constexpr const char* kBestAccessibleName = "ベストラップ";
inline constexpr const char* kWorstAccessibleName = "ワーストラップ";
inline constexpr const char* kAverageAccessibleName = "平均ラップ";
inline constexpr const char* kBestDiffAccessibleName = "ベストラップの差";
inline constexpr const char* kWorstDiffAccessibleName = "ワーストラップの差";
inline constexpr const char* kAverageDiffAccessibleName = "平均ラップの差";
inline constexpr const char* kRaceLineAccessibleName = "レース結果";

}  // namespace korimet::texts
