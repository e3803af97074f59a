#include <QLabel>
#include <array>

#include "lapdata/ui/lap_chart.h"
#include "lapdata/ui/lap_grid.h"
#include "shell/ui/main_window.h"

namespace korimet {

namespace {

constexpr double kRowTwips = 220;
constexpr std::array<double, LapGrid::kColumns> kColumnTwips = {400, 900, 400, 900};

QString qs(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

void MainWindow::showLapData() {
    const LapView view = buildLapView(session_->currentData());

    // Hidden while its cells are rewritten one by one, so no half-drawn table shows.
    lapGrid->setVisible(false);
    lapGrid->setRowHeightTwips(-1, kRowTwips);
    for (int c = 0; c < LapGrid::kColumns; ++c) {
        lapGrid->setColWidthTwips(c, kColumnTwips[static_cast<std::size_t>(c)]);
    }
    for (std::size_t r = 0; r < view.cells.size(); ++r) {
        for (std::size_t c = 0; c < view.cells[r].size(); ++c) {
            const int row = static_cast<int>(r);
            const int column = static_cast<int>(c);
            lapGrid->setTextMatrix(row, column, qs(view.cells[r][c]));
            if (row > 0) lapGrid->setCellBackColor(row, column, view.colors[r][c]);
        }
    }

    state_.lapTotal = view.stats.lapTotal;
    state_.bestLap = view.stats.bestLap;
    state_.worstLap = view.stats.worstLap;
    state_.averageLap = view.stats.averageLap;
    if (view.raceTotal) state_.raceTotal = *view.raceTotal;
    if (view.chart) {
        state_.chartData = *view.chart;
        lapChart->setChartData(state_.chartData);
    }
    lapChart->setVisible(view.chartVisible);

    carIdLabel->setText(qs(view.carText));
    lapCountLabel->setText(qs(view.lapCountText));
    targetLabel->setText(qs(view.targetText));
    bestLapLabel->setText(qs(view.bestText));
    worstLapLabel->setText(qs(view.worstText));
    averageLapLabel->setText(qs(view.averageText));
    bestDiffLabel->clear();
    worstDiffLabel->clear();
    averageDiffLabel->clear();
    raceLineLabel->setText(qs(view.raceLine));

    lapGrid->setVisible(true);
    repaint();
}

}  // namespace korimet
