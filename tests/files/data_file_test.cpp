#include "files/data_file.h"

#include <gtest/gtest.h>

#include "support/files.h"
#include "support/messages.h"
#include "support/temp_dir.h"

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <limits>
#include <random>

#include <QString>

#include "files/file_texts.h"

namespace korimet {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

using test::ja;
using test::jaReason;
using test::readBytes;
using test::writeBytes;

// Car 12, laps 65.43, 64.9 and .75, no target, a 17-minute race, memo "ok".
LapData exampleRecord() {
    LapData d;
    d.carId = 12;
    d.lapCount = 3;
    d.targetTime = 655.35;
    d.raceMinutes = 17;
    d.laps[0] = 65.43;
    d.laps[1] = 64.9;
    d.laps[2] = 0.75;
    return d;
}

std::string exampleFixture() { return readBytes(fs::path(KORIMET_TEST_DATA) / "example.krt"); }

// Lines of a file joined with the given line end.
std::string joinLines(const std::vector<std::string>& lines, const std::string& eol) {
    std::string out;
    for (const auto& l : lines) out += l + eol;
    return out;
}

std::vector<std::string> exampleLines() {
    std::vector<std::string> lines{"12,3,655.35,0,0,17,0", "65.43", "64.9", ".75"};
    for (int i = 0; i < 57; ++i) lines.push_back("0");
    lines.push_back("\"ok\"");
    return lines;
}

using test::TempDir;

// Runs the system's iconv; our own encoder is not involved.
std::string systemIconvToCp932(const std::string& utf8, const fs::path& scratch) {
    const fs::path in = scratch / "iconv-in.txt";
    const fs::path out = scratch / "iconv-out.txt";
    writeBytes(in, utf8);
    const std::string cmd =
        "iconv -f UTF-8 -t CP932 '" + in.string() + "' > '" + out.string() + "'";
    if (std::system(cmd.c_str()) != 0) throw std::runtime_error("iconv failed");
    return readBytes(out);
}

// ---- numbers -------------------------------------------------------------------------

TEST(FileNumber, WritesTheFormsTheFileUses) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {0.0, "0"},
        {-0.0, "0"},
        {100.0, "100"},
        {7.0, "7"},
        {65.43, "65.43"},
        {64.9, "64.9"},
        {0.75, ".75"},
        {0.5, ".5"},
        {-0.5, "-.5"},
        {-12.5, "-12.5"},
        {655.35, "655.35"},
        {0.1 + 0.2, ".3"},  // nearest at 15 digits
        {1.0 / 3.0, ".333333333333333"},
        {0.0001, ".0001"},
        {1e-5, "1E-05"},
        {1e14, "100000000000000"},
        {1e15, "1E+15"},
        {123456789012345678.0, "1.23456789012346E+17"},
        {1e300, "1E+300"},
        {-1e300, "-1E+300"},
        {std::numeric_limits<double>::denorm_min(), "4.94065645841247E-324"},
        {DBL_MAX, "1.7976931348623157E+308"},
    };
    for (const auto& c : cases) EXPECT_EQ(formatFileNumber(c.value), c.text) << c.value;
}

TEST(FileNumber, ReadsNumbersAndRefusesEverythingElse) {
    const struct {
        const char* text;
        std::optional<double> value;
    } cases[] = {
        {"0", 0.0},
        {".75", 0.75},
        {"0.75", 0.75},
        {"-.5", -0.5},
        {"+3", 3.0},
        {"5.", 5.0},
        {"65.43", 65.43},
        {"1E+300", 1e300},
        {"1e+300", 1e300},
        {"1E-05", 1e-5},
        {"4.94065645841247E-324", std::numeric_limits<double>::denorm_min()},
        {"", std::nullopt},
        {".", std::nullopt},
        {"-", std::nullopt},
        {"+-1", std::nullopt},
        {"abc", std::nullopt},
        {"12a", std::nullopt},
        {"1.2.3", std::nullopt},
        {"0x10", std::nullopt},
        {"inf", std::nullopt},
        {"nan", std::nullopt},
        {"1e", std::nullopt},
        {"1e+", std::nullopt},
        {" 1", std::nullopt},
        {"1,5", std::nullopt},
        {"1e309", std::nullopt},
        {"-1e309", std::nullopt},
        {"1e-400", std::nullopt},
    };
    for (const auto& c : cases) {
        const auto got = parseFileNumber(c.text);
        EXPECT_EQ(got.has_value(), c.value.has_value()) << '"' << c.text << '"';
        if (got && c.value) {
            EXPECT_EQ(*got, *c.value) << c.text;
        }
    }
}

TEST(FileNumber, WhatTheWriterWritesTheReaderReadsBack) {
    std::mt19937_64 rng(20240611);
    for (int i = 0; i < 100000; ++i) {
        double x = std::bit_cast<double>(rng());
        if (i % 4 == 0) {  // denormals of every size
            x = std::ldexp(static_cast<double>(rng() >> (12 + rng() % 52)), -1074);
        }
        if (!std::isfinite(x)) continue;
        const std::string text = formatFileNumber(x);
        const auto back = parseFileNumber(text);
        ASSERT_TRUE(back.has_value()) << text;
        EXPECT_EQ(*back, std::strtod(text.c_str(), nullptr)) << text;
        // The written text is stable, and within 15 digits of the value.
        EXPECT_EQ(formatFileNumber(*back), text);
        if (std::fabs(x) < 4.9e-310) {
            EXPECT_EQ(*back, x) << text;  // fewer than 15 digits in such a small denormal
        } else {
            // half a step of the 15th digit, then the nearest double to that
            const double tolerance =
                std::fabs(x) * (5e-15 + DBL_EPSILON) + std::numeric_limits<double>::denorm_min();
            EXPECT_LE(std::fabs(*back - x), tolerance) << text;
        }
    }
    for (double x : {1e300, -1e300, 655.35, 1e-300, 2.2250738585072e-308}) {
        EXPECT_EQ(parseFileNumber(formatFileNumber(x)), x);
    }
    // 15 digits of the largest doubles round past the largest double: still readable.
    for (double x : {DBL_MAX, -DBL_MAX, std::nextafter(DBL_MAX, 0.0)}) {
        const auto back = parseFileNumber(formatFileNumber(x));
        ASSERT_TRUE(back.has_value()) << formatFileNumber(x);
        EXPECT_EQ(*back, x);
    }
    // Every time the timer can send comes back exactly.
    for (int centis = 0; centis <= 65535; ++centis) {
        const double x = centis / 100.0;
        ASSERT_EQ(parseFileNumber(formatFileNumber(x)), x) << centis;
    }
}

