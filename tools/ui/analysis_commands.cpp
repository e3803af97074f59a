#include "tools/ui/analysis_commands.h"

#include <QFile>
#include <QSettings>
#include <exception>

#include "common/ui/ui_text.h"
#include "corrections/run_view.h"
#include "corrections/settings/limit_settings.h"
#include "files/data_file.h"
#include "lapdata/ui/lap_chart.h"
#include "lapdata/ui/lap_panel.h"
#include "messages/ui/window_messages.h"
#include "session/dialogs.h"
#include "session/run_session.h"
#include "session/system_path.h"
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
        // The prompts are marked texts; the default is a number.
        return dialogs.inputText(uiText(prompt.c_str()), uiText(title.c_str()), qs(defaultText))
            .toStdString();
    };
}

void refuse(Dialogs& dialogs, const ToolRefusal& refusal) {
    dialogs.message(windowMessage(refusal), windowTitle(refusal), MessageIcon::Critical);
}

QString comparisonFilter() {
    return uiText(kCompareFilterName) + '|' + QString::fromUtf8(kCompareFilterPattern);
}

}  // namespace

AnalysisCommands::AnalysisCommands(RunSession& session, Dialogs& dialogs, LapPanel& lapPanel,
                                   QObject* parent)
    : QObject(parent), session_(session), dialogs_(dialogs), lapPanel_(lapPanel) {
    LapChart* chart = &lapPanel_.chart();
    connect(chart, &LapChart::axisClicked, this, &AnalysisCommands::editAxisScale);
    connect(chart, &LapChart::pointClicked, this, &AnalysisCommands::editChartPoint);
}

void AnalysisCommands::simulateRace() {
    const RaceSimulationOutcome outcome =
        korimet::simulateRace(session_.currentData(), askThrough(dialogs_));
    switch (outcome.action) {
        case RaceSimulationOutcome::Action::Refuse:
            refuse(dialogs_, outcome.refusal);
            break;
        case RaceSimulationOutcome::Action::KeepLine:
            break;
        case RaceSimulationOutcome::Action::SetLine:
            lapPanel_.setRaceLine(qs(outcome.line));
            break;
    }
}

void AnalysisCommands::compareData() {
    if (auto refusal = compareDataRefusal(session_.currentData())) {
        refuse(dialogs_, *refusal);
        return;
    }
    loadComparisonFile();
}

void AnalysisCommands::loadComparisonFile() {
    const QString path = dialogs_.askOpenPath(uiText(kCompareOpenTitle), comparisonFilter());
    if (path.isEmpty()) return;
    compareWithFile(path);
}

bool AnalysisCommands::compareWithFile(const QString& path) {
    // Read whole before anything is replaced: a broken file leaves the last comparison.
    // Only the laps count here: the other run's memo can neither refuse the file nor warn.
    const DataFileReadResult read = loadDataFile(systemPath(path), MemoField::Skip);
    if (!read) {
        dialogs_.message(windowMessage(read.error), uiText(kCompareTitle), MessageIcon::Critical);
        return false;
    }
    // The other run as its correction file makes it, as every other part reads a run.
    const RunViewRead other =
        readRunView(systemPath(path), read.content->data, readSuspectLimits(QSettings()));
    const ComparisonOutcome outcome = buildComparison(
        session_.currentData(), lapPanel_.statistics(), other.view.data, systemPath(path));
    if (outcome.refusal) {
        // Nothing is replaced, so the chart's table keeps describing what the chart shows.
        refuse(dialogs_, *outcome.refusal);
        return false;
    }
    const ComparisonView& view = outcome.view;
    lapPanel_.showComparison(view.chart, {view.bestDifferenceText, view.worstDifferenceText,
                                          view.averageDifferenceText});
    // Announced once the chart and labels show it.
    session_.replaceComparison(other.view, path);
    // Compared as downloaded; the user hears why once it is drawn.
    if (other.correctionError) {
        dialogs_.message(windowMessage(other.correctionError), uiText(kCompareTitle),
                         MessageIcon::Critical);
    }
    return true;
}

// Chart notifications arrive from the event loop: a failure ends the edit quietly and
// must never travel back through Qt.
void AnalysisCommands::editAxisScale(int axis) {
    LapChart& chart = lapPanel_.chart();
    try {
        const auto edit = korimet::editAxisScale(axis, chart.valueMinimum(), chart.valueMaximum(),
                                                 askThrough(dialogs_));
        if (!edit) return;
        chart.setFixedValueRange(edit->minimum, edit->maximum, edit->majorDivisions);
    } catch (const std::exception&) {
        // Dropped like any other failing step of the edit.
    }
}

void AnalysisCommands::editChartPoint(int series, int point) {
    LapChart& chart = lapPanel_.chart();
    try {
        const std::optional<double> current = chart.pointValue(series, point);
        if (!current) return;  // a gap or no such point: nothing to ask about
        if (auto value = korimet::editChartPoint(*current, askThrough(dialogs_))) {
            chart.setPointValue(series, point, *value);
        }
    } catch (const std::exception&) {
        // Dropped like any other failing step of the edit.
    }
}

}  // namespace korimet
