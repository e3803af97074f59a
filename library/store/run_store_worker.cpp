#include "library/store/run_store_worker.h"

#include <unistd.h>
#include <QFile>
#include <QFileSystemWatcher>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <set>
#include <utility>

#include "corrections/correction_file.h"
#include "files/trash.h"

namespace korimet {

namespace {

using Clock = std::chrono::steady_clock;
// Progress is sent this often, not for every file of a library of thousands.
constexpr auto kProgressEvery = std::chrono::milliseconds(100);

QString watchedPath(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

}  // namespace

RunStoreWorker::RunStoreWorker(std::shared_ptr<const std::atomic<std::uint64_t>> wanted)
    : wanted_(std::move(wanted)) {
    settle_.setParent(this);  // moved to the store's thread with the worker
    fallback_.setParent(this);
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMilliseconds);
    connect(&settle_, &QTimer::timeout, this, &RunStoreWorker::rescan);
    fallback_.setInterval(kRescanMilliseconds);
    connect(&fallback_, &QTimer::timeout, this, &RunStoreWorker::rescan);
}

std::string RunStoreWorker::full(const std::string& relativePath) const {
    return folder_ + "/" + relativePath;
}

void RunStoreWorker::open(const std::string& folder, const SuspectLimits& limits,
                          std::uint64_t generation) {
    folder_ = folder;
    limits_ = limits;
    generation_ = generation;
    known_.clear();
    StoreListing listing;
    std::vector<std::string> paths;
    std::vector<FileError> unreadable;
    std::vector<std::string> folders;
    FileError error;
    if (!listRunFiles(folder_, paths, error, &unreadable, &folders)) {
        // A library nothing was kept in yet is simply empty.
        if (error.systemError != ENOENT) listing.error = error;
        follow({}, false);
        emit listed(generation_, listing);
        return;
    }
    listing.entries = unreadableFolderEntries(folder_, std::move(unreadable));
    for (const LibraryEntry& e : listing.entries) known_[e.path] = RunStamp{};
    listing.entries.reserve(listing.entries.size() + paths.size());
    const int total = static_cast<int>(paths.size());
    auto lastSent = Clock::now();
    for (const std::string& path : paths) {
        // Opened again meanwhile: this listing is nobody's any more.
        if (wanted_->load() != generation_) return;
        known_[path] = runStampOf(folder_, path);
        listing.entries.push_back(readLibraryEntry(folder_, path, limits_));
        if (Clock::now() - lastSent >= kProgressEvery) {
            lastSent = Clock::now();
            emit progress(generation_, static_cast<int>(known_.size()), total);
        }
    }
    sortOldestFirst(listing.entries);
    follow(folders, true);
    emit listed(generation_, listing);
}

// Every folder of the library is watched; one the system will not watch (or a library that
// does not exist yet) is looked at each second instead.
void RunStoreWorker::follow(const std::vector<std::string>& folders, bool listedWhole) {
    if (!watcher_) {
        watcher_ = new QFileSystemWatcher(this);  // owned by the worker
        connect(watcher_, &QFileSystemWatcher::directoryChanged, this, [this] { settle_.start(); });
    }
    const QStringList was = watcher_->directories();
    std::set<QString> wanted;
    for (const std::string& f : folders) wanted.insert(watchedPath(f));
    QStringList gone;
    for (const QString& dir : was) {
        if (!wanted.count(dir)) gone << dir;
    }
    if (!gone.isEmpty()) watcher_->removePaths(gone);
    QStringList added;
    for (const QString& dir : wanted) {
        if (!was.contains(dir)) added << dir;
    }
    const QStringList refused = added.isEmpty() ? QStringList() : watcher_->addPaths(added);
    const bool watching = listedWhole && refused.isEmpty();
    if (watching) {
        fallback_.stop();
    } else if (!fallback_.isActive()) {
        fallback_.start();
    }
}

// Looks at the folder again: new, changed and vanished runs, each read again only when its
// file or its corrections changed.
void RunStoreWorker::rescan() {
    if (folder_.empty()) return;
    std::vector<std::string> paths;
    std::vector<FileError> unreadable;
    std::vector<std::string> folders;
    FileError error;
    StoreChanges found;
    if (!listRunFiles(folder_, paths, error, &unreadable, &folders)) {
        // The folder went (or a mount with it): its runs are no longer there to show.
        for (const auto& [path, stamp] : known_) found.removed.push_back(path);
        known_.clear();
        follow({}, false);
        if (!found.removed.empty()) emit changes(generation_, found);
        return;
    }
    std::set<std::string> present;
    for (LibraryEntry& e : unreadableFolderEntries(folder_, std::move(unreadable))) {
        present.insert(e.path);
        if (known_.emplace(e.path, RunStamp{}).second) found.changed.push_back(std::move(e));
    }
    for (const std::string& path : paths) {
        present.insert(path);
        const RunStamp now = runStampOf(folder_, path);
        const auto it = known_.find(path);
        if (it != known_.end() && it->second == now) continue;
        known_[path] = now;
        found.changed.push_back(readLibraryEntry(folder_, path, limits_));
    }
    for (auto it = known_.begin(); it != known_.end();) {
        if (present.count(it->first)) {
            ++it;
            continue;
        }
        found.removed.push_back(it->first);
        it = known_.erase(it);
    }
    follow(folders, true);
    if (!found.changed.empty() || !found.removed.empty()) emit changes(generation_, found);
}

void RunStoreWorker::reread(const std::string& relativePath) {
    if (folder_.empty()) return;
    StoreChanges found;
    known_[relativePath] = runStampOf(folder_, relativePath);
    found.changed.push_back(readLibraryEntry(folder_, relativePath, limits_));
    emit changes(generation_, found);
}

StoreRunRead RunStoreWorker::readRun(const std::string& relativePath) const {
    StoreRunRead result;
    result.path = relativePath;
    result.read = loadDataFile(full(relativePath));
    return result;
}

// As File > Save writes: the laps as the file holds them now, with the new memo.
StoreMemoSaved RunStoreWorker::saveMemo(const std::string& relativePath, const std::string& memo) {
    StoreMemoSaved result;
    result.path = relativePath;
    const std::string file = full(relativePath);
    const DataFileReadResult now = loadDataFile(file);
    if (!now) {
        result.error = now.error;
        return result;
    }
    result.memoBefore = now.content->memo;
    const SaveResult saved = saveDataFile(file, now.content->data, memo);
    result.ok = saved.ok;
    result.error = saved.error;
    if (saved) reread(relativePath);
    return result;
}

StoreRunKept RunStoreWorker::keep(const std::string& folder, const LapData& data,
                                  const LocalTime& when) {
    StoreRunKept result;
    result.data = data;
    result.kept = keepRun(folder, data, when);
    if (!result.kept || folder_.empty() || folder != folder_) return result;
    const std::string prefix = folder_ + "/";
    if (result.kept.path.rfind(prefix, 0) != 0) return result;
    reread(result.kept.path.substr(prefix.size()));
    // A first run makes the library's folders: from now on they are watched.
    if (fallback_.isActive()) rescan();
    return result;
}

StoreTrashed RunStoreWorker::trash(const std::vector<std::string>& relativePaths) {
    StoreTrashed result;
    StoreChanges gone;
    for (const std::string& path : relativePaths) {
        const std::string file = full(path);
        if (!moveToTrash(file)) {
            result.failed.push_back(path);
            continue;
        }
        result.moved.push_back(path);
        known_.erase(path);
        gone.removed.push_back(path);
        // The corrections go with their run: left behind, they would be applied to a later
        // file of the same name.
        const std::string corrections = correctionFilePath(file);
        if (::access(corrections.c_str(), F_OK) == 0 && !moveToTrash(corrections))
            result.correctionsLeft.push_back(corrections);
    }
    if (!gone.removed.empty()) emit changes(generation_, gone);
    return result;
}

StoreCorrectionsSaved RunStoreWorker::saveCorrections(const std::string& runFile,
                                                      const std::optional<SeenSteps>& seen,
                                                      const RunCorrections& corrections) {
    StoreCorrectionsSaved result;
    result.runFile = runFile;
    if (seen) {
        const CorrectionLockTaken taken = lockCorrections(runFile);
        result.error = taken.error ? taken.error
                                   : saveCorrectionsOver(*taken.lock, runFile, *seen, corrections);
    } else {
        result.error = korimet::saveCorrections(runFile, corrections);
    }
    // A listed run shows its new numbers at once, not when the folder's notice comes.
    const std::string prefix = folder_ + "/";
    if (!result.error && !folder_.empty() && runFile.rfind(prefix, 0) == 0) {
        const std::string relative = runFile.substr(prefix.size());
        if (known_.count(relative)) reread(relative);
    }
    return result;
}

}  // namespace korimet