// ---- writer ----------------------------------------------------------------------------

TEST(DataFileWriter, ExampleFileIsWrittenByteForByte) {
    const auto written = writeDataFileBytes(exampleRecord(), "ok");
    ASSERT_TRUE(written) << written.error;
    EXPECT_EQ(*written.bytes, exampleFixture());
}

TEST(DataFileWriter, MemoQuotesAreDoubledAndReadBackAsOne) {
    const auto written = writeDataFileBytes(LapData{}, "say \"hi\"");
    ASSERT_TRUE(written);
    EXPECT_TRUE(written.bytes->ends_with("\r\n\"say \"\"hi\"\"\"\r\n")) << *written.bytes;
    const auto read = readDataFileBytes(*written.bytes, "q.krt");
    ASSERT_TRUE(read) << read.error;
    EXPECT_EQ(read.content->memo, "say \"hi\"");
}

TEST(DataFileWriter, RefusesWhatTheFileCannotHold) {
    const auto emoji = writeDataFileBytes(exampleRecord(), "速い😀!");
    EXPECT_FALSE(emoji);
    EXPECT_EQ(emoji.error.code, FileErrorCode::MemoUnencodable);
    EXPECT_EQ(jaReason(emoji.error),
              filetexts::kMemoUnencodable + "😀"s + "\n" + filetexts::kMemoUnencodableHint);

    const double bad[] = {std::numeric_limits<double>::quiet_NaN(),
                          std::numeric_limits<double>::infinity(),
                          -std::numeric_limits<double>::infinity()};
    for (double v : bad) {
        LapData d = exampleRecord();
        d.laps[59] = v;
        EXPECT_EQ(jaReason(writeDataFileBytes(d, "ok").error), filetexts::kValueNotFinite);
        d = exampleRecord();
        d.extraValue2 = v;
        EXPECT_EQ(jaReason(writeDataFileBytes(d, "ok").error), filetexts::kValueNotFinite);
    }
}

// ---- memo text encoding ------------------------------------------------------------------

TEST(MemoEncoding, JapaneseOfTheTimerUsersRoundTrips) {
    const struct {
        const char* utf8;
        const char* cp932;
    } cases[] = {
        {"①", "\x87\x40"},
        {"～", "\x81\x60"},
        {"ｶﾀｶﾅ", "\xB6\xC0\xB6\xC5"},
        {"練習", "\x97\xFB\x8F\x4B"},
        {"ソ", "\x83\x5C"},  // second byte is a backslash
        {"\\~", "\\~"},
        {"\x1A\x1C\x7F", "\x1A\x1C\x7F"},  // control characters stay themselves
    };
    for (const auto& c : cases) {
        EXPECT_EQ(encodeMemo(c.utf8), std::string(c.cp932)) << c.utf8;
        EXPECT_EQ(decodeMemo(c.cp932), std::string(c.utf8)) << c.utf8;
    }
}

TEST(MemoEncoding, LinuxLookAlikesAreWrittenAsTheirCp932Characters) {
    const struct {
        const char* utf8;
        const char* cp932;
    } cases[] = {
        {"〜", "\x81\x60"},  // U+301C wave dash
        {"−", "\x81\x7C"},   // U+2212 minus sign
        {"‖", "\x81\x61"},   // U+2016
        {"¢", "\x81\x91"},  {"£", "\x81\x92"},
        {"¬", "\x81\xCA"},  {"—", "\x81\x5C"},  // U+2014 em dash
    };
    for (const auto& c : cases) EXPECT_EQ(encodeMemo(c.utf8), std::string(c.cp932)) << c.utf8;
}

TEST(MemoEncoding, EveryAsciiCharacterIsItself) {
    for (int b = 1; b < 0x80; ++b) {
        const std::string one(1, static_cast<char>(b));
        EXPECT_EQ(encodeMemo(one), one) << b;
        EXPECT_EQ(decodeMemo(one), one) << b;
    }
}

TEST(MemoEncoding, UnencodableCharacterIsNamed) {
    // U+FEFF is dropped by the converter without an error: refused all the same.
    for (const char* text : {"😀", "¥", "\xEF\xBF\xBD", "한", "\xEF\xBB\xBF"}) {
        std::string bad;
        EXPECT_FALSE(encodeMemo("ab"s + text + "😀", &bad).has_value()) << text;
        EXPECT_EQ(bad, text);
    }
    std::string bad;
    EXPECT_FALSE(encodeMemo("\xEF\xBB\xBF"
                            "0",
                            &bad)
                     .has_value());  // U+FEFF first
    EXPECT_EQ(bad, "\xEF\xBB\xBF");
    EXPECT_FALSE(encodeMemo("a\xFF", &bad).has_value());  // not UTF-8 at all
}

