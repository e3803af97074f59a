#include "sheet/lap_sheet.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>

#include "lapdata/lap_time.h"
#include "lapdata/run_statistics.h"
#include "sheet/sheet_texts.h"
#include "support/double_press.h"
#include "support/frames.h"
#include "tools/comparison.h"

namespace korimet {
namespace {

using test::runWithLaps;

TEST(LibraryDownloadTime, ReadsOnlyPathsOfTheLibrarysShape) {
    struct Case {
        const char* path;
        std::optional<SheetDateTime> expected;
    };
    const Case cases[] = {
        {"/home/a/library/2026-12-10/143507-car07.krt", SheetDateTime{2026, 12, 10, 14, 35, 7}},
        {"2026-01-31/000000-car01.krt", SheetDateTime{2026, 1, 31, 0, 0, 0}},
        {"lib/2026-01-31/000000-car1.krt", std::nullopt},  // the library writes two digits
        {"C:\\runs\\2024-02-29\\235959-car123.krt", SheetDateTime{2024, 2, 29, 23, 59, 59}},
        {"lib/2026-12-10/143507-car07-2.krt", SheetDateTime{2026, 12, 10, 14, 35, 7}},
        {"lib/2025-02-29/120000-car07.krt", std::nullopt},  // not a leap year
        {"lib/2026-13-01/120000-car07.krt", std::nullopt},
        {"lib/2026-12-00/120000-car07.krt", std::nullopt},
        {"lib/2026-04-31/120000-car07.krt", std::nullopt},
        {"lib/2026-12-10/240000-car07.krt", std::nullopt},
        {"lib/2026-12-10/126000-car07.krt", std::nullopt},
        {"lib/2026-12-10/120060-car07.krt", std::nullopt},
        {"lib/2026-12-10/143507-car.krt", std::nullopt},
        {"lib/2026-12-10/143507-carX7.krt", std::nullopt},
        {"lib/2026-12-10/143507-car07.txt", std::nullopt},
        {"lib/2026-12-10/1435-car07.krt", std::nullopt},
        {"lib/20261210/143507-car07.krt", std::nullopt},
        {"143507-car07.krt", std::nullopt},
        {"/home/a/run.krt", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(libraryDownloadTime(c.path), c.expected) << c.path;
}

// Whatever moment the library names a file after, the sheet reads the same moment back.
TEST(LibraryDownloadTime, ReadsBackEveryMomentTheLibraryCanName) {
    std::mt19937 random(20261210);
    for (int i = 0; i < 2000; ++i) {
        SheetDateTime t;
        t.year = std::uniform_int_distribution(1990, 2099)(random);
        t.month = std::uniform_int_distribution(1, 12)(random);
        const int days =
            t.month == 2 ? ((t.year % 4 == 0 && t.year % 100 != 0) || t.year % 400 == 0 ? 29 : 28)
            : (t.month == 4 || t.month == 6 || t.month == 9 || t.month == 11) ? 30
                                                                              : 31;
        t.day = std::uniform_int_distribution(1, days)(random);
        t.hour = std::uniform_int_distribution(0, 23)(random);
        t.minute = std::uniform_int_distribution(0, 59)(random);
        t.second = std::uniform_int_distribution(0, 59)(random);
        const int car = std::uniform_int_distribution(0, 255)(random);
        char path[96];
        std::snprintf(path, sizeof path, "/home/u/library/%04d-%02d-%02d/%02d%02d%02d-car%02d.krt",
                      t.year, t.month, t.day, t.hour, t.minute, t.second, car);
        EXPECT_EQ(libraryDownloadTime(path), t) << path;
        EXPECT_EQ(sheetDate(path, SheetDateTime{}, SheetDateTime{}), t) << path;
    }
}

TEST(SheetDate, LibraryTimeThenFileTimeThenNow) {
    const SheetDateTime file{2026, 5, 1, 9, 0, 0};
    const SheetDateTime now{2026, 12, 10, 15, 0, 0};
    struct Case {
        const char* path;
        std::optional<SheetDateTime> fileTime;
        SheetDateTime expected;
    };
    const Case cases[] = {
        {"lib/2026-12-10/143507-car07.krt", file, {2026, 12, 10, 14, 35, 7}},
        {"lib/2026-12-10/143507-car07.krt", std::nullopt, {2026, 12, 10, 14, 35, 7}},
        {"/runs/a.krt", file, file},
        {"/runs/a.krt", std::nullopt, now},  // a file that has gone since
        {"", file, now},                     // a download not yet saved
        {"", std::nullopt, now},
    };
    for (const Case& c : cases) EXPECT_EQ(sheetDate(c.path, c.fileTime, now), c.expected) << c.path;
}

TEST(SheetNames, DateTextAndSuggestedFileName) {
    const SheetDateTime d{2026, 12, 10, 14, 35, 7};
    EXPECT_EQ(sheetDateText(d), "2026-12-10 14:35");
    EXPECT_EQ(suggestedSheetFileName(d, runWithLaps({60.0}, kNoTargetTime, 0, 7), ".pdf"),
              "2026-12-10_1435_car07.pdf");
    EXPECT_EQ(suggestedSheetFileName({2027, 1, 2, 3, 4, 5}, runWithLaps({}, kNoTargetTime, 0, 123),
                                     ".png"),
              "2027-01-02_0304_car123.png");
}

SheetInput inputFor(const LapData& data, const std::string& file = "/runs/a.krt") {
    SheetInput in;
    in.run = {viewRun(data), file};
    in.date = {2026, 12, 10, 14, 35, 0};
    return in;
}

TEST(LapSheet, HeaderAndStatisticsSayWhatTheWindowSays) {
    const LapData data = runWithLaps({62.5, 61.0, 64.0, 61.5}, 62.0, 17, 7);
    const LapSheet sheet = buildLapSheet(inputFor(data, "/runs/2026/a.krt"));
    const LapView view = buildLapView(data);

    const std::vector<SheetField> header = {
        {texts::kCarCaption, "07"},
        {texts::kLapCountCaption, "04L"},
        {texts::kTargetCaption, "01m02s00"},
        {texts::kRaceCaption, view.raceLine},
        {texts::kDateCaption, "2026-12-10 14:35"},
        {texts::kFileCaption, "a.krt"},
    };
    EXPECT_EQ(sheet.header, header);
    EXPECT_FALSE(view.raceLine.empty());
    // Median of 61.0 61.5 62.5 64.0 is 62.0; sample deviation 1.3229; 1.3229 / 62 = 2.1%.
    // Laps 2-4 make the best three (186.5 against 187.5); the pair slopes -2.5 -1.5 -0.33
    // 0.25 0.75 3 have the median -0.04.
    const std::vector<SheetField> stats = {
        {texts::kBestCaption, "01m01s00"},
        {texts::kWorstCaption, "01m04s00"},
        {texts::kAverageCaption, "01m02s25"},
        {texts::kMedianCaption, "01m02s00"},
        {texts::kSpreadCaption, "1.32秒"},
        {texts::kConsistencyCaption, "2.1%"},
        {std::string(texts::kBestThreeCaption) + " (2-4)", "03m06s50"},
        {texts::kPaceTrendCaption, "-0.04秒/周"},
    };
    EXPECT_EQ(sheet.statistics, stats);
    EXPECT_EQ(sheet.statistics[0].value, view.bestText);
    EXPECT_NE(sheet.title.find("07"), std::string::npos);
}

// Laps 5-7 add up to less (104.53), but a double press and the lap it shortened are no
// three laps driven; the personal best refuses them too.
TEST(LapSheet, BestThreeLeavesOutTheLapsThePersonalBestRefuses) {
    const LapSheet sheet = buildLapSheet(inputFor(test::doublePressRun()));
    EXPECT_EQ(sheet.statistics[6], (SheetField{std::string(texts::kBestThreeCaption) + " (3-5)",
                                               formatLapTime(52.64 + 52.88 + 52.19)}));
}

// Beside its number, a lap carries the window's mark: corrected, or still looking mis-pressed.
TEST(LapSheet, MarksTheLapsAsTheWindowDoes) {
    RunCorrections corrections(test::doublePressRun());
    SheetInput in = inputFor(test::doublePressRun());
    const auto marks = [](const LapSheet& sheet) {
        std::vector<LapMark> found;
        for (const SheetLap& lap : sheet.laps) found.push_back(lap.lapMark);
        return found;
    };
    std::vector<LapMark> expected(10, LapMark::None);
    expected[test::kDoublePressLap] = LapMark::Short;
    EXPECT_EQ(marks(buildLapSheet(in)), expected);

    ASSERT_EQ(corrections.apply({CorrectionKind::MergeIntoNext, test::kDoublePressLap}),
              CorrectionRefusal::None);
    in.run.view = viewRun(corrections);
    expected.assign(9, LapMark::None);
    expected[test::kDoublePressLap] = LapMark::Corrected;
    EXPECT_EQ(marks(buildLapSheet(in)), expected);
    EXPECT_EQ(marks(buildLapSheet(inputFor(runWithLaps({61.0, 62.0, 61.5})))),
              std::vector<LapMark>(3, LapMark::None));
}

TEST(LapSheet, HeaderOfAnUnsavedRunWithoutTargetOrRace) {
    const LapSheet sheet = buildLapSheet(inputFor(runWithLaps({60.0}), ""));
    EXPECT_EQ(sheet.header[2].value, "N.A.");
    EXPECT_EQ(sheet.header[3].value, texts::kNoValueText);
    EXPECT_EQ(sheet.header[5].value, texts::kUnsavedRunName);
    // One lap: no spread, no consistency.
    EXPECT_EQ(sheet.statistics[4].value, texts::kNoValueText);
    EXPECT_EQ(sheet.statistics[5].value, texts::kNoValueText);
    // Nor three laps for the best three and the pace.
    EXPECT_EQ(sheet.statistics[6].value, texts::kNoValueText);
    EXPECT_EQ(sheet.statistics[7].value, texts::kNoValueText);
    EXPECT_EQ(sheet.legend.size(), 2u);  // no target, no target mark explained
}

TEST(LapSheet, EveryCountedLapWithItsRoleColourAndMark) {
    struct Expect {
        int number;
        const char* time;
        LapRole role;
    };
    struct Case {
        const char* name;
        LapData data;
        std::vector<Expect> laps;
    };
    LapData sixtyFive = runWithLaps({}, kNoTargetTime);
    for (int i = 0; i < kLapSlots; ++i) sixtyFive.laps[static_cast<std::size_t>(i)] = 70.0 + i;
    sixtyFive.lapCount = 65;  // a file may claim more laps than there are slots
    const Case cases[] = {
        {"one lap is best and worst: worst wins",
         runWithLaps({61.23}),
         {{1, "01m01s23", LapRole::Worst}}},
        {"target, best and worst",
         runWithLaps({62.0, 60.5, 63.0, 61.0}, 61.0),
         {{1, "01m02s00", LapRole::None},
          {2, "01m00s50", LapRole::Best},
          {3, "01m03s00", LapRole::Worst},
          {4, "01m01s00", LapRole::Target}}},
        {"equal laps: the earlier one",
         runWithLaps({61.0, 61.0, 65.0, 65.0}),
         {{1, "01m01s00", LapRole::Best},
          {2, "01m01s00", LapRole::None},
          {3, "01m05s00", LapRole::Worst},
          {4, "01m05s00", LapRole::None}}},
        {"no laps", runWithLaps({}), {}},
    };
    for (const Case& c : cases) {
        const LapSheet sheet = buildLapSheet(inputFor(c.data));
        ASSERT_EQ(sheet.laps.size(), c.laps.size()) << c.name;
        for (std::size_t i = 0; i < c.laps.size(); ++i) {
            const SheetLap& lap = sheet.laps[i];
            EXPECT_EQ(lap.number, c.laps[i].number) << c.name;
            EXPECT_EQ(lap.timeText, c.laps[i].time) << c.name;
            EXPECT_EQ(lap.role, c.laps[i].role) << c.name << " lap " << lap.number;
            const std::uint32_t color = lap.role == LapRole::Worst    ? kCellWorst
                                        : lap.role == LapRole::Best   ? kCellBest
                                        : lap.role == LapRole::Target ? kCellTarget
                                                                      : kCellWhite;
            const std::string mark = lap.role == LapRole::Worst    ? texts::kWorstMark
                                     : lap.role == LapRole::Best   ? texts::kBestMark
                                     : lap.role == LapRole::Target ? texts::kTargetMark
                                                                   : "";
            EXPECT_EQ(lap.color, color) << c.name;
            EXPECT_EQ(lap.mark, mark) << c.name;
        }
    }
    const LapSheet full = buildLapSheet(inputFor(sixtyFive));
    ASSERT_EQ(full.laps.size(), 60u);
    EXPECT_EQ(full.laps[30].timeText, formatLapTime(100.0));  // lap 31 from the second column
    EXPECT_EQ(full.laps[59].timeText, formatLapTime(129.0));
    EXPECT_EQ(full.chart.size(), 60u);
}

// Random runs: every counted lap once, in order, with the window's time text, and the roles
// where the statistics put best and worst.
TEST(LapSheet, RandomRunsListEveryLapWithTheStatisticsRoles) {
    std::mt19937 random(7);
    for (int i = 0; i < 500; ++i) {
        LapData d;
        d.carId = static_cast<std::uint8_t>(random() % 256);
        d.lapCount = static_cast<std::uint8_t>(random() % 70);  // a file may claim more than 60
        d.targetTime = random() % 3 == 0 ? kNoTargetTime : 55.0 + (random() % 1000) / 100.0;
        for (double& lap : d.laps) lap = 55.0 + (random() % 1500) / 100.0;
        const LapSheet sheet = buildLapSheet(inputFor(d));
        const RunStatistics stats = runStatistics(d);
        ASSERT_EQ(static_cast<int>(sheet.laps.size()), countedLaps(d));
        for (int k = 0; k < stats.counted; ++k) {
            const SheetLap& lap = sheet.laps[static_cast<std::size_t>(k)];
            const double seconds = d.laps[static_cast<std::size_t>(k)];
            EXPECT_EQ(lap.number, k + 1);
            EXPECT_EQ(lap.timeText, formatLapTime(seconds));
            LapRole role = meetsTarget(d, seconds) ? LapRole::Target : LapRole::None;
            if (k == stats.bestIndex) role = LapRole::Best;
            if (k == stats.worstIndex) role = LapRole::Worst;
            EXPECT_EQ(lap.role, role) << "run " << i << " lap " << k + 1;
        }
        EXPECT_EQ(sheet.statistics[0].value, formatLapTime(stats.best));
        EXPECT_EQ(sheet.chart.size(), static_cast<std::size_t>(stats.counted));
    }
}

TEST(LapSheet, ChartIsTheWindowsTableWithOneNamedSeries) {
    const LapData data = runWithLaps({62.0, 60.5, 63.0});
    const LapSheet sheet = buildLapSheet(inputFor(data, "/x/b.krt"));
    EXPECT_EQ(sheet.chart, *buildLapView(data).chart);
    EXPECT_EQ(sheet.seriesNames, std::vector<std::string>{"b.krt"});
    EXPECT_FALSE(sheet.comparison);
    EXPECT_TRUE(buildLapSheet(inputFor(runWithLaps({}))).chart.empty());
}

TEST(LapSheet, ComparisonBringsBothSeriesTheDifferencesAndTheOtherRunsName) {
    const LapData loaded = runWithLaps({61.23, 62.0, 63.0});
    const LapData other = runWithLaps({60.0, 63.0, 62.0, 61.0, 64.0});
    SheetInput in = inputFor(loaded, "/x/mine.krt");
    in.comparison = SheetRun{viewRun(other), "C:\\y\\theirs.krt"};
    const LapSheet sheet = buildLapSheet(in);

    const ComparisonOutcome expected =
        buildComparison(loaded, buildLapView(loaded).stats, other, "theirs.krt");
    ASSERT_TRUE(sheet.comparison);
    EXPECT_EQ(sheet.comparison->runName, "theirs.krt");
    const std::vector<SheetField> differences = {
        {texts::kBestDifferenceCaption, "(+1.23sec)"},
        {texts::kWorstDifferenceCaption, expected.view.worstDifferenceText},
        {texts::kAverageDifferenceCaption, expected.view.averageDifferenceText},
    };
    EXPECT_EQ(sheet.comparison->differences, differences);
    EXPECT_EQ(sheet.chart, expected.view.chart);
    ASSERT_EQ(sheet.chart.size(), 5u);
    EXPECT_FALSE(sheet.chart[4].values[0]);  // the loaded run has no fifth lap
    EXPECT_EQ(sheet.seriesNames, (std::vector<std::string>{"mine.krt", "theirs.krt"}));
    EXPECT_FALSE(sheet.comparisonRefusal);
}

TEST(LapSheet, TheChartTitleNamesCarDateAndRun) {
    SheetInput in = inputFor(runWithLaps({61.0, 62.0}));
    in.run.fileName = "/runs/2026-12-10/145349-car07.krt";
    in.date = {2026, 12, 10, 14, 53, 49};
    EXPECT_EQ(buildLapSheet(in).chartTitle, "車番07  2026-12-10 14:53  145349-car07.krt");
}

TEST(LapSheet, ComparisonWithoutLapsIsRefusedAndTheSheetStaysSingle) {
    SheetInput in = inputFor(runWithLaps({61.0, 62.0}));
    in.comparison = SheetRun{viewRun(runWithLaps({})), "/y/empty.krt"};
    const LapSheet sheet = buildLapSheet(in);
    EXPECT_FALSE(sheet.comparison);
    ASSERT_TRUE(sheet.comparisonRefusal);
    EXPECT_EQ(*sheet.comparisonRefusal,
              (ToolRefusal{ToolRefusalCode::CompareNoLaps, "/y/empty.krt"}));
    EXPECT_EQ(sheet.seriesNames.size(), 1u);
}

TEST(LapSheet, MemoLineEndsBecomeNewlines) {
    const std::pair<const char*, const char*> cases[] = {
        {"", ""},
        {"一行", "一行"},
        {"a\r\nb", "a\nb"},
        {"a\rb\r", "a\nb\n"},
        {"a\n\r\nb", "a\n\nb"},
    };
    for (const auto& [memo, expected] : cases) {
        SheetInput in = inputFor(runWithLaps({60.0}));
        in.memo = memo;
        EXPECT_EQ(buildLapSheet(in).memo, expected) << memo;
    }
}

TEST(PageLayout, PartsFollowEachOtherInsideThePage) {
    LapData sixty = runWithLaps({});
    for (int i = 0; i < kLapSlots; ++i) sixty.laps[static_cast<std::size_t>(i)] = 60.0 + i % 7;
    sixty.lapCount = 60;
    for (Paper paper : {Paper::A4, Paper::Letter}) {
        for (int laps : {0, 1, 15, 16, 60}) {
            for (bool compare : {false, true}) {
                LapData data = sixty;
                data.lapCount = static_cast<std::uint8_t>(laps);
                SheetInput in = inputFor(data);
                if (compare) in.comparison = SheetRun{viewRun(sixty), "/o.krt"};
                const LapSheet sheet = buildLapSheet(in);
                const PageLayout p = layoutPage(sheet, paper);
                const std::string what = std::to_string(laps) + (compare ? " compared" : "");
                const SheetRect parts[] = {p.title, p.header,   p.statistics, p.comparison,
                                           p.chart, p.lapTable, p.legend};
                double y = 0;
                for (const SheetRect& r : parts) {
                    EXPECT_GE(r.y, y) << what;
                    EXPECT_GE(r.x, 10.0) << what;
                    EXPECT_LE(r.right(), p.pageWidth - 10.0) << what;
                    y = r.bottom();
                }
                // The memo goes below the legend, or beside the lap groups in use and the
                // legend under them, overlapping none of them.
                const auto apart = [](const SheetRect& a, const SheetRect& b) {
                    return a.right() <= b.x + 1e-9 || b.right() <= a.x + 1e-9 ||
                           a.bottom() <= b.y + 1e-9 || b.bottom() <= a.y + 1e-9;
                };
                EXPECT_GE(p.memo.y, p.chart.bottom()) << what;
                EXPECT_LE(p.memo.right(), p.pageWidth - 10.0) << what;
                EXPECT_TRUE(apart(p.memo, p.legend)) << what;
                for (int i = 0; i < laps; ++i) {
                    EXPECT_TRUE(apart(p.memo, lapCellRect(p, i))) << what << " lap " << i;
                }
                // Beside a short run's table the memo has most of the page's width.
                if (laps <= 15) {
                    EXPECT_GE(p.memo.width, p.pageWidth / 2) << what;
                }
                EXPECT_LE(p.memo.bottom(), p.pageHeight - 10.0) << what;
                EXPECT_GE(p.memo.height, 20.0) << what;
                EXPECT_GE(p.chart.height, 50.0) << what;
                EXPECT_EQ(p.comparison.height > 0, compare && laps > 0) << what;
                for (int i = 0; i < laps; ++i) {
                    const SheetRect cell = lapCellRect(p, i);
                    EXPECT_GE(cell.y, p.lapTable.y + p.rowHeight - 1e-9) << what << " lap " << i;
                    EXPECT_LE(cell.bottom(), p.lapTable.bottom() + 1e-9) << what << " lap " << i;
                    EXPECT_LE(cell.right(), p.lapTable.right() + 1e-9) << what << " lap " << i;
                }
            }
        }
    }
}

}  // namespace
}  // namespace korimet
