#include <gtest/gtest.h>

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "files/data_file.h"

namespace korimet {
namespace {

using namespace std::string_literals;

bool decodes(const char* encoding, const std::string& bytes) {
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    const QString text =
        decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return !decoder.hasError();
}

bool bothDecode(const std::string& bytes) {
    return decodes("UTF-8", bytes) && decodes("CP932", bytes);
}

// A run file as the timer's software writes it, with these memo bytes (no quote inside).
std::string fileWithMemo(const std::string& memoBytes) {
    std::string bytes = *writeDataFileBytes(LapData{}, "").bytes;
    bytes.resize(bytes.size() - 4);  // the empty memo's two quotes and CR LF
    return bytes + '"' + memoBytes + "\"\r\n";
}

std::string utf8(const std::u32string& text) {
    return QString::fromStdU32String(text).toStdString();
}

// Memos whose bytes are both CP932 and UTF-8: the likelier Japanese text is the one read.
TEST(MemoReading, BothReadingsValidTakesTheLikelierJapanese) {
    const struct {
        std::string bytes;
        std::string text;
        MemoEncoding encoding;
    } cases[] = {
        // A level-2 kanji and 。 are the UTF-8 bytes of a rare kanji and a letter.
        {"\xE7\x80\x81\x42", "轢。", MemoEncoding::Cp932},  // U+7001 and "B"
        {"\xE9\xA1\x81\x42", "鬘。", MemoEncoding::Cp932},
        {"TT-02 \xE7\x80\x81\x42", "TT-02 轢。", MemoEncoding::Cp932},
        {"\xC3\xB8", "ﾃｸ", MemoEncoding::Cp932},
        {"\xCF\xB2\xC5\xB0", "ﾏｲﾅｰ", MemoEncoding::Cp932},
        // UTF-8 Japanese from an editor reads as CP932 only in odd kanji and half-width kana.
        {"ああ", "ああ", MemoEncoding::Utf8},
        {"ア", "ア", MemoEncoding::Utf8},
        {"雨", "雨", MemoEncoding::Utf8},
        {"路面", "路面", MemoEncoding::Utf8},
        {"予選", "予選", MemoEncoding::Utf8},
        {"タイヤ", "タイヤ", MemoEncoding::Utf8},
        {"スピン", "スピン", MemoEncoding::Utf8},
        {"新品タイヤ", "新品タイヤ", MemoEncoding::Utf8},
        {"モーター", "モーター", MemoEncoding::Utf8},
        {"ベスト更新🏁", "ベスト更新🏁", MemoEncoding::Utf8},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(bothDecode(c.bytes)) << c.text;  // else there is nothing to choose
        const auto reading = readMemoBytes(c.bytes);
        ASSERT_TRUE(reading) << c.text;
        EXPECT_EQ(reading->text, c.text);
        EXPECT_EQ(reading->encoding, c.encoding) << c.text;
    }
}

// A memo whose reading stays doubtful is read all the same, with a warning that names the
// file, the memo's place and the reading taken; a clear one comes without.
TEST(MemoReading, DoubtfulReadingComesWithANotice) {
    // 繧。 against めB, and 縲。 against 、B: either could be meant.
    const struct {
        std::string bytes;
        std::string text;
        const char* reading;
    } cases[] = {
        {"\xE3\x82\x81\x42", "繧。", "CP932"},
        {"\xE3\x80\x81\x42", "、B", "UTF-8"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(bothDecode(c.bytes));
        const auto read = readDataFileBytes(fileWithMemo(c.bytes), "d.krt");
        ASSERT_TRUE(read) << read.error;
        EXPECT_EQ(read.content->memo, c.text);
        EXPECT_EQ(read.warning.code, FileErrorCode::MemoEncodingDoubtful) << c.text;
        EXPECT_EQ(read.warning.path, "d.krt");
        ASSERT_TRUE(read.warning.place);
        EXPECT_EQ(read.warning.place->line, 62);
        EXPECT_EQ(read.warning.detail, c.reading);
        // The laps alone do not look at the memo.
        EXPECT_FALSE(readDataFileBytes(fileWithMemo(c.bytes), "d.krt", MemoField::Skip).warning);
    }
    for (const std::string& clear : {"\xE7\x80\x81\x42"s, "タイヤ交換"s, "ok"s}) {
        const auto sure = readDataFileBytes(fileWithMemo(clear), "c.krt");
        ASSERT_TRUE(sure);
        EXPECT_FALSE(sure.warning) << clear << ": " << sure.warning;
    }
}

// Random Japanese memos of racers' words in a file of the timer's software (CP932) or from
// an editor (UTF-8). Opening a file and saving it unchanged gives the file's bytes back where
// the memo was read as CP932; where it was read as UTF-8, CP932 bytes of the same text that
// open and save to themselves (or a refusal that leaves the file as it was). How many memos
// read as other text than was written, with and without a notice, is printed.
TEST(MemoReading, SavingAnOpenedMemoUnchangedKeepsItsBytes) {
    std::vector<char32_t> level1, level2, halfWidth;
    for (char32_t c = 0xFF66; c <= 0xFF9D; ++c) halfWidth.push_back(c);
    for (unsigned lead = 0x88; lead <= 0xEA; lead = lead == 0x9F ? 0xE0 : lead + 1) {
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            const unsigned code = lead << 8 | trail;
            if (trail == 0x7F || code < 0x889F || code > 0xEAA4) continue;
            const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
            if (!decodes("CP932", bytes)) continue;
            const auto text = QString::fromStdString(*decodeMemo(bytes)).toStdU32String();
            if (text.size() != 1) continue;
            (code <= 0x9872 ? level1 : level2).push_back(text[0]);
        }
    }
    ASSERT_GT(level1.size(), 2900u);
    ASSERT_GT(level2.size(), 3000u);
    // Words racers write, car names and numbers, marks; now and then a level-2 kanji (a
    // name, a place) or half-width kana.
    const std::vector<std::u32string> words{
        U"雨",       U"晴れ",   U"路面",     U"練習",   U"予選",     U"決勝",     U"タイヤ",
        U"交換",     U"スピン", U"転倒",     U"ギヤ比", U"モーター", U"ダンパー", U"セッティング",
        U"いい",     U"悪い",   U"速い",     U"遅い",   U"ベスト",   U"更新",     U"コーナー",
        U"ピニオン", U"硬め",   U"柔らかめ", U"が",     U"は",       U"で",       U"を",
        U"に",       U"の",     U"した",     U"です",   U"ウィング", U"新品",     U"調子"};
    const std::vector<std::u32string> ascii{U"TT-02", U"YZ-2", U"B6.4", U"7.5", U"12", U"3",
                                            U" ",     U"OK",   U"-",    U"/",   U"x"};
    const std::u32string marks = U"。、「」ー・！？　";

    std::mt19937_64 rng(20261211);
    auto from = [&](const auto& set) { return set[rng() % set.size()]; };
    int told = 0;
    int unwarned = 0;
    for (int i = 0; i < 20000; ++i) {
        std::u32string text;
        const int length = 1 + static_cast<int>(rng() % (i % 4 < 2 ? 3 : 10));
        for (int k = 0; k < length; ++k) {
            switch (rng() % 10) {
                case 0:
                    text += from(level2);
                    break;
                case 1:
                    text += from(level1);
                    break;
                case 2:
                    text += from(marks);
                    break;
                case 3:
                case 4:
                    text += i % 3 ? from(ascii) : std::u32string(1, from(halfWidth));
                    break;
                default:
                    text += from(words);
                    break;
            }
        }
        const std::string memo = utf8(text);
        const bool asCp932 = i % 2 == 0;
        const auto encoded = encodeMemo(memo);
        ASSERT_TRUE(encoded) << memo;
        const std::string file = fileWithMemo(asCp932 ? *encoded : memo);

        const auto opened = readDataFileBytes(file, "r.krt");
        ASSERT_TRUE(opened) << opened.error;
        ASSERT_NE(opened.warning.code, FileErrorCode::MemoUnreadable) << memo;
        const auto reading = readMemoBytes(asCp932 ? *encoded : memo);
        ASSERT_TRUE(reading);
        if (opened.warning) ++told;
        if (opened.content->memo != memo && !opened.warning) ++unwarned;

        const auto saved = writeDataFileBytes(opened.content->data, opened.content->memo);
        if (reading->encoding == MemoEncoding::Cp932) {
            ASSERT_TRUE(saved) << memo << ": " << saved.error;
            ASSERT_EQ(*saved.bytes, file) << memo;
            continue;
        }
        if (!saved) {
            // Refused, the file left as it was: its CP932 bytes would read as other text.
            ASSERT_EQ(saved.error.code, FileErrorCode::MemoWouldChange) << memo;
            continue;
        }
        const auto again = readDataFileBytes(*saved.bytes, "r.krt");
        ASSERT_TRUE(again);
        ASSERT_EQ(again.content->memo, opened.content->memo);
        ASSERT_EQ(*writeDataFileBytes(again.content->data, again.content->memo).bytes, *saved.bytes)
            << memo;
    }
    std::cout << "[ memo ] of 20000 random memos " << told << " opened with a notice, " << unwarned
              << " read as other text without one\n";
    RecordProperty("memosUnwarned", unwarned);
}

}  // namespace
}  // namespace korimet
