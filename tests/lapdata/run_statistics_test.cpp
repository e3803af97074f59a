#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "lapdata/run_statistics.h"

namespace korimet {
namespace {

LapData withLaps(const std::vector<double>& laps, int lapCount = -1) {
    LapData d;
    for (std::size_t i = 0; i < laps.size() && i < d.laps.size(); ++i) d.laps[i] = laps[i];
    d.lapCount = static_cast<std::uint8_t>(lapCount < 0 ? static_cast<int>(laps.size()) : lapCount);
    return d;
}

// Slots 0..59 hold 60.0, 60.1, ... 65.9: the slowest lap is the last slot.
LapData risingSixty(int lapCount) {
    std::vector<double> laps;
    for (int i = 0; i < kLapSlots; ++i) laps.push_back(60.0 + 0.1 * i);
    return withLaps(laps, lapCount);
}

constexpr double kTolerance = 1e-6;

void expectNear(const std::optional<double>& actual, const std::optional<double>& expected,
                const char* what) {
    ASSERT_EQ(actual.has_value(), expected.has_value()) << what;
    if (expected) {
        EXPECT_NEAR(*actual, *expected, kTolerance) << what;
    }
}

struct StatisticsCase {
    std::string name;
    LapData data;
    int counted;
    double total, best, worst, average;
    int bestIndex, worstIndex;
    std::optional<double> median, spread, consistency;
};

// Worked by hand: spread is the sample deviation (divide by n - 1), consistency
// spread / median * 100.
const StatisticsCase kCases[] = {
    {"no laps, slots past the count ignored", withLaps({70.0, 80.0}, 0), 0, 0, 0, 0, 0, 0, 0,
     std::nullopt, std::nullopt, std::nullopt},
    {"one lap is best and worst, no spread", withLaps({61.23}), 1, 61.23, 61.23, 61.23, 61.23, 0, 0,
     61.23, std::nullopt, std::nullopt},
    // sqrt(2) / 61 * 100
    {"two laps", withLaps({60.0, 62.0}), 2, 122.0, 60.0, 62.0, 61.0, 0, 1, 61.0, 1.41421356,
     2.31838289},
    {"equal laps: the first wins both", withLaps({50.0, 50.0, 50.0}), 3, 150.0, 50.0, 50.0, 50.0, 0,
     0, 50.0, 0.0, 0.0},
    // sorted 50 50 52 53 53; squares 9.2 / 4 = 2.3
    {"odd count, ties keep the first", withLaps({52.0, 50.0, 50.0, 53.0, 53.0}), 5, 258.0, 50.0,
     53.0, 51.6, 1, 3, 52.0, 1.51657509, 2.91649056},
    // sorted 61 62 63 64; squares 5 / 3
    {"even count takes the mean of the middle two", withLaps({64.0, 61.0, 63.0, 62.0}), 4, 250.0,
     61.0, 64.0, 62.5, 1, 0, 62.5, 1.29099445, 2.06559112},
    {"zero laps: median 0 gives no consistency", withLaps({0.0, 0.0}), 2, 0.0, 0.0, 0.0, 0.0, 0, 0,
     0.0, 0.0, std::nullopt},
    {"a zero lap is the best", withLaps({30.0, 0.0, 30.0}), 3, 60.0, 0.0, 30.0, 20.0, 1, 0, 30.0,
     17.3205081, 57.7350269},
    // 60 * 60 + 0.1 * (0 + ... + 59) = 3777; median (62.9 + 63.0) / 2
    {"sixty laps", risingSixty(60), 60, 3777.0, 60.0, 65.9, 62.95, 0, 59, 62.95, 1.74642492,
     2.77430488},
    {"a count of 61 counts 60", risingSixty(61), 60, 3777.0, 60.0, 65.9, 62.95, 0, 59, 62.95,
     1.74642492, 2.77430488},
    {"a count of 255 counts 60", risingSixty(255), 60, 3777.0, 60.0, 65.9, 62.95, 0, 59, 62.95,
     1.74642492, 2.77430488},
};

TEST(RunStatistics, WorkedExamples) {
    for (const StatisticsCase& c : kCases) {
        SCOPED_TRACE(c.name);
        const RunStatistics s = runStatistics(c.data);
        EXPECT_EQ(s.counted, c.counted);
        EXPECT_NEAR(s.total, c.total, kTolerance);
        EXPECT_NEAR(s.best, c.best, kTolerance);
        EXPECT_NEAR(s.worst, c.worst, kTolerance);
        EXPECT_NEAR(s.average, c.average, kTolerance);
        EXPECT_EQ(s.bestIndex, c.bestIndex);
        EXPECT_EQ(s.worstIndex, c.worstIndex);
        expectNear(s.median, c.median, "median");
        expectNear(s.spread, c.spread, "spread");
        expectNear(s.consistency, c.consistency, "consistency");
    }
}

TEST(RunStatistics, CountedLapsNeverPassTheSlots) {
    const struct {
        int lapCount;
        int counted;
    } cases[] = {{0, 0}, {1, 1}, {59, 59}, {60, 60}, {61, 60}, {255, 60}};
    for (const auto& c : cases) {
        LapData d;
        d.lapCount = static_cast<std::uint8_t>(c.lapCount);
        EXPECT_EQ(countedLaps(d), c.counted) << c.lapCount;
    }
}

TEST(RunStatistics, TargetMarksLapsWithinASetTarget) {
    const struct {
        double target;
        double lap;
        bool meets;
    } cases[] = {
        {60.0, 59.99, true},          {60.0, 60.0, true},
        {60.0, 60.01, false},         {0.0, 0.0, true},
        {0.0, 0.01, false},           {655.34, 655.34, true},
        {kNoTargetTime, 10.0, false}, {kNoTargetTime, 0.0, false},
        {700.0, 10.0, false},         {kNoTargetTime, 655.35, false},
    };
    for (const auto& c : cases) {
        LapData d;
        d.targetTime = c.target;
        EXPECT_EQ(meetsTarget(d, c.lap), c.meets) << c.target << " " << c.lap;
    }
}

}  // namespace
}  // namespace korimet
