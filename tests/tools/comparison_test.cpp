#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "messages/tool_messages.h"
#include "tools/comparison.h"

namespace korimet {
namespace {

LapData run(std::initializer_list<double> laps) {
    LapData d;
    int i = 0;
    for (double lap : laps) d.laps[static_cast<std::size_t>(i++)] = lap;
    d.lapCount = static_cast<std::uint8_t>(i);
    return d;
}

LapData steadyRun(int laps, double first, double step) {
    LapData d;
    d.lapCount = static_cast<std::uint8_t>(laps);
    for (int i = 0; i < laps; ++i) d.laps[static_cast<std::size_t>(i)] = first + step * i;
    // Slots past the lap count carry something: it must not show up.
    for (int i = laps; i < kLapSlots; ++i) d.laps[static_cast<std::size_t>(i)] = 999.0;
    return d;
}

LapStatistics statsOf(const LapData& d) { return buildLapView(d).stats; }

std::vector<std::string> labels(const ChartTable& t) {
    std::vector<std::string> out;
    for (const auto& row : t) out.push_back(row.label);
    return out;
}

TEST(Comparison, TableCoversTheLongerRunAndLeavesTheRestEmpty) {
    struct Case {
        int loadedLaps;
        int comparedLaps;
    };
    for (const Case c : {Case{12, 15}, Case{15, 12}}) {
        // Comparison laps fall then rise: best in the middle, worst at the end.
        LapData compared = steadyRun(c.comparedLaps, 70.0, 0.0);
        for (int i = 0; i < c.comparedLaps; ++i) {
            compared.laps[static_cast<std::size_t>(i)] = 70.0 + std::abs(i - 5);
        }
        const LapData loaded = steadyRun(c.loadedLaps, 60.0, 0.5);
        const ComparisonOutcome out = buildComparison(loaded, statsOf(loaded), compared);
        ASSERT_FALSE(out.refusal);
        const ChartTable& t = out.view.chart;
        ASSERT_EQ(t.size(), 15u) << c.loadedLaps << " vs " << c.comparedLaps;
        for (int r = 0; r < 15; ++r) {
            const ChartRow& row = t[static_cast<std::size_t>(r)];
            ASSERT_EQ(row.values.size(), 2u);
            EXPECT_EQ(row.values[0],
                      r < c.loadedLaps ? std::optional(60.0 + 0.5 * r) : std::nullopt)
                << r;
            EXPECT_EQ(row.values[1],
                      r < c.comparedLaps ? std::optional(70.0 + std::abs(r - 5)) : std::nullopt)
                << r;
            const std::string expected = r == 5                    ? "Best"
                                         : r == c.comparedLaps - 1 ? "Worst"
                                                                   : "lap" + std::to_string(r);
            EXPECT_EQ(row.label, expected) << r;
        }
        EXPECT_DOUBLE_EQ(out.view.stats.comparisonBestLap, 70.0);
        EXPECT_DOUBLE_EQ(out.view.stats.comparisonWorstLap, 70.0 + c.comparedLaps - 1 - 5);
    }
}

TEST(Comparison, StatisticsAndRowMarks) {
    struct Case {
        const char* name;
        LapData compared;
        ComparisonStatistics stats;
        std::vector<std::string> labels;
    };
    const Case cases[] = {
        {"one lap is best and worst at once", run({62.5}), {62.5, 62.5, 62.5, 62.5}, {"Worst"}},
        {"all zeros: best row 0, worst unset counts as row 0",
         run({0, 0, 0}),
         {0, 0, 0, 0},
         {"Worst", "lap1", "lap2"}},
        {"earliest of equal laps stays best and worst",
         run({61, 60, 62, 60, 62}),
         {305, 60, 62, 61},
         {"lap0", "Best", "Worst", "lap3", "lap4"}},
    };
    const LapData loaded = run({60});
    for (const auto& c : cases) {
        const ComparisonOutcome out = buildComparison(loaded, statsOf(loaded), c.compared);
        ASSERT_FALSE(out.refusal) << c.name;
        EXPECT_EQ(out.view.stats, c.stats) << c.name;
        EXPECT_EQ(labels(out.view.chart), c.labels) << c.name;
    }
}

TEST(Comparison, DifferenceLabelsAreLoadedMinusCompared) {
    struct Case {
        LapStatistics loaded;
        LapData compared;
        const char* best;
        const char* worst;
        const char* average;
    };
    const Case cases[] = {
        // best 61.23 vs 60.00, equal worst 61.00, average 60.00 vs 60.50
        {{0, 61.23, 61.0, 60.0}, run({60.0, 61.0, 60.5}), "(+1.23sec)", "(+.sec)", "(▼.5sec)"},
        // slower by whole seconds
        {{0, 72.0, 80.0, 76.0}, run({60.0, 68.0}), "(+12.sec)", "(+12.sec)", "(+12.sec)"},
    };
    for (const auto& c : cases) {
        const ComparisonOutcome out = buildComparison(run({1, 2, 3}), c.loaded, c.compared);
        ASSERT_FALSE(out.refusal);
        EXPECT_EQ(out.view.bestDifferenceText, c.best);
        EXPECT_EQ(out.view.worstDifferenceText, c.worst);
        EXPECT_EQ(out.view.averageDifferenceText, c.average);
    }
}

TEST(Comparison, TemplateOnlyStartShowsTheComparisonAsNegative) {
    // Only the template has filled the loaded run: a lap count, zero laps, no redraw yet.
    LapData loaded;
    loaded.lapCount = 5;
    const ComparisonOutcome out =
        buildComparison(loaded, LapStatistics{}, run({60.12, 61.00, 62.00}));
    ASSERT_FALSE(out.refusal);
    EXPECT_EQ(out.view.bestDifferenceText, "(▼60.12sec)");
    EXPECT_EQ(out.view.worstDifferenceText, "(▼62.sec)");
    EXPECT_EQ(out.view.averageDifferenceText, "(▼61.04sec)");
    ASSERT_EQ(out.view.chart.size(), 5u);
    for (const auto& row : out.view.chart) EXPECT_EQ(row.values[0], std::optional(0.0));
}

TEST(Comparison, RefusesWhenEitherRunHasNoLaps) {
    const LapData loaded = run({60, 61});
    const ComparisonOutcome noLoaded = buildComparison(LapData{}, LapStatistics{}, loaded);
    ASSERT_TRUE(noLoaded.refusal);
    EXPECT_EQ(*noLoaded.refusal, (ToolRefusal{ToolRefusalCode::CompareNoData, {}}));
    EXPECT_EQ(toolRefusalMessage(*noLoaded.refusal, Language::Japanese), "比較元データ未読込み");
    EXPECT_EQ(toolRefusalTitle(*noLoaded.refusal, Language::Japanese), "データ比較");
    EXPECT_EQ(compareDataRefusal(LapData{}), noLoaded.refusal);
    EXPECT_FALSE(compareDataRefusal(loaded));

    LapData empty;
    empty.laps.fill(60.0);  // laps without a lap count are not compared
    const ComparisonOutcome noCompared =
        buildComparison(loaded, statsOf(loaded), empty, "/home/u/run2.krt");
    ASSERT_TRUE(noCompared.refusal);
    EXPECT_EQ(toolRefusalTitle(*noCompared.refusal, Language::Japanese), "データ比較");
    EXPECT_EQ(toolRefusalMessage(*noCompared.refusal, Language::Japanese),
              "比較データのラップ数が0のため比較できません\n/home/u/run2.krt");
}

TEST(Comparison, LapCountsAboveSixtyStopAtTheLastSlot) {
    LapData loaded = steadyRun(60, 60.0, 0.0);
    loaded.lapCount = 200;
    LapData compared = steadyRun(60, 61.0, 0.0);
    compared.lapCount = 255;
    const ComparisonOutcome out = buildComparison(loaded, statsOf(loaded), compared);
    ASSERT_FALSE(out.refusal);
    EXPECT_EQ(out.view.chart.size(), 60u);
    EXPECT_DOUBLE_EQ(out.view.stats.comparisonLapTotal, 60 * 61.0);
    EXPECT_DOUBLE_EQ(out.view.stats.comparisonAverageLap, 61.0);
    EXPECT_EQ(out.view.averageDifferenceText, "(▼1.sec)");
}

TEST(Comparison, DifferencesThatAreNotNumbersShowAPlaceholder) {
    constexpr double big = std::numeric_limits<double>::max();
    constexpr double inf = std::numeric_limits<double>::infinity();
    // Two huge laps overflow the total: the average is infinite, the other two stay.
    const ComparisonOutcome overflow =
        buildComparison(run({1}), LapStatistics{0, 60, 60, 60}, run({big, big}));
    ASSERT_FALSE(overflow.refusal);
    EXPECT_EQ(overflow.view.averageDifferenceText, "(--.--sec)");
    EXPECT_EQ(overflow.view.bestDifferenceText.rfind("(▼", 0), 0u);

    const ComparisonOutcome nan =
        buildComparison(run({1}), LapStatistics{inf, inf, inf, inf}, run({std::nan(""), 60}));
    ASSERT_FALSE(nan.refusal);
    EXPECT_EQ(nan.view.bestDifferenceText, "(--.--sec)");
    EXPECT_EQ(nan.view.worstDifferenceText, "(--.--sec)");
    EXPECT_EQ(nan.view.averageDifferenceText, "(--.--sec)");
}

}  // namespace
}  // namespace korimet