TEST(MemoEncoding, MemosOfTheOriginalSoftwareReadAsCp932) {
    // Short half-width kana are valid UTF-8 too ("ﾃｸ" is the bytes of "ø").
    const struct {
        const char* cp932;
        const char* text;
    } cases[] = {
        {"\xC3\xB8", "ﾃｸ"},
        {"\xCC\xB4", "ﾌｴ"},
        {"\xCF\xB2\xC5\xB0", "ﾏｲﾅｰ"},
        {"\xC3\xBD\xC4\xB1", "ﾃｽﾄｱ"},
        {"\xC3\xA9", "ﾃｩ"},
        {"\xBE\xAF\xC3\xA8\xDD\xB8\xDE"
         "A 2",
         "ｾｯﾃｨﾝｸﾞA 2"},
        {"ABC\xC3\xB8"
         "123",
         "ABCﾃｸ123"},
        {"\x97\xFB\x8F\x4B\x91\x96\x8D\x73\x81\x41\x89\x4A\x82\xE8", "練習走行、雨り"},
        {"\x87\x40\x81\x60", "①～"},
        {"\x81\x61\x87\x8A\xFB\xFC", "∥㈱髙"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(decodeMemo(c.cp932), std::string(c.text)) << c.text;
        EXPECT_EQ(encodeMemo(c.text), std::string(c.cp932)) << c.text;
    }
}

TEST(MemoEncoding, Utf8FromALinuxEditorIsTakenAsUtf8) {
    // "ああ" in UTF-8 also forms valid CP932 ("縺ゅ≠"); it must still read as UTF-8.
    for (const char* text : {"ああ", "晴れ", "タイヤ交換", "練習①～ｶﾀｶﾅ", "ｱ。", "😀", "é😀"}) {
        EXPECT_EQ(decodeMemo(text), std::string(text)) << text;
    }
    // A byte order mark says UTF-8 whatever follows, and is not part of the memo.
    EXPECT_EQ(decodeMemo("\xEF\xBB\xBF"
                         "caf\xC3\xA9"),
              "café");
    EXPECT_EQ(decodeMemo("\xEF\xBB\xBF"), "");

    // 1 to 20 characters, odd and even lengths.
    const std::u32string hiragana =
        U"あいうえおかがきくけこさしすせそたちつてとなにぬねのはばぱひふへほまみむめもやゆよらりる"
        U"れろわをんっゃゅょ";
    const std::u32string katakana =
        U"アイウエオカガキクケコサシスセソタチツテトナニヌネノハバパヒフヘホマミムメモヤユヨラリル"
        U"レロワヲンッャュョー";
    const std::u32string kanji =
        U"練習走行雨晴曇風速遅周回目標時間交換調整前後左右路面温度本番予選決勝車体重量電池新品古";
    std::mt19937_64 rng(1010);
    for (const std::u32string* set : {&hiragana, &katakana, &kanji}) {
        for (std::size_t length = 1; length <= 20; ++length) {
            for (int round = 0; round < 20; ++round) {
                std::u32string text;
                for (std::size_t k = 0; k < length; ++k) text += (*set)[rng() % set->size()];
                const std::string utf8 = QString::fromStdU32String(text).toStdString();
                ASSERT_EQ(decodeMemo(utf8), utf8) << utf8;
            }
        }
    }
}

TEST(MemoEncoding, BytesThatAreNeitherAreRefused) {
    for (const char* bytes : {"\x80", "\xA0", "\xFD", "\x82", "a\x85\x40"}) {
        EXPECT_FALSE(decodeMemo(bytes).has_value()) << bytes;
    }
}

TEST(MemoEncoding, LossyReadingMarksWhatDoesNotDecode) {
    const struct {
        const char* bytes;
        const char* shown;
    } cases[] = {
        {"\x80", "\uFFFD"},
        {"\xFD"
         "ab",
         "\uFFFDab"},
        {"a\x85\x40", "a\uFFFD@"},  // an unassigned pair: the lead byte is lost, the rest kept
        {"\x97\xFB\x8F\x4B\x82", "練習\uFFFD"},  // cut after a lead byte
        {"\xB6\xC0\xA0\x1A", "ｶﾀ\uFFFD\x1A"},
        {"ok", "ok"},  // what decodes is read as decodeMemo reads it
        {"\xC3\xB8", "ﾃｸ"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(decodeMemoLossy(c.bytes), std::string(c.shown)) << c.bytes;
}

// ---- reader ----------------------------------------------------------------------------

TEST(DataFileReader, LayoutsReadTheSameAsTheStandardOne) {
    const DataFileContent expected{exampleRecord(), "ok"};
    auto lines = exampleLines();

    std::vector<std::string> oneScalarPerLine;
    for (const char* f : {"12", "3", "655.35", "0", "0", "17", "0"}) oneScalarPerLine.push_back(f);
    oneScalarPerLine.insert(oneScalarPerLine.end(), lines.begin() + 1, lines.end());

    std::string allOnOneLine;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) allOnOneLine += lines[i] + ",";
    allOnOneLine += lines.back() + "\r\n";

    std::vector<std::string> padded = lines;
    padded[0] = " 12,\t3, 655.35 ,0,  0,17,0";
    padded[3] = "\t0.75";
    padded[61] = "  \"ok\"";

    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"standard", joinLines(lines, "\r\n")},
        {"seven scalars one per line", joinLines(oneScalarPerLine, "\r\n")},
        {"all fields on one line", allOnOneLine},
        {"LF only", joinLines(lines, "\n")},
        {"CR only", joinLines(lines, "\r")},
        {"leading blanks and zero before the point", joinLines(padded, "\r\n")},
        {"no line end after the memo",
         joinLines(lines, "\r\n").substr(0, exampleFixture().size() - 2)},
        {"trailing content", joinLines(lines, "\r\n") + "more,\"text\"\r\n1,2,3\r\n"},
        {"byte order mark", "\xEF\xBB\xBF" + joinLines(lines, "\r\n")},
        {"whole numbers with a point",
         "12.0,3.,655.35,0,0,1.7E1,0\r\n" + joinLines({lines.begin() + 1, lines.end()}, "\r\n")},
    };
    for (const auto& c : cases) {
        const auto read = readDataFileBytes(c.bytes, "x.krt");
        ASSERT_TRUE(read) << c.name << ": " << read.error;
        EXPECT_EQ(*read.content, expected) << c.name;
    }
}

