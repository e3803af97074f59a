#pragma once

#include <QByteArray>
#include <QMainWindow>
#include <QRect>
#include <QString>
#include <memory>

#include "device/frame_receiver.h"
#include "lapdata/lap_data.h"
#include "lapdata/lap_view_model.h"
#include "shell/ui/dialogs.h"

class QComboBox;
class QFrame;
class QLabel;
class QStatusBar;
class QTextEdit;
class QTimer;
class QToolBar;

namespace korimet {

class LapChart;
class LapGrid;

// What the window keeps between events. All zero or empty until the first redraw.
struct WindowState {
    LapData currentData;      // shown, saved, filled by downloads, File > Open, the template
    LapData comparisonData;   // the second run of a comparison
    QString currentFileName;  // where File > Save writes; empty: none yet
    double lapTotal = 0.0;
    double bestLap = 0.0;
    double worstLap = 0.0;
    double averageLap = 0.0;
    double raceTotal = 0.0;
    ChartTable chartData;  // the table last handed to the chart
};

// The one main window: owns the run records, the receiver and every control. Each
// subsystem defines its part of the window in its own ui/ folder; the sections below
// say where.
class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    // Runs the load step: placement, template, grid. Opens no port.
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // ---- Lap data view (lapdata/ui/show_lap_data.cpp) ----
    // Redraws grid, labels, chart and race line from currentData.
    void showLapData();

    // ---- Device link (device/ui/) ----
    // Every byte goes to the receiver in order; a good frame is shown before the next
    // byte is fed.
    void feedBytes(const QByteArray& bytes);

    // ---- Modal dialogs ----
    void setDialogs(std::unique_ptr<Dialogs> dialogs);
    Dialogs& dialogs() const { return *dialogs_; }

    // ---- State ----
    const LapData& currentData() const { return state_.currentData; }
    const LapData& comparisonData() const { return state_.comparisonData; }
    const QString& currentFileName() const { return state_.currentFileName; }
    double lapTotal() const { return state_.lapTotal; }
    double bestLap() const { return state_.bestLap; }
    double worstLap() const { return state_.worstLap; }
    double averageLap() const { return state_.averageLap; }
    double raceTotal() const { return state_.raceTotal; }
    const ChartTable& chartData() const { return state_.chartData; }

  protected:
    // The unload step: port, other windows, placement.
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

  private:
    // ---- Load and unload steps (shell/ui/main_window.cpp) ----
    void buildLayout();
    void restorePlacement();
    void readTemplateFile();
    void prepareLapGrid();
    void closePortIfOpen();
    void closeOtherWindows();
    void storePlacement();
    void fitFrameToPlacement();
    void updateClock();
    int px(double twips) const;

    // ---- State ----
    WindowState state_;
    FrameReceiver receiver_;
    std::unique_ptr<Dialogs> dialogs_;
    QRect placedFrame_;  // frame rectangle asked for at load, in pixels
    bool frameFitted_ = false;

    // ---- Controls: layout name in the comment, every one owned by its Qt parent ----
    QToolBar* commandToolBar = nullptr;  // tbToolBar
    QComboBox* portCombo = nullptr;      // Combo1
    QLabel* modelLabel = nullptr;        // Label2
    QLabel* versionLabel = nullptr;      // Label3
    QFrame* runBlockFrame = nullptr;     // Shape1
    QLabel* carIdCaption = nullptr;      // Label10
    QLabel* carIdLabel = nullptr;        // Label4
    QLabel* lapCountCaption = nullptr;   // Label11
    QLabel* lapCountLabel = nullptr;     // Label5
    QLabel* targetCaption = nullptr;     // Label1
    QLabel* targetLabel = nullptr;       // Label6
    QFrame* lapBlockFrame = nullptr;     // Shape4
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
    QTextEdit* memoBox = nullptr;        // RichTextBox1
    QLabel* contactLabel = nullptr;      // Label24
    QStatusBar* statusLine = nullptr;    // sbStatusBar
    QLabel* statusPanel = nullptr;
    QLabel* datePanel = nullptr;
    QLabel* timePanel = nullptr;
    QTimer* clockTimer = nullptr;
};

}  // namespace korimet
