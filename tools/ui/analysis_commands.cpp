#include <QFile>
#include <QLabel>
#include <exception>

#include "files/data_file.h"
#include "lapdata/ui/lap_chart.h"
#include "shell/ui/main_window.h"
#include "tools/chart_edit.h"
#include "tools/comparison.h"
#include "tools/race_simulation.h"
#include "tools/tool_texts.h"

namespace korimet {

namespace {

QString qs(const std::string& text) { return QString::fromStdString(text); }

// The cores ask through a plain function; the window answers with its own input box.
AskText askThrough(Dialogs& dialogs) {
    return [&dialogs](const std::string& prompt, const std::string& title,
                      const std::string& defaultText) {
        return dialogs.inputText(qs(prompt), qs(title), qs(defaultText)).toStdString();
    };
}

void refuse(Dialogs& dialogs, const ToolRefusal& refusal) {
    dialogs.message(qs(refusal.message), qs(refusal.title), MessageIcon::Critical);
}

QString comparisonFilter() {
    return QString::fromUtf8(kCompareFilterName) + '|' + QString::fromUtf8(kCompareFilterPattern);
}

}  // namespace

void MainWindow::simulateRace() {
    const RaceSimulationOutcome outcome =
        korimet::simulateRace(session_->currentData(), askThrough(dialogs()));
    switch (outcome.action) {
        case RaceSimulationOutcome::Action::Refuse:
            refuse(dialogs(), outcome.refusal);
            break;
        case RaceSimulationOutcome::Action::KeepLine:
            break;
        case RaceSimulationOutcome::Action::SetLine:
            raceLineLabel->setText(qs(outcome.line));
            break;
    }
}

void MainWindow::compareData() {
    if (auto refusal = compareDataRefusal(session_->currentData())) {
        refuse(dialogs(), *refusal);
        return;
    }
    loadComparisonFile();
}

void MainWindow::loadComparisonFile() {
    const QString path =
        dialogs().askOpenPath(QString::fromUtf8(kCompareOpenTitle), comparisonFilter());
    if (path.isEmpty()) return;
    readComparisonFile(path);
}

bool MainWindow::readComparisonFile(const QString& path) {
    // Read whole before anything is replaced: a broken file leaves the last comparison.
    // Only the laps count here: the other run's memo can neither refuse the file nor warn.
    const DataFileReadResult read =
        loadDataFile(QFile::encodeName(path).toStdString(), MemoField::Skip);
    if (!read) {
        dialogs().message(qs(read.error), QString::fromUtf8(kCompareTitle), MessageIcon::Critical);
        return false;
    }
    return showComparison(read.content->data, path);
}

bool MainWindow::showComparison(const LapData& comparison, const QString& fileName) {
    const LapStatistics loaded{state_.lapTotal, state_.bestLap, state_.worstLap, state_.averageLap};
    const ComparisonOutcome outcome =
        buildComparison(session_->currentData(), loaded, comparison, fileName.toStdString());
    if (outcome.refusal) {
        // Nothing is replaced, so chartData keeps describing what the chart shows.
        refuse(dialogs(), *outcome.refusal);
        return false;
    }
    const ComparisonView& view = outcome.view;
    state_.comparisonLapTotal = view.stats.comparisonLapTotal;
    state_.comparisonBestLap = view.stats.comparisonBestLap;
    state_.comparisonWorstLap = view.stats.comparisonWorstLap;
    state_.comparisonAverageLap = view.stats.comparisonAverageLap;
    state_.chartData = view.chart;
    lapChart->setChartData(state_.chartData);
    lapChart->setVisible(true);
    bestDiffLabel->setText(qs(view.bestDifferenceText));
    worstDiffLabel->setText(qs(view.worstDifferenceText));
    averageDiffLabel->setText(qs(view.averageDifferenceText));
    repaint();
    // Announced once the chart and labels show it.
    session_->replaceComparison(comparison, fileName);
    return true;
}

void MainWindow::setupChartEditing() {
    connect(lapChart, &LapChart::axisClicked, this, &MainWindow::editAxisScale);
    connect(lapChart, &LapChart::pointClicked, this, &MainWindow::editChartPoint);
}

// Chart notifications arrive from the event loop: a failure ends the edit quietly and
// must never travel back through Qt.
void MainWindow::editAxisScale(int axis) {
    try {
        const auto edit = korimet::editAxisScale(axis, lapChart->valueMinimum(),
                                                 lapChart->valueMaximum(), askThrough(dialogs()));
        if (!edit) return;
        lapChart->setFixedValueRange(edit->minimum, edit->maximum, edit->majorDivisions);
    } catch (const std::exception&) {
        // Dropped like any other failing step of the edit.
    }
}

void MainWindow::editChartPoint(int series, int point) {
    try {
        const std::optional<double> current = lapChart->pointValue(series, point);
        if (!current) return;  // a gap or no such point: nothing to ask about
        if (auto value = korimet::editChartPoint(*current, askThrough(dialogs()))) {
            lapChart->setPointValue(series, point, *value);
        }
    } catch (const std::exception&) {
        // Dropped like any other failing step of the edit.
    }
}

}  // namespace korimet