TEST(DataFileReader, MemoFieldForms) {
    const auto lines = exampleLines();
    const std::string head = joinLines({lines.begin(), lines.end() - 1}, "\r\n");
    const struct {
        std::string memoBytes;
        std::string memo;
    } cases[] = {
        {"\"two\r\nlines\"\r\n", "two\r\nlines"},
        {"\"a,b\"\r\n", "a,b"},
        {"\"\"\r\n", ""},
        {"\"\"", ""},
        // Files of the timer's Windows software: quotes undoubled, nothing after the memo.
        // A closing quote with more on its line, or none, means: up to the last quote.
        {"\"ab\"cd\"\r\n", "ab\"cd"},
        {"\"say \"hi\" ok\"", "say \"hi\" ok"},
        {"\"\"hi\" he said\"\r\n", "\"hi\" he said"},
        {"\"5 inch\"\"\r\n", "5 inch\""},
        {"\"5 inch\"\"", "5 inch\""},
        {"\"a\"\"b", "a\""},
        {"\"the \"A\" line\"\r\n", "the \"A\" line"},
        {"\"a\"b\r\nc\"d\"\r\n", "a\"b\r\nc\"d"},
        {"\"ends \"\r\nline\"\r\n", "ends "},  // ambiguous: read as Korimet's
        {"\"6\"\" tyres\"\r\n", "6\" tyres"},  // doubled reading closes: kept whole
        {"\"a\"\"b\"\r\n", "a\"b"},
        {"\"\"\"\"\r\n", "\""},
        {"unquoted text  \r\nnext", "unquoted text"},
        {"\"\x97\xFB\x8F\x4B\x87\x40\"\r\n", "練習①"},  // CP932
        {"\"練習①\"\r\n", "練習①"},                     // UTF-8
    };
    for (const auto& c : cases) {
        const auto read = readDataFileBytes(head + c.memoBytes, "m.krt");
        ASSERT_TRUE(read) << c.memoBytes << ": " << read.error;
        EXPECT_EQ(read.content->memo, c.memo) << c.memoBytes;
    }
}

TEST(DataFileReader, LapCountAboveSixtyIsCutToSixty) {
    for (const char* count : {"61", "200", "255"}) {
        auto lines = exampleLines();
        lines[0] = "12,"s + count + ",655.35,0,0,17,0";
        const auto read = readDataFileBytes(joinLines(lines, "\r\n"), "c.krt");
        ASSERT_TRUE(read) << read.error;
        EXPECT_EQ(read.content->data.lapCount, 60) << count;
    }
}

TEST(DataFileReader, ExtraValuesAreKeptAsWritten) {
    auto lines = exampleLines();
    lines[0] = "255,60,61.5,-3.25,1E+300,255,255";
    lines[60] = "-.01";
    const auto read = readDataFileBytes(joinLines(lines, "\r\n"), "e.krt");
    ASSERT_TRUE(read) << read.error;
    const LapData& d = read.content->data;
    EXPECT_EQ(d.carId, 255);
    EXPECT_EQ(d.lapCount, 60);
    EXPECT_EQ(d.targetTime, 61.5);
    EXPECT_EQ(d.extraValue1, -3.25);
    EXPECT_EQ(d.extraValue2, 1e300);
    EXPECT_EQ(d.raceMinutes, 255);
    EXPECT_EQ(d.extraByte, 255);
    EXPECT_EQ(d.laps[59], -0.01);
}

TEST(DataFileReader, BrokenFilesAreRefusedNamingFileAndPlace) {
    const auto lines = exampleLines();
    auto with = [&](std::size_t index, const std::string& text) {
        auto l = lines;
        l[index] = text;
        return joinLines(l, "\r\n");
    };
    const std::string noMemo = joinLines({lines.begin(), lines.end() - 1}, "\r\n");
    const struct {
        const char* name;
        std::string bytes;
        int line;
        int field;
        const char* reason;
    } cases[] = {
        {"empty file", "", 1, 1, filetexts::kEndsEarly},
        {"only blanks", "  \t", 1, 1, filetexts::kEndsEarly},
        {"line 1 only", lines[0] + "\r\n", 2, 8, filetexts::kEndsEarly},
        {"line 1 cut short", "12,3,655.35", 1, 4, filetexts::kEndsEarly},
        {"laps end early", joinLines({lines.begin(), lines.begin() + 30}, "\r\n"), 31, 37,
         filetexts::kEndsEarly},
        {"no memo", noMemo, 62, 68, filetexts::kEndsEarly},
        {"empty field", with(0, "12,,655.35,0,0,17,0"), 1, 2, filetexts::kEmptyField},
        {"trailing comma", with(0, "12,3,655.35,0,0,17,0,"), 1, 8, filetexts::kEmptyField},
        {"blank line", with(5, ""), 6, 12, filetexts::kEmptyField},
        {"text for a lap", with(3, "abc"), 4, 10, filetexts::kNotANumber},
        {"text for the car", with(0, "Car12,3,655.35,0,0,17,0"), 1, 1, filetexts::kNotANumber},
        {"quoted number", with(2, "\"64.9\""), 3, 9, filetexts::kNotANumber},
        {"lap with a unit", with(2, "64.9s"), 3, 9, filetexts::kNotANumber},
        {"inf", with(1, "inf"), 2, 8, filetexts::kNotANumber},
        {"nan target", with(0, "12,3,nan,0,0,17,0"), 1, 3, filetexts::kNotANumber},
        {"overflow", with(60, "1E+400"), 61, 67, filetexts::kNumberOutOfRange},
        {"underflow", with(0, "12,3,655.35,1e-999,0,17,0"), 1, 4, filetexts::kNumberOutOfRange},
        {"car 256", with(0, "256,3,655.35,0,0,17,0"), 1, 1, filetexts::kNotAByte},
        {"negative lap count", with(0, "12,-1,655.35,0,0,17,0"), 1, 2, filetexts::kNotAByte},
        {"race 1.5", with(0, "12,3,655.35,0,0,1.5,0"), 1, 6, filetexts::kNotAByte},
        {"extra byte 1E+300", with(0, "12,3,655.35,0,0,17,1E+300"), 1, 7, filetexts::kNotAByte},
        {"unclosed memo", with(61, "\"ok\r\nand more"), 62, 68, filetexts::kUnclosedQuote},
    };
    for (const auto& c : cases) {
        const auto read = readDataFileBytes(c.bytes, "/runs/broken.krt");
        EXPECT_FALSE(read) << c.name;
        EXPECT_FALSE(read.content.has_value()) << c.name;
        const std::string expected = filetexts::kReadFailed + "/runs/broken.krt\n"s +
                                     std::to_string(c.line) + filetexts::kLineSuffix +
                                     std::to_string(c.field) + filetexts::kFieldSuffix + c.reason;
        EXPECT_EQ(ja(read.error), expected) << c.name;
    }
}

