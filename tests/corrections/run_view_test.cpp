#include "corrections/run_view.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <vector>

#include "support/double_press.h"
#include "support/files.h"
#include "support/frames.h"
#include "support/temp_dir.h"

namespace korimet {
namespace {

using test::runWithLaps;

TEST(RunView, WhatAPersonalBestRefusesStaysOutOfTheBestThreeAndThePace) {
    struct Case {
        const char* what;
        LapData run;
        std::vector<int> refused;  // lap indices
        std::optional<double> confirmedBest;
        std::optional<BestThree> bestThree;
        std::optional<double> trend;
    };
    LapData threeOfSix = runWithLaps({30.0, 30.0, 30.0, 1.0, 1.0, 1.0});
    threeOfSix.lapCount = 3;
    const std::vector<Case> cases{
        {"no laps", runWithLaps({}), {}, std::nullopt, std::nullopt, std::nullopt},
        {"below three laps, too few to judge",
         runWithLaps({10.0, 0.5}),
         {},
         0.5,
         std::nullopt,
         std::nullopt},
        // One window: 10 + 11 + 12 = 33 at lap 1; slopes 1, 1, 1.
        {"three laps", runWithLaps({10.0, 11.0, 12.0}), {}, 10.0, BestThree{33.0, 0}, 1.0},
        // Windows 33 and 31: the second, from index 1. Slopes by pair of indices: 01 -1,
        // 02 -1, 03 -2/3, 12 -1, 13 -1/2, 23 0; the middle two -1 and -2/3 give -5/6.
        {"getting faster",
         runWithLaps({12.0, 11.0, 10.0, 10.0}),
         {},
         10.0,
         BestThree{31.0, 1},
         -5.0 / 6.0},
        // Equal totals: the first window wins. Slopes all 0 -> 0.
        {"flat", runWithLaps({20.0, 20.0, 20.0, 20.0}), {}, 20.0, BestThree{60.0, 0}, 0.0},
        {"only the counted laps", threeOfSix, {}, 30.0, BestThree{90.0, 0}, 0.0},
        // A run slowing by 0.1 s a lap, ending in a missed press: the long lap is left out
        // and the four before it slope by 0.1.
        {"a missed press at the end",
         runWithLaps({40.0, 40.1, 40.2, 40.3, 80.8}),
         {4},
         40.0,
         BestThree{40.0 + 40.1 + 40.2, 0},
         0.1},
        {"a missed press alone",
         runWithLaps({49.9, 100.0, 50.0, 50.2}),
         {1},
         49.9,
         std::nullopt,
         0.1},
        {"a double press and the lap it shortened",
         runWithLaps({50.0, 0.5, 49.0, 50.1}),
         {1, 2},
         50.0,
         std::nullopt,
         std::nullopt},
        {"a double press at the end and the lap before",
         runWithLaps({50.0, 50.3, 49.2, 0.8}),
         {2, 3},
         50.0,
         std::nullopt,
         std::nullopt},
        // Laps 5-7 total 104.53; the best three driven are laps 3-5. The middle two of the
        // 28 slopes between laps 1-5 and 8-10 are -0.12 and -0.41 / 7.
        {"a refused lap inside the lowest window",
         test::doublePressRun(),
         {5, 6},
         52.19,
         BestThree{52.64 + 52.88 + 52.19, 2},
         (-0.12 - 0.41 / 7.0) / 2.0},
        // Slopes between laps 1, 4 and 5 by their places: 0.2 / 3, 0.4 / 4, 0.2 -> 0.1.
        {"a left-out lap keeps its place in the pace",
         runWithLaps({40.0, 0.5, 39.5, 40.2, 40.4}),
         {1, 2},
         40.0,
         std::nullopt,
         0.1},
        {"every lap refused",
         runWithLaps({0.4, 50.0, 0.4, 50.0, 0.4, 50.0}),
         {0, 1, 2, 3, 4, 5},
         std::nullopt,
         std::nullopt,
         std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const RunView view = viewRun(c.run);
        const auto counted = static_cast<std::size_t>(countedLaps(c.run));
        std::vector<bool> refused(counted, false);
        for (int i : c.refused) refused[static_cast<std::size_t>(i)] = true;
        EXPECT_EQ(view.refused, refused);
        EXPECT_EQ(view.data, c.run);
        EXPECT_EQ(view.statistics, runStatistics(c.run));
        EXPECT_EQ(view.confirmedBest, c.confirmedBest);
        ASSERT_EQ(view.pace.bestThree.has_value(), c.bestThree.has_value());
        if (c.bestThree) {
            EXPECT_DOUBLE_EQ(view.pace.bestThree->total, c.bestThree->total);
            EXPECT_EQ(view.pace.bestThree->start, c.bestThree->start);
        }
        ASSERT_EQ(view.pace.trend.has_value(), c.trend.has_value());
        if (c.trend) {
            EXPECT_NEAR(*view.pace.trend, *c.trend, 1e-9);
        }
    }
}

TEST(RunView, MarksWhatTheCorrectionsMadeAndWhatStillLooksMisPressed) {
    const LapData pressed = runWithLaps({60.0, 60.5, 0.4, 60.1, 61.0, 120.5, 60.2});
    using M = LapMark;
    EXPECT_EQ(viewRun(runWithLaps({60.0, 60.5, 61.0})).marks, std::vector<M>{});
    EXPECT_EQ(viewRun(pressed).marks,
              (std::vector<M>{M::None, M::None, M::Short, M::None, M::None, M::Long, M::None}));

    RunCorrections corrections(pressed);
    ASSERT_EQ(corrections.apply({CorrectionKind::Split, 5}), CorrectionRefusal::None);
    ASSERT_EQ(corrections.apply({CorrectionKind::MergeIntoNext, 2}), CorrectionRefusal::None);
    const RunView fixed = viewRun(corrections);
    EXPECT_EQ(fixed.data, corrections.run().data);
    EXPECT_EQ(fixed.correctionSteps, 2);
    EXPECT_EQ(fixed.suspectCount(), 0);
    EXPECT_EQ(fixed.marks, (std::vector<M>{M::None, M::None, M::Corrected, M::None, M::Corrected,
                                           M::Corrected, M::None}));
    EXPECT_EQ(fixed.confirmedBest, 60.0);
    EXPECT_EQ(fixed.pace.bestThree, (BestThree{60.25 + 60.25 + 60.2, 4}));
}

TEST(RunView, ReadsTheCorrectionFileBesideTheRun) {
    test::TempDir dir;
    const std::string path = (dir.path() / "run.krt").string();
    ASSERT_TRUE(test::writeDoublePressRun(path, true));
    const RunViewRead corrected = readRunView(path, test::doublePressRun());
    EXPECT_FALSE(corrected.correctionError);
    EXPECT_EQ(corrected.view.data, test::mergedDoublePressRun());
    EXPECT_EQ(corrected.view.correctionSteps, 1);
    EXPECT_EQ(corrected.view.marks[test::kDoublePressLap], LapMark::Corrected);
    EXPECT_EQ(corrected.view.pace, viewRun(test::mergedDoublePressRun()).pace);

    // One it cannot use: the run as downloaded, and why.
    test::writeBytes(correctionFilePath(path), "korimet-corrections 7\n");
    const RunViewRead later = readRunView(path, test::doublePressRun());
    EXPECT_EQ(later.correctionError.code, CorrectionFileErrorCode::LaterVersion);
    EXPECT_EQ(later.view.data, test::doublePressRun());
    EXPECT_EQ(later.view.correctionSteps, 0);
}

}  // namespace
}  // namespace korimet
