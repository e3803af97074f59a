#pragma once

#include <QObject>
#include <QTimer>
#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "library/run_library.h"
#include "library/store/run_store.h"

class QFileSystemWatcher;

namespace korimet {

// The store's hands: lives on the store's thread and does every file job there, one at a
// time. It knows what each listed run looked like when last read, so that a notification
// reads again only the runs that changed.
class RunStoreWorker : public QObject {
    Q_OBJECT
  public:
    explicit RunStoreWorker(std::shared_ptr<const std::atomic<std::uint64_t>> wanted);

    void open(const std::string& folder, const SuspectLimits& limits, std::uint64_t generation);
    void rescan();
    StoreRunRead readRun(const std::string& relativePath) const;
    StoreMemoSaved saveMemo(const std::string& relativePath, const std::string& memo);
    StoreRunKept keep(const std::string& folder, const LapData& data, const LocalTime& when);
    StoreTrashed trash(const std::vector<std::string>& relativePaths);
    // `seen` absent: written whatever the file holds.
    StoreCorrectionsSaved saveCorrections(const std::string& runFile,
                                          const std::optional<SeenSteps>& seen,
                                          const RunCorrections& corrections);

    // How long a burst of notifications is gathered before the folder is looked at: a run and
    // its corrections written together are read once.
    static constexpr int kSettleMilliseconds = 150;
    // Where the system cannot notify (a folder it refuses to watch), the folder is looked at
    // this often instead.
    static constexpr int kRescanMilliseconds = 1000;

  signals:
    void jobDone(std::uint64_t job);
    void listed(std::uint64_t generation, const korimet::StoreListing& listing);
    void progress(std::uint64_t generation, int done, int total);
    void changes(std::uint64_t generation, const korimet::StoreChanges& changes);
    void runRead(const korimet::StoreRunRead& result);
    void memoSaved(const korimet::StoreMemoSaved& result);
    void runKept(const korimet::StoreRunKept& result);
    void trashed(const korimet::StoreTrashed& result);
    void correctionsSaved(const korimet::StoreCorrectionsSaved& result);

  private:
    void follow(const std::vector<std::string>& folders, bool listedWhole);
    // Reads one run again after a job of ours changed it, and tells the views at once.
    void reread(const std::string& relativePath);
    std::string full(const std::string& relativePath) const;

    std::shared_ptr<const std::atomic<std::uint64_t>> wanted_;
    std::string folder_;
    SuspectLimits limits_;
    std::uint64_t generation_ = 0;
    std::map<std::string, RunStamp> known_;  // every listed run, by relative path
    QFileSystemWatcher* watcher_ = nullptr;  // child
    QTimer settle_;
    QTimer fallback_;
};

}  // namespace korimet
