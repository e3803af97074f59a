#pragma once

#include <QObject>
#include <QString>
#include <string>

#include "lapdata/lap_view_model.h"

class QFrame;
class QLabel;
class QWidget;

namespace korimet {

class LapChart;
class LapGrid;
class LapMarkDelegate;
class RunSession;
struct RunChange;

// The three difference texts of a comparison: Label25, Label26, Label27.
struct DifferenceTexts {
    std::string best;
    std::string worst;
    std::string average;
};

// The controls the lap panel owns (all children of its host), layout name in the comment.
struct LapPanelControls {
    QLabel* modelLabel = nullptr;        // Label2
    QLabel* versionLabel = nullptr;      // Label3
    QFrame* runBlockFrame = nullptr;     // Shape1
    QFrame* lapBlockFrame = nullptr;     // Shape4
    QLabel* carIdCaption = nullptr;      // Label10
    QLabel* carIdLabel = nullptr;        // Label4
    QLabel* lapCountCaption = nullptr;   // Label11
    QLabel* lapCountLabel = nullptr;     // Label5
    QLabel* targetCaption = nullptr;     // Label1
    QLabel* targetLabel = nullptr;       // Label6
    QLabel* bestCaption = nullptr;       // Label16
    QLabel* bestLapLabel = nullptr;      // Label17
    QLabel* bestDiffLabel = nullptr;     // Label25
    QLabel* worstCaption = nullptr;      // Label20
    QLabel* worstLapLabel = nullptr;     // Label21
    QLabel* worstDiffLabel = nullptr;    // Label26
    QLabel* averageCaption = nullptr;    // Label18
    QLabel* averageLapLabel = nullptr;   // Label19
    QLabel* averageDiffLabel = nullptr;  // Label27
    QLabel* raceLineLabel = nullptr;     // Label7
    LapGrid* lapGrid = nullptr;          // MSFlexGrid1
    LapChart* lapChart = nullptr;        // MSChart1
};

// The shown run: the source captions, the statistics and difference labels, the race
// line, the lap grid and the chart. It redraws itself from the session whenever the run is
// replaced (the template only fills the record and is not drawn) and keeps what the last
// redraw computed, which the comparison reads.
class LapPanel : public QObject {
    Q_OBJECT
  public:
    // Builds its controls as children of `host`; where they sit is the host's business.
    LapPanel(RunSession& session, QWidget& host);

    const LapPanelControls& controls() const { return controls_; }
    LapChart& chart() const { return *controls_.lapChart; }

    // Redraws grid, labels, chart and race line from the session's run.
    void showLapData();
    // The grid before any run: header, lap numbers, placeholder times; hidden.
    void prepareLapGrid();

    // What the last redraw left: all zero until the first one.
    const LapStatistics& statistics() const { return statistics_; }
    double raceTotal() const { return raceTotal_; }
    const ChartTable& chartData() const { return chartData_; }

    // Label7: the race line as the core made it, in Japanese; shown in the window's language.
    void setRaceLine(const QString& line);
    // A comparison's two-series table and its difference texts, until the next redraw.
    void showComparison(const ChartTable& chart, const DifferenceTexts& differences);

  private:
    void buildControls(QWidget& host);
    void onRunReplaced(const RunChange& change);
    void showLapMarks();
    void showRaceLine();

    RunSession& session_;
    QWidget& host_;
    LapPanelControls controls_;
    LapStatistics statistics_;
    double raceTotal_ = 0.0;
    QString raceLine_;                     // Label7 as the core made it
    ChartTable chartData_;                 // the table last handed to the chart
    LapMarkDelegate* lapMarks_ = nullptr;  // owned by the grid
};

}  // namespace korimet
