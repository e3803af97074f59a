#include "session/run_session.h"

#include <utility>

namespace korimet {

RunSession::RunSession(QObject* parent) : QObject(parent) {}

void RunSession::replaceRun(const NewRun& run) {
    currentData_ = run.data;
    downloadedData_ = run.data;
    runView_ = viewRun(run.data);
    runView_.marks.clear();
    origin_ = run.origin;
    sourceFileName_ = run.fileName;
    keptFileName_.clear();
    // A download has no file yet; the template is no file to save back to.
    currentFileName_ = run.origin == RunOrigin::File || run.origin == RunOrigin::Library
                           ? run.fileName
                           : QString();
    if (run.modelCaption) modelCaption_ = *run.modelCaption;
    if (run.sourceCaption) sourceCaption_ = *run.sourceCaption;
    hasComparison_ = false;
    comparisonFileName_.clear();
    const bool memoChanges = run.memo && *run.memo != memo_;
    if (run.memo) memo_ = *run.memo;
    memoAtArrival_ = memo_;
    // Everything is in place before anyone hears of it.
    if (memoChanges) emit memoChanged(memo_);
    emit runReplaced(RunChange{run.origin, run.fileName});
}

void RunSession::replaceComparison(const RunView& run, const QString& fileName) {
    comparisonRun_ = run;
    comparisonFileName_ = fileName;
    hasComparison_ = true;
    emit comparisonReplaced(fileName);
}

void RunSession::setMemo(const QString& memo) {
    if (memo == memo_) return;
    memo_ = memo;
    emit memoChanged(memo_);
}

void RunSession::setCurrentFileName(const QString& fileName) { currentFileName_ = fileName; }

void RunSession::setKeptFile(const LapData& data, const QString& fileName) {
    // A later download or an opened file has replaced the run meanwhile: not its copy.
    // Laps corrected before the copy was written still belong to that download.
    if (origin_ != RunOrigin::Timer || !(data == downloadedData_)) return;
    keptFileName_ = fileName;
    emit keptFileChanged(fileName);
}

void RunSession::correctLaps(const LapData& data) {
    currentData_ = data;
    hasComparison_ = false;
    comparisonFileName_.clear();
    emit lapsCorrected();
}

void RunSession::setRunView(RunView view) {
    const bool marksChange = view.marks != runView_.marks;
    runView_ = std::move(view);
    if (marksChange) emit lapMarksChanged();
}

}  // namespace korimet
