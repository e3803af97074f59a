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
#include "shell/ui/run_session.h"

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
class PortSelection;
class SerialPortSurface;

// What the window keeps between events besides the runs (those are the RunSession's).
// All zero or empty until the first redraw.
struct WindowState {
    double lapTotal = 0.0;
    double bestLap = 0.0;
    double worstLap = 0.0;
    double averageLap = 0.0;
    double raceTotal = 0.0;
    ChartTable chartData;  // the table last handed to the chart
    // Statistics of the last comparison run; nothing outside the comparison reads them.
    double comparisonLapTotal = 0.0;
    double comparisonBestLap = 0.0;
    double comparisonWorstLap = 0.0;
    double comparisonAverageLap = 0.0;
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

    // ---- Commands: the menu bar, the toolbar and shortcut keys run these ----
    // Data files (files/ui/file_commands.cpp)
    void openDataFile();
    void saveDataFile();
    void saveDataFileAs();
    // Analysis tools (tools/ui/analysis_commands.cpp)
    void simulateRace();
    void compareData();
    // Port selection (device/ui/port_commands.cpp): COM1..COM8 from the menu
    void openPortFromMenu(int portNumber);
    // Edit, Exit, About, placeholders (shell/ui/command_bars.cpp)
    void cutMemo();
    void copyMemo();
    void pasteMemo();
    void showAboutBox();

    // ---- Modal dialogs ----
    void setDialogs(std::unique_ptr<Dialogs> dialogs);
    Dialogs& dialogs() const { return *dialogs_; }

    // ---- State ----
    // The shown run, the comparison run and the file name; additions meet the window here.
    RunSession& runSession() const { return *session_; }
    const LapData& currentData() const { return session_->currentData(); }
    const LapData& comparisonData() const { return session_->comparisonData(); }
    const QString& currentFileName() const { return session_->currentFileName(); }
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
    void fitDifferenceLabels();
    void restorePlacement();
    void readTemplateFile();
    void prepareLapGrid();
    void closePortIfOpen();
    void closeOtherWindows();
    void storePlacement();
    void fitFrameToPlacement();
    // Each subsystem's share of the window, called once from the constructor.
    void setupCommandBars();   // shell/ui/command_bars.cpp: menu bar and toolbar
    void setupDeviceLink();    // device/ui/port_commands.cpp: port, combo, receive event
    void setupChartEditing();  // tools/ui/analysis_commands.cpp: axis and point dialogs
    void setupRunSession();    // shell/ui/main_window.cpp: redraw on replacement, the doors
    void updateClock();
    int px(double twips) const;

    // ---- Data files (files/ui/file_commands.cpp) ----
    // File > Open after its dialog; the session's open door.
    bool readRunFile(const QString& path, RunOrigin origin);

    // ---- Analysis tools (tools/ui/analysis_commands.cpp) ----
    void loadComparisonFile();
    // The comparison after its dialog; the session's compare door.
    bool readComparisonFile(const QString& path);
    bool showComparison(const LapData& comparison, const QString& fileName);
    void editAxisScale(int axis);
    void editChartPoint(int series, int point);

    // ---- State ----
    WindowState state_;
    RunSession* session_ = nullptr;  // owned by the window (Qt parent)
    FrameReceiver receiver_;
    std::unique_ptr<Dialogs> dialogs_;
    SerialPortSurface* port_ = nullptr;       // owned by the window (Qt parent)
    PortSelection* portSelection_ = nullptr;  // owned by the window (Qt parent)
    QRect placedFrame_;                       // frame rectangle asked for at load, in pixels
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
