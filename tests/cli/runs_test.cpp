#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>
#include <map>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "commandline/cli_texts.h"
#include "files/data_file.h"
#include "library/run_library.h"
#include "messages/file_messages.h"
#include "support/files.h"
#include "support/frames.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace korimet {
namespace {

namespace fs = std::filesystem;
using test::runCli;
using test::runWithLaps;
using test::writeBytes;

using test::quoted;

using test::readBytes;
using test::runFilesUnder;

// Sets an environment variable for the tool the test starts, and restores it after.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = getenv(name)) old_ = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (old_) {
            setenv(name_, old_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

class CliRuns : public ::testing::Test {
  protected:
    void SetUp() override {
        root = dir.path() / "runs";
        empty = keep(runWithLaps({}, kNoTargetTime, 0, 3), {2026, 11, 1, 9, 0, 0});
        single = keep(runWithLaps({61.25}, 60.0, 8, 7), {2026, 12, 10, 14, 35, 12});
        fs::create_directories(root / "anna");
        ASSERT_TRUE(saveDataFile((root / "anna" / "race.krt").string(),
                                 runWithLaps({60.0, 62.0, 61.0, 65.0}, kNoTargetTime, 20, 7),
                                 "雨\n二本目"));
        struct utimbuf times {};
        times.actime = times.modtime = 946684800;  // 2000-01-01 00:00 UTC
        ::utime((root / "anna" / "race.krt").c_str(), &times);
        fs::create_directories(root / "2026-12-11");
        std::ofstream(root / "2026-12-11" / "101010-car07.krt") << "garbage\r\n";
    }
    std::string keep(const LapData& d, const LocalTime& when) {
        const KeptRun kept = keepRun(root.string(), d, when);
        EXPECT_TRUE(kept) << kept.error;
        return fs::relative(kept.path, root).string();
    }
    nlohmann::json listJson(const std::string& extra = "") {
        const auto r = runCli("runs --library " + quoted(root) + " --json" + extra);
        EXPECT_EQ(r.status, 0);
        return nlohmann::json::parse(r.out);
    }

    test::TempDir dir;
    fs::path root;
    std::string empty;
    std::string single;
};

TEST_F(CliRuns, JsonListsEveryRunOldestFirstWithNullsBelowTwoLaps) {
    const nlohmann::json all = listJson();
    ASSERT_TRUE(all.is_array());
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all[0]["path"], "anna/race.krt");
    EXPECT_EQ(all[1]["path"], empty);
    EXPECT_EQ(all[2]["path"], single);
    EXPECT_EQ(all[3]["path"], "2026-12-11/101010-car07.krt");

    const std::vector<std::string> expected = {
        "path", "downloaded",  "carId",       "lapCount",  "targetTime",     "raceMinutes",
        "best", "worst",       "average",     "median",    "spread",         "consistency",
        "memo", "suspectLaps", "corrections", "bestThree", "bestThreeStart", "paceTrend"};
    EXPECT_EQ(all[2].size(), expected.size());
    for (const std::string& key : expected) EXPECT_TRUE(all[2].contains(key)) << key;

    const auto& hand = all[0];
    EXPECT_EQ(hand["downloaded"],
              isoText(localTimeOf(std::chrono::system_clock::from_time_t(946684800))));
    EXPECT_EQ(hand["carId"], 7);
    EXPECT_TRUE(hand["targetTime"].is_null());  // kNoTargetTime in the file
    EXPECT_EQ(hand["lapCount"], 4);
    EXPECT_EQ(hand["raceMinutes"], 20);
    EXPECT_EQ(hand["best"], 60.0);
    EXPECT_EQ(hand["worst"], 65.0);
    EXPECT_EQ(hand["average"], 62.0);
    EXPECT_EQ(hand["median"], 61.5);
    const RunStatistics s = runStatistics(runWithLaps({60.0, 62.0, 61.0, 65.0}));
    EXPECT_DOUBLE_EQ(hand["spread"].get<double>(), *s.spread);
    EXPECT_DOUBLE_EQ(hand["consistency"].get<double>(), *s.consistency);
    EXPECT_EQ(hand["memo"], loadDataFile((root / "anna" / "race.krt").string()).content->memo);
    EXPECT_EQ(hand["memo"].get<std::string>().substr(0, 3), "雨");

    const auto& none = all[1];
    EXPECT_EQ(none["downloaded"], "2026-11-01T09:00:00");
    EXPECT_EQ(none["lapCount"], 0);
    EXPECT_TRUE(none["targetTime"].is_null());
    EXPECT_TRUE(none["best"].is_null());
    EXPECT_TRUE(none["worst"].is_null());
    EXPECT_TRUE(none["average"].is_null());
    EXPECT_TRUE(none["median"].is_null());
    EXPECT_TRUE(none["spread"].is_null());
    EXPECT_TRUE(none["consistency"].is_null());
    EXPECT_EQ(none["memo"], "");

    const auto& one = all[2];
    EXPECT_EQ(one["downloaded"], "2026-12-10T14:35:12");
    EXPECT_EQ(one["targetTime"], 60.0);
    EXPECT_EQ(one["median"], 61.25);
    EXPECT_TRUE(one["spread"].is_null());
    EXPECT_TRUE(one["consistency"].is_null());

    const auto& broken = all[3];
    EXPECT_EQ(broken.size(), 3u);
    const FileError reason =
        loadDataFile((root / "2026-12-11" / "101010-car07.krt").string()).error;
    EXPECT_EQ(broken["error"], fileMessage(reason, Language::Japanese));  // in every locale
    EXPECT_EQ(broken["errorCode"], std::string(fileErrorCodeName(reason.code)));

    // Keys in the order given, as printed.
    const auto raw = runCli("runs --library " + quoted(root) + " --json").out;
    std::size_t at = raw.find("\"path\":\"" + single);
    ASSERT_NE(at, std::string::npos);
    for (const std::string& key : expected) {
        const std::size_t next = raw.find("\"" + key + "\":", at);
        ASSERT_NE(next, std::string::npos) << key;
        at = next;
    }
}

TEST_F(CliRuns, FiltersByCar) {
    const nlohmann::json sevens = listJson(" --car 7");
    ASSERT_EQ(sevens.size(), 3u);  // the unreadable file names car 07
    for (const auto& run : sevens) {
        if (run.contains("carId")) {
            EXPECT_EQ(run["carId"], 7);
        }
    }
    EXPECT_EQ(listJson(" --car 3").size(), 1u);
    EXPECT_TRUE(listJson(" --car 42").empty());
}

TEST_F(CliRuns, TableIsAlignedForPeople) {
    const auto r = runCli("runs --library " + quoted(root));
    ASSERT_EQ(r.status, 0);
    std::istringstream in(r.out);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 5u);
    const std::size_t pathColumn = lines[0].find("PATH");
    const std::size_t bestColumn = lines[0].find("BEST");
    ASSERT_NE(pathColumn, std::string::npos);
    EXPECT_EQ(lines[1].substr(pathColumn, 13), "anna/race.krt");
    EXPECT_EQ(lines[1].substr(bestColumn, 8), "01m00s00");
    EXPECT_EQ(lines[2].substr(pathColumn, empty.size()), empty);
    EXPECT_EQ(lines[2].substr(bestColumn, 9), "-        ");  // no laps: no best, not 00m00s00
    EXPECT_EQ(lines[2].find("00m00s00"), std::string::npos);
    EXPECT_EQ(lines[3].substr(bestColumn, 8), "01m01s25");
    EXPECT_NE(lines[4].find("unreadable"), std::string::npos);
    EXPECT_NE(lines[1].find("雨"), std::string::npos);  // the memo's first line only
    EXPECT_EQ(lines[1].find("二本目"), std::string::npos);
}

