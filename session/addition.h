#pragma once

class QMenu;
class QWidget;

namespace korimet {

class AnalysisCommands;
class Dialogs;
class FileCommands;
class RunSession;
class RunStore;

// What a feature added beside the window is given: the session, the dialogs, the two
// parts that open and compare runs, its menu, the window its own windows belong to, and the
// run store.
// It gets nothing else of the window.
struct Addition {
    RunSession& session;
    Dialogs& dialogs;
    FileCommands& files;         // opens a run as File > Open does
    AnalysisCommands& analysis;  // compares with a file as the comparison does
    QMenu& menu;                 // the additions menu, before ﾍﾙﾌﾟ
    QWidget& window;             // parent of the addition's own windows
    RunStore& runs;              // the run library: its rows and every file job on them
};

}  // namespace korimet
