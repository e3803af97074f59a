// One fact, one JSON value: show, runs and decode say the same of the same run, null where
// there is nothing to say.

#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

#include "files/data_file.h"
#include "support/files.h"
#include "support/frames.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace korimet {
namespace {

namespace fs = std::filesystem;
using test::quoted;
using test::runCli;
using test::runWithLaps;

TEST(CliRunFacts, ShowRunsAndDecodeAgree) {
    const struct {
        const char* name;
        LapData run;
        bool hasTarget;
        bool hasLaps;
    } cases[] = {
        {"no-laps-no-target", runWithLaps({}, kNoTargetTime, 0, 3), false, false},
        {"no-laps-target", runWithLaps({}, 60.0, 9, 4), true, false},
        {"one-lap", runWithLaps({61.25}, 60.0, 8, 7), true, true},
        {"four-laps-no-target", runWithLaps({60.0, 62.0, 61.0, 65.0}, kNoTargetTime, 20, 7), false,
         true},
    };
    for (const auto& c : cases) {
        test::TempDir dir;
        const fs::path library = dir.path() / "library";
        fs::create_directories(library);
        const fs::path file = library / (std::string(c.name) + ".krt");
        ASSERT_TRUE(saveDataFile(file.string(), c.run, "")) << c.name;
        const fs::path capture = dir.path() / "capture.bin";
        test::writeBytes(capture, test::frameFor(c.run).toStdString());

        const auto shown = runCli("show --json " + quoted(file));
        const auto listed = runCli("runs --json --library " + quoted(library));
        const auto decoded = runCli("decode " + quoted(capture));
        ASSERT_EQ(shown.status, 0) << c.name;
        ASSERT_EQ(listed.status, 0) << c.name;
        ASSERT_EQ(decoded.status, 0) << c.name;
        const nlohmann::json show = nlohmann::json::parse(shown.out)["run"];
        const nlohmann::json runs = nlohmann::json::parse(listed.out).at(0);
        const nlohmann::json frame = nlohmann::json::parse(decoded.out);

        for (const char* key : {"carId", "lapCount", "targetTime", "raceMinutes"}) {
            EXPECT_EQ(runs[key], show[key]) << c.name << " " << key;
            EXPECT_EQ(frame[key], show[key]) << c.name << " " << key;
        }
        for (const char* key : {"best", "worst", "average"})
            EXPECT_EQ(runs[key], show[key]) << c.name << " " << key;

        EXPECT_EQ(show["targetTime"].is_null(), !c.hasTarget) << c.name;
        if (c.hasTarget) {
            EXPECT_EQ(show["targetTime"], c.run.targetTime) << c.name;
        }
        for (const char* key : {"best", "worst", "average", "median"})
            EXPECT_EQ(runs[key].is_null(), !c.hasLaps) << c.name << " " << key;
        if (!c.hasLaps) {
            for (const char* key : {"spread", "consistency"})
                EXPECT_TRUE(runs[key].is_null()) << c.name << " " << key;
        }
    }
}

}  // namespace
}  // namespace korimet
