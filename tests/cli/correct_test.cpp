#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <vector>

#include "corrections/correction_file.h"
#include "corrections/run_generator.h"
#include "files/data_file.h"
#include "library/run_library.h"
#include "support/double_press.h"
#include "support/files.h"
#include "support/frames.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace korimet {
namespace {

namespace fs = std::filesystem;
using test::quoted;
using test::readBytes;
using test::runCli;
using test::runWithLaps;
using test::writeBytes;

// Lap 3 is a double press, lap 6 a missed one.
LapData pressedRun() { return runWithLaps({60.0, 60.5, 0.4, 60.1, 61.0, 120.5, 60.2}); }

class CorrectCli : public ::testing::Test {
  protected:
    void SetUp() override {
        run = dir.path() / "run.krt";
        ASSERT_TRUE(saveDataFile(run.string(), pressedRun(), "memo"));
        downloaded = readBytes(run);
        corrections = correctionFilePath(run.string());
        errors = dir.path() / "stderr.txt";
    }
    test::CliResult cli(const std::string& args) { return runCli(args + " 2>" + quoted(errors)); }
    std::string stderrText() { return readBytes(errors); }
    nlohmann::json showJson() {
        const auto r = cli("show --json " + quoted(run));
        EXPECT_EQ(r.status, 0) << stderrText();
        return nlohmann::json::parse(r.out);
    }
    static std::vector<nlohmann::json> suspects(const nlohmann::json& shown) {
        std::vector<nlohmann::json> out;
        for (const auto& lap : shown["run"]["laps"]) out.push_back(lap["suspect"]);
        return out;
    }

