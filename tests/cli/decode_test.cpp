#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "support/run_cli.h"

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

}  // namespace
}  // namespace korimet
