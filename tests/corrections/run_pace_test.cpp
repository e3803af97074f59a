#include "corrections/run_pace.h"

#include <gtest/gtest.h>

#include <vector>

namespace korimet {
namespace {

LapData runOf(const std::vector<double>& laps) {
    LapData data;
    data.lapCount = static_cast<std::uint8_t>(laps.size());
    for (std::size_t i = 0; i < laps.size(); ++i) data.laps[i] = laps[i];
    return data;
}

TEST(RunPace, WorkedExamples) {
    struct Case {
        const char* what;
        std::vector<double> laps;
        std::optional<BestThree> bestThree;
        std::optional<double> trend;
    };
    const std::vector<Case> cases{
        {"below three laps", {45.0, 46.0}, std::nullopt, std::nullopt},
        // One window: 10 + 11 + 12 = 33 at lap 1; slopes 1, 1, 1.
        {"three laps", {10.0, 11.0, 12.0}, BestThree{33.0, 0}, 1.0},
        // Windows 33 and 31: the second, from index 1. Slopes by pair of indices: 01 -1,
        // 02 -1, 03 -2/3, 12 -1, 13 -1/2, 23 0; the middle two -1 and -2/3 give -5/6.
        {"getting faster", {12.0, 11.0, 10.0, 10.0}, BestThree{31.0, 1}, -5.0 / 6.0},
        // Equal totals: the first window wins. Slopes all 0 -> 0.
        {"flat", {20.0, 20.0, 20.0, 20.0}, BestThree{60.0, 0}, 0.0},
        // A run slowing by 0.1 s a lap ending in a lap of double length: least squares
        // would give 8.18 s a lap; six of the ten slopes are 0.1, so their median is too.
        {"one long lap does not decide the trend",
         {40.0, 40.1, 40.2, 40.3, 80.8},
         BestThree{40.0 + 40.1 + 40.2, 0},
         0.1},
    };
    for (const auto& c : cases) {
        const auto pace = runPace(runOf(c.laps));
        ASSERT_EQ(pace.bestThree.has_value(), c.bestThree.has_value()) << c.what;
        if (c.bestThree) {
            EXPECT_DOUBLE_EQ(pace.bestThree->total, c.bestThree->total) << c.what;
            EXPECT_EQ(pace.bestThree->start, c.bestThree->start) << c.what;
        }
        ASSERT_EQ(pace.trend.has_value(), c.trend.has_value()) << c.what;
        if (c.trend) {
            EXPECT_NEAR(*pace.trend, *c.trend, 1e-9) << c.what;
        }
    }
}

TEST(RunPace, CountsOnlyTheCountedLaps) {
    auto data = runOf({30.0, 30.0, 30.0, 1.0, 1.0, 1.0});
    data.lapCount = 3;
    EXPECT_EQ(runPace(data).bestThree, (BestThree{90.0, 0}));
}

}  // namespace
}  // namespace korimet