// In Japanese the headings and the reader's reasons are Japanese too, and the columns still
// line up on a terminal, where a Japanese character takes two columns.
TEST_F(CliRuns, TableSpeaksTheReadersLanguage) {
    const auto r = test::runCliIn("ja_JP.UTF-8", "runs --library " + quoted(root));
    ASSERT_EQ(r.status, 0);
    std::istringstream in(r.out);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 5u);
    const auto column = [](const std::string& line, const std::string& cell) {
        const auto at = line.find(cell);
        return at == std::string::npos ? std::size_t{0} : cli::displayWidth(line.substr(0, at));
    };
    EXPECT_TRUE(lines[0].starts_with("ダウンロード日時 ")) << lines[0];
    EXPECT_GT(column(lines[0], "車番"), column(lines[0], "ダウンロード日時"));
    EXPECT_GT(column(lines[0], "パス"), 0u);
    EXPECT_EQ(column(lines[1], "anna/race.krt"), column(lines[0], "パス"));
    const FileError reason =
        loadDataFile((root / "2026-12-11" / "101010-car07.krt").string()).error;
    std::string said = fileMessage(reason, Language::Japanese);
    std::replace(said.begin(), said.end(), '\n', ' ');
    EXPECT_TRUE(lines[4].ends_with("読めません: " + said)) << lines[4];
}

