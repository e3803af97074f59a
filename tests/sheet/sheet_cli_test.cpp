#include <gtest/gtest.h>

#include <QString>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <regex>
#include <set>
#include <sstream>

#include "corrections/correction_file.h"
#include "files/data_file.h"
#include "files/file_texts.h"
#include "lapdata/lap_time.h"
#include "sheet/lap_sheet.h"
#include "sheet/sheet_texts.h"
#include "support/files.h"
#include "support/frames.h"
#include "support/run_cli.h"
#include "support/special_files.h"
#include "support/temp_dir.h"

namespace korimet {
namespace {

namespace fs = std::filesystem;
using test::runWithLaps;
using test::TempDir;

using test::quoted;

// Qt's font and platform libraries keep caches for the life of the process: the renderer
// runs without the leak checker, as the widget tests do.
test::CliResult runCli(const std::string& args) {
    return test::runCommand(std::string("ASAN_OPTIONS=\"${ASAN_OPTIONS:-}:detect_leaks=0\" '") +
                            KORIMET_CLI + "' " + args);
}

// The same in the language `lang` selects.
test::CliResult runCliIn(const std::string& lang, const std::string& args) {
    return test::runCommand("env -u LC_ALL -u LC_MESSAGES LANG='" + lang +
                            "' ASAN_OPTIONS=\"${ASAN_OPTIONS:-}:detect_leaks=0\" '" + KORIMET_CLI +
                            "' " + args);
}

using test::readBytes;

bool haveTool(const char* name) {
    return std::system((std::string("command -v ") + name + " >/dev/null 2>&1").c_str()) == 0;
}

std::string output(const std::string& command) { return test::runCommand(command).out; }

std::set<std::string> entries(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
    return names;
}

// Width and height from a PNG's header.
std::pair<int, int> pngSize(const std::string& bytes) {
    if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0) return {-1, -1};
    auto be32 = [&](std::size_t at) {
        int v = 0;
        for (std::size_t i = 0; i < 4; ++i)
            v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
        return v;
    };
    return {be32(16), be32(20)};
}

// Laps between 58 and 66 seconds that do not repeat, with a target that some meet.
LapData fortyLaps() {
    LapData d = runWithLaps({}, 60.5, 17, 7);
    for (int i = 0; i < 40; ++i)
        d.laps[static_cast<std::size_t>(i)] = 58.0 + (i * 37 % 80) / 10.0 + i / 100.0;
    d.lapCount = 40;
    return d;
}

class SheetCli : public ::testing::Test {
  protected:
    void SetUp() override {
        run = dir.path() / "run.krt";
        other = dir.path() / "other.krt";
        ASSERT_TRUE(saveDataFile(run.string(), data, "雨上がり、路面は半乾き。\r\n二本目"));
        ASSERT_TRUE(saveDataFile(other.string(), runWithLaps({59.0, 61.0, 60.0}), ""));
    }
    TempDir dir;
    LapData data = fortyLaps();
    fs::path run;
    fs::path other;
};

TEST_F(SheetCli, PdfIsOnePageThatHoldsTheSheetAsText) {
    const fs::path pdf = dir.path() / "sheet.pdf";
    ASSERT_EQ(runCliIn("ja_JP.UTF-8", "sheet " + quoted(run) + " --pdf " + quoted(pdf)).status, 0);
    const std::string bytes = readBytes(pdf);
    ASSERT_TRUE(bytes.starts_with("%PDF-"));
    if (!haveTool("pdftotext") || !haveTool("pdfinfo") || !haveTool("pdffonts"))
        GTEST_SKIP() << "poppler-utils not installed";

    const std::string info = output("pdfinfo " + quoted(pdf));
    EXPECT_TRUE(std::regex_search(info, std::regex("\nPages: +1\n"))) << info;
    EXPECT_TRUE(std::regex_search(info, std::regex("\nPage size: +(595 x 842 pts \\(A4\\)|"
                                                   "612 x 792 pts \\(letter\\))")))
        << info;

    const std::string text = output("pdftotext -enc UTF-8 " + quoted(pdf) + " -");
    const LapSheet sheet = buildLapSheet({{viewRun(data), run.string()}, "", {}, std::nullopt});
    EXPECT_NE(text.find("ラップシート"), std::string::npos) << text;
    EXPECT_NE(text.find("車番07"), std::string::npos) << text;
    EXPECT_NE(text.find(sheet.statistics[0].value), std::string::npos);  // best lap
    EXPECT_NE(text.find("run.krt"), std::string::npos);
    EXPECT_NE(text.find("雨上がり、路面は半乾き。"), std::string::npos) << text;
    for (int i = 0; i < data.lapCount; ++i) {
        const std::string time = formatLapTime(data.laps[static_cast<std::size_t>(i)]);
        EXPECT_NE(text.find(time), std::string::npos) << "lap " << i + 1 << " " << time;
    }

    // Every font is in the file, so any reader shows the same glyphs.
    std::istringstream fonts(output("pdffonts " + quoted(pdf)));
    std::string line;
    int fontLines = 0;
    for (int n = 0; std::getline(fonts, line); ++n) {
        if (n < 2 || line.empty()) continue;  // heading and rule
        ++fontLines;
        EXPECT_NE(line.find(" yes "), std::string::npos) << line;
    }
    EXPECT_GT(fontLines, 0);
}

TEST_F(SheetCli, ComparedPdfNamesTheOtherRunAndItsDifferences) {
    const fs::path pdf = dir.path() / "compared.pdf";
    ASSERT_EQ(runCliIn("ja_JP.UTF-8", "sheet " + quoted(run) + " --compare " + quoted(other) +
                                          " --pdf " + quoted(pdf))
                  .status,
              0);
    if (!haveTool("pdftotext")) GTEST_SKIP() << "poppler-utils not installed";
    const std::string text = output("pdftotext -enc UTF-8 " + quoted(pdf) + " -");
    SheetInput in{{viewRun(data), run.string()},
                  "",
                  {},
                  SheetRun{viewRun(runWithLaps({59.0, 61.0, 60.0})), "other.krt"}};
    const LapSheet sheet = buildLapSheet(in);
    ASSERT_TRUE(sheet.comparison);
    EXPECT_NE(text.find("other.krt"), std::string::npos) << text;
    for (const SheetField& d : sheet.comparison->differences) {
        EXPECT_NE(text.find(d.caption), std::string::npos) << d.caption;
        EXPECT_NE(text.find(d.value), std::string::npos) << d.value;
    }
}

TEST_F(SheetCli, PngHasTheAskedSize) {
    struct Case {
        const char* width;
        int expectedWidth;
        int expectedHeight;
    };
    const Case cases[] = {{nullptr, 1600, 800}, {"640", 640, 320}, {"1001", 1001, 501}};
    for (const Case& c : cases) {
        const fs::path png = dir.path() / "chart.png";
        std::string args =
            "sheet " + quoted(run) + " --compare " + quoted(other) + " --png " + quoted(png);
        if (c.width) args += std::string(" --width ") + c.width;
        ASSERT_EQ(runCli(args).status, 0) << args;
        EXPECT_EQ(pngSize(readBytes(png)), std::make_pair(c.expectedWidth, c.expectedHeight))
            << args;
        fs::remove(png);
    }
}

TEST_F(SheetCli, RefusedInputsAndUnwritableOutputsLeaveNothingBehind) {
    const fs::path empty = dir.path() / "empty.krt";
    ASSERT_TRUE(saveDataFile(empty.string(), runWithLaps({}), ""));
    const fs::path broken = fs::path(KORIMET_TEST_DATA) / "broken_lap_text.krt";
    const fs::path aFolder = dir.path() / "taken";
    fs::create_directory(aFolder);
    const fs::path pdf = dir.path() / "out.pdf";
    const fs::path png = dir.path() / "out.png";
    const std::string cases[] = {
        "sheet " + quoted(dir.path() / "missing.krt") + " --pdf " + quoted(pdf),
        "sheet " + quoted(broken) + " --pdf " + quoted(pdf),
        "sheet " + quoted(run) + " --compare " + quoted(broken) + " --pdf " + quoted(pdf),
        "sheet " + quoted(run) + " --compare " + quoted(empty) + " --png " + quoted(png),
        "sheet " + quoted(run) + " --pdf " + quoted(run / "out.pdf"),  // below a file
        "sheet " + quoted(run) + " --pdf " + quoted(dir.path() / "no" / "out.pdf"),
        "sheet " + quoted(run) + " --pdf " + quoted(aFolder),  // the name is a folder
        "sheet " + quoted(run) + " --png " + quoted(aFolder),
        "sheet " + quoted(run),                                             // nothing to write
        "sheet " + quoted(run) + " --pdf " + quoted(pdf) + " --width 800",  // width of no picture
        "sheet " + quoted(run) + " --png " + quoted(png) + " --width 12",
        "sheet " + quoted(run) + " --png " + quoted(png) + " --width 12x",
        "sheet --pdf " + quoted(pdf),
    };
    const std::set<std::string> before = entries(dir.path());
    for (const std::string& args : cases) {
        EXPECT_EQ(runCli(args).status, 2) << args;
        EXPECT_EQ(entries(dir.path()), before) << args;
        EXPECT_TRUE(fs::is_directory(aFolder)) << args;
        EXPECT_TRUE(fs::is_empty(aFolder)) << args;
    }
}

// Started by hand, the renderer reads its arguments with the verb's options and names what
// is wrong in the verb's words.
TEST_F(SheetCli, TheRendererAloneRefusesWrongArgumentsAsTheVerbDoes) {
    const fs::path renderer = fs::path(KORIMET_CLI).parent_path() / "korimet-sheet";
    const fs::path pdf = dir.path() / "out.pdf";
    const fs::path png = dir.path() / "out.png";
    const struct {
        std::string args;
        std::string said;
    } cases[] = {
        {quoted(run), "korimet-sheet: --pdf / --png is missing\n"},
        {"--pdf " + quoted(pdf), "korimet-sheet: FILE.krt is missing\n"},
        {quoted(run) + " --png " + quoted(png) + " --width 12",
         "korimet-sheet: wrong arguments: --width: 12 is not a whole number from 200 to 8000\n"},
    };
    const std::set<std::string> before = entries(dir.path());
    for (const auto& c : cases) {
        const test::CliResult r =
            test::runCommand("env -u LC_ALL -u LC_MESSAGES LANG=C.UTF-8 " + quoted(renderer) + " " +
                             c.args + " 2>&1 >/dev/null");
        EXPECT_EQ(r.status, 2) << c.args;
        EXPECT_EQ(r.out, c.said) << c.args;
        EXPECT_EQ(entries(dir.path()), before) << c.args;
    }
}

TEST_F(SheetCli, AnExistingOutputIsReplacedWhole) {
    const fs::path pdf = dir.path() / "again.pdf";
    std::ofstream(pdf) << "old";
    ASSERT_EQ(runCli("sheet " + quoted(run) + " --pdf " + quoted(pdf)).status, 0);
    EXPECT_TRUE(readBytes(pdf).starts_with("%PDF-"));
    EXPECT_TRUE(readBytes(pdf).ends_with("%%EOF\n"));
}

TEST_F(SheetCli, WithoutTheRendererBesideItTheVerbSaysSoAndWritesNothing) {
    const fs::path alone = dir.path() / "alone";
    fs::create_directory(alone);
    fs::copy_file(KORIMET_CLI, alone / "korimet-cli");
    const fs::path pdf = dir.path() / "never.pdf";
    const std::string command =
        quoted(alone / "korimet-cli") + " sheet " + quoted(run) + " --pdf " + quoted(pdf) + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::array<char, 4096> buffer;
    std::string said;
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        said.append(buffer.data(), n);
    const int raw = pclose(pipe);
    EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 2);
    EXPECT_NE(said.find("korimet-sheet"), std::string::npos) << said;
    EXPECT_FALSE(fs::exists(pdf));
}