    test::TempDir dir;
    fs::path run;
    fs::path errors;
    std::string corrections;
    std::string downloaded;
};

TEST_F(CorrectCli, ShowJsonGivesEveryLapItsSuspectKeyAfterTheExistingOnes) {
    const nlohmann::ordered_json shown =
        nlohmann::ordered_json::parse(runCli("show --json " + quoted(run)).out);
    const auto& first = shown["run"]["laps"][0];
    std::vector<std::string> keys;
    for (const auto& [key, value] : first.items()) keys.push_back(key);
    EXPECT_EQ(keys, (std::vector<std::string>{"lap", "seconds", "text", "role", "suspect"}));
    const nlohmann::json null;
    EXPECT_EQ(suspects(showJson()),
              (std::vector<nlohmann::json>{null, null, "short", null, null, "long", null}));
}

// Each case: what lies beside the run, the verb's arguments, its exit status, whether the
// correction file is there afterwards, what the laps then are, and a text standard error
// must hold ("" for none expected).
struct VerbCase {
    const char* name;
    const char* beside;  // nullptr: no correction file
    const char* args;
    int status;
    bool fileAfter;
    std::vector<double> lapsAfter;  // as `show --json` then gives them
    const char* stderrHolds;
};

const std::vector<double> kAsDownloaded{60.0, 60.5, 0.4, 60.1, 61.0, 120.5, 60.2};
const std::vector<double> kAllFixed{60.0, 60.5, 60.5, 61.0, 60.25, 60.25, 60.2};

TEST_F(CorrectCli, VerbExitStatusesAndWhatItLeavesBeside) {
    const std::string fingerprint = lapFingerprint(pressedRun());
    const std::string mergeThree = "korimet-corrections 1\nrun " + fingerprint + "\nmerge-next 3\n";
    const std::vector<VerbCase> cases = {
        {"list", nullptr, "", 0, false, kAsDownloaded, ""},
        {"apply all", nullptr, " --apply all", 0, true, kAllFixed, ""},
        {"apply one lap",
         nullptr,
         " --apply 6",
         0,
         true,
         {60.0, 60.5, 0.4, 60.1, 61.0, 60.25, 60.25, 60.2},
         ""},
        {"apply two, numbered as listed", nullptr, " --apply 3,6", 0, true, kAllFixed, ""},
        {"apply a kind",
         nullptr,
         " --apply leave-out:1",
         0,
         true,
         {60.5, 0.4, 60.1, 61.0, 120.5, 60.2},
         ""},
        {"no suggestion for the lap", nullptr, " --apply 2", 1, false, kAsDownloaded, "lap 2"},
        {"a refused kind", nullptr, " --apply merge-next:7", 1, false, kAsDownloaded,
         "merge-next 7"},
        {"nothing to undo", nullptr, " --undo", 1, false, kAsDownloaded, "no correction"},
        {"undo the one step", mergeThree.c_str(), " --undo", 0, false, kAsDownloaded, ""},
        {"undo all", mergeThree.c_str(), " --undo-all", 0, false, kAsDownloaded, ""},
        {"apply over a step", mergeThree.c_str(), " --apply all", 0, true, kAllFixed, ""},
        {"two actions", nullptr, " --undo --undo-all", 2, false, kAsDownloaded, "only one"},
        {"a wrong item", nullptr, " --apply 3,x", 2, false, kAsDownloaded, "'x'"},
        {"damaged file listed", "korimet-corrections 1\nrun 7 0\n", "", 0, true, kAsDownloaded,
         "as downloaded"},
        {"later version listed", "korimet-corrections 9\nnew things\n", "", 0, true, kAsDownloaded,
         "version 9"},
        {"later version kept", "korimet-corrections 9\nnew things\n", " --apply all", 2, true,
         kAsDownloaded, "left as it is"},
        {"later version not removed", "korimet-corrections 9\nnew things\n", " --undo-all", 2, true,
         kAsDownloaded, "left as it is"},
    };
    for (const VerbCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::error_code ec;
        fs::remove(corrections, ec);
        if (c.beside) writeBytes(corrections, c.beside);
        const std::string before = c.beside ? readBytes(corrections) : std::string();
        const auto r = cli("correct " + quoted(run) + c.args);
        EXPECT_EQ(r.status, c.status) << stderrText();
        EXPECT_EQ(fs::exists(corrections), c.fileAfter);
        if (std::string(c.stderrHolds).empty() && c.status == 0) {
            EXPECT_EQ(stderrText(), "");
        } else {
            EXPECT_NE(stderrText().find(c.stderrHolds), std::string::npos) << stderrText();
        }
        // A failure changes nothing beside the run.
        if (c.status != 0 && c.beside) {
            EXPECT_EQ(readBytes(corrections), before);
        }
        EXPECT_EQ(readBytes(run), downloaded);  // the run's bytes, never touched
        const auto laps = showJson()["run"]["laps"];
        ASSERT_EQ(laps.size(), c.lapsAfter.size());
        for (std::size_t i = 0; i < laps.size(); ++i)
            EXPECT_NEAR(laps[i]["seconds"].get<double>(), c.lapsAfter[i], 1e-9) << i;
    }
}

TEST_F(CorrectCli, DamagedOrLaterCorrectionFileWarnsAndShowsTheRunAsDownloaded) {
    for (const char* beside : {"korimet-corrections 2\nrun 7 0\n", "not this at all", ""}) {
        SCOPED_TRACE(beside);
        writeBytes(corrections, beside);
        const auto r = cli("show --json " + quoted(run));
        EXPECT_EQ(r.status, 0);  // as a memo read in part: said, and the run used
        EXPECT_NE(stderrText().find(corrections), std::string::npos) << stderrText();
        const auto shown = nlohmann::json::parse(r.out);
        EXPECT_EQ(shown["run"]["lapCount"], 7);
        EXPECT_EQ(readBytes(corrections), beside);
    }
}

TEST_F(CorrectCli, JsonListsStepsSuggestionsAndTheCorrectedRun) {
    const auto listed = nlohmann::json::parse(cli("correct --json " + quoted(run)).out);
    EXPECT_EQ(listed["corrections"], nlohmann::json::array());
    ASSERT_EQ(listed["suggestions"].size(), 2u);
    EXPECT_EQ(listed["suggestions"][0], (nlohmann::json{{"lap", 3},
                                                        {"seconds", 0.4},
                                                        {"text", "00m00s40"},
                                                        {"suspect", "short"},
                                                        {"fix", "merge-next"}}));
    EXPECT_EQ(listed["suggestions"][1]["fix"], "split");
    const auto applied =
        nlohmann::json::parse(cli("correct --json --apply all " + quoted(run)).out);
    EXPECT_EQ(applied["corrections"],
              (nlohmann::json::array(
                  {{{"kind", "split"}, {"lap", 6}}, {{"kind", "merge-next"}, {"lap", 3}}})));
    EXPECT_EQ(applied["suggestions"], nlohmann::json::array());
    EXPECT_EQ(applied["run"]["lapCount"], 7);
}

// Apply every suggestion and undo everything, through the verb, over generated runs: the
// total time stays, no suspect is left that the fixes were meant for, and afterwards the
// run reads as downloaded with nothing left beside it.
TEST_F(CorrectCli, ApplyAllThenUndoAllGivesTheRunBackForRandomRuns) {
    RunGenerator generator(2026);
    for (int round = 0; round < 24; ++round) {
        SCOPED_TRACE(round);
        const GeneratedRun made =
            generator.run(round % 2 ? RunKind::Kart : RunKind::MiniFourWheelDrive,
                          static_cast<PressFault>(round % 3));
        ASSERT_TRUE(saveDataFile(run.string(), made.data, "m"));
        const std::string bytes = readBytes(run);
        const std::string before = runCli("show --json " + quoted(run)).out;
        const auto listed = nlohmann::json::parse(cli("correct --json " + quoted(run)).out);

        const auto applied = cli("correct --json --apply all " + quoted(run));
        ASSERT_EQ(applied.status, 0) << stderrText();
        const auto after = nlohmann::json::parse(applied.out);
        EXPECT_EQ(fs::exists(corrections), !listed["suggestions"].empty());
        double totalBefore = 0.0;
        double totalAfter = 0.0;
        const auto shownBefore = nlohmann::json::parse(before);
        for (const auto& lap : shownBefore["run"]["laps"])
            totalBefore += lap["seconds"].get<double>();
        for (const auto& lap : after["run"]["laps"]) totalAfter += lap["seconds"].get<double>();
        bool leftOut = false;
        for (const auto& step : after["corrections"]) leftOut |= step["kind"] == "leave-out";
        if (!leftOut) {
            EXPECT_NEAR(totalAfter, totalBefore, 1e-6);
        }
        EXPECT_EQ(readBytes(run), bytes);

        const auto undone = cli("correct --undo-all " + quoted(run));
        EXPECT_EQ(undone.status, listed["suggestions"].empty() ? 1 : 0) << stderrText();
        EXPECT_FALSE(fs::exists(corrections));
        EXPECT_EQ(runCli("show --json " + quoted(run)).out, before);
        EXPECT_EQ(readBytes(run), bytes);
    }
}

TEST_F(CorrectCli, RunsJsonAndTableFollowTheCorrectionFile) {
    const fs::path library = dir.path() / "library";
    const KeptRun kept = keepRun(library.string(), pressedRun(), {2026, 12, 10, 9, 0, 0});
    ASSERT_TRUE(kept);
    const auto list = [&] {
        const auto r = cli("runs --json --library " + quoted(library));
        EXPECT_EQ(r.status, 0);
        return nlohmann::json::parse(r.out).at(0);
    };
    const auto asDownloaded = list();
    EXPECT_EQ(asDownloaded["suspectLaps"], 2);
    EXPECT_EQ(asDownloaded["corrections"], 0);
    EXPECT_EQ(asDownloaded["best"], 0.4);
    // Every three laps in a row hold a mis-pressed lap or the lap a double press shortened.
    EXPECT_TRUE(asDownloaded["bestThree"].is_null());
    EXPECT_TRUE(asDownloaded["bestThreeStart"].is_null());
    EXPECT_TRUE(asDownloaded["paceTrend"].is_number());

    ASSERT_EQ(cli("correct --apply all " + quoted(fs::path(kept.path))).status, 0);
    const auto corrected = list();
    EXPECT_EQ(corrected["suspectLaps"], 0);
    EXPECT_EQ(corrected["corrections"], 2);
    EXPECT_EQ(corrected["best"], 60.0);
    EXPECT_EQ(corrected["lapCount"], 7);
    EXPECT_NEAR(corrected["bestThree"].get<double>(), 60.25 + 60.25 + 60.2, 1e-9);
    EXPECT_EQ(corrected["bestThreeStart"], 5);

    const std::string table = runCli("runs --library " + quoted(library)).out;
    EXPECT_NE(table.find("SUSPECT"), std::string::npos) << table;
    writeBytes(correctionFilePath(kept.path), "korimet-corrections 5\n");
    EXPECT_EQ(list()["suspectLaps"], 2);  // as downloaded, with a word on standard error
    EXPECT_NE(stderrText().find("version 5"), std::string::npos) << stderrText();
}

// Correctors started together on one run take turns: every step that reported success is in
// the file afterwards, and one that did not exits 2 naming the file, having changed nothing.
TEST_F(CorrectCli, CorrectorsStartedTogetherNeverLoseAStepThatReportedSuccess) {
    const LapData twelve =
        runWithLaps({60.0, 60.5, 60.1, 61.0, 60.2, 60.4, 60.3, 60.6, 60.0, 60.9, 60.7, 60.8});
    ASSERT_TRUE(saveDataFile(run.string(), twelve, ""));
    const std::string runBytes = readBytes(run);
    const std::vector<int> laps{3, 4, 10, 11};
    const auto errorsOf = [&](int lap) { return dir.path() / ("stderr." + std::to_string(lap)); };
    const auto statusOf = [&](int lap) { return dir.path() / ("status." + std::to_string(lap)); };
    // All four from one shell, so that they start within moments; each is stopped if it
    // hangs, which shows as a status other than 0 or 2.
    std::string racers;
    for (const int lap : laps) {
        racers += "(env -u LC_ALL -u LC_MESSAGES LANG=C.UTF-8 timeout 120 " + quoted(KORIMET_CLI) +
                  " correct --apply leave-out:" + std::to_string(lap) + " " + quoted(run) +
                  " >/dev/null 2>" + quoted(errorsOf(lap)) + "; echo $? >" + quoted(statusOf(lap)) +
                  ") & ";
    }
    racers += "wait";
    for (int round = 0; round < 200; ++round) {
        SCOPED_TRACE(round);
        std::error_code ec;
        fs::remove(corrections, ec);
        ASSERT_EQ(test::runCommand(racers).status, 0);
        std::set<int> succeeded;
        for (const int lap : laps) {
            const std::string status = readBytes(statusOf(lap));
            const std::string said = readBytes(errorsOf(lap));
            if (status == "0\n") {
                succeeded.insert(lap);
                EXPECT_EQ(said, "") << lap;
            } else {
                ASSERT_EQ(status, "2\n") << lap << ": " << said;
                EXPECT_NE(said.find(corrections), std::string::npos) << said;
                EXPECT_NE(said.find("nothing changed"), std::string::npos) << said;
            }
        }
        std::set<int> kept;
        if (fs::exists(corrections)) {
            const CorrectionFileRead read = parseCorrectionFile(readBytes(corrections), twelve);
            ASSERT_FALSE(read.error) << readBytes(corrections);
            for (const Correction& step : read.steps) {
                EXPECT_EQ(step.kind, CorrectionKind::LeaveOut);
                EXPECT_TRUE(kept.insert(step.lap + 1).second) << "twice: " << step.lap + 1;
            }
        }
        ASSERT_EQ(kept, succeeded) << readBytes(corrections);
        ASSERT_EQ(readBytes(run), runBytes);
    }
}

// The best three are three laps driven one after another: a double press and the lap it
// shortened are no such laps, whatever their total, as they are no personal best.
TEST_F(CorrectCli, RunsJsonBestThreeLeavesOutTheLapsThePersonalBestRefuses) {
    const fs::path library = dir.path() / "library";
    const KeptRun kept = keepRun(library.string(), test::doublePressRun(), {2026, 12, 10, 9, 0, 0});
    ASSERT_TRUE(kept);
    const auto r = cli("runs --json --library " + quoted(library));
    ASSERT_EQ(r.status, 0) << stderrText();
    const nlohmann::json listed = nlohmann::json::parse(r.out).at(0);
    EXPECT_EQ(listed["best"], 2.41);  // the run's laps as downloaded, marked suspect
    EXPECT_EQ(listed["suspectLaps"], 1);
    EXPECT_NEAR(listed["bestThree"].get<double>(), 52.64 + 52.88 + 52.19, 1e-9);
    EXPECT_EQ(listed["bestThreeStart"], 3);
    EXPECT_TRUE(listed["paceTrend"].is_number());
}

// The limits the racer set in the window judge the laps for scripts too: the CLI reads them
// from the same settings, so both flag the same laps.
TEST_F(CorrectCli, TheWindowsLimitsJudgeTheLapsHereToo) {
    // Median 60.25 s: 25 s is short by the default 0.5 but not by 0.3, 95 s long by 1.5 but
    // not by the default 1.8.
    ASSERT_TRUE(saveDataFile(run.string(), runWithLaps({60.0, 61.0, 60.5, 25.0, 95.0, 60.0}), ""));
    const fs::path config = dir.path() / "config";
    const char* before = std::getenv("XDG_CONFIG_HOME");
    const std::string kept = before ? before : "";
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    struct Restore {
        const char* was;
        std::string value;
        ~Restore() {
            if (was)
                ::setenv("XDG_CONFIG_HOME", value.c_str(), 1);
            else
                ::unsetenv("XDG_CONFIG_HOME");
        }
    } restore{before, kept};

    const nlohmann::json null;
    EXPECT_EQ(suspects(showJson()),
              (std::vector<nlohmann::json>{null, null, null, "short", null, null}));
    fs::create_directories(config / "Korimet");
    writeBytes(config / "Korimet" / "Korimet.conf", "[LapFlags]\nShortBelow=0.3\nLongAbove=1.5\n");
    EXPECT_EQ(suspects(showJson()),
              (std::vector<nlohmann::json>{null, null, null, null, "long", null}));
    const auto listed = cli("correct --json " + quoted(run));
    ASSERT_EQ(listed.status, 0) << stderrText();
    const nlohmann::json suggestions = nlohmann::json::parse(listed.out)["suggestions"];
    ASSERT_EQ(suggestions.size(), 1u) << listed.out;
    EXPECT_EQ(suggestions[0]["suspect"], "long");
    EXPECT_EQ(suggestions[0]["fix"], "split");
}

}  // namespace
}  // namespace korimet
