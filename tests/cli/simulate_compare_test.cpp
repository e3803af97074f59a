#include <gtest/gtest.h>

#include <stdlib.h>
#include "support/temp_dir.h"

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "files/data_file.h"
#include "support/run_cli.h"

namespace korimet {
namespace {

namespace fs = std::filesystem;
using test::runCli;

using test::TempDir;

using test::quoted;

LapData runOf(std::vector<double> laps) {
    LapData d;
    d.carId = 4;
    d.lapCount = static_cast<std::uint8_t>(laps.size());
    for (std::size_t i = 0; i < laps.size(); ++i) d.laps[i] = laps[i];
    return d;
}

class CliToolsTest : public ::testing::Test {
  protected:
    fs::path write(const std::string& name, const LapData& run) const {
        const fs::path path = dir.path() / name;
        const SaveResult saved = saveDataFile(path.string(), run, "");
        EXPECT_TRUE(saved) << saved.error;
        return path;
    }
    TempDir dir;
};

TEST_F(CliToolsTest, SimulatePrintsTheRaceLineOrRefuses) {
    const fs::path sixty = write("sixty.krt", runOf(std::vector<double>(10, 60.0)));
    const fs::path sixtyOne = write("sixty-one.krt", runOf(std::vector<double>(10, 61.0)));
    const fs::path noLaps = write("none.krt", runOf({}));
    struct Case {
        const char* minutes;
        fs::path file;
        int status;
        std::string out;
    };
    const Case cases[] = {
        {"5", sixty, 0, "5分レース模擬 5Lap 05m00s00\n"},
        {"5", sixtyOne, 0, "5分レース模擬 5Lap 05m05s00\n"},
        {"0.2", sixty, 0, "分レース模擬 1Lap 01m00s00\n"},
        {"20", sixty, 0, "20分レース模擬 60Lap 10m00s00\n"},
        {"0", sixty, 0, "\n"},
        {"-3", sixty, 0, "\n"},
        {"abc", sixty, 1, ""},
        {"''", sixty, 1, ""},
        {"5", noLaps, 1, ""},
        {"5", dir.path() / "missing.krt", 2, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.minutes) + " " + c.file.filename().string());
        const auto r = runCli(std::string("simulate ") + c.minutes + " " + quoted(c.file));
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.out, c.out);
    }
}

TEST_F(CliToolsTest, CompareGivesTheDifferencesAndTheTwoRunChart) {
    // Loaded: best 60, worst 62, average 61. Other: best 59 (row 1), worst 63 (row 3),
    // average 61.1.
    const fs::path loaded = write("loaded.krt", runOf({60.0, 61.0, 62.0}));
    const fs::path other = write("other.krt", runOf({60.5, 59.0, 62.0, 63.0, 61.0}));

    const auto r = runCli("compare " + quoted(loaded) + " " + quoted(other) + " --json");
    ASSERT_EQ(r.status, 0);
    const auto j = nlohmann::ordered_json::parse(r.out);
    const auto expected = nlohmann::ordered_json::parse(R"json({
        "labels": {"Label25": "(+1.sec)", "Label26": "(▼1.sec)", "Label27": "(▼.1sec)"},
        "chart": [["lap0", 60.0, 60.5], ["Best", 61.0, 59.0], ["lap2", 62.0, 62.0],
                  ["Worst", null, 63.0], ["lap4", null, 61.0]]
    })json");
    EXPECT_EQ(j, expected);

    const auto plain = runCli("compare " + quoted(loaded) + " " + quoted(other));
    ASSERT_EQ(plain.status, 0);
    for (const char* line : {"Label25  (+1.sec)\n", "Label26  (▼1.sec)\n", "Label27  (▼.1sec)\n"}) {
        EXPECT_NE(plain.out.find(line), std::string::npos) << line;
    }
}

TEST_F(CliToolsTest, CompareRefusesWhatTheWindowWouldRefuse) {
    const fs::path loaded = write("loaded.krt", runOf({60.0, 61.0}));
    const fs::path noLaps = write("none.krt", runOf({}));
    const fs::path broken = dir.path() / "broken.krt";
    std::ofstream(broken) << "4,3,0,0,0,0,0\r\nabc\r\n";
    struct Case {
        const char* name;
        fs::path file;
        fs::path other;
    };
    const Case cases[] = {
        {"comparison without laps", loaded, noLaps},
        {"nothing loaded to compare from", noLaps, loaded},
        {"broken comparison file", loaded, broken},
        {"missing comparison file", loaded, dir.path() / "missing.krt"},
        {"missing loaded file", dir.path() / "missing.krt", loaded},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto r = runCli("compare " + quoted(c.file) + " " + quoted(c.other) + " --json");
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
    }
}

}  // namespace
}  // namespace korimet