TEST(DataFileReader, UndecodableMemoKeepsTheRunAndWarns) {
    const auto lines = exampleLines();
    const std::string head = joinLines({lines.begin(), lines.end() - 1}, "\r\n");
    const std::string bytes = head + "\"\x97\xFB\x8F\x4B\x80\x80\"\r\n";
    const auto read = readDataFileBytes(bytes, "/runs/old.krt");
    ASSERT_TRUE(read) << read.error;
    EXPECT_EQ(read.content->data, exampleRecord());
    EXPECT_EQ(read.content->memo, "練習\uFFFD\uFFFD");
    EXPECT_EQ(read.warning.code, FileErrorCode::MemoUnreadable);
    EXPECT_EQ(ja(read.warning), filetexts::kMemoWarningHead + "/runs/old.krt\n62"s +
                                    filetexts::kLineSuffix + "68" + filetexts::kFieldSuffix +
                                    filetexts::kMemoUnreadable + "\n" +
                                    filetexts::kMemoShownWithMarks);
    // The marks cannot be saved, so the memo is not silently replaced.
    const auto written = writeDataFileBytes(read.content->data, read.content->memo);
    EXPECT_FALSE(written);
    EXPECT_EQ(written.error.detail, "\uFFFD") << written.error;

    const auto fine = readDataFileBytes(exampleFixture(), "ok.krt");
    EXPECT_FALSE(fine.warning);
    const auto templ = readTemplate("1,2,3,4,5,6,7\r\n\"\x80\"", "hinagata.krt", LapData{});
    ASSERT_TRUE(templ) << templ.error;
    EXPECT_EQ(templ.content->memo, "\uFFFD");
    EXPECT_TRUE(templ.warning);
}

TEST(DataFileReader, ComparisonReadTakesTheLapsOnly) {
    const auto lines = exampleLines();
    const std::string laps = joinLines({lines.begin(), lines.end() - 1}, "\r\n");
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"standard", joinLines(lines, "\r\n")},
        {"undecodable memo", laps + "\"\x80\"\r\n"},
        {"unclosed memo", laps + "\"no end"},
        {"no memo at all", laps},
    };
    for (const auto& c : cases) {
        const auto read = readDataFileBytes(c.bytes, "other.krt", MemoField::Skip);
        ASSERT_TRUE(read) << c.name << ": " << read.error;
        EXPECT_EQ(read.content->data, exampleRecord()) << c.name;
        EXPECT_EQ(read.content->memo, "") << c.name;
        EXPECT_FALSE(read.warning) << c.name;
    }
    // The laps still have to be there.
    EXPECT_FALSE(readDataFileBytes(joinLines({lines.begin(), lines.begin() + 30}, "\r\n"),
                                   "other.krt", MemoField::Skip));
}

TEST(DataFileReader, CP932FileFromAnotherToolKeepsItsMemo) {
    TempDir dir;
    const std::string memo = "練習走行①\r\nｶｰﾌﾞ注意～ \"ソ\"";
    auto lines = exampleLines();
    lines.back() = "\"練習走行①\r\nｶｰﾌﾞ注意～ \"\"ソ\"\"\"";
    const std::string utf8File = joinLines(lines, "\r\n");
    const std::string cp932File = systemIconvToCp932(utf8File, dir.path());
    ASSERT_NE(cp932File, utf8File);

    const auto read = readDataFileBytes(cp932File, "other.krt");
    ASSERT_TRUE(read) << read.error;
    EXPECT_EQ(read.content->memo, memo);
    EXPECT_EQ(read.content->data, exampleRecord());
    // Our writer produces the same bytes the system converter did.
    EXPECT_EQ(writeDataFileBytes(exampleRecord(), memo).bytes, cp932File);
}

