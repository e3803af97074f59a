#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "library/run_library.h"

namespace korimet {

// Reads the library on a thread of its own that nobody ever waits for: a file or folder on
// a hung network or sync mount may hold a read for ever, and neither the window, a new
// read nor quitting may hang with it. The result is picked up on the window's thread.
class FolderReader : public QObject {
    Q_OBJECT
  public:
    using Done = std::function<void(LibraryListing listing)>;
    using Progress = std::function<void(int done, int total)>;

    // Parented to `parent`; the callbacks run on its thread.
    FolderReader(QObject* parent, Done done, Progress progress);
    // Drops a read under way without waiting for it.
    ~FolderReader() override;

    // Reads the folder; a read under way is dropped.
    void start(const std::string& folder, const SuspectLimits& limits);
    bool busy() const { return job_ != nullptr; }

    // What the reading thread and the window share.
    struct Job;

  private:
    void poll();

    Done done_;
    Progress progress_;
    std::shared_ptr<Job> job_;  // shared with its thread, which may outlive us
    QTimer poll_;
};

}  // namespace korimet
