// How often the memo reader takes a memo for the wrong encoding, for the reading by character
// model and for the rule it replaced (UTF-8 when every wide character is Japanese), over
// memos made from Japanese text (one line a line, UTF-8): see memo_reading_rates.sh.
//
//   korimet_memo_reading_rates TEXT [MEMOS_PER_KIND]
#include <QList>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "files/data_file.h"

namespace {

using namespace korimet;

QByteArrayView view(const std::string& bytes) {
    return QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::optional<std::string> toCp932(const std::u32string& text) {
    QStringEncoder encoder("CP932", QStringConverter::Flag::Stateless);
    const QByteArray bytes = encoder.encode(QString::fromStdU32String(text));
    if (encoder.hasError()) return std::nullopt;
    return bytes.toStdString();
}

std::string toUtf8(const std::u32string& text) {
    return QString::fromStdU32String(text).toStdString();
}

bool validUtf8(const std::string& bytes) {
    QStringDecoder d(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = d.decode(view(bytes));
    return !d.hasError();
}

bool validCp932(const std::string& bytes) {
    QStringDecoder d("CP932", QStringConverter::Flag::Stateless);
    const QString text = d.decode(view(bytes));
    return !d.hasError();
}

// The rule before the character model, for both-valid memos: UTF-8 when it has a character
// of three bytes or more and every such character is in the Japanese ranges, else CP932.
bool oldRuleReadsUtf8(const std::string& bytes) {
    QStringDecoder d(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = d.decode(view(bytes));
    bool any = false;
    for (const char32_t c : text.toUcs4()) {
        if (c < 0x800) continue;
        any = true;
        const bool japanese = (c >= 0x2010 && c <= 0x27BF) || (c >= 0x3000 && c <= 0x30FF) ||
                              (c >= 0x3200 && c <= 0x33FF) || (c >= 0x4E00 && c <= 0x9FFF) ||
                              (c >= 0xFF00 && c <= 0xFFEF);
        if (!japanese) return false;
    }
    return any;
}

struct Tally {
    long memos = 0;
    long bothValid = 0;
    long oldWrong = 0;
    long newWrong = 0;
    long doubtful = 0;
    long doubtfulWrong = 0;
};

// One memo of known encoding.
void count(Tally& t, const std::string& bytes, bool isUtf8) {
    ++t.memos;
    const bool ascii = std::all_of(bytes.begin(), bytes.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii || !validUtf8(bytes) || !validCp932(bytes)) return;  // no choice to make
    QStringDecoder cp932("CP932", QStringConverter::Flag::Stateless);
    const std::string text = isUtf8 ? bytes : QString(cp932.decode(view(bytes))).toStdString();
    ++t.bothValid;
    if (oldRuleReadsUtf8(bytes) != isUtf8) ++t.oldWrong;
    const auto reading = readMemoBytes(bytes);
    const bool wrong = !reading || reading->text != text;
    if (wrong) ++t.newWrong;
    if (reading && reading->doubtful()) {
        ++t.doubtful;
        if (wrong) ++t.doubtfulWrong;
    }
}

void print(const char* name, const Tally& t) {
    auto pct = [&](long n) { return t.bothValid ? 100.0 * double(n) / double(t.bothValid) : 0.0; };
    std::printf("%-44s %8ld %8ld %9.3f%% %9.3f%% %9.3f%% %9.3f%%\n", name, t.memos, t.bothValid,
                pct(t.oldWrong), pct(t.newWrong), pct(t.doubtful),
                pct(t.newWrong - t.doubtfulWrong));
}

bool isKanji(char32_t c) { return c >= 0x4E00 && c <= 0x9FFF; }

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: korimet_memo_reading_rates TEXT [MEMOS_PER_KIND]\n";
        return 2;
    }
    const long perKind = argc > 2 ? std::stol(argv[2]) : 20000;
    std::ifstream in(argv[1]);
    std::vector<std::u32string> lines;
    for (std::string line; std::getline(in, line);) {
        const std::u32string text = QString::fromStdString(line).toStdU32String();
        bool japanese = false;
        for (char32_t c : text) japanese = japanese || (c >= 0x3040 && c <= 0x9FFF);
        if (japanese && text.size() >= 4) lines.push_back(text);
    }
    if (lines.empty()) {
        std::cerr << "no Japanese lines in " << argv[1] << "\n";
        return 2;
    }

    // Every level-2 kanji of CP932 (989F-EAA4) and every other kanji it has beyond level 1.
    std::vector<char32_t> level2;
    for (int lead = 0x98; lead <= 0xFC; ++lead) {
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const int code = lead * 256 + trail;
            if (code < 0x989F || (code > 0xEAA4 && code < 0xED40)) continue;
            const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
            QStringDecoder d("CP932", QStringConverter::Flag::Stateless);
            const QString one = d.decode(view(bytes));
            if (!d.hasError() && one.size() == 1 && isKanji(one[0].unicode())) {
                level2.push_back(one[0].unicode());
            }
        }
    }

    std::mt19937_64 rng(19);
    auto pick = [&](std::size_t n) { return static_cast<std::size_t>(rng() % n); };
    auto fragment = [&](std::size_t shortest, std::size_t longest) {
        const std::u32string& line = lines[pick(lines.size())];
        const std::size_t length = std::min(line.size(), shortest + pick(longest - shortest + 1));
        return line.substr(pick(line.size() - length + 1), length);
    };
    auto withLevel2 = [&](std::u32string text) {
        std::vector<std::size_t> kanji;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (isKanji(text[i])) kanji.push_back(i);
        }
        if (kanji.empty())
            text.insert(pick(text.size() + 1), 1, level2[pick(level2.size())]);
        else
            text[kanji[pick(kanji.size())]] = level2[pick(level2.size())];
        return text;
    };
    auto longMemo = [&] {
        std::u32string text;
        const std::size_t count = 2 + pick(3);
        for (std::size_t i = 0; i < count; ++i) {
            if (i) text += U"\r\n";
            text += lines[pick(lines.size())];
        }
        return text;
    };
    const std::u32string cars[] = {U"TT-02", U"Mini-Z MR-03", U"YZ-2", U"B6.4",
                                   U"RC10",  U"XRAY T4",      U"MTC2", U"TRF420X"};
    const std::u32string emoji[] = {U"😀", U"🏁", U"👍", U"🔥", U"⚡"};
    auto editorMemo = [&](bool withEmoji) {
        std::u32string text = fragment(2, 30);
        switch (pick(4)) {
            case 0:
                text = cars[pick(std::size(cars))] + U" " + text;
                break;
            case 1:
                text += U" " + QString::number(10 + pick(90)).toStdU32String() + U"." +
                        QString::number(pick(100)).toStdU32String() + U"s";
                break;
            case 2:
                text += U"\r\n" + cars[pick(std::size(cars))] + U" ギヤ比 " +
                        QString::number(6 + pick(4)).toStdU32String() + U"." +
                        QString::number(pick(10)).toStdU32String();
                break;
            default:
                break;
        }
        if (withEmoji) text.insert(pick(text.size() + 1), emoji[pick(std::size(emoji))]);
        return text;
    };

