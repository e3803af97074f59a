#include <gtest/gtest.h>

#include "lapdata/lap_view_model.h"

namespace korimet {
namespace {

LapData withLaps(std::initializer_list<double> laps, double target = kNoTargetTime) {
    LapData d;
    d.carId = 7;
    d.targetTime = target;
    int i = 0;
    for (double lap : laps) d.laps[static_cast<std::size_t>(i++)] = lap;
    d.lapCount = static_cast<std::uint8_t>(i);
    return d;
}

std::uint32_t color(const LapView& v, int row, int col) {
    return v.colors[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}
const std::string& cell(const LapView& v, int row, int col) {
    return v.cells[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}

TEST(LapView, NoLapsShowsPlaceholdersAndHidesTheChart) {
    LapData d;
    d.laps[0] = 70.0;  // beyond lapCount: not shown
    const LapView v = buildLapView(d);
    EXPECT_FALSE(v.chartVisible);
    EXPECT_FALSE(v.chart.has_value());
    EXPECT_EQ(v.lapCountText, "00L");
    EXPECT_EQ(v.carText, "00");
    EXPECT_EQ(v.bestText, "00m00s00");
    EXPECT_EQ(v.worstText, "00m00s00");
    EXPECT_EQ(v.averageText, "00m00s00");
    EXPECT_EQ(v.stats, LapStatistics{});
    EXPECT_EQ(v.targetText, "00m00s00");
    for (int r = 1; r <= 30; ++r) {
        EXPECT_EQ(cell(v, r, 0), std::to_string(r));
        EXPECT_EQ(cell(v, r, 1), "--m--s--");
        EXPECT_EQ(cell(v, r, 2), std::to_string(r + 30));
        EXPECT_EQ(cell(v, r, 3), "--m--s--");
        for (int c = 0; c < 4; ++c) EXPECT_EQ(color(v, r, c), kCellWhite);
    }
    EXPECT_EQ(cell(v, 0, 0), "LAP");
    EXPECT_EQ(cell(v, 0, 1), "Time");
}

TEST(LapView, OneLapIsBestAndWorstAtOnce) {
    const LapView v = buildLapView(withLaps({61.23}));
    ASSERT_TRUE(v.chart.has_value());
    ASSERT_EQ(v.chart->size(), 1u);
    EXPECT_EQ((*v.chart)[0].label, "Worst");
    EXPECT_EQ(color(v, 1, 0), kCellWorst);
    EXPECT_EQ(color(v, 1, 1), kCellWorst);
    EXPECT_EQ(v.bestText, "01m01s23");
    EXPECT_EQ(v.worstText, "01m01s23");
    EXPECT_EQ(v.averageText, "01m01s23");
    EXPECT_EQ(v.carText, "07");
    EXPECT_EQ(v.lapCountText, "01L");
    EXPECT_EQ(v.targetText, "   N.A.");
}

TEST(LapView, LapsPastThirtyFillTheRightHalf) {
    LapData d;
    d.lapCount = 31;
    for (int i = 0; i < 31; ++i) d.laps[static_cast<std::size_t>(i)] = 60.0 + i;
    const LapView v = buildLapView(d);
    EXPECT_EQ(cell(v, 30, 1), "01m29s00");
    EXPECT_EQ(cell(v, 1, 3), "01m30s00");
    EXPECT_EQ(color(v, 1, 2), kCellWorst);
    EXPECT_EQ(color(v, 1, 0), kCellBest);
    for (int r = 2; r <= 30; ++r) EXPECT_EQ(cell(v, r, 3), "--m--s--") << r;
    EXPECT_EQ(v.chart->size(), 31u);
    EXPECT_EQ((*v.chart)[30].label, "Worst");
    EXPECT_EQ((*v.chart)[0].label, "Best");
    EXPECT_EQ((*v.chart)[5].label, "lap5");
    EXPECT_EQ((*v.chart)[5].values.at(0), 65.0);
}

TEST(LapView, EqualLapsKeepTheEarliestAsBestAndWorst) {
    const LapView v = buildLapView(withLaps({62, 60, 63, 60, 63}));
    EXPECT_EQ((*v.chart)[1].label, "Best");
    EXPECT_EQ((*v.chart)[2].label, "Worst");
    EXPECT_EQ((*v.chart)[3].label, "lap3");
    EXPECT_EQ((*v.chart)[4].label, "lap4");
    EXPECT_EQ(color(v, 2, 1), kCellBest);
    EXPECT_EQ(color(v, 3, 1), kCellWorst);
    EXPECT_EQ(color(v, 4, 1), kCellWhite);
    EXPECT_EQ(v.bestSlot, 1);
    EXPECT_EQ(v.worstSlot, 2);
    EXPECT_DOUBLE_EQ(v.stats.averageLap, 61.6);
    EXPECT_DOUBLE_EQ(v.stats.lapTotal, 308);
}

TEST(LapView, TargetMarksLapsAtOrUnderIt) {
    const LapView v = buildLapView(withLaps({61, 60, 59, 62}, 60.0));
    EXPECT_EQ(v.targetText, "01m00s00");
    EXPECT_EQ(color(v, 1, 0), kCellWhite);
    EXPECT_EQ(color(v, 2, 0), kCellTarget);  // equal to target
    EXPECT_EQ(color(v, 2, 1), kCellTarget);
    EXPECT_EQ(color(v, 3, 1), kCellBest);  // best wins over target
    EXPECT_EQ(color(v, 4, 1), kCellWorst);

    const LapView none = buildLapView(withLaps({61, 60}, 655.35));
    EXPECT_EQ(none.targetText, "   N.A.");
    EXPECT_EQ(color(none, 2, 0), kCellBest);
    EXPECT_EQ(color(none, 1, 0), kCellWorst);

    const LapView high = buildLapView(withLaps({61, 60, 70}, 655.34));
    EXPECT_EQ(high.targetText, "10m55s34");
    EXPECT_EQ(color(high, 1, 0), kCellTarget);
}

TEST(LapView, AllZeroLapsLabelTheFirstWorst) {
    const LapView v = buildLapView(withLaps({0, 0, 0}));
    EXPECT_EQ(v.stats.bestLap, 0.0);
    EXPECT_EQ(v.stats.worstLap, 0.0);
    EXPECT_EQ((*v.chart)[0].label, "Worst");
    EXPECT_EQ(color(v, 1, 0), kCellWorst);
    EXPECT_EQ(color(v, 2, 0), kCellWhite);
}

TEST(LapView, RaceEstimateWalksAllSixtySlots) {
    struct Case {
        double lap;
        int count;
        std::uint8_t minutes;
        const char* line;
    };
    const Case cases[] = {
        {85.0, 60, 17, "17分レース模擬 12Lap 17m00s00"},
        {86.0, 60, 17, "17分レース模擬 12Lap 17m12s00"},
        {86.0, 60, 0, ""},
        {10.0, 5, 255, "255分レース模擬 60Lap 10m00s00"},
    };
    for (const auto& c : cases) {
        LapData d;
        d.lapCount = static_cast<std::uint8_t>(c.count);
        d.raceMinutes = c.minutes;
        d.laps.fill(c.lap);
        const LapView v = buildLapView(d);
        EXPECT_EQ(v.raceLine, c.line);
        EXPECT_EQ(v.raceTotal.has_value(), c.minutes != 0);
    }
}

TEST(LapView, ValuesBeyondTheFormatterShowAsPlaceholders) {
    LapData d = withLaps({1e300, 60.0}, 1e300);
    d.raceMinutes = 1;
    const LapView v = buildLapView(d);
    EXPECT_EQ(cell(v, 1, 1), "--m--s--");
    EXPECT_EQ(cell(v, 2, 1), "01m00s00");
    EXPECT_EQ(v.worstText, "--m--s--");
    EXPECT_EQ(v.averageText, "--m--s--");
    EXPECT_EQ(v.targetText, "   N.A.");

    LapData tooMany;
    tooMany.lapCount = 200;  // only a file can carry this
    tooMany.laps.fill(60.0);
    const LapView capped = buildLapView(tooMany);
    EXPECT_EQ(capped.chart->size(), 60u);
    EXPECT_EQ(capped.lapCountText, "200L");
}

TEST(LapView, SecondRedrawWithFewerLapsLeavesNoTrace) {
    LapData many;
    many.lapCount = 40;
    many.laps.fill(61.0);
    const LapView first = buildLapView(many);
    EXPECT_EQ(first.chart->size(), 40u);
    const LapView second = buildLapView(withLaps({60, 62}));
    EXPECT_EQ(second.chart->size(), 2u);
    for (int r = 3; r <= 30; ++r) {
        EXPECT_EQ(cell(second, r, 1), "--m--s--");
        EXPECT_EQ(color(second, r, 1), kCellWhite);
    }
    for (int r = 1; r <= 30; ++r) EXPECT_EQ(cell(second, r, 3), "--m--s--");
}

}  // namespace
}  // namespace korimet
