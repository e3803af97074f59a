#include "library/ui/folder_reader.h"

#include <atomic>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace korimet {

struct FolderReader::Job {
    std::atomic<bool> dropped{false};
    std::atomic<int> done{0};
    std::atomic<int> total{0};
    std::mutex mutex;
    std::optional<LibraryListing> result;  // under mutex
};

namespace {

// How often the window looks for the result: often enough to seem immediate.
constexpr int kPollMilliseconds = 50;

LibraryListing readFolder(const std::string& folder, const SuspectLimits& limits,
                          FolderReader::Job& job);

}  // namespace

FolderReader::FolderReader(QObject* parent, Done done, Progress progress)
    : QObject(parent), done_(std::move(done)), progress_(std::move(progress)) {
    poll_.setInterval(kPollMilliseconds);
    connect(&poll_, &QTimer::timeout, this, &FolderReader::poll);
}

FolderReader::~FolderReader() {
    if (job_) job_->dropped = true;
}

void FolderReader::start(const std::string& folder, const SuspectLimits& limits) {
    if (job_) job_->dropped = true;
    job_ = std::make_shared<Job>();
    std::thread([job = job_, folder, limits] {
        LibraryListing listing = readFolder(folder, limits, *job);
        const std::lock_guard lock(job->mutex);
        job->result = std::move(listing);
    }).detach();
    poll_.start();
}

void FolderReader::poll() {
    if (!job_) {
        poll_.stop();
        return;
    }
    std::optional<LibraryListing> result;
    {
        const std::lock_guard lock(job_->mutex);
        result = std::move(job_->result);
        job_->result.reset();
    }
    if (progress_) progress_(job_->done, job_->total);
    if (!result) return;
    job_.reset();
    poll_.stop();
    if (done_) done_(std::move(*result));
}

namespace {

LibraryListing readFolder(const std::string& folder, const SuspectLimits& limits,
                          FolderReader::Job& job) {
    LibraryListing listing;
    std::vector<std::string> paths;
    std::vector<FileError> folders;
    if (!listRunFiles(folder, paths, listing.error, &folders)) return listing;
    listing.ok = true;
    job.total = static_cast<int>(paths.size());
    listing.entries = unreadableFolderEntries(folder, std::move(folders));
    listing.entries.reserve(listing.entries.size() + paths.size());
    for (const std::string& path : paths) {
        // Nobody wants this read any more: stop rather than read on.
        if (job.dropped) return listing;
        listing.entries.push_back(readLibraryEntry(folder, path, limits));
        ++job.done;
    }
    sortOldestFirst(listing.entries);
    return listing;
}

}  // namespace

}  // namespace korimet
