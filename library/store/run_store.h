#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "corrections/correction_file.h"
#include "corrections/lap_corrections.h"
#include "files/data_file.h"
#include "files/file_error.h"
#include "lapdata/lap_data.h"
#include "library/run_library.h"

class QThread;

namespace korimet {

class RunStoreWorker;

// A listing made in full: the folder's rows, oldest first, or why the folder could not be
// read (a library nothing was kept in yet is no error: it is empty).
struct StoreListing {
    std::optional<FileError> error;
    std::vector<LibraryEntry> entries;
};

// What changed since the rows last sent: runs added or read again, and runs gone (paths
// relative to the library).
struct StoreChanges {
    std::vector<LibraryEntry> changed;
    std::vector<std::string> removed;
};

// One run read whole for a window: its content with the whole memo, or why it failed.
struct StoreRunRead {
    std::uint64_t job = 0;
    std::string path;  // relative to the library
    DataFileReadResult read;
};

// A memo written into a run's file.
struct StoreMemoSaved {
    std::uint64_t job = 0;
    std::string path;
    bool ok = false;
    FileError error;
    std::string memoBefore;  // as the file held it before
};

// A download kept in the library.
struct StoreRunKept {
    std::uint64_t job = 0;
    KeptRun kept;
    LapData data;
};

// Runs moved to the trash.
struct StoreTrashed {
    std::uint64_t job = 0;
    std::vector<std::string> moved;  // relative paths
    std::vector<std::string> failed;
    // Runs that went but whose corrections could not follow them (full paths of those files).
    std::vector<std::string> correctionsLeft;
};

// A run's corrections written beside it.
struct StoreCorrectionsSaved {
    std::uint64_t job = 0;
    std::string runFile;  // as asked for
    CorrectionFileError error;
};

// The run library as the whole program sees it. It owns the library's rows and every file job
// on them: listing, reading one run, saving a memo, keeping a download, moving runs to the
// trash. Jobs run one after another on the store's own thread and come back as queued signals,
// so no window reads or writes a run's file on its own thread. The store follows the folder
// (file system notifications, a rescan each second where there are none), so a change by a
// second Korimet, korimet-cli or a synchronising tool reaches every view within a second.
//
// A job stuck on a hung mount: nobody waits for it. The views keep working on the rows they
// have, `stalled` says the library is not answering, and later jobs queue behind it. Quitting
// waits a short while for the jobs asked for (a memo being saved), then leaves the stuck thread
// to end with the process.
class RunStore : public QObject {
    Q_OBJECT
  public:
    explicit RunStore(QObject* parent = nullptr);
    ~RunStore() override;
    RunStore(const RunStore&) = delete;
    RunStore& operator=(const RunStore&) = delete;

    // The folder (as the system names it) and the user's lap limits. Lists the folder again and
    // follows it from then on; the same folder and limits again only lists it again.
    void open(const std::string& folder, const SuspectLimits& limits);
    bool opened() const { return !folder_.empty(); }
    const std::string& folder() const { return folder_; }
    const SuspectLimits& limits() const { return limits_; }

    // The rows as last listed and followed, oldest first, and whether a listing is under way.
    const std::vector<LibraryEntry>& entries() const { return entries_; }
    const std::optional<FileError>& listingError() const { return listingError_; }
    bool listing() const { return listing_; }
    bool stalled() const { return stalled_; }

    // Jobs; each gives its number, which comes back with its result.
    std::uint64_t readRun(const std::string& relativePath);
    std::uint64_t saveMemo(const std::string& relativePath, const std::string& memo);
    // Into the folder given (the setting at the time of the download), which may differ from
    // the one listed.
    std::uint64_t keep(const std::string& folder, const LapData& data, const LocalTime& when);
    std::uint64_t trash(const std::vector<std::string>& relativePaths);
    // The corrections beside a run's file (full path as the system names it, in the library or
    // not), under the corrections' lock and only while the file still holds `seen`: another
    // program's steps are never written over (Changed, and the file stays as it is).
    std::uint64_t saveCorrections(const std::string& runFile, const SeenSteps& seen,
                                  const RunCorrections& corrections);
    // Whatever the file holds: after File > Save the run's file holds other laps, and what
    // was made for the old ones is done with.
    std::uint64_t replaceCorrections(const std::string& runFile, const RunCorrections& corrections);

    // How long a job may take before the library counts as not answering.
    static constexpr int kStallMilliseconds = 3000;
    // How long quitting waits for the jobs asked for.
    static constexpr int kQuitWaitMilliseconds = 3000;

  signals:
    void listingStarted();
    void listingProgress(int done, int total);
    void listed();                                           // entries() replaced whole
    void runsChanged(const korimet::StoreChanges& changes);  // entries() already follow
    void runRead(const korimet::StoreRunRead& result);
    void memoSaved(const korimet::StoreMemoSaved& result);
    void runKept(const korimet::StoreRunKept& result);
    void trashed(const korimet::StoreTrashed& result);
    void correctionsSaved(const korimet::StoreCorrectionsSaved& result);
    void stalledChanged(bool stalled);

  private:
    void startThread();
    std::uint64_t post(std::function<void(RunStoreWorker&, std::uint64_t job)> work);
    void jobDone(std::uint64_t job);
    void onListed(std::uint64_t generation, const korimet::StoreListing& listing);
    void onChanges(std::uint64_t generation, const korimet::StoreChanges& changes);
    void onProgress(std::uint64_t generation, int done, int total);
    void applyChanges(const StoreChanges& changes);

    std::unique_ptr<QThread> thread_;
    RunStoreWorker* worker_ = nullptr;  // lives on thread_, deleted when it finishes
    std::string folder_;
    SuspectLimits limits_;
    std::uint64_t generation_ = 0;  // of the folder opened; older results are dropped
    // The generation wanted, read by a listing under way so that it stops when outdated.
    std::shared_ptr<std::atomic<std::uint64_t>> wanted_;
    std::uint64_t nextJob_ = 0;
    std::vector<std::uint64_t> pending_;  // jobs asked for and not done, oldest first
    std::vector<LibraryEntry> entries_;
    std::optional<FileError> listingError_;
    bool listing_ = false;
    bool stalled_ = false;
    QTimer stallTimer_;
};

}  // namespace korimet
