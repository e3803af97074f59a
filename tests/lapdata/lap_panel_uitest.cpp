#include <gtest/gtest.h>

#include <QLabel>
#include <QWidget>

#include "lapdata/lap_time.h"
#include "lapdata/ui/lap_chart.h"
#include "lapdata/ui/lap_grid.h"
#include "lapdata/ui/lap_panel.h"
#include "session/run_session.h"
#include "support/frames.h"

namespace korimet {
namespace {

using test::runWithLaps;

// The lap panel alone: a session and a bare widget to host its controls.
class LapPanelAlone : public ::testing::Test {
  protected:
    void replace(const LapData& data, RunOrigin origin, std::optional<QString> model = {},
                 std::optional<QString> source = {}) {
        NewRun run;
        run.data = data;
        run.origin = origin;
        run.modelCaption = std::move(model);
        run.sourceCaption = std::move(source);
        session.replaceRun(run);
    }
    const LapPanelControls& c() const { return panel.controls(); }

    RunSession session;
    QWidget host;
    LapPanel panel{session, host};
};

TEST_F(LapPanelAlone, ItsControlsLiveInTheHostUnderTheirLayoutNames) {
    for (const char* name : {"Label2",  "Label3",  "Shape1",      "Shape4",  "Label10", "Label4",
                             "Label11", "Label5",  "Label1",      "Label6",  "Label16", "Label17",
                             "Label25", "Label20", "Label21",     "Label26", "Label18", "Label19",
                             "Label27", "Label7",  "MSFlexGrid1", "MSChart1"}) {
        const QWidget* control = host.findChild<QWidget*>(name);
        ASSERT_NE(control, nullptr) << name;
        EXPECT_EQ(control->parentWidget(), &host) << name;
    }
}

TEST_F(LapPanelAlone, EveryRunButTheTemplateIsDrawnWithItsCaptions) {
    panel.prepareLapGrid();
    replace(runWithLaps({61.5, 60.25, 62.0}), RunOrigin::Template);
    EXPECT_FALSE(c().lapGrid->isVisibleTo(&host));
    EXPECT_TRUE(c().bestLapLabel->text().isEmpty());
    EXPECT_EQ(panel.statistics(), LapStatistics{});

    const struct {
        RunOrigin origin;
        std::optional<QString> model;
        const char* shownModel;
    } cases[] = {
        {RunOrigin::Timer, QString("LT-1"), "LT-1"},
        {RunOrigin::Timer, std::nullopt, "LT-1"},  // a model without a name keeps the last
        {RunOrigin::File, QString("Load Data"), "Load Data"},
        {RunOrigin::Library, QString("Load Data"), "Load Data"},
    };
    double best = 60.25;
    for (const auto& c_ : cases) {
        SCOPED_TRACE(c_.shownModel);
        best -= 0.5;
        replace(runWithLaps({61.5, best, 62.0}), c_.origin, c_.model, QString("source"));
        EXPECT_TRUE(c().lapGrid->isVisibleTo(&host));
        EXPECT_EQ(c().modelLabel->text(), c_.shownModel);
        EXPECT_EQ(c().versionLabel->text(), "source");
        EXPECT_DOUBLE_EQ(panel.statistics().bestLap, best);
        EXPECT_DOUBLE_EQ(panel.statistics().worstLap, 62.0);
        EXPECT_EQ(c().lapGrid->textMatrix(2, 1), QString::fromStdString(formatLapTime(best)));
        EXPECT_EQ(panel.chartData().size(), 3u);
    }
}

TEST_F(LapPanelAlone, AComparisonShowsUntilTheNextRunIsDrawn) {
    replace(runWithLaps({61.0, 62.0}), RunOrigin::Timer);
    const ChartTable twoSeries = {{"lap1", {61.0, 60.0}}, {"lap2", {62.0, 63.0}}};
    panel.showComparison(twoSeries, {"(+1.00sec)", "(▼1.00sec)", "(+.sec)"});
    EXPECT_EQ(panel.chartData(), twoSeries);
    EXPECT_EQ(panel.chart().seriesCount(), 2);
    EXPECT_EQ(c().bestDiffLabel->text(), "(+1.00sec)");
    EXPECT_EQ(c().worstDiffLabel->text(), QString::fromUtf8("(▼1.00sec)"));
    EXPECT_EQ(c().averageDiffLabel->text(), "(+.sec)");
    panel.setRaceLine("kept by the comparison");

    replace(runWithLaps({59.0}), RunOrigin::Timer);
    EXPECT_EQ(panel.chart().seriesCount(), 1);
    for (const QLabel* label : {c().bestDiffLabel, c().worstDiffLabel, c().averageDiffLabel}) {
        EXPECT_TRUE(label->text().isEmpty()) << label->objectName().toStdString();
    }
    EXPECT_NE(c().raceLineLabel->text(), "kept by the comparison");
}

}  // namespace
}  // namespace korimet