// A pipe or a character device named as the output takes the bytes as a shell's redirection
// would give them; a folder or a socket is refused. None is ever replaced by a file, named
// itself or through a link.
TEST_F(SheetCli, OutputsThatAreNoFilesAreWrittenToOrRefusedNeverReplaced) {
    using test::Special;
    const char* const notAnOutput = "not a file, a pipe or a character device";
    const struct {
        Special kind;
        const char* name;
        int status;
        const char* said;  // after the file's name, when refused
    } kinds[] = {
        {Special::Fifo, "named pipe", 0, nullptr},
        {Special::NullDevice, "null device", 0, nullptr},
        {Special::FullDevice, "full device", 2, "No space left on device"},
        {Special::Folder, "folder", 2, "Is a directory"},
        {Special::Socket, "socket", 2, notAnOutput},
    };
    const struct {
        const char* option;
        const char* starts;
    } outputs[] = {{"--pdf", "%PDF-"}, {"--png", "\x89PNG"}};
    std::string notMade;
    for (const auto& k : kinds) {
        for (const auto& o : outputs) {
            for (bool throughLink : {false, true}) {
                const std::string name = std::string(o.option) + " to a " + k.name +
                                         (throughLink ? " through a link" : "");
                TempDir out;
                const fs::path given = out.path() / "out";
                const fs::path node = throughLink ? out.path() / "made" : given;
                if (!test::makeSpecial(k.kind, node)) {
                    if (!throughLink && &o == outputs) notMade += std::string(" ") + k.name;
                    continue;
                }
                if (throughLink) fs::create_symlink(node, given);
                const std::set<std::string> before = entries(out.path());
                std::optional<test::FifoReader> reader;
                if (k.kind == Special::Fifo) {
                    reader.emplace(given);
                    ASSERT_TRUE(reader->ready()) << name;
                }
                const test::CliResult r =
                    runCliIn("C.UTF-8", "sheet " + quoted(run) + " " + o.option + " " +
                                            quoted(given) + " 2>&1");
                EXPECT_EQ(r.status, k.status) << name << ": " << r.out;
                if (k.said) {
                    EXPECT_NE(r.out.find(given.string() + ": " + k.said), std::string::npos)
                        << name << ": " << r.out;
                }
                if (reader) {
                    EXPECT_TRUE(reader->finish().starts_with(o.starts)) << name;
                }
                EXPECT_TRUE(test::holds(k.kind, node)) << name;
                EXPECT_EQ(fs::is_symlink(given), throughLink) << name;
                EXPECT_EQ(entries(out.path()), before) << name;
                if (k.kind == Special::Folder) {
                    EXPECT_TRUE(fs::is_empty(node)) << name;
                }
            }
        }
    }
    if (!notMade.empty()) GTEST_SKIP() << "not permitted to make here:" << notMade;
}

