#include <gtest/gtest.h>

#include <qcustomplot.h>
#include <QApplication>
#include <QMouseEvent>

#include "lapdata/ui/lap_chart.h"

namespace korimet {
namespace {

ChartTable lapTable(std::initializer_list<double> laps) {
    ChartTable table;
    int r = 0;
    for (double lap : laps) table.push_back({"lap" + std::to_string(r++), {lap}});
    return table;
}

class LapChartTest : public ::testing::Test {
  protected:
    void SetUp() override {
        chart.resize(450, 260);
        chart.show();
        QApplication::processEvents();
    }

    void click(QPointF at) {
        QWidget* target = chart.plot();
        const QPointF global = target->mapToGlobal(at);
        QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(target, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(target, &release);
    }

    LapChart chart;
};

TEST_F(LapChartTest, OneSeriesNamedCar1BeforeAnyData) {
    EXPECT_EQ(chart.seriesCount(), 1);
    EXPECT_EQ(chart.seriesName(0), "Car1");
    EXPECT_EQ(chart.pointCount(0), 0);
}

TEST_F(LapChartTest, TableReplacesEverythingAndEmptyCellsAreGaps) {
    chart.setChartData(
        {{"lap0", {61.0, 60.5}}, {"Best", {std::nullopt, 59.0}}, {"Worst", {64.0, std::nullopt}}});
    ASSERT_EQ(chart.seriesCount(), 2);
    EXPECT_EQ(chart.seriesName(1), "Car2");
    EXPECT_EQ(chart.categoryLabels(), (QStringList{"lap0", "Best", "Worst"}));
    EXPECT_EQ(chart.pointValue(0, 0), 61.0);
    EXPECT_EQ(chart.pointValue(0, 1), std::nullopt);
    EXPECT_EQ(chart.pointValue(1, 2), std::nullopt);
    EXPECT_EQ(chart.pointValue(1, 1), 59.0);

    chart.setChartData(lapTable({70.0, 71.0}));
    ASSERT_EQ(chart.seriesCount(), 1);
    EXPECT_EQ(chart.pointCount(0), 2);
    EXPECT_EQ(chart.categoryLabels(), (QStringList{"lap0", "lap1"}));
    auto* ticker = dynamic_cast<QCPAxisTickerText*>(chart.plot()->xAxis->ticker().data());
    ASSERT_NE(ticker, nullptr);
    EXPECT_EQ(ticker->ticks().value(1), "lap1");
}

TEST_F(LapChartTest, ValueAxisHugsTheLapsSoTenthsShow) {
    chart.setChartData(lapTable({61.2, 61.5, 61.3}));
    EXPECT_GT(chart.valueMinimum(), 60.0);
    EXPECT_LT(chart.valueMinimum(), 61.2);
    EXPECT_GT(chart.valueMaximum(), 61.5);
    EXPECT_LT(chart.valueMaximum(), 62.5);
    // One lap alone still gets a range around it.
    chart.setChartData(lapTable({75.0}));
    EXPECT_LT(chart.valueMinimum(), 75.0);
    EXPECT_GT(chart.valueMaximum(), 75.0);
}

TEST_F(LapChartTest, FixedRangeSurvivesLaterTablesUntilAutoIsAsked) {
    chart.setFixedValueRange(60.0, 120.0);
    chart.setChartData(lapTable({30.0, 200.0}));
    EXPECT_TRUE(chart.isValueRangeFixed());
    EXPECT_DOUBLE_EQ(chart.valueMinimum(), 60.0);
    EXPECT_DOUBLE_EQ(chart.valueMaximum(), 120.0);
    auto* ticker = dynamic_cast<QCPAxisTickerFixed*>(chart.plot()->yAxis->ticker().data());
    ASSERT_NE(ticker, nullptr);
    EXPECT_DOUBLE_EQ(ticker->tickStep(), 6.0);  // 10 major divisions
    chart.setAutoValueRange();
    EXPECT_FALSE(chart.isValueRangeFixed());
    EXPECT_LT(chart.valueMinimum(), 30.0);
    EXPECT_GT(chart.valueMaximum(), 200.0);
}

TEST_F(LapChartTest, SecondaryAxisFollowsTheValueAxis) {
    chart.setChartData(lapTable({61.0, 65.0}));
    EXPECT_EQ(chart.plot()->yAxis2->range(), chart.plot()->yAxis->range());
    chart.setFixedValueRange(50.0, 70.0);
    EXPECT_EQ(chart.plot()->yAxis2->range(), chart.plot()->yAxis->range());
}

TEST_F(LapChartTest, PointValueChangesThePlotOnly) {
    const ChartTable table = lapTable({61.0, 62.0, 63.0});
    chart.setChartData(table);
    EXPECT_TRUE(chart.setPointValue(0, 1, 90.0));
    EXPECT_EQ(chart.pointValue(0, 1), 90.0);
    EXPECT_GT(chart.valueMaximum(), 90.0);
    EXPECT_EQ(table[1].values[0], 62.0);
    EXPECT_FALSE(chart.setPointValue(0, 3, 1.0));
    EXPECT_FALSE(chart.setPointValue(1, 0, 1.0));
    EXPECT_FALSE(chart.setPointValue(0, 0, std::numeric_limits<double>::quiet_NaN()));
}

TEST_F(LapChartTest, ManyLapsKeepBestAndWorstLabelsReadable) {
    ChartTable table = lapTable({});
    for (int r = 0; r < 60; ++r) table.push_back({"lap" + std::to_string(r), {60.0 + r % 7}});
    table[17].label = "Best";
    table[42].label = "Worst";
    chart.setChartData(table);
    const QStringList shown = chart.shownCategoryLabels();
    EXPECT_TRUE(shown.contains("Best"));
    EXPECT_TRUE(shown.contains("Worst"));
    EXPECT_EQ(chart.categoryLabels().size(), 60);
}

TEST_F(LapChartTest, AxisClicksReportTheAxisIdentifier) {
    chart.setChartData(lapTable({61.0, 62.0, 63.0}));
    chart.plot()->replot();
    std::vector<int> ids;
    QObject::connect(&chart, &LapChart::axisClicked, [&ids](int id) { ids.push_back(id); });
    const QRect plotArea = chart.plot()->axisRect()->rect();
    const struct {
        QPointF at;
        int id;
    } cases[] = {{{plotArea.left() - 3.0, plotArea.center().y() * 1.0}, 1},
                 {{plotArea.right() + 4.0, plotArea.center().y() * 1.0}, 2},
                 {{plotArea.center().x() * 1.0, plotArea.bottom() + 4.0}, 0}};
    for (const auto& c : cases) {
        ids.clear();
        click(c.at);
        EXPECT_EQ(ids, std::vector<int>{c.id});
    }
}

TEST_F(LapChartTest, PointClickReportsSeriesAndPoint) {
    chart.setChartData({{"lap0", {61.0, 66.0}}, {"lap1", {62.0, 64.0}}, {"lap2", {63.0, 65.0}}});
    chart.plot()->replot();
    std::vector<std::pair<int, int>> picks;
    QObject::connect(&chart, &LapChart::pointClicked,
                     [&picks](int series, int point) { picks.emplace_back(series, point); });
    // The middle point: the legend sits over the top right corner.
    click(chart.plot()->graph(1)->coordsToPixels(1, 64.0));
    click(chart.plot()->graph(0)->coordsToPixels(0, 61.0));
    EXPECT_EQ(picks, (std::vector<std::pair<int, int>>{{1, 1}, {0, 0}}));
}

TEST_F(LapChartTest, TheLegendOfAComparisonCoversNoPoint) {
    chart.setChartData(lapTable({61.0, 62.0, 63.0}));
    chart.plot()->replot();
    const QRect aloneArea = chart.plot()->axisRect()->rect();

    // The second run's slowest laps at the right, where a corner legend used to sit.
    ChartTable table;
    for (int r = 0; r < 12; ++r) {
        table.push_back({"lap" + std::to_string(r), {60.0 + 0.1 * r, 60.0 + 0.5 * r}});
    }
    chart.setChartData(table);
    chart.plot()->replot();
    const QCPLegend* legend = chart.plot()->legend;
    ASSERT_TRUE(legend->visible());
    const QRect legendRect = legend->outerRect();
    ASSERT_FALSE(legendRect.isEmpty());
    EXPECT_FALSE(legendRect.intersects(chart.plot()->axisRect()->rect()));
    for (int s = 0; s < 2; ++s) {
        for (int p = 0; p < 12; ++p) {
            const QPointF at = chart.plot()->graph(s)->coordsToPixels(p, *chart.pointValue(s, p));
            EXPECT_FALSE(legendRect.contains(at.toPoint())) << s << "," << p;
        }
    }

    // One run again: no legend, and the plot gets its whole height back.
    chart.setChartData(lapTable({61.0, 62.0, 63.0}));
    chart.plot()->replot();
    EXPECT_FALSE(chart.plot()->legend->visible());
    EXPECT_EQ(chart.plot()->axisRect()->rect(), aloneArea);
}

}  // namespace
}  // namespace korimet
