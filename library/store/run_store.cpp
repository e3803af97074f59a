#include "library/store/run_store.h"

#include <QMetaObject>
#include <QThread>
#include <algorithm>
#include <iostream>
#include <utility>

#include "library/store/run_store_worker.h"

namespace korimet {

RunStore::RunStore(QObject* parent)
    : QObject(parent), wanted_(std::make_shared<std::atomic<std::uint64_t>>(0)) {
    qRegisterMetaType<korimet::StoreListing>();
    qRegisterMetaType<korimet::StoreChanges>();
    qRegisterMetaType<korimet::StoreRunRead>();
    qRegisterMetaType<korimet::StoreMemoSaved>();
    qRegisterMetaType<korimet::StoreRunKept>();
    qRegisterMetaType<korimet::StoreTrashed>();
    qRegisterMetaType<korimet::StoreCorrectionsSaved>();
    stallTimer_.setSingleShot(true);
    stallTimer_.setInterval(kStallMilliseconds);
    connect(&stallTimer_, &QTimer::timeout, this, [this] {
        if (pending_.empty() || stalled_) return;
        stalled_ = true;
        emit stalledChanged(true);
    });
}

// The thread starts with the first job: a window that never looks at the library starts
// without it.
void RunStore::startThread() {
    thread_ = std::make_unique<QThread>();
    thread_->setObjectName(QStringLiteral("korimet run store"));
    // Made here, then handed to the thread: deleted there when the thread's loop ends.
    worker_ = new RunStoreWorker(wanted_);  // owned by its thread, see deleteLater below
    worker_->moveToThread(thread_.get());
    connect(thread_.get(), &QThread::finished, worker_, &QObject::deleteLater);
    connect(worker_, &RunStoreWorker::jobDone, this, &RunStore::jobDone);
    connect(worker_, &RunStoreWorker::listed, this, &RunStore::onListed);
    connect(worker_, &RunStoreWorker::progress, this, &RunStore::onProgress);
    connect(worker_, &RunStoreWorker::changes, this, &RunStore::onChanges);
    connect(worker_, &RunStoreWorker::runRead, this, &RunStore::runRead);
    connect(worker_, &RunStoreWorker::memoSaved, this, &RunStore::memoSaved);
    connect(worker_, &RunStoreWorker::runKept, this, &RunStore::runKept);
    connect(worker_, &RunStoreWorker::trashed, this, &RunStore::trashed);
    connect(worker_, &RunStoreWorker::correctionsSaved, this, &RunStore::correctionsSaved);
    thread_->start();
}

RunStore::~RunStore() {
    if (!thread_) return;
    // Behind every job asked for, so that a memo being saved is written before the thread ends.
    QMetaObject::invokeMethod(
        worker_, [] { QThread::currentThread()->quit(); }, Qt::QueuedConnection);
    if (thread_->wait(kQuitWaitMilliseconds)) return;
    // Stuck on a hung mount: quitting never waits for it. The thread cannot be destroyed while
    // it runs, so it is left to end with the process; nothing reaches this object any more.
    disconnect(worker_, nullptr, this, nullptr);
    std::cerr << "korimet: the run library did not answer; " << pending_.size()
              << " of its jobs were left undone\n";
    static_cast<void>(thread_.release());
}

void RunStore::open(const std::string& folder, const SuspectLimits& limits) {
    folder_ = folder;
    limits_ = limits;
    const std::uint64_t generation = ++generation_;
    wanted_->store(generation);
    listing_ = true;
    emit listingStarted();
    post([folder, limits, generation](RunStoreWorker& worker, std::uint64_t) {
        worker.open(folder, limits, generation);
    });
}

std::uint64_t RunStore::post(std::function<void(RunStoreWorker&, std::uint64_t job)> work) {
    if (!thread_) startThread();
    const std::uint64_t job = ++nextJob_;
    if (pending_.empty()) stallTimer_.start();
    pending_.push_back(job);
    QMetaObject::invokeMethod(
        worker_,
        [worker = worker_, job, work = std::move(work)] {
            work(*worker, job);
            emit worker->jobDone(job);
        },
        Qt::QueuedConnection);
    return job;
}

void RunStore::jobDone(std::uint64_t job) {
    pending_.erase(std::remove(pending_.begin(), pending_.end(), job), pending_.end());
    if (pending_.empty()) {
        stallTimer_.stop();
    } else {
        stallTimer_.start();  // the next job has its own time
    }
    if (stalled_) {
        stalled_ = false;
        emit stalledChanged(false);
    }
}

std::uint64_t RunStore::readRun(const std::string& relativePath) {
    return post([relativePath](RunStoreWorker& worker, std::uint64_t job) {
        StoreRunRead result = worker.readRun(relativePath);
        result.job = job;
        emit worker.runRead(result);
    });
}

std::uint64_t RunStore::saveMemo(const std::string& relativePath, const std::string& memo) {
    return post([relativePath, memo](RunStoreWorker& worker, std::uint64_t job) {
        StoreMemoSaved result = worker.saveMemo(relativePath, memo);
        result.job = job;
        emit worker.memoSaved(result);
    });
}

std::uint64_t RunStore::keep(const std::string& folder, const LapData& data,
                             const LocalTime& when) {
    return post([folder, data, when](RunStoreWorker& worker, std::uint64_t job) {
        StoreRunKept result = worker.keep(folder, data, when);
        result.job = job;
        emit worker.runKept(result);
    });
}

std::uint64_t RunStore::trash(const std::vector<std::string>& relativePaths) {
    return post([relativePaths](RunStoreWorker& worker, std::uint64_t job) {
        StoreTrashed result = worker.trash(relativePaths);
        result.job = job;
        emit worker.trashed(result);
    });
}

std::uint64_t RunStore::saveCorrections(const std::string& runFile, const SeenSteps& seen,
                                        const RunCorrections& corrections) {
    return post([runFile, seen, corrections](RunStoreWorker& worker, std::uint64_t job) {
        StoreCorrectionsSaved result = worker.saveCorrections(runFile, seen, corrections);
        result.job = job;
        emit worker.correctionsSaved(result);
    });
}

std::uint64_t RunStore::replaceCorrections(const std::string& runFile,
                                           const RunCorrections& corrections) {
    return post([runFile, corrections](RunStoreWorker& worker, std::uint64_t job) {
        StoreCorrectionsSaved result = worker.saveCorrections(runFile, std::nullopt, corrections);
        result.job = job;
        emit worker.correctionsSaved(result);
    });
}

void RunStore::onProgress(std::uint64_t generation, int done, int total) {
    if (generation == generation_) emit listingProgress(done, total);
}

void RunStore::onListed(std::uint64_t generation, const StoreListing& listing) {
    if (generation != generation_) return;
    listing_ = false;
    listingError_ = listing.error;
    entries_ = listing.entries;
    emit listed();
}

void RunStore::onChanges(std::uint64_t generation, const StoreChanges& changes) {
    // Changes found before the listing is in are in the listing too.
    if (generation != generation_ || listing_) return;
    applyChanges(changes);
    emit runsChanged(changes);
}

void RunStore::applyChanges(const StoreChanges& changes) {
    for (const std::string& path : changes.removed) {
        std::erase_if(entries_, [&](const LibraryEntry& e) { return e.path == path; });
    }
    for (const LibraryEntry& changed : changes.changed) {
        std::erase_if(entries_, [&](const LibraryEntry& e) { return e.path == changed.path; });
        entries_.insert(std::upper_bound(entries_.begin(), entries_.end(), changed, listedBefore),
                        changed);
    }
}

}  // namespace korimet