// Output names are bytes from the command line to the file system, in any encoding.
TEST_F(SheetCli, OutputNamesAreKeptAsBytes) {
    const std::string cp932Folder = "\x83\x65\x83\x58\x83\x67";  // テスト in CP932
    fs::create_directory(dir.path() / cp932Folder);
    const fs::path cp932Run = dir.path() / "\x91\x96\x8d\x73.krt";
    fs::copy_file(run, cp932Run);
    const struct {
        std::string args;
        fs::path written;
        const char* starts;
    } cases[] = {
        {"--png " + quoted(dir.path() / "x\x97\xfb.png"), dir.path() / "x\x97\xfb.png", "\x89PNG"},
        {"--pdf " + quoted(dir.path() / cp932Folder / "out.pdf"),
         dir.path() / cp932Folder / "out.pdf", "%PDF-"},
        {"--compare " + quoted(cp932Run) + " --pdf " + quoted(dir.path() / "\xe9t\xe9.pdf"),
         dir.path() / "\xe9t\xe9.pdf", "%PDF-"},  // Latin-1
    };
    for (const auto& c : cases) {
        for (const fs::path& input : {run, cp932Run}) {
            const std::string args = "sheet " + quoted(input) + " " + c.args;
            ASSERT_EQ(runCli(args).status, 0) << args;
            EXPECT_TRUE(readBytes(c.written).starts_with(c.starts)) << args;
            ASSERT_TRUE(fs::remove(c.written)) << args;
        }
    }
    // Nothing was written under another name.
    EXPECT_EQ(entries(dir.path()), (std::set<std::string>{"run.krt", "other.krt", cp932Folder,
                                                          cp932Run.filename().string()}));
    EXPECT_TRUE(fs::is_empty(dir.path() / cp932Folder));
}