TEST(CliRunsStatus, EmptyListsMissingFailsAndBadArgumentsAreRefused) {
    test::TempDir dir;
    // The bad arguments below name no library: the default one is a temporary folder too.
    const ScopedEnv data("XDG_DATA_HOME", (dir.path() / "data").string());
    const ScopedEnv config("XDG_CONFIG_HOME", (dir.path() / "config").string());
    const auto listed = runCli("runs --library " + quoted(dir.path()) + " --json");
    EXPECT_EQ(listed.status, 0);
    EXPECT_EQ(nlohmann::json::parse(listed.out), nlohmann::json::array());
    EXPECT_EQ(runCli("runs --library " + quoted(dir.path() / "nowhere") + " 2>/dev/null").status,
              2);
    for (const char* bad : {"--car", "--car x", "--car 256", "--json --json", "--frobnicate"}) {
        EXPECT_EQ(runCli(std::string("runs ") + bad + " 2>/dev/null").status, 2) << bad;
    }
}

// Before the first run is kept the default library is not there yet: it holds nothing.
TEST(CliRunsStatus, AFreshAccountListsNothing) {
    test::TempDir dir;
    const ScopedEnv home("HOME", dir.path().string());
    const ScopedEnv data("XDG_DATA_HOME", (dir.path() / "data").string());
    const ScopedEnv config("XDG_CONFIG_HOME", (dir.path() / "config").string());
    const auto table = runCli("runs");
    EXPECT_EQ(table.status, 0);
    EXPECT_TRUE(table.out.starts_with("DOWNLOADED")) << table.out;
    EXPECT_EQ(std::count(table.out.begin(), table.out.end(), '\n'), 1);  // the heading alone
    const auto json = runCli("runs --json --car 7");
    EXPECT_EQ(json.status, 0);
    EXPECT_EQ(nlohmann::json::parse(json.out), nlohmann::json::array());
    EXPECT_FALSE(fs::exists(dir.path() / "data"));  // listing makes no folder
    // Named on the command line, the same missing folder is an error.
    EXPECT_EQ(runCli("runs --library " + quoted(dir.path() / "data" / "Korimet" / "runs") +
                     " 2>/dev/null")
                  .status,
              2);
}

