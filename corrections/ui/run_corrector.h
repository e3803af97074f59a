#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <vector>

#include "corrections/correction_file.h"
#include "corrections/lap_corrections.h"
#include "session/run_session.h"

namespace korimet {

class Dialogs;
class RunStore;
struct StoreCorrectionsSaved;

// The corrections of the shown run, between the session and the correction window. It reads
// a run's correction file when the run is opened, puts the corrected laps and the lap marks
// into the session, and keeps the file beside the run's own file up to date. The run's own
// bytes are never written here. The correction file is written by the run store on its own
// thread: while a write is under way the corrector is busy and takes no steps, so the racer
// never waits on a frozen window and steps never cross.
class RunCorrector : public QObject {
    Q_OBJECT
  public:
    RunCorrector(RunSession& session, Dialogs& dialogs, RunStore& store, QObject* parent);

    // False for the template, which is no run to correct.
    bool hasRun() const { return hasRun_; }
    const RunCorrections& corrections() const { return corrections_; }
    const SuspectLimits& limits() const { return limits_; }
    // Stored in the settings when they make sense; false (and nothing changes) otherwise.
    bool setLimits(const SuspectLimits& limits);
    // The file the corrections are kept in; empty while the run has no file.
    QString correctionFile() const;
    // What it asks and tells the user through; the correction window reports there too.
    Dialogs& dialogs() const { return dialogs_; }

    // A write of the correction file is under way; `changed` tells when it ends.
    bool busy() const { return job_ != 0; }

    // Applies the steps in turn; a step that does not apply to the laps is skipped. How
    // many were (all of them while busy). The steps are the corrector's once the file
    // holds them. Another program's change to the file refuses them all, with a message, and
    // the file's corrections are shown instead.
    int apply(const std::vector<Correction>& steps);
    bool undo();
    void undoAll();

  signals:
    void changed();

  private:
    // What a write is for: steps asked for, which become the corrector's when written; the
    // corrector's own, into the library's copy of a download; or none, after File > Save.
    enum class Writing { Steps, Kept, Replaced };

    void onRunReplaced(const RunChange& change);
    void onKeptFile(const QString& fileName);
    void onSaved(const QString& fileName);
    // The steps are the corrector's once the file holds them (or the run has no file to
    // keep them in); refused, the corrector holds what the file holds now.
    void commit(RunCorrections changed);
    // False when there is nothing to write: no file, or the racer would not have an unread
    // file replaced. Otherwise the store is asked and the corrector is busy.
    bool save(const RunCorrections& corrections, Writing writing);
    void onCorrectionsSaved(const StoreCorrectionsSaved& result);
    CorrectionFileError readFile();
    // After the steps changed: the session's laps and marks, the window.
    void publish();
    // The run as the session shows it: laps, marks and numbers.
    void showView();

    RunSession& session_;
    Dialogs& dialogs_;
    RunStore& store_;
    RunCorrections corrections_;
    SuspectLimits limits_;
    QString runFile_;  // the run's own file, empty for a download not kept yet
    bool hasRun_ = false;
    // The file's steps as last read or written here: a file another program changed since
    // is never written over.
    SeenSteps seen_ = std::vector<Correction>{};
    // A correction file that could not be read is replaced only when the user agrees.
    bool unreadFileThere_ = false;
    bool savingDeclined_ = false;
    // The store's write under way (0: none) and what it writes.
    std::uint64_t job_ = 0;
    Writing writing_ = Writing::Steps;
    RunCorrections written_;
};

}  // namespace korimet
