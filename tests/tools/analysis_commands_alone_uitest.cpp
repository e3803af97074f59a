#include <gtest/gtest.h>

#include <QLabel>
#include <QTemporaryDir>
#include <QWidget>
#include <string>
#include <vector>

#include "files/data_file.h"
#include "lapdata/ui/lap_chart.h"
#include "lapdata/ui/lap_panel.h"
#include "session/run_session.h"
#include "support/fake_dialogs.h"
#include "support/frames.h"
#include "tools/comparison.h"
#include "tools/race_simulation.h"
#include "tools/ui/analysis_commands.h"

namespace korimet {
namespace {

using test::FakeDialogs;
using test::runWithLaps;

// The analysis commands alone: a session, fake dialogs, a bare widget hosting the lap panel
// they write to.
class AnalysisCommandsAlone : public ::testing::Test {
  protected:
    void SetUp() override {
        NewRun run;
        run.data = shown;
        run.origin = RunOrigin::Timer;
        session.replaceRun(run);
    }
    QString saved(const char* name, const LapData& data) {
        const QString path = dir.filePath(QString::fromUtf8(name));
        EXPECT_TRUE(saveDataFile(path.toStdString(), data, ""));
        return path;
    }
    const LapPanelControls& c() const { return panel.controls(); }

    QTemporaryDir dir;
    const LapData shown = runWithLaps({61.23, 62.5, 60.0});
    RunSession session;
    FakeDialogs dialogs;
    QWidget host;
    LapPanel panel{session, host};
    AnalysisCommands analysis{session, dialogs, panel};
};

TEST_F(AnalysisCommandsAlone, TheRaceLineOfTheAnswerReachesThePanel) {
    dialogs.answers = {"25"};
    analysis.simulateRace();
    const RaceSimulationOutcome expected = simulateRace(
        shown, [](const std::string&, const std::string&, const std::string&) { return "25"; });
    ASSERT_EQ(expected.action, RaceSimulationOutcome::Action::SetLine);
    EXPECT_EQ(c().raceLineLabel->text(), QString::fromStdString(expected.line));

    // Cancelled: the line stays.
    analysis.simulateRace();
    EXPECT_EQ(c().raceLineLabel->text(), QString::fromStdString(expected.line));
}

TEST_F(AnalysisCommandsAlone, AComparisonIsShownThenAnnounced) {
    const LapData other = runWithLaps({60.0, 63.0});
    const QString file = saved("other.krt", other);
    std::vector<QString> shownWhenAnnounced;
    QObject::connect(&session, &RunSession::comparisonReplaced, [&](const QString& name) {
        shownWhenAnnounced.push_back(name + " " + c().bestDiffLabel->text());
    });
    dialogs.answers = {file};
    analysis.compareData();

    const ComparisonOutcome expected =
        buildComparison(shown, panel.statistics(), other, file.toStdString());
    ASSERT_FALSE(expected.refusal);
    const QString best = QString::fromStdString(expected.view.bestDifferenceText);
    EXPECT_EQ(c().bestDiffLabel->text(), best);
    EXPECT_EQ(c().worstDiffLabel->text(),
              QString::fromStdString(expected.view.worstDifferenceText));
    EXPECT_EQ(c().averageDiffLabel->text(),
              QString::fromStdString(expected.view.averageDifferenceText));
    EXPECT_EQ(panel.chartData(), expected.view.chart);
    EXPECT_EQ(panel.chart().seriesCount(), 2);
    EXPECT_EQ(shownWhenAnnounced, std::vector<QString>{file + " " + best});
    EXPECT_EQ(session.comparisonData(), other);
}

TEST_F(AnalysisCommandsAlone, WhatCannotBeComparedLeavesTheDisplayAndTheSession) {
    const struct {
        const char* name;
        bool writeFile;
        LapData data;
    } cases[] = {
        {"missing.krt", false, {}},
        {"empty.krt", true, runWithLaps({})},
    };
    for (const auto& c_ : cases) {
        SCOPED_TRACE(c_.name);
        const QString file = c_.writeFile ? saved(c_.name, c_.data) : dir.filePath(c_.name);
        dialogs.calls.clear();
        EXPECT_FALSE(analysis.compareWithFile(file));
        ASSERT_EQ(dialogs.calls.size(), 1u);
        EXPECT_EQ(dialogs.calls[0].icon, MessageIcon::Critical);
        EXPECT_FALSE(session.hasComparison());
        EXPECT_TRUE(c().bestDiffLabel->text().isEmpty());
        EXPECT_EQ(panel.chart().seriesCount(), 1);
    }
}

TEST_F(AnalysisCommandsAlone, AxisAndPointEditsChangeTheChartOnly) {
    dialogs.answers = {"70", "50"};  // maximum, then minimum
    emit panel.chart().axisClicked(LapChart::kValueAxis);
    EXPECT_TRUE(panel.chart().isValueRangeFixed());
    EXPECT_DOUBLE_EQ(panel.chart().valueMaximum(), 70.0);
    EXPECT_DOUBLE_EQ(panel.chart().valueMinimum(), 50.0);

    dialogs.answers = {"65.5"};
    emit panel.chart().pointClicked(0, 1);
    EXPECT_EQ(panel.chart().pointValue(0, 1), 65.5);
    EXPECT_EQ(session.currentData(), shown);
    EXPECT_EQ(panel.chartData()[1].values[0], 62.5);
}

}  // namespace
}  // namespace korimet
