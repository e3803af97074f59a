#pragma once

#include <QObject>
#include <QString>
#include <QThreadPool>

#include "lapdata/lap_data.h"

class QWidget;

namespace korimet {

class RunSession;
struct RunChange;

// Keeps every downloaded run in the run library. Files are written on a worker thread, one
// after another, so a slow or synchronised folder never holds up the serial line or the
// redraw; each run is named by the moment it arrived.
class RunKeeper : public QObject {
    Q_OBJECT
  public:
    // `noticeParent` is the window the one-time notice about a failing library belongs to.
    RunKeeper(RunSession& session, QWidget& noticeParent);
    ~RunKeeper() override;

    // Writes one run received now; the folder is looked up each time, so a changed setting
    // takes effect with the next run.
    void keep(const LapData& data);

  signals:
    void runKept(const QString& path);
    void keepFailed(const QString& reason);

  private:
    void onReplaced(const RunChange& change);
    void finished(bool ok, const QString& path, const QString& error);

    RunSession& session_;
    QWidget& noticeParent_;
    QThreadPool writer_;
    // Told once until the library works again, so later frames are not interrupted.
    bool told_ = false;
};

}  // namespace korimet