// "-" writes to standard output what the file would hold; nothing else is written.
TEST_F(SheetCli, DashWritesToStandardOutput) {
    const fs::path png = dir.path() / "chart.png";
    ASSERT_EQ(runCli("sheet " + quoted(run) + " --png " + quoted(png) + " --width 640").status, 0);
    const std::set<std::string> before = entries(dir.path());
    const auto picture = runCli("sheet " + quoted(run) + " --png - --width 640");
    EXPECT_EQ(picture.status, 0);
    EXPECT_EQ(picture.out, readBytes(png));
    const auto pdf = runCli("sheet " + quoted(run) + " --pdf - --png " + quoted(png));
    EXPECT_EQ(pdf.status, 0);
    EXPECT_TRUE(pdf.out.starts_with("%PDF-"));
    EXPECT_TRUE(pdf.out.ends_with("%%EOF\n"));
    EXPECT_EQ(entries(dir.path()), before);
}

// Every message names the verb that was typed, in the run's language; standard output
// that cannot be written is a failure like any other output.
TEST_F(SheetCli, MessagesNameTheVerbInTheRunsLanguage) {
    const fs::path nowhere = dir.path() / "no" / "out.pdf";
    const fs::path missing = dir.path() / "missing.krt";
    const struct {
        std::string args;
        std::string english;
        std::string japanese;
        const char* output = "/dev/null";
    } cases[] = {
        {"--pdf -", "korimet-cli sheet: cannot write to standard output: No space left on device\n",
         "korimet-cli sheet: 標準出力に書き込めません: " + std::string(filetexts::kDiskFull) + "\n",
         "/dev/full"},
        {"--png -", "korimet-cli sheet: cannot write to standard output: No space left on device\n",
         "korimet-cli sheet: 標準出力に書き込めません: " + std::string(filetexts::kDiskFull) + "\n",
         "/dev/full"},
        {"--pdf - --png -",
         "korimet-cli sheet: only one of --pdf and --png can be - (standard output)\n",
         "korimet-cli sheet: --pdf と --png のうち - (標準出力) にできるのは 1 つだけです\n"},
        {"--pdf " + quoted(nowhere),
         "korimet-cli sheet: cannot write the PDF file " + nowhere.string() +
             ": No such file or directory\n",
         "korimet-cli sheet: PDF ファイル " + nowhere.string() +
             " を書き込めません: " + filetexts::kNoSuchFile + "\n"},
        {"--png " + quoted(dir.path()),
         "korimet-cli sheet: cannot write the picture " + dir.path().string() +
             ": Is a directory\n",
         "korimet-cli sheet: 画像ファイル " + dir.path().string() +
             " を書き込めません: " + filetexts::kIsFolder + "\n"},
        {"--compare " + quoted(missing) + " --pdf " + quoted(dir.path() / "x.pdf"),
         "korimet-cli sheet: cannot read the file: " + missing.string() +
             "\ncannot open the file (No such file or directory)\n",
         "korimet-cli sheet: " + std::string(filetexts::kReadFailed) + missing.string() + "\n" +
             filetexts::kCannotOpen + "（" + filetexts::kNoSuchFile + "）\n"},
    };
    for (const auto& c : cases) {
        for (const auto& [lang, said] : {std::pair{"C", c.english}, {"ja_JP.UTF-8", c.japanese}}) {
            // Qt's own warnings about the session are not the tool's messages.
            const auto r = runCliIn(lang, "sheet " + quoted(run) + " " + c.args + " 2>&1 >" +
                                              c.output + " | grep -v '^QStandardPaths'");
            EXPECT_EQ(r.out, said) << lang << " " << c.args;
        }
        EXPECT_EQ(
            runCli("sheet " + quoted(run) + " " + c.args + " >" + c.output + " 2>/dev/null").status,
            2)
            << c.args;
    }
}

