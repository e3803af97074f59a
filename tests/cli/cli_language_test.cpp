// The command-line tool speaks one language per run, chosen by the locale, while its results
// read the same in every locale; and it explains itself with --help and --version.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <sstream>
#include <utility>
#include <vector>

#include "commandline/cli_texts.h"
#include "files/data_file.h"
#include "files/file_texts.h"
#include "files/run_naming.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"
#include "tools/tool_texts.h"

namespace korimet {
namespace {

namespace fs = std::filesystem;
using cli::Language;
using cli::Text;
using test::runCliIn;

const std::string kData = KORIMET_TEST_DATA;
const std::string kJapanese = "ja_JP.UTF-8";
const std::string kEnglish = "C";
const char* const kVerbNames[] = {"decode",  "show",   "export", "simulate",
                                  "compare", "listen", "sheet",  "runs"};

std::string q(const fs::path& p) { return "'" + p.string() + "'"; }

// Standard error only.
test::CliResult errorsOf(const std::string& lang, const std::string& args) {
    return runCliIn(lang, args + " 2>&1 >/dev/null");
}

TEST(CliTexts, EveryTextHasBothLanguages) {
    for (const cli::TextEntry& entry : cli::kTextTable) {
        const auto key = static_cast<int>(entry.key);
        ASSERT_NE(entry.en, nullptr) << key;
        ASSERT_NE(entry.ja, nullptr) << key;
        EXPECT_NE(std::string(entry.en), "") << key;
        EXPECT_NE(std::string(entry.ja), "") << key;
        // A placeholder the English has, the Japanese has as often.
        auto holes = [](std::string_view s) {
            int n = 0;
            for (auto at = s.find("{}"); at != std::string_view::npos; at = s.find("{}", at + 2))
                ++n;
            return n;
        };
        EXPECT_EQ(holes(entry.en), holes(entry.ja)) << entry.en;
    }
}

TEST(CliTexts, TheFirstLocaleVariableSetDecides) {
    const struct {
        const char* lcAll;
        const char* lcMessages;
        const char* lang;
        Language expected;
    } cases[] = {
        {nullptr, nullptr, nullptr, Language::English},
        {nullptr, nullptr, "ja_JP.UTF-8", Language::Japanese},
        {nullptr, nullptr, "ja", Language::Japanese},
        {nullptr, nullptr, "ja_JP.eucJP@x", Language::Japanese},
        {nullptr, nullptr, "C.UTF-8", Language::English},
        {nullptr, nullptr, "jam_XX", Language::English},
        {"C", nullptr, "ja_JP.UTF-8", Language::English},
        {"", "ja_JP.UTF-8", "en_US.UTF-8", Language::Japanese},  // empty counts as unset
        {"en_US.UTF-8", "ja_JP.UTF-8", "ja_JP.UTF-8", Language::English},
        {"ja_JP.UTF-8", "C", "C", Language::Japanese},
        {"", "", "ja_JP.UTF-8", Language::Japanese},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cli::languageFor(c.lcAll, c.lcMessages, c.lang), c.expected)
            << (c.lcAll ? c.lcAll : "-") << " " << (c.lcMessages ? c.lcMessages : "-") << " "
            << (c.lang ? c.lang : "-");
    }
}

TEST(CliHelp, ToolAndVerbsAnswerHelpOnStandardOutput) {
    const struct {
        std::string lang;
        std::string usage;
        std::string exitStatus;
    } languages[] = {{kEnglish, "Usage: korimet-cli", "Exit status: "},
                     {kJapanese, "使い方: korimet-cli", "終了コード: "}};
    for (const auto& l : languages) {
        for (const char* help : {"--help", "-h", "help"}) {
            const auto tool = runCliIn(l.lang, std::string(help) + " 2>/dev/null");
            EXPECT_EQ(tool.status, 0) << help;
            EXPECT_NE(tool.out.find(l.usage + " ["), std::string::npos) << tool.out;
            for (const char* verb : kVerbNames)
                EXPECT_NE(tool.out.find(std::string("\n  ") + verb + " "), std::string::npos)
                    << verb;
            EXPECT_EQ(errorsOf(l.lang, help).out, "");
        }
        for (const char* verb : kVerbNames) {
            const auto r = runCliIn(l.lang, std::string(verb) + " --help");
            EXPECT_EQ(r.status, 0) << verb;
            EXPECT_NE(r.out.find(l.usage + " " + verb), std::string::npos) << r.out;
            EXPECT_NE(r.out.find(l.exitStatus), std::string::npos) << r.out;
            EXPECT_EQ(errorsOf(l.lang, std::string(verb) + " --help").out, "");
        }
    }
    const auto version = runCliIn(kJapanese, "--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string("korimet-cli ") + KORIMET_VERSION_TEXT + "\n");
}

TEST(CliHelp, WrongArgumentsGiveOneLineAndStatusTwo) {
    const std::string run = q(kData + "/example.krt");
    const struct {
        std::string args;
        std::string english;
        std::string japanese;
    } cases[] = {
        {"", "korimet-cli: no verb given (korimet-cli --help lists them)\n",
         "korimet-cli: 動作が指定されていません (korimet-cli --help で一覧を表示)\n"},
        {"frobnicate " + run,
         "korimet-cli: unknown verb 'frobnicate' (korimet-cli --help lists them)\n",
         "korimet-cli: 'frobnicate' という動作はありません (korimet-cli --help で一覧を表示)\n"},
        {"--frobnicate", "korimet-cli: unknown option: --frobnicate\n",
         "korimet-cli: 不明なオプションです: --frobnicate\n"},
        {"show " + run + " " + run,
         "korimet-cli show: unexpected argument: " + kData + "/example.krt\n",
         "korimet-cli show: 余分な引数があります: " + kData + "/example.krt\n"},
        {"show", "korimet-cli show: FILE.krt is missing\n",
         "korimet-cli show: FILE.krt が指定されていません\n"},
        {"export " + run, "korimet-cli export: --csv is missing\n",
         "korimet-cli export: --csv が指定されていません\n"},
        {"simulate 5", "korimet-cli simulate: FILE.krt is missing\n",
         "korimet-cli simulate: FILE.krt が指定されていません\n"},
        {"decode --out", "korimet-cli decode: --out needs one value\n",
         "korimet-cli decode: --out には値を 1 つ指定してください\n"},
        {"decode --out ''", "korimet-cli decode: --out needs one value\n",
         "korimet-cli decode: --out には値を 1 つ指定してください\n"},
        {"decode --out a --out b", "korimet-cli decode: --out is given more than once\n",
         "korimet-cli decode: --out が 2 回以上指定されています\n"},
        {"listen /dev/null --out /nonexistent --count 0",
         "korimet-cli listen: --count needs a whole number of 1 or more\n",
         "korimet-cli listen: --count には 1 以上の整数を指定してください\n"},
        // An option the verb does not have is named, not taken for a missing file.
        {"simulate --x " + run, "korimet-cli simulate: unknown option: --x\n",
         "korimet-cli simulate: 不明なオプションです: --x\n"},
        {"show -dash.krt", "korimet-cli show: unknown option: -dash.krt\n",
         "korimet-cli show: 不明なオプションです: -dash.krt\n"},
        {"show --x " + run, "korimet-cli show: unknown option: --x\n",
         "korimet-cli show: 不明なオプションです: --x\n"},
        {"export --csv --tsv=1 " + run, "korimet-cli export: unknown option: --tsv=1\n",
         "korimet-cli export: 不明なオプションです: --tsv=1\n"},
        {"sheet " + run + " --pfd out.pdf", "korimet-cli sheet: unknown option: --pfd\n",
         "korimet-cli sheet: 不明なオプションです: --pfd\n"},
        {"runs -x", "korimet-cli runs: unknown option: -x\n",
         "korimet-cli runs: 不明なオプションです: -x\n"},
        // Ranges are checked in the reader's language too.
        {"runs --car 256",
         "korimet-cli runs: wrong arguments: --car: 256 is not a whole number from 0 to 255\n",
         "korimet-cli runs: 引数が正しくありません: --car: 256 は 0～255 の整数ではありません\n"},
        {"help frobnicate",
         "korimet-cli: unknown verb 'frobnicate' (korimet-cli --help lists them)\n",
         "korimet-cli: 'frobnicate' という動作はありません (korimet-cli --help で一覧を表示)\n"},
        {"help show export", "korimet-cli show: unexpected argument: export\n",
         "korimet-cli show: 余分な引数があります: export\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(runCliIn(kEnglish, c.args + " 2>/dev/null").status, 2) << c.args;
        EXPECT_EQ(runCliIn(kEnglish, c.args + " 2>/dev/null").out, "") << c.args;
        EXPECT_EQ(errorsOf(kEnglish, c.args).out, c.english) << c.args;
        EXPECT_EQ(errorsOf(kJapanese, c.args).out, c.japanese) << c.args;
    }
}

// After "--", or with a folder before it, a file named like an option is a file.
TEST(CliHelp, FilesNamedLikeOptionsOpenAfterDashesOrWithAFolder) {
    test::TempDir dir;
    fs::copy_file(kData + "/example.krt", dir.path() / "-dash.krt");
    const std::string in = "cd " + q(dir.path()) + " && ";
    for (const std::string args :
         {"show -- -dash.krt", "show ./-dash.krt", "export --csv -- -dash.krt",
          "simulate 5 -- -dash.krt", "compare ./-dash.krt -- -dash.krt"}) {
        const auto r = test::runCommand(in + "env -u LC_ALL -u LC_MESSAGES LANG=C '" + KORIMET_CLI +
                                        "' " + args + " 2>&1");
        EXPECT_EQ(r.status, 0) << args << "\n" << r.out;
    }
}

TEST(CliHelp, HelpVerbIsTheVerbsHelp) {
    for (const std::string& lang : {kEnglish, kJapanese}) {
        for (const char* verb : kVerbNames) {
            const auto asked = runCliIn(lang, std::string("help ") + verb);
            EXPECT_EQ(asked.status, 0) << verb;
            EXPECT_EQ(asked.out, runCliIn(lang, std::string(verb) + " --help").out) << verb;
            EXPECT_EQ(errorsOf(lang, std::string("help ") + verb).out, "") << verb;
        }
    }
}

// Every help there is, in both languages: the tool's and each verb's.
std::vector<std::pair<std::string, std::string>> everyHelp() {
    std::vector<std::pair<std::string, std::string>> helps;
    for (const std::string& lang : {kEnglish, kJapanese}) {
        helps.emplace_back(lang + " --help", runCliIn(lang, "--help").out);
        for (const char* verb : kVerbNames) {
            helps.emplace_back(lang + " " + verb,
                               runCliIn(lang, std::string(verb) + " --help").out);
        }
    }
    return helps;
}

TEST(CliHelp, EveryLineFitsEightyColumns) {
    for (const auto& [which, help] : everyHelp()) {
        ASSERT_NE(help, "") << which;
        std::istringstream lines(help);
        for (std::string line; std::getline(lines, line);) {
            EXPECT_LE(cli::displayWidth(line), 80u) << which << "\n" << line;
        }
    }
}

// Values are named for people; the parser's own words (INT, TEXT, ranges) never show.
TEST(CliHelp, ValuesHaveNamesPeopleRead) {
    for (const auto& [which, help] : everyHelp()) {
        for (const char* internal : {"INT", "TEXT", "[200 - 8000]", "[0 - 255]", "REQUIRED"})
            EXPECT_EQ(help.find(internal), std::string::npos) << which << ": " << internal;
    }
    const struct {
        const char* verb;
        std::vector<std::string> shown;
    } cases[] = {
        {"sheet",
         {"  --pdf FILE.pdf ", "  --png FILE.png ", "  --width PX ", "  --compare FILE.krt "}},
        {"runs", {"  --library DIR ", "  --car N "}},
        {"simulate", {"  MINUTES ", "  FILE.krt "}},
        {"listen", {"  --out DIR ", "  --count N "}},
    };
    for (const auto& c : cases) {
        const std::string help = runCliIn(kEnglish, std::string(c.verb) + " --help").out;
        for (const std::string& shown : c.shown)
            EXPECT_NE(help.find(shown), std::string::npos) << c.verb << ": " << shown << "\n"
                                                           << help;
    }
}

// Whatever the language of the run, what mirrors the window is byte for byte the same.
TEST(CliLanguage, ResultsReadTheSameInEveryLocale) {
    const std::string run = q(kData + "/target_32_laps_cp932.krt");
    for (const std::string& args :
         {"show --json " + run, "simulate 17 " + run, "export --csv " + run,
          "compare " + run + " " + q(kData + "/example.krt") + " --json",
          "decode " + q(kData + "/two_frames_with_noise.bin")}) {
        const auto english = runCliIn(kEnglish, args);
        const auto japanese = runCliIn(kJapanese, args);
        EXPECT_EQ(english.status, 0) << args;
        EXPECT_NE(english.out, "") << args;
        EXPECT_EQ(japanese.out, english.out) << args;
    }
    const auto english = runCliIn(kEnglish, "show " + run);
    const auto japanese = runCliIn(kJapanese, "show " + run);
    EXPECT_NE(english.out.find("Race     17分レース模擬 17Lap 17m32s85\n"), std::string::npos);
    EXPECT_NE(japanese.out.find("レース   17分レース模擬 17Lap 17m32s85\n"), std::string::npos)
        << japanese.out;
    EXPECT_NE(japanese.out.find("メモ:\n練習走行①"), std::string::npos);
}

TEST(CliLanguage, SilentResultsAreExplainedOnStandardError) {
    const std::string run = q(kData + "/example.krt");
    const struct {
        std::string args;
        int status;
        std::string out;
        std::string english;
        std::string japanese;
    } cases[] = {
        // The window empties its race line; the empty line stays the result.
        {"simulate 0 " + run, 0, "\n",
         "korimet-cli simulate: a race of 0 minutes is no race: no race line is shown\n",
         "korimet-cli simulate: 0 分のレースは模擬できません: レース模擬結果は表示されません\n"},
        {"simulate -2.5 " + run, 0, "\n",
         "korimet-cli simulate: a race of -2.5 minutes is no race: no race line is shown\n",
         "korimet-cli simulate: -2.5 分のレースは模擬できません: レース模擬結果は表示されません\n"},
        {"simulate abc " + run, 1, "",
         "korimet-cli simulate: the race length (minutes) is not a number: abc\n",
         "korimet-cli simulate: レース時間(分)が数値ではありません: abc\n"},
        {"decode " + q(kData + "/bad_checksum.bin"), 1, "",
         "korimet-cli decode: no frame found in " + kData + "/bad_checksum.bin\n",
         "korimet-cli decode: " + kData + "/bad_checksum.bin にフレームがありません\n"},
        {"decode </dev/null", 1, "", "korimet-cli decode: no frame found in standard input\n",
         "korimet-cli decode: 標準入力 にフレームがありません\n"},
    };
    for (const auto& c : cases) {
        const auto r = runCliIn(kEnglish, c.args + " 2>/dev/null");
        EXPECT_EQ(r.status, c.status) << c.args;
        EXPECT_EQ(r.out, c.out) << c.args;
        EXPECT_EQ(errorsOf(kEnglish, c.args).out, c.english) << c.args;
        EXPECT_EQ(errorsOf(kJapanese, c.args).out, c.japanese) << c.args;
    }
}

// Whatever went wrong, standard error says first which tool and verb is speaking.
TEST(CliLanguage, EveryMessageStartsWithTheToolAndItsVerb) {
    test::TempDir dir;
    const fs::path noLaps = dir.path() / "no-laps.krt";
    ASSERT_TRUE(saveDataFile(noLaps.string(), LapData{}, ""));
    const fs::path aFile = dir.path() / "plain";
    std::ofstream(aFile) << "x";
    const std::string run = q(kData + "/example.krt");
    const std::string missing = q(dir.path() / "missing.krt");
    const struct {
        std::string args;
        int status;
    } cases[] = {
        {"show " + missing, 2},
        {"show --json " + q(kData + "/broken_lap_text.krt"), 2},
        {"export --csv " + missing, 2},
        {"simulate 5 " + missing, 2},
        {"simulate 5 " + q(noLaps), 1},
        {"simulate abc " + run, 1},
        {"compare " + missing + " " + run, 2},
        {"compare " + run + " " + missing, 2},
        {"compare " + run + " " + q(noLaps), 2},
        {"decode " + missing, 2},
        {"decode " + q(kData + "/bad_checksum.bin"), 1},
        {"decode " + q(kData + "/two_frames_with_noise.bin") + " --out " + q(aFile / "runs"), 2},
        {"listen COM9 --out " + q(dir.path()), 2},
        {"listen " + missing + " --out " + q(dir.path()), 2},
        {"runs --library " + missing, 2},
    };
    for (const auto& c : cases) {
        const std::string verb = c.args.substr(0, c.args.find(' '));
        for (const std::string& lang : {kEnglish, kJapanese}) {
            const auto r = errorsOf(lang, c.args);
            EXPECT_EQ(r.status, c.status) << c.args;
            EXPECT_TRUE(r.out.starts_with("korimet-cli " + verb + ": "))
                << lang << " " << c.args << "\n"
                << r.out;
        }
    }
}

nlohmann::json showJson(const fs::path& file) {
    const auto r = runCliIn(kEnglish, "show --json " + q(file));
    EXPECT_EQ(r.status, 0) << file;
    return nlohmann::json::parse(r.out);
}

// The colour the window paints a role with, as #RRGGBB.
std::string roleColor(const std::string& role) {
    if (role == "best") return "#8080FF";
    if (role == "worst") return "#FF8080";
    if (role == "target") return "#FFFFC0";
    return "#FFFFFF";
}

TEST(CliShowRun, MatchesTheFixtureAndThePaintedGrid) {
    const nlohmann::json j = showJson(kData + "/target_32_laps_cp932.krt");
    std::ifstream in(kData + "/target_32_laps_cp932.run.json");
    nlohmann::json expected = nlohmann::json::parse(in);
    ASSERT_TRUE(j.contains("run"));
    nlohmann::json run = j["run"];
    EXPECT_DOUBLE_EQ(run["average"].get<double>(), expected["average"].get<double>());
    run.erase("average");
    expected.erase("average");
    EXPECT_EQ(run, expected);

    // Each lap's role is the colour of its cell, in the window's own column.
    ASSERT_EQ(j["colorsHex"].size(), 30u);
    for (const auto& lap : j["run"]["laps"]) {
        const int slot = lap["lap"].get<int>() - 1;
        const auto& row = j["colorsHex"][static_cast<std::size_t>(slot % 30)];
        EXPECT_EQ(row[slot < 30 ? 1 : 3], roleColor(lap["role"])) << lap;
    }
    // The same colours as before, red and blue in the stored order.
    EXPECT_EQ(j["colors"][2], nlohmann::json({"FF8080", "FF8080", "FFFFFF", "FFFFFF"}));
    EXPECT_EQ(j["colorsHex"][2], nlohmann::json({"#8080FF", "#8080FF", "#FFFFFF", "#FFFFFF"}));
}

TEST(CliShowRun, NoTargetOneLapAndNoLaps) {
    test::TempDir dir;
    const struct {
        const char* name;
        int lapCount;
        std::vector<double> laps;
        double target;
        nlohmann::json expectedTarget;
        std::vector<std::string> roles;
    } cases[] = {
        {"no-target.krt",
         3,
         {65.5, 64.0, 66.25},
         kNoTargetTime,
         nullptr,
         {"none", "best", "worst"}},
        // One lap is best and worst: the window paints it as the worst.
        {"one-lap.krt", 1, {64.0}, 70.0, 70.0, {"worst"}},
        {"no-laps.krt", 0, {}, 60.0, 60.0, {}},
        // A claim beyond the 60 slots counts the 60.
        {"over-claim.krt", 99, std::vector<double>(60, 61.0), 61.0, 61.0, {}},
    };
    for (const auto& c : cases) {
        LapData d;
        d.carId = 5;
        d.lapCount = static_cast<std::uint8_t>(c.lapCount);
        d.targetTime = c.target;
        d.raceMinutes = 9;
        for (std::size_t i = 0; i < c.laps.size(); ++i) d.laps[i] = c.laps[i];
        const fs::path file = dir.path() / c.name;
        ASSERT_TRUE(saveDataFile(file.string(), d, "")) << c.name;
        const nlohmann::json run = showJson(file)["run"];
        EXPECT_EQ(run["targetTime"], c.expectedTarget) << c.name;
        const DataFileReadResult loaded = loadDataFile(file.string());
        ASSERT_TRUE(loaded) << loaded.error;
        EXPECT_EQ(run["lapCount"], loaded.content->data.lapCount) << c.name;
        EXPECT_EQ(run["raceMinutes"], 9) << c.name;
        const std::size_t counted = std::min<std::size_t>(c.lapCount, 60);
        ASSERT_EQ(run["laps"].size(), counted) << c.name;
        for (std::size_t i = 0; i < c.roles.size(); ++i)
            EXPECT_EQ(run["laps"][i]["role"], c.roles[i]) << c.name << " lap " << i + 1;
        // Without laps there is no statistic, as runs --json says.
        if (counted == 0) {
            EXPECT_TRUE(run["best"].is_null());
            EXPECT_TRUE(run["worst"].is_null());
            EXPECT_TRUE(run["average"].is_null());
        }
    }
}

}  // namespace
}  // namespace korimet