    std::printf("%-44s %8s %8s %10s %10s %10s %10s\n", "memos", "count", "both", "old wrong",
                "new wrong", "doubtful", "new wrong unwarned");
    std::printf("%-44s %8s %8s %10s %10s %10s %10s\n", "", "", "valid", "", "", "", "");

    // The two-character shape: a level-2 kanji whose bytes open a UTF-8 character that the
    // next character's bytes close (every such pair CP932 has).
    // By what the second character is: kana and the punctuation of a sentence (the shape of
    // 轢。), a kanji, or anything else CP932 has (Greek, Cyrillic, full-width letters, ...).
    Tally pairsKana, pairsKanji, pairsOther;
    for (char32_t k : level2) {
        const auto first = toCp932(std::u32string(1, k));
        const auto b0 = static_cast<unsigned char>((*first)[0]);
        const auto b1 = static_cast<unsigned char>((*first)[1]);
        if (b0 < 0xE0 || b0 > 0xEF || b1 < 0x80 || b1 > 0xBF) continue;
        for (int lead = 0x81; lead <= 0xBF; ++lead) {
            for (int trail = 0x00; trail <= (lead >= 0xA0 ? 0x00 : 0x7E); ++trail) {
                std::string second(1, static_cast<char>(lead));
                if (lead < 0xA0) {
                    if (trail < 0x40) continue;
                    second += static_cast<char>(trail);
                }
                QStringDecoder d("CP932", QStringConverter::Flag::Stateless);
                const QString next = d.decode(view(second));
                if (d.hasError() || next.isEmpty()) continue;
                const char32_t c = next.toUcs4().front();
                Tally& pairs = (c >= 0x3000 && c <= 0x30FF) ? pairsKana
                               : isKanji(c)                 ? pairsKanji
                                                            : pairsOther;
                count(pairs, *first + second, false);
            }
        }
    }
    print("CP932 level-2 kanji + kana or 。、「」ー...", pairsKana);
    print("CP932 level-2 kanji + kanji", pairsKanji);
    print("CP932 level-2 kanji + other character", pairsOther);

    Tally cpShort, cpLong, cpL2Short, cpL2Long, cpL2Word;
    for (long i = 0; i < perKind; ++i) {
        const std::pair<Tally*, std::u32string> made[] = {
            {&cpShort, fragment(2, 12)},
            {&cpLong, longMemo()},
            {&cpL2Short, withLevel2(fragment(2, 12))},
            {&cpL2Long, withLevel2(longMemo())},
            {&cpL2Word, std::u32string(1, level2[pick(level2.size())]) + fragment(1, 4)},
        };
        for (const auto& [tally, text] : made) {
            if (const auto bytes = toCp932(text)) count(*tally, *bytes, false);
        }
    }
    print("CP932 words and phrases (2-12 chars)", cpShort);
    print("CP932 lines (2-4 lines)", cpLong);
    print("CP932 words and phrases with a level-2 kanji", cpL2Short);
    print("CP932 lines with a level-2 kanji", cpL2Long);
    print("CP932 level-2 kanji + 1-4 characters of text", cpL2Word);

    Tally u8Short, u8Long, u8Editor, u8Emoji;
    for (long i = 0; i < perKind; ++i) {
        const std::pair<Tally*, std::u32string> made[] = {
            {&u8Short, fragment(1, 12)},
            {&u8Long, longMemo()},
            {&u8Editor, editorMemo(false)},
            {&u8Emoji, editorMemo(true)},
        };
        for (const auto& [tally, text] : made) {
            count(*tally, toUtf8(text), true);
        }
    }
    print("UTF-8 words and phrases (1-12 chars)", u8Short);
    print("UTF-8 lines (2-4 lines)", u8Long);
    print("UTF-8 editor memos (car names, numbers)", u8Editor);
    print("UTF-8 editor memos with an emoji", u8Emoji);
    std::printf(
        "\nrates over the memos both encodings decode; doubtful: opened with a notice "
        "(lead below %lld eighths of a bit, CP932 starting %lld ahead)\n",
        static_cast<long long>(kMemoDoubtfulLead), static_cast<long long>(kMemoCp932Prior));
    return 0;
}