// Nothing in a library hides runs or holds the listing: a named pipe called *.krt and a
// folder that cannot be opened are rows with their reasons (exit 0), a name with a line end
// keeps its row on one line, and a library folder that cannot be read ends with 2.
TEST(CliRunsStatus, NothingHidesOrHoldsTheListing) {
    test::TempDir dir;
    const fs::path lib = dir.path() / "lib";
    fs::create_directories(lib / "2026-12-10");
    writeBytes(lib / "2026-12-10" / "101010-car07.krt",
               *writeDataFileBytes(runWithLaps({61.0, 62.0}), "ok").bytes);
    writeBytes(lib / "2026-12-10" / "two\nlines.krt",
               *writeDataFileBytes(runWithLaps({60.0}), "").bytes);
    ASSERT_EQ(::mkfifo((lib / "2026-12-10" / "pipe.krt").c_str(), 0600), 0);
    std::string deep = (lib / "deep").string();
    while (deep.size() < 4000) deep += "/" + std::string(200, 'd');
    ASSERT_TRUE(fs::create_directories(deep));
    const int deepFd = ::open(deep.c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(deepFd, 0);
    ASSERT_EQ(::mkdirat(deepFd, std::string(200, 'e').c_str(), 0700), 0);
    ::close(deepFd);

    const auto json = runCli("runs --library " + quoted(lib) + " --json");
    EXPECT_EQ(json.status, 0);
    const auto all = nlohmann::json::parse(json.out);
    ASSERT_EQ(all.size(), 4u);
    std::map<std::string, std::string> codes;
    for (const auto& e : all) codes[e["path"]] = e.value("errorCode", "");
    EXPECT_EQ(codes["2026-12-10/pipe.krt"], "notAFile");
    EXPECT_EQ(codes[deep.substr(lib.string().size() + 1) + "/" + std::string(200, 'e') + "/"],
              "cannotReadFolder");
    EXPECT_EQ(codes["2026-12-10/two\nlines.krt"], "");

    const auto table = runCli("runs --library " + quoted(lib));
    EXPECT_EQ(table.status, 0);
    EXPECT_EQ(std::count(table.out.begin(), table.out.end(), '\n'), 5) << table.out;
    EXPECT_NE(table.out.find("2026-12-10/two\\nlines.krt"), std::string::npos) << table.out;

    writeBytes(dir.path() / "plain", "x");
    const auto notAFolder = runCli("runs --library " + quoted(dir.path() / "plain") + " 2>&1");
    EXPECT_EQ(notAFolder.status, 2);
    EXPECT_EQ(notAFolder.out,
              "korimet-cli runs: cannot read the folder: " + (dir.path() / "plain").string() +
                  "\ncannot open the folder (Not a directory)\n");
}

// listen without --out keeps each frame in the library, as the window does, and decode
// --out makes the same bytes of the same frames.
TEST(CliListenIntoLibrary, KeepsEachFrameInTheLibraryFolder) {
    test::TempDir dir;
    const ScopedEnv config("XDG_CONFIG_HOME", (dir.path() / "config").string());
    const ScopedEnv data("XDG_DATA_HOME", (dir.path() / "data").string());
    const LapData runs[] = {runWithLaps({61.5, 60.25}), runWithLaps({59.0}, 60.0, 5, 9),
                            runWithLaps({61.5, 60.25})};
    QByteArray capture;
    for (const LapData& run : runs) capture += test::frameFor(run);
    const fs::path capturePath = dir.path() / "capture.bin";
    std::ofstream(capturePath, std::ios::binary)
        .write(capture.constData(), static_cast<std::streamsize>(capture.size()));
    ASSERT_EQ(runCli("decode " + quoted(capturePath) + " --out " + quoted(dir.path() / "decoded") +
                     " >/dev/null")
                  .status,
              0);

    // The default folder: the user's data location.
    const auto r = runCli("listen " + quoted(capturePath) + " 2>/dev/null");
    EXPECT_EQ(r.status, 0);
    const fs::path library = dir.path() / "data" / "Korimet" / "runs";
    auto files = runFilesUnder(library);
    ASSERT_EQ(files.size(), 3u);
    std::multiset<std::string> kept, decoded;
    for (const auto& f : files) {
        kept.insert(readBytes(f));
        EXPECT_NE(r.out.find(fs::relative(f, library).string()), std::string::npos);
    }
    for (int i = 1; i <= 3; ++i)
        decoded.insert(readBytes(dir.path() / "decoded" / ("run-00" + std::to_string(i) + ".krt")));
    EXPECT_EQ(kept, decoded);

    // The settings store's Library/Folder.
    fs::create_directories(dir.path() / "config" / "Korimet");
    const fs::path shared = dir.path() / "shared";
    std::ofstream(dir.path() / "config" / "Korimet" / "Korimet.conf")
        << "[Library]\nFolder=" << shared.string() << "\n";
    EXPECT_EQ(runCli("listen " + quoted(capturePath) + " --count 2 >/dev/null 2>&1").status, 0);
    EXPECT_EQ(runFilesUnder(shared).size(), 2u);
    EXPECT_EQ(runCli("runs --json").out,
              runCli("runs --library " + quoted(shared) + " --json").out);

    // A library that cannot be written ends listen with 2, as a file that cannot be saved does.
    std::ofstream(dir.path() / "config" / "Korimet" / "Korimet.conf")
        << "[Library]\nFolder=" << (capturePath / "runs").string() << "\n";
    EXPECT_EQ(runCli("listen " + quoted(capturePath) + " >/dev/null 2>&1").status, 2);
}

}  // namespace
}  // namespace korimet
