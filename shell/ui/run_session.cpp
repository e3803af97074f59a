#include "shell/ui/run_session.h"

#include <utility>

namespace korimet {

RunSession::RunSession(QObject* parent) : QObject(parent) {}

void RunSession::replaceRun(const LapData& data, RunOrigin origin, const QString& fileName) {
    currentData_ = data;
    origin_ = origin;
    sourceFileName_ = fileName;
    // A download has no file yet; the template is no file to save back to.
    currentFileName_ =
        origin == RunOrigin::File || origin == RunOrigin::Library ? fileName : QString();
    hasComparison_ = false;
    comparisonFileName_.clear();
    emit runReplaced(RunChange{origin, fileName});
}

void RunSession::replaceComparison(const LapData& data, const QString& fileName) {
    comparisonData_ = data;
    comparisonFileName_ = fileName;
    hasComparison_ = true;
    emit comparisonReplaced(fileName);
}

void RunSession::setCurrentFileName(const QString& fileName) { currentFileName_ = fileName; }

bool RunSession::openRunFile(const QString& path, RunOrigin origin) {
    return open_ && open_(path, origin);
}

bool RunSession::compareWithFile(const QString& path) { return compare_ && compare_(path); }

void RunSession::installDoors(OpenDoor open, CompareDoor compare, std::function<QString()> memo) {
    open_ = std::move(open);
    compare_ = std::move(compare);
    memo_ = std::move(memo);
}

}  // namespace korimet