TEST(DataFileReader, RandomRecordsAndMemosRoundTrip) {
    std::mt19937_64 rng(7);
    const char* pieces[] = {"a",    "Z",    ",", "\r\n", "\n", "\r", "\"", "\"\"", " ", "\t",
                            "練習", "ｶﾀｶﾅ", "①", "～",   "ソ", "\\", "~",  "1,2",  "Ⅲ", "髙"};
    auto pick = [&](auto& range) { return range[rng() % std::size(range)]; };
    auto someDouble = [&]() -> double {
        switch (rng() % 4) {
            case 0:
                return static_cast<double>(rng() % 65536) / 100.0;
            case 1:
                return static_cast<double>(static_cast<std::int64_t>(rng() % 2001) - 1000);
            case 2: {  // any finite double, as the file would hold it
                double x;
                do x = std::bit_cast<double>(rng());
                while (!std::isfinite(x));
                return *parseFileNumber(formatFileNumber(x));
            }
            default:
                return 0.0;
        }
    };
    for (int i = 0; i < 500; ++i) {
        DataFileContent c;
        c.data.carId = static_cast<std::uint8_t>(rng());
        c.data.lapCount = static_cast<std::uint8_t>(rng() % 61);
        c.data.targetTime = someDouble();
        c.data.extraValue1 = someDouble();
        c.data.extraValue2 = someDouble();
        c.data.raceMinutes = static_cast<std::uint8_t>(rng());
        c.data.extraByte = static_cast<std::uint8_t>(rng());
        for (double& lap : c.data.laps) lap = someDouble();
        const int n = static_cast<int>(rng() % 12);
        for (int k = 0; k < n; ++k) c.memo += pick(pieces);

        const auto written = writeDataFileBytes(c.data, c.memo);
        ASSERT_TRUE(written) << written.error;
        const auto read = readDataFileBytes(*written.bytes, "r.krt");
        ASSERT_TRUE(read) << read.error << "\n" << *written.bytes;
        EXPECT_EQ(*read.content, c) << *written.bytes;
    }
}

// Memos as the timer's Windows software writes them: quotes undoubled, nothing after the
// closing quote. Every one the reader can tell from a Korimet file comes back whole.
TEST(DataFileReader, OriginalMemosWithQuotesAnywhereComeBackWhole) {
    const auto lines = exampleLines();
    const std::string head = joinLines({lines.begin(), lines.end() - 1}, "\r\n");
    const char* pieces[] = {"\"", "\"", "\"\"", "a", " ", ",", "\r\n", "練習", "ｶﾀ", "5"};
    // Read as a Korimet file: the first lone quote by the doubled reading ends its line.
    auto ambiguous = [](const std::string& memo) {
        if (memo.find('"') == std::string::npos) return false;
        const std::string field = memo + '"';
        for (std::size_t i = 0; i < field.size(); ++i) {
            if (field[i] != '"') continue;
            if (i + 1 < field.size() && field[i + 1] == '"') {
                ++i;
                continue;
            }
            return i + 1 == field.size() || field[i + 1] == '\r' || field[i + 1] == '\n';
        }
        return false;
    };
    std::mt19937_64 rng(1919);
    int checked = 0;
    for (int i = 0; i < 3000; ++i) {
        std::string memo;
        const int n = static_cast<int>(rng() % 8);
        for (int k = 0; k < n; ++k) memo += pieces[rng() % std::size(pieces)];
        const auto encoded = encodeMemo(memo);
        ASSERT_TRUE(encoded) << memo;
        const std::string bytes = head + "\"" + *encoded + "\"";
        const auto read = readDataFileBytes(bytes, "o.krt");
        ASSERT_TRUE(read) << memo << ": " << read.error;
        if (ambiguous(memo)) continue;
        ++checked;
        EXPECT_EQ(read.content->memo, memo) << bytes;
    }
    EXPECT_GT(checked, 1000);
}

// Random memos of what the timer's users write. The writer must refuse, never change, a
// memo its CP932 bytes would not bring back; the count of refusals is printed.
TEST(DataFileWriter, EveryMemoTheWriterAcceptsReadsBackIdentical) {
    std::vector<std::string> halfWidth;  // U+FF61..FF9F
    for (char32_t c = 0xFF61; c <= 0xFF9F; ++c) {
        halfWidth.push_back(QString::fromStdU32String(std::u32string(1, c)).toStdString());
    }
    std::vector<std::string> level2;  // every kanji of JIS level 2, as CP932 decodes it
    for (int lead = 0x98; lead <= 0xEA; lead = lead == 0x9F ? 0xE0 : lead + 1) {
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const int code = lead << 8 | trail;
            if (trail == 0x7F || code < 0x989F || code > 0xEAA4) continue;
            const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
            if (const auto text = decodeMemo(bytes)) level2.push_back(*text);
        }
    }
    ASSERT_GT(level2.size(), 3000u);
    const std::vector<std::string> symbols{"①", "～", "∥", "㈱", "髙", "、", "。", "　", "ー"};
    const std::vector<std::string> other{"\"", "\"\"", "\r\n", ",", " ", "a", "Z", "7", "-", "."};

    std::mt19937_64 rng(20261210);
    auto from = [&](const std::vector<std::string>& set) { return set[rng() % set.size()]; };
    const int total = 50000;
    int refused = 0;
    int refusedWithoutLevel2 = 0;
    for (int i = 0; i < total; ++i) {
        std::string memo;
        bool hasLevel2 = false;
        const int pieces = 1 + static_cast<int>(rng() % 10);
        for (int k = 0; k < pieces; ++k) {
            switch (rng() % 5) {
                case 0:
                    memo += from(halfWidth);
                    break;
                case 1:
                    memo += from(halfWidth) + from(halfWidth);
                    break;
                case 2:
                    memo += from(level2);
                    hasLevel2 = true;
                    break;
                case 3:
                    memo += from(symbols);
                    break;
                default:
                    memo += from(other);
                    break;
            }
        }
        const auto written = writeDataFileBytes(exampleRecord(), memo);
        if (!written) {
            // Refused only for the reason given, and rightly: the bytes would read otherwise.
            ASSERT_EQ(jaReason(written.error),
                      filetexts::kMemoWouldChange + "\n"s + filetexts::kMemoWouldChangeHint)
                << memo;
            const auto bytes = encodeMemo(memo);
            ASSERT_TRUE(bytes.has_value()) << memo;
            ASSERT_NE(decodeMemo(*bytes), memo) << memo;
            ++refused;
            if (!hasLevel2) ++refusedWithoutLevel2;
            continue;
        }
        const auto read = readDataFileBytes(*written.bytes, "r.krt");
        ASSERT_TRUE(read) << read.error << "\n" << memo;
        ASSERT_EQ(read.content->memo, memo);
        // A doubtful reading is told about on opening; nothing was lost.
        ASSERT_NE(read.warning.code, FileErrorCode::MemoUnreadable) << memo;
    }
    std::cout << "[ memo ] refused " << refused << " of " << total << " random memos ("
              << refusedWithoutLevel2 << " without a level-2 kanji)\n";
    RecordProperty("memosRefused", refused);
}