// The sheet prints the laps as corrected beside the run, with the best three and the pace;
// a correction file from a later version is named and the run printed as downloaded.
TEST_F(SheetCli, PrintsTheCorrectedLapsOrSaysWhyNot) {
    const LapData pressed = runWithLaps({60.0, 60.5, 0.4, 60.1, 61.0, 120.5, 60.2});
    ASSERT_TRUE(saveDataFile(run.string(), pressed, ""));
    RunCorrections corrections(pressed);
    ASSERT_EQ(corrections.apply({CorrectionKind::Split, 5}), CorrectionRefusal::None);
    ASSERT_EQ(corrections.apply({CorrectionKind::MergeIntoNext, 2}), CorrectionRefusal::None);
    ASSERT_FALSE(saveCorrections(run.string(), corrections));
    const fs::path pdf = dir.path() / "sheet.pdf";
    const fs::path errors = dir.path() / "errors.txt";
    ASSERT_EQ(runCliIn("ja_JP.UTF-8", "sheet " + quoted(run) + " --pdf " + quoted(pdf)).status, 0);
    if (!haveTool("pdftotext")) GTEST_SKIP() << "poppler-utils not installed";
    std::string text = output("pdftotext -enc UTF-8 " + quoted(pdf) + " -");
    EXPECT_EQ(text.find(formatLapTime(0.4)), std::string::npos) << text;
    EXPECT_NE(text.find(formatLapTime(60.25)), std::string::npos) << text;
    EXPECT_NE(text.find(texts::kBestThreeCaption), std::string::npos) << text;

    test::writeBytes(correctionFilePath(run.string()), "korimet-corrections 9\n");
    ASSERT_EQ(
        runCli("sheet " + quoted(run) + " --pdf " + quoted(pdf) + " 2>" + quoted(errors)).status,
        0);
    EXPECT_NE(readBytes(errors).find(correctionFilePath(run.string())), std::string::npos);
    text = output("pdftotext -enc UTF-8 " + quoted(pdf) + " -");
    EXPECT_NE(text.find(formatLapTime(0.4)), std::string::npos) << text;
}

