#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "support/run_cli.h"
#include "support/special_files.h"
#include "support/temp_dir.h"

namespace korimet {
namespace {

using test::runCli;

TEST(CliDecode, PrintsOneObjectPerGoodFrameInArrivalOrder) {
    const auto r =
        runCli("decode " + std::string(KORIMET_TEST_DATA) + "/two_frames_with_noise.bin");
    ASSERT_EQ(r.status, 0);
    std::istringstream lines(r.out);
    std::string line;
    std::vector<nlohmann::json> frames;
    while (std::getline(lines, line)) frames.push_back(nlohmann::json::parse(line));
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0]["model"], "Quintrel");
    EXPECT_EQ(frames[0]["version"], "Ver1.2");
    EXPECT_EQ(frames[0]["carId"], 7);
    EXPECT_EQ(frames[0]["lapCount"], 12);
    EXPECT_TRUE(frames[0]["targetTime"].is_null());  // 655.35 on the line: no target
    EXPECT_EQ(frames[0]["raceMinutes"], 17);
    ASSERT_EQ(frames[0]["laps"].size(), 60u);
    EXPECT_EQ(frames[0]["laps"][1], 60.37);
    EXPECT_TRUE(frames[1]["model"].is_null());  // model 5 leaves the caption alone
    EXPECT_EQ(frames[1]["carId"], 99);
    EXPECT_EQ(frames[1]["lapCount"], 60);
    EXPECT_EQ(frames[1]["laps"][0], 0.0);
    EXPECT_EQ(frames[1]["laps"][1], 99.99);
    EXPECT_EQ(frames[1]["laps"][2], 655.35);
    EXPECT_EQ(frames[1]["targetTime"], 61.0);
    for (const char* key : {"extraValue1", "extraValue2", "extraByte"}) {
        EXPECT_TRUE(frames[1].contains(key)) << key;
    }
}

TEST(CliDecode, ExitStatusTellsNoFrameFromUnreadableInput) {
    EXPECT_EQ(runCli(std::string("decode < '") + KORIMET_TEST_DATA + "/two_frames_with_noise.bin'")
                  .status,
              0);
    const auto bad = runCli("decode " + std::string(KORIMET_TEST_DATA) + "/bad_checksum.bin");
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.out, "");
    EXPECT_EQ(runCli("decode /nonexistent/capture.bin 2>/dev/null").status, 2);
}

std::set<std::string> entries(const std::filesystem::path& dir) {
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        names.insert(e.path().filename().string());
    return names;
}

// The verbs that save runs name their files themselves, in a folder the user names: a pipe,
// a device or a socket as that folder is refused, and one under a run's name is passed
// over, as a file there would be. Nothing of them is ever written to or replaced.
TEST(CliSavedRuns, WhatIsNoFileIsNeitherWrittenToNorReplaced) {
    using test::Special;
    const std::string capture = std::string(KORIMET_TEST_DATA) + "/two_frames_with_noise.bin";
    const struct {
        Special kind;
        const char* name;
    } kinds[] = {{Special::Fifo, "named pipe"},
                 {Special::NullDevice, "null device"},
                 {Special::FullDevice, "full device"},
                 {Special::Socket, "socket"}};
    std::string notMade;
    for (const auto& k : kinds) {
        for (const char* verb : {"decode", "listen"}) {
            for (bool asFolder : {true, false}) {
                test::TempDir dir;
                const std::filesystem::path node = dir.path() / (asFolder ? "out" : "run-001.krt");
                if (!test::makeSpecial(k.kind, node)) {
                    if (asFolder && verb[0] == 'd') notMade += std::string(" ") + k.name;
                    continue;
                }
                const std::string name = std::string(verb) + ", " + k.name +
                                         (asFolder ? " as the folder" : " under a run's name");
                const auto r =
                    runCli(std::string(verb) + " " + test::quoted(capture) + " --out " +
                           test::quoted(asFolder ? node : dir.path()) + " 2>&1 >/dev/null");
                if (asFolder) {
                    EXPECT_EQ(r.status, 2) << name;
                    EXPECT_NE(r.out.find(node.string()), std::string::npos) << name << r.out;
                    EXPECT_EQ(entries(dir.path()), std::set<std::string>{"out"}) << name;
                } else {
                    EXPECT_EQ(r.status, 0) << name << r.out;
                    EXPECT_EQ(entries(dir.path()),
                              (std::set<std::string>{"run-001.krt", "run-002.krt", "run-003.krt"}))
                        << name;
                }
                EXPECT_TRUE(test::holds(k.kind, node)) << name;
            }
        }
    }
    if (!notMade.empty()) GTEST_SKIP() << "not permitted to make here:" << notMade;
}

}  // namespace
}  // namespace korimet
