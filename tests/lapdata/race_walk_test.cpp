#include <gtest/gtest.h>

#include "lapdata/race_walk.h"

namespace korimet {
namespace {

std::array<double, kLapSlots> allLaps(double seconds) {
    std::array<double, kLapSlots> laps;
    laps.fill(seconds);
    return laps;
}

TEST(RaceWalk, CountsTheLapDuringWhichTimeRunsOut) {
    struct Case {
        std::array<double, kLapSlots> laps;
        double minutes;
        const char* line;
    };
    auto tenThenZeros = std::array<double, kLapSlots>{};
    for (int i = 0; i < 10; ++i) tenThenZeros[static_cast<std::size_t>(i)] = 60.0;
    const Case cases[] = {
        {allLaps(60.0), 5, "5分レース模擬 5Lap 05m00s00"},
        {allLaps(61.0), 5, "5分レース模擬 5Lap 05m05s00"},
        {allLaps(60.0), 0.2, "分レース模擬 1Lap 01m00s00"},
        {allLaps(85.0), 17, "17分レース模擬 12Lap 17m00s00"},
        {allLaps(86.0), 17, "17分レース模擬 12Lap 17m12s00"},
        {allLaps(60.0), 17.6, "18分レース模擬 18Lap 18m00s00"},
        {tenThenZeros, 20, "20分レース模擬 60Lap 10m00s00"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(raceResultLine(c.minutes, walkRace(c.laps, c.minutes * 60.0)), c.line)
            << c.minutes;
    }
}

TEST(RaceWalk, AllSlotsBelowTheRaceTimeGivesSixtyLaps) {
    const RaceWalk walk = walkRace(allLaps(10.0), 3600.0);
    EXPECT_EQ(walk.lapCount, 60);
    EXPECT_DOUBLE_EQ(walk.total, 600.0);
}

}  // namespace
}  // namespace korimet