// The sheet is made in the language korimet-cli speaks: English under LANG=C, Japanese under
// a Japanese locale; the racer's memo is printed as written either way.
TEST_F(SheetCli, TheSheetIsInTheLocalesLanguage) {
    if (!haveTool("pdftotext")) GTEST_SKIP() << "poppler-utils not installed";
    const auto japanese = [](const std::string& text) {
        const QString t = QString::fromStdString(text);
        return std::any_of(t.begin(), t.end(), [](QChar c) {
            const char16_t u = c.unicode();
            return (u >= 0x3000 && u <= 0x30FF) || (u >= 0x4E00 && u <= 0x9FFF) ||
                   (u >= 0xFF00 && u <= 0xFFEF);
        });
    };
    const fs::path pdf = dir.path() / "sheet.pdf";
    const struct {
        const char* lang;
        std::vector<std::string> words;
        bool onlyMemoJapanese;
    } cases[] = {
        {"C", {"Lap Sheet", "Car 07", "Best Difference", "Memo", "Consistency"}, true},
        {"ja_JP.UTF-8", {"ラップシート", "車番07", "ベスト差", "メモ", "安定度"}, false},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(runCliIn(c.lang, "sheet " + quoted(run) + " --compare " + quoted(other) +
                                       " --pdf " + quoted(pdf))
                      .status,
                  0)
            << c.lang;
        std::istringstream text(output("pdftotext -enc UTF-8 " + quoted(pdf) + " -"));
        std::string all;
        for (std::string line; std::getline(text, line);) {
            all += line + "\n";
            const bool memo = line.find("雨上がり") != std::string::npos ||
                              line.find("二本目") != std::string::npos;
            if (c.onlyMemoJapanese && !memo) {
                EXPECT_FALSE(japanese(line)) << c.lang << ": " << line;
            }
        }
        for (const std::string& word : c.words)
            EXPECT_NE(all.find(word), std::string::npos) << c.lang << ": " << word << "\n" << all;
        EXPECT_NE(all.find("雨上がり、路面は半乾き。"), std::string::npos) << c.lang;
        EXPECT_NE(all.find(formatLapTime(data.laps[0])), std::string::npos) << c.lang;
    }
}

}  // namespace
}  // namespace korimet