TEST(DataFileWriter, MemosThatWouldReadAsOtherTextAreRefused) {
    // 縲 is E3 80 in CP932 and 。 is 81 42: together the UTF-8 bytes of "、B", which is the
    // likelier text.
    for (const char* memo : {"縲。", "縲。ABC"}) {
        const auto written = writeDataFileBytes(exampleRecord(), memo);
        EXPECT_FALSE(written) << memo;
        EXPECT_EQ(jaReason(written.error),
                  filetexts::kMemoWouldChange + "\n"s + filetexts::kMemoWouldChangeHint);
    }
    // What the hint suggests works.
    EXPECT_TRUE(writeDataFileBytes(exampleRecord(), "縲 。"));
    // 鬘 is E9 A1: with 。 the UTF-8 bytes of U+9841 and "B", a rare kanji before a letter,
    // so the memo reads as itself and saves.
    for (const char* memo : {"鬘。", "陟。", "陟。ﾃｽﾄｱ"}) {
        const auto written = writeDataFileBytes(exampleRecord(), memo);
        ASSERT_TRUE(written) << memo << ": " << written.error;
        EXPECT_EQ(readDataFileBytes(*written.bytes, "w.krt").content->memo, memo);
    }
}

TEST(DataFileWriter, NaturalMemosAreAccepted) {
    for (const char* memo :
         {"ﾃｸ", "ﾌｴ", "ﾏｲﾅｰ", "ﾃｽﾄｱ", "練習走行①～", "雨のち晴れ。路面ウェット", "ﾀｲﾔ交換後 5 inch",
          "㈱髙橋モータース∥第2戦", "ギア比 8.5、バッテリー 1 本目", "", "\"", "a\r\nb",
          "予選：3位　決勝：ﾘﾀｲｱ", "〜 ‖ − are written as their CP932 look-alikes"}) {
        const auto written = writeDataFileBytes(exampleRecord(), memo);
        ASSERT_TRUE(written) << memo << ": " << written.error;
        const auto read = readDataFileBytes(*written.bytes, "n.krt");
        ASSERT_TRUE(read) << read.error;
        EXPECT_EQ(read.content->memo, memoAsWritten(memo));
    }
}

// ---- template ----------------------------------------------------------------------------

TEST(TemplateReader, SetsScalarsAndMemoAndKeepsTheLaps) {
    LapData base;
    base.laps[0] = 61.0;
    base.laps[59] = 62.0;
    const struct {
        const char* name;
        std::string bytes;
        int lapCount;
        const char* memo;
    } cases[] = {
        {"memo on the next line", "5,7,61.5,1,2,17,3\r\n\"練習\r\nメモ\"\r\n", 7, "練習\r\nメモ"},
        {"memo on the same line", "5,7,61.5,1,2,17,3,\"m\"", 7, "m"},
        {"unquoted memo", "5,7,61.5,1,2,17,3\nnote", 7, "note"},
        {"lap count cut", "5,99,61.5,1,2,17,3\r\n\"\"", 60, ""},
        // a full data file used as template: its first lap becomes the memo
        {"data file as template", "5,7,61.5,1,2,17,3\r\n65.43\r\n0\r\n", 7, "65.43"},
    };
    for (const auto& c : cases) {
        const auto read = readTemplate(c.bytes, "hinagata.krt", base);
        ASSERT_TRUE(read) << c.name << ": " << read.error;
        const LapData& d = read.content->data;
        EXPECT_EQ(d.carId, 5) << c.name;
        EXPECT_EQ(d.lapCount, c.lapCount) << c.name;
        EXPECT_EQ(d.targetTime, 61.5) << c.name;
        EXPECT_EQ(d.extraValue1, 1.0) << c.name;
        EXPECT_EQ(d.extraValue2, 2.0) << c.name;
        EXPECT_EQ(d.raceMinutes, 17) << c.name;
        EXPECT_EQ(d.extraByte, 3) << c.name;
        EXPECT_EQ(d.laps, base.laps) << c.name;
        EXPECT_EQ(read.content->memo, c.memo) << c.name;
    }
}

TEST(TemplateReader, BrokenTemplateIsRefused) {
    const auto read = readTemplate("5,7,61.5,1,2,17,3\r\n", "hinagata.krt", LapData{});
    EXPECT_FALSE(read);
    EXPECT_EQ(ja(read.error), filetexts::kReadFailed + "hinagata.krt\n2"s + filetexts::kLineSuffix +
                                  "8" + filetexts::kFieldSuffix + filetexts::kEndsEarly);
}

// ---- files on disk ---------------------------------------------------------------------

TEST(DataFileSuffix, TypedNamesWithoutASuffixGetKrt) {
    const struct {
        const char* typed;
        const char* saved;
    } cases[] = {
        {"/runs/run1", "/runs/run1.krt"},
        {"run1", "run1.krt"},
        {"/runs/run1.krt", "/runs/run1.krt"},
        {"/runs/run1.KRT", "/runs/run1.KRT"},
        {"/runs/run1.txt", "/runs/run1.txt"},
        {"/runs/run.1/lap", "/runs/run.1/lap.krt"},  // a dot in the folder is no suffix
        {"/runs/.hidden", "/runs/.hidden.krt"},
        {"/runs/run.", "/runs/run."},
        {"/runs/", "/runs/"},
        {"/runs/\x91\x96\x8D\x73", "/runs/\x91\x96\x8D\x73.krt"},
    };
    for (const auto& c : cases) EXPECT_EQ(withDataFileSuffix(c.typed), c.saved) << c.typed;
}

