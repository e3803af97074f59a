#pragma once

#include <QObject>
#include <QString>

#include "session/run_session.h"

namespace korimet {

class Dialogs;

// File > Open, Save and Save As, and the template read at start-up. A failure is shown
// naming the file and leaves the run, the memo, the file name and the file on disk as they
// were.
class FileCommands : public QObject {
    Q_OBJECT
  public:
    FileCommands(RunSession& session, Dialogs& dialogs, QObject* parent = nullptr);

    // The start-up template from the working folder; a failure is one line on standard
    // error, since no window is up to show it.
    void readTemplateFile();

    void openDataFile();
    void saveDataFile();
    void saveDataFileAs();

    // Opens a run file exactly as File > Open does after its dialog: the library, drops and
    // the command line come in here. False when nothing was opened.
    bool openRunFile(const QString& path, RunOrigin origin = RunOrigin::File);

  private:
    bool writeRun(const QString& path);

    RunSession& session_;
    Dialogs& dialogs_;
};

}  // namespace korimet
