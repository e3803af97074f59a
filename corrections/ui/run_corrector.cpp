#include "corrections/ui/run_corrector.h"

#include <QFileInfo>
#include <QSettings>
#include <exception>

#include "common/ui/ui_text.h"
#include "corrections/correction_file.h"
#include "corrections/run_view.h"
#include "corrections/settings/limit_settings.h"
#include "corrections/ui/correction_texts.h"
#include "library/store/run_store.h"
#include "messages/ui/window_messages.h"
#include "session/dialogs.h"
#include "session/system_path.h"

namespace korimet {

namespace {

QString qs(const char* text) { return uiText(text); }

}  // namespace

RunCorrector::RunCorrector(RunSession& session, Dialogs& dialogs, RunStore& store, QObject* parent)
    : QObject(parent),
      session_(session),
      dialogs_(dialogs),
      store_(store),
      limits_(readSuspectLimits(QSettings())) {
    connect(&store_, &RunStore::correctionsSaved, this, &RunCorrector::onCorrectionsSaved);
    connect(&session_, &RunSession::runReplaced, this, &RunCorrector::onRunReplaced);
    connect(&session_, &RunSession::keptFileChanged, this, &RunCorrector::onKeptFile);
    connect(&session_, &RunSession::runSaved, this, &RunCorrector::onSaved);
}

bool RunCorrector::setLimits(const SuspectLimits& limits) {
    QSettings settings;
    if (!writeSuspectLimits(settings, limits)) return false;
    limits_ = limits;
    showView();
    emit changed();
    return true;
}

QString RunCorrector::correctionFile() const {
    if (runFile_.isEmpty()) return {};
    return pathFromSystem(correctionFilePath(systemPath(runFile_)));
}

int RunCorrector::apply(const std::vector<Correction>& steps) {
    if (!hasRun_ || busy()) return static_cast<int>(steps.size());
    RunCorrections changed = corrections_;
    int refused = 0;
    for (const Correction& step : steps) {
        if (changed.apply(step) != CorrectionRefusal::None) ++refused;
    }
    if (refused < static_cast<int>(steps.size())) commit(std::move(changed));
    return refused;
}

bool RunCorrector::undo() {
    if (busy()) return false;
    RunCorrections changed = corrections_;
    if (!changed.undo()) return false;
    commit(std::move(changed));
    return true;
}

void RunCorrector::undoAll() {
    if (busy() || corrections_.steps().empty()) return;
    RunCorrections changed = corrections_;
    changed.undoAll();
    commit(std::move(changed));
}

void RunCorrector::onRunReplaced(const RunChange& change) {
    hasRun_ = change.origin != RunOrigin::Template;
    corrections_ = RunCorrections(session_.currentData());
    unreadFileThere_ = false;
    savingDeclined_ = false;
    // A write under way is for the run shown before: the store finishes it, nobody here
    // waits for it.
    job_ = 0;
    runFile_.clear();
    if (change.origin == RunOrigin::File || change.origin == RunOrigin::Library) {
        runFile_ = change.fileName;
    }
    seen_ = std::vector<Correction>{};
    const CorrectionFileError error = runFile_.isEmpty() ? CorrectionFileError{} : readFile();
    if (!corrections_.steps().empty()) session_.correctLaps(corrections_.run().data);
    showView();
    emit changed();
    // The run is open and drawn before the user hears why it shows as downloaded.
    if (error)
        dialogs_.message(windowMessage(error), qs(correctiontexts::kMessageTitle),
                         MessageIcon::Critical);
}

// The steps the file holds now for the downloaded laps; none when it cannot be read.
CorrectionFileError RunCorrector::readFile() {
    const LapData downloaded = corrections_.downloaded();
    corrections_ = RunCorrections(downloaded);
    CorrectionFileError error;
    try {
        CorrectedRunRead read = loadCorrections(systemPath(runFile_), downloaded);
        error = read.error;
        unreadFileThere_ = read.fileFound && read.error;
        if (!read.error) corrections_ = std::move(read.corrections);
    } catch (const std::exception&) {
        // Out of memory on a file past any sane size: the run as downloaded.
        error = {};
        error.code = CorrectionFileErrorCode::CannotRead;
        error.path = correctionFilePath(systemPath(runFile_));
        unreadFileThere_ = true;
    }
    if (unreadFileThere_) {
        seen_.reset();
    } else {
        seen_ = corrections_.steps();
    }
    return error;
}

void RunCorrector::onKeptFile(const QString& fileName) {
    runFile_ = fileName;
    if (!corrections_.steps().empty()) save(corrections_, Writing::Kept);
}

// File > Save over the run's own file: the file now holds the corrected laps, so its
// corrections are done with; left beside it they would be for laps it no longer has.
void RunCorrector::onSaved(const QString& fileName) {
    if (runFile_.isEmpty() || corrections_.steps().empty() || savingDeclined_ ||
        QFileInfo(fileName) != QFileInfo(runFile_))
        return;
    corrections_ = RunCorrections(session_.currentData());
    unreadFileThere_ = false;
    // Whatever the file holds now was made for the laps the run's file no longer has.
    // A step still being written lands first: the store's jobs keep their order.
    job_ = store_.replaceCorrections(systemPath(runFile_), corrections_);
    writing_ = Writing::Replaced;
    seen_ = std::vector<Correction>{};
    showView();
    emit changed();
}

void RunCorrector::commit(RunCorrections changed) {
    if (save(changed, Writing::Steps)) return;
    corrections_ = std::move(changed);
    publish();
}

void RunCorrector::publish() {
    session_.correctLaps(corrections_.run().data);
    showView();
    emit changed();
}

void RunCorrector::showView() {
    RunView view = viewRun(corrections_, limits_);
    // The template is no run: nothing on it is marked.
    if (!hasRun_) view.marks.clear();
    session_.setRunView(std::move(view));
}

bool RunCorrector::save(const RunCorrections& corrections, Writing writing) {
    if (runFile_.isEmpty() || savingDeclined_) return false;
    if (unreadFileThere_) {
        // Asked before the write: the store's thread asks nobody anything.
        const QString question =
            qs(correctiontexts::kReplaceUnreadFile).arg(shownPath(correctionFile()));
        if (!dialogs_.ask(question, qs(correctiontexts::kMessageTitle))) {
            savingDeclined_ = true;
            return false;
        }
        unreadFileThere_ = false;
    }
    written_ = corrections;
    writing_ = writing;
    job_ = store_.saveCorrections(systemPath(runFile_), seen_, corrections);
    emit changed();
    return true;
}

void RunCorrector::onCorrectionsSaved(const StoreCorrectionsSaved& result) {
    if (job_ == 0 || result.job != job_) return;
    job_ = 0;
    const CorrectionFileError& error = result.error;
    if (writing_ == Writing::Replaced) {
        if (error)
            dialogs_.message(windowMessage(error), qs(correctiontexts::kMessageTitle),
                             MessageIcon::Critical);
        emit changed();
        return;
    }
    if (error.code == CorrectionFileErrorCode::Changed) {
        // Another program's steps are shown as the file holds them, for the racer to look at
        // before correcting again: the step asked for is not made on laps that may have moved.
        const CorrectionFileError unread = readFile();
        publish();
        QString text = windowMessage(error) + "\n" + qs(correctiontexts::kReloadedAfterChange);
        if (unread) text += "\n\n" + windowMessage(unread);
        dialogs_.message(text, qs(correctiontexts::kMessageTitle), MessageIcon::Critical);
        return;
    }
    if (error) {
        dialogs_.message(windowMessage(error), qs(correctiontexts::kMessageTitle),
                         MessageIcon::Critical);
        // Locked: the steps are not made. The library's copy keeps none: the window still
        // shows them.
        if (error.code == CorrectionFileErrorCode::Busy || writing_ == Writing::Kept) {
            emit changed();
            return;
        }
        // Not written: the window keeps them, and the file is compared as last read the
        // next time.
    } else {
        seen_ = written_.steps();
    }
    // Kept: the steps were the corrector's already, and the laps shown stay as they are (a
    // comparison with them too).
    if (writing_ == Writing::Kept) {
        emit changed();
        return;
    }
    corrections_ = std::move(written_);
    publish();
}

}  // namespace korimet
