#include "lapdata/ui/lap_panel.h"

#include <QFrame>
#include <QLabel>
#include <QPalette>
#include <array>

#include "common/ui/ui_fonts.h"
#include "common/ui/ui_text.h"
#include "lapdata/race_walk.h"
#include "lapdata/ui/lap_chart.h"
#include "lapdata/ui/lap_grid.h"
#include "lapdata/ui/lap_marks.h"
#include "lapdata/ui/lap_panel_texts.h"
#include "session/run_session.h"

namespace korimet {

namespace {

constexpr QRgb kShapeGrey = 0xC0C0C0;
constexpr QRgb kYellow = 0xFFFF00;
constexpr QRgb kBlue = 0x0000FF;
constexpr QRgb kRed = 0xFF0000;
constexpr QRgb kBlack = 0x000000;

// Row heights before and after the first run; the columns stay as designed.
constexpr double kRowTwipsAtStart = 230;
constexpr double kRowTwips = 220;
constexpr std::array<double, LapGrid::kColumns> kColumnTwips = {400, 900, 400, 900};

QString qs(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

LapPanel::LapPanel(RunSession& session, QWidget& host)
    : QObject(&host), session_(session), host_(host) {
    buildControls(host);
    connect(&session_, &RunSession::runReplaced, this, &LapPanel::onRunReplaced);
    connect(&session_, &RunSession::lapsCorrected, this, &LapPanel::showLapData);
    connect(&session_, &RunSession::lapMarksChanged, this, &LapPanel::showLapMarks);
    connect(&session_, &RunSession::languageChanged, this, &LapPanel::showRaceLine);
}

void LapPanel::buildControls(QWidget& host) {
    // Frames first, so that the labels inside them are drawn on top.
    auto makeFrame = [&host](const char* name) {
        auto* frame = new QFrame(&host);  // owned by the host
        frame->setObjectName(name);
        frame->setFrameStyle(QFrame::Box | QFrame::Plain);
        frame->setLineWidth(1);
        setTextColor(*frame, kShapeGrey);
        return frame;
    };
    controls_.runBlockFrame = makeFrame("Shape1");
    controls_.lapBlockFrame = makeFrame("Shape4");

    struct LabelLook {
        QLabel* LapPanelControls::*member;
        const char* name;
        const char* text;
        QRgb color;
        bool bold;
    };
    const LabelLook labels[] = {
        {&LapPanelControls::modelLabel, "Label2", "", kYellow, true},
        {&LapPanelControls::versionLabel, "Label3", "", kYellow, true},
        {&LapPanelControls::carIdCaption, "Label10", texts::kCarIdCaption, kBlack, true},
        {&LapPanelControls::carIdLabel, "Label4", "", kBlack, false},
        {&LapPanelControls::lapCountCaption, "Label11", texts::kLapCountCaption, kBlack, true},
        {&LapPanelControls::lapCountLabel, "Label5", "", kBlack, false},
        {&LapPanelControls::targetCaption, "Label1", texts::kTargetCaption, kBlack, true},
        {&LapPanelControls::targetLabel, "Label6", "", kYellow, false},
        {&LapPanelControls::bestCaption, "Label16", texts::kBestCaption, kBlack, true},
        {&LapPanelControls::bestLapLabel, "Label17", "", kBlue, false},
        {&LapPanelControls::bestDiffLabel, "Label25", "", kBlack, false},
        {&LapPanelControls::worstCaption, "Label20", texts::kWorstCaption, kBlack, true},
        {&LapPanelControls::worstLapLabel, "Label21", "", kRed, false},
        {&LapPanelControls::worstDiffLabel, "Label26", "", kBlack, false},
        {&LapPanelControls::averageCaption, "Label18", texts::kAverageCaption, kBlack, true},
        {&LapPanelControls::averageLapLabel, "Label19", "", kBlack, false},
        {&LapPanelControls::averageDiffLabel, "Label27", "", kBlack, false},
    };
    for (const LabelLook& entry : labels) {
        auto* label = new QLabel(&host);  // owned by the host
        if (*entry.text) setFixedText(label, entry.text);
        label->setObjectName(entry.name);
        label->setFont(japaneseGothicFont(12, entry.bold));
        setTextColor(*label, entry.color);
        controls_.*entry.member = label;
    }

    QLabel* raceLine = new QLabel(&host);  // owned by the host
    raceLine->setObjectName("Label7");
    QPalette white = raceLine->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    raceLine->setPalette(white);
    raceLine->setAutoFillBackground(true);
    controls_.raceLineLabel = raceLine;

    controls_.lapGrid = new LapGrid(&host);  // owned by the host
    controls_.lapGrid->setObjectName("MSFlexGrid1");
    controls_.lapGrid->setFont(japaneseGothicFont(9));
    lapMarks_ = new LapMarkDelegate(controls_.lapGrid);  // owned by the grid
    controls_.lapGrid->setItemDelegate(lapMarks_);

    controls_.lapChart = new LapChart(&host);  // owned by the host
    controls_.lapChart->setObjectName("MSChart1");
}

void LapPanel::onRunReplaced(const RunChange& change) {
    controls_.modelLabel->setText(session_.modelCaption());
    controls_.versionLabel->setText(session_.sourceCaption());
    lapMarks_->setMarks(session_.lapMarks());
    // The template fills the record before the grid is prepared and is not drawn.
    if (change.origin != RunOrigin::Template) showLapData();
}

void LapPanel::prepareLapGrid() {
    LapGrid& grid = *controls_.lapGrid;
    grid.setRowHeightTwips(-1, kRowTwipsAtStart);
    for (int c = 0; c < LapGrid::kColumns; ++c) {
        grid.setColWidthTwips(c, kColumnTwips[static_cast<std::size_t>(c)]);
    }
    const auto cells = emptyGridCells();
    for (int r = 0; r < LapGrid::kRows; ++r) {
        for (int c = 0; c < LapGrid::kColumns; ++c) {
            grid.setTextMatrix(r, c,
                               qs(cells[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]));
        }
    }
    grid.setVisible(false);
}

void LapPanel::showLapData() {
    const LapView view = buildLapView(session_.currentData());
    LapGrid& grid = *controls_.lapGrid;

    // Hidden while its cells are rewritten one by one, so no half-drawn table shows.
    grid.setVisible(false);
    grid.setRowHeightTwips(-1, kRowTwips);
    for (int c = 0; c < LapGrid::kColumns; ++c) {
        grid.setColWidthTwips(c, kColumnTwips[static_cast<std::size_t>(c)]);
    }
    for (std::size_t r = 0; r < view.cells.size(); ++r) {
        for (std::size_t c = 0; c < view.cells[r].size(); ++c) {
            const int row = static_cast<int>(r);
            const int column = static_cast<int>(c);
            grid.setTextMatrix(row, column, qs(view.cells[r][c]));
            if (row > 0) grid.setCellBackColor(row, column, view.colors[r][c]);
        }
    }

    statistics_ = view.stats;
    if (view.raceTotal) raceTotal_ = *view.raceTotal;
    if (view.chart) {
        chartData_ = *view.chart;
        controls_.lapChart->setChartData(chartData_);
    }
    controls_.lapChart->setVisible(view.chartVisible);

    controls_.carIdLabel->setText(qs(view.carText));
    controls_.lapCountLabel->setText(qs(view.lapCountText));
    controls_.targetLabel->setText(qs(view.targetText));
    controls_.bestLapLabel->setText(qs(view.bestText));
    controls_.worstLapLabel->setText(qs(view.worstText));
    controls_.averageLapLabel->setText(qs(view.averageText));
    controls_.bestDiffLabel->clear();
    controls_.worstDiffLabel->clear();
    controls_.averageDiffLabel->clear();
    setRaceLine(qs(view.raceLine));

    grid.setVisible(true);
    // Drawn now, before the next byte or event: a download shows the moment it arrives.
    host_.repaint();
}

void LapPanel::showLapMarks() {
    lapMarks_->setMarks(session_.lapMarks());
    controls_.lapGrid->viewport()->update();
}

void LapPanel::setRaceLine(const QString& line) {
    raceLine_ = line;
    showRaceLine();
}

// The line is made in Japanese by the core; only its word changes with the language, the
// minutes, laps and time stay as they are.
void LapPanel::showRaceLine() {
    QString shown = raceLine_;
    shown.replace(QString::fromUtf8(kRaceLineMinutesSuffix), uiText(kRaceLineMinutesSuffix));
    controls_.raceLineLabel->setText(shown);
}

void LapPanel::showComparison(const ChartTable& chart, const DifferenceTexts& differences) {
    chartData_ = chart;
    controls_.lapChart->setChartData(chartData_);
    controls_.lapChart->setVisible(true);
    controls_.bestDiffLabel->setText(qs(differences.best));
    controls_.worstDiffLabel->setText(qs(differences.worst));
    controls_.averageDiffLabel->setText(qs(differences.average));
    host_.repaint();
}

}  // namespace korimet