TEST(DataFileSave, WritesTheFileAndReadsItBack) {
    TempDir dir;
    const std::string path = (dir.path() / "走行 1.krt").string();
    writeBytes(path, "old content");
    const std::string memo = "雨\r\n\"速い\"";
    const auto saved = saveDataFile(path, exampleRecord(), memo);
    ASSERT_TRUE(saved) << saved.error;
    EXPECT_EQ(readBytes(path), *writeDataFileBytes(exampleRecord(), memo).bytes);
    const auto loaded = loadDataFile(path);
    ASSERT_TRUE(loaded) << loaded.error;
    EXPECT_EQ(*loaded.content, (DataFileContent{exampleRecord(), memo}));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 1);
}

TEST(DataFileSave, UnencodableMemoLeavesTheExistingFileAlone) {
    TempDir dir;
    const fs::path path = dir.path() / "run.krt";
    writeBytes(path, exampleFixture());
    const auto saved = saveDataFile(path.string(), LapData{}, "ok 😀");
    EXPECT_FALSE(saved);
    EXPECT_EQ(ja(saved.error), filetexts::kSaveFailed + path.string() + "\n" +
                                   filetexts::kMemoUnencodable + "😀\n" +
                                   filetexts::kMemoUnencodableHint);
    EXPECT_EQ(readBytes(path), exampleFixture());
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 1);
}

TEST(DataFileSave, MissingDirectoryFailsAndCreatesNothing) {
    TempDir dir;
    const fs::path path = dir.path() / "no such dir" / "run.krt";
    const auto saved = saveDataFile(path.string(), exampleRecord(), "ok");
    EXPECT_FALSE(saved);
    EXPECT_EQ(ja(saved.error), filetexts::kSaveFailed + path.string() + "\n" +
                                   filetexts::kCannotCreate + "（" + filetexts::kNoSuchFile + "）");
    EXPECT_FALSE(fs::exists(path.parent_path()));
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

TEST(DataFileLoad, UnreadablePathsAreRefusedNamingTheFile) {
    TempDir dir;
    const struct {
        fs::path path;
        const char* reason;
    } cases[] = {
        {dir.path() / "missing.krt", filetexts::kNoSuchFile},
        {dir.path(), filetexts::kIsFolder},
        {dir.path() / "missing" / "run.krt", filetexts::kNoSuchFile},
    };
    for (const auto& c : cases) {
        for (MemoField memo : {MemoField::Read, MemoField::Skip}) {
            const auto loaded = loadDataFile(c.path.string(), memo);
            EXPECT_FALSE(loaded) << c.path;
            EXPECT_EQ(ja(loaded.error), filetexts::kReadFailed + c.path.string() + "\n" +
                                            filetexts::kCannotOpen + "（" + c.reason + "）");
        }
        const auto templ = loadTemplateFile(c.path.string(), LapData{});
        EXPECT_EQ(ja(templ.error), filetexts::kReadFailed + c.path.string() + "\n" +
                                       filetexts::kCannotOpen + "（" + c.reason + "）");
    }
}

TEST(DataFileLoad, NamesThatAreNotUtf8OpenAndSave) {
    TempDir dir;
    const std::string path = dir.path().string() + "/\x91\x96\x8D\x73.krt";  // CP932 走行
    ASSERT_TRUE(saveDataFile(path, exampleRecord(), "ok"));
    EXPECT_EQ(readBytes(path), exampleFixture());
    const auto loaded = loadDataFile(path);
    ASSERT_TRUE(loaded) << loaded.error;
    EXPECT_EQ(*loaded.content, (DataFileContent{exampleRecord(), "ok"}));
    const auto templ = loadTemplateFile(path, LapData{});
    EXPECT_TRUE(templ) << templ.error;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 1);
}

TEST(DataFileLoad, ParseErrorsNameThePathGiven) {
    TempDir dir;
    const fs::path path = dir.path() / "bad.krt";
    writeBytes(path, "12,3,x");
    const auto loaded = loadDataFile(path.string());
    EXPECT_EQ(ja(loaded.error), filetexts::kReadFailed + path.string() + "\n1" +
                                    filetexts::kLineSuffix + "3" + filetexts::kFieldSuffix +
                                    filetexts::kNotANumber);
}

TEST(DataFileLoad, OversizedFileIsRefusedUnread) {
    TempDir dir;
    const fs::path path = dir.path() / "huge.krt";
    writeBytes(path, exampleFixture());
    fs::resize_file(path, kMaxDataFileBytes + 1);  // sparse: the tail reads as zero bytes
    const auto loaded = loadDataFile(path.string());
    EXPECT_EQ(ja(loaded.error),
              filetexts::kReadFailed + path.string() + "\n" + filetexts::kTooLarge);
}

TEST(TemplateLoad, ReadsTheTemplateFromDisk) {
    TempDir dir;
    const fs::path path = dir.path() / kTemplateFileName;
    writeBytes(path, "9,0,655.35,0,0,0,0\r\n\"\x8E\x4F\x8F\x64\"\r\n");  // 三重 in CP932
    const auto loaded = loadTemplateFile(path.string(), LapData{});
    ASSERT_TRUE(loaded) << loaded.error;
    EXPECT_EQ(loaded.content->data.carId, 9);
    EXPECT_EQ(loaded.content->memo, "三重");
}

}  // namespace
}  // namespace korimet
