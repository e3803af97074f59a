#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <set>

#include "lapdata/lap_data.h"

namespace korimet {

class Dialogs;
class RunSession;
class RunStore;
struct RunChange;
struct StoreRunKept;

// Keeps every downloaded run in the run library, through the run store's thread, so a slow or
// synchronised folder never holds up the serial line or the redraw; each run is named by the
// moment it arrived.
class RunKeeper : public QObject {
    Q_OBJECT
  public:
    RunKeeper(RunSession& session, Dialogs& dialogs, RunStore& store, QObject* parent);

    // Keeps one run received now; the folder is looked up each time, so a changed setting
    // takes effect with the next run.
    void keep(const LapData& data);

  signals:
    void runKept(const QString& path);
    void keepFailed(const QString& reason);

  private:
    void onReplaced(const RunChange& change);
    void onKept(const StoreRunKept& result);

    RunSession& session_;
    Dialogs& dialogs_;
    RunStore& store_;
    std::set<std::uint64_t> asked_;  // the store's jobs that are ours
    // Told once until the library works again, so later frames are not interrupted.
    bool told_ = false;
};

}  // namespace korimet
