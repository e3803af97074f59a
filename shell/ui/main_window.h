#pragma once

#include <QMainWindow>
#include <QRect>
#include <memory>

#include "session/addition.h"
#include "session/dialogs.h"
#include "session/run_session.h"

class QLabel;
class QMenu;
class QStatusBar;
class QTimer;
class QToolBar;

namespace korimet {

class AnalysisCommands;
class DeviceLink;
class FileCommands;
class LapPanel;
class MemoPanel;
class RunStore;

// The frame: builds the parts around one run session, places their controls, wires the
// menus, the toolbar and the keys to their commands, and keeps the status bar, the clock
// and the window's placement. The parts own their controls and meet at the session.
class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    // Runs the load step: placement, template, grid. Opens no port. Without `dialogs` the
    // window asks through Qt's own.
    explicit MainWindow(std::unique_ptr<Dialogs> dialogs = nullptr, QWidget* parent = nullptr);
    ~MainWindow() override;

    RunSession& runSession() const { return *session_; }
    // The dialogs every part asks through; setDialogs replaces what answers them.
    Dialogs& dialogs() const { return *dialogs_; }
    void setDialogs(std::unique_ptr<Dialogs> dialogs) { dialogs_->replace(std::move(dialogs)); }

    LapPanel& lapPanel() const { return *lapPanel_; }
    MemoPanel& memoPanel() const { return *memoPanel_; }
    FileCommands& fileCommands() const { return *fileCommands_; }
    AnalysisCommands& analysisCommands() const { return *analysisCommands_; }
    DeviceLink& deviceLink() const { return *deviceLink_; }

    // What an addition attaches with; its commands go into the additions menu.
    Addition addition();
    // The one top-level menu of the additions, placed before ﾍﾙﾌﾟ; made on first use.
    QMenu& additionsMenu();

    // Shorthands for the session's state.
    const LapData& currentData() const { return session_->currentData(); }
    const LapData& comparisonData() const { return session_->comparisonData(); }
    const QString& currentFileName() const { return session_->currentFileName(); }

  protected:
    // The unload step: port, other windows, placement.
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void buildFrame();
    void placeControls();
    void fitDifferenceLabels();
    void setupCommandBars();
    void restorePlacement();
    void closeOtherWindows();
    void storePlacement();
    void fitFrameToPlacement();
    void updateClock();
    int px(double twips) const;

    RunSession* session_ = nullptr;  // owned by the window (Qt parent)
    RunStore* runStore_ = nullptr;   // owned by the window (Qt parent)
    std::unique_ptr<WindowDialogs> dialogs_;
    QRect placedFrame_;  // frame rectangle asked for at load, in pixels
    bool frameFitted_ = false;

    // The parts, each owned by its Qt parent.
    LapPanel* lapPanel_ = nullptr;
    MemoPanel* memoPanel_ = nullptr;
    FileCommands* fileCommands_ = nullptr;
    AnalysisCommands* analysisCommands_ = nullptr;
    DeviceLink* deviceLink_ = nullptr;
    QMenu* additionsMenu_ = nullptr;

    // The frame's own controls: layout name in the comment, each owned by its Qt parent.
    QWidget* client = nullptr;           // frmMainClient
    QToolBar* commandToolBar = nullptr;  // tbToolBar
    QLabel* contactLabel = nullptr;      // Label24
    QStatusBar* statusLine = nullptr;    // sbStatusBar
    QLabel* statusPanel = nullptr;
    QLabel* datePanel = nullptr;
    QLabel* timePanel = nullptr;
    QTimer* clockTimer = nullptr;
};

}  // namespace korimet
