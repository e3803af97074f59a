#include "pit/ui/pit_view_ui.h"

#include <QAction>
#include <QFutureWatcher>
#include <QMenu>
#include <QPointer>
#include <QSettings>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>
#include <chrono>
#include <memory>
#include <random>

#include "common/ui/ui_text.h"
#include "corrections/settings/limit_settings.h"
#include "library/run_library.h"
#include "library/settings/library_folder.h"
#include "library/store/run_store.h"
#include "pit/access_code.h"
#include "pit/pit_state.h"
#include "pit/server/pit_addresses.h"
#include "pit/server/pit_server.h"
#include "pit/ui/pit_texts.h"
#include "pit/ui/pit_window.h"
#include "session/addition.h"
#include "session/command_guard.h"
#include "session/dialogs.h"
#include "session/run_session.h"
#include "session/system_path.h"

namespace korimet {

namespace {

// What the session and the store hold, copied so the page's text is made off the window's
// thread: the day's runs are the store's rows of today, never a read of the folder.
struct SessionSnapshot {
    pit::PitState state;
};

SessionSnapshot snapshotOf(const RunSession& session, const RunStore& store) {
    SessionSnapshot s;
    const QString& file =
        session.sourceFileName().isEmpty() ? session.keptFileName() : session.sourceFileName();
    s.state.shown =
        pit::PitRun{session.runView(), session.runMemo().toStdString(), file.toStdString()};
    if (session.hasComparison()) {
        s.state.comparison =
            pit::PitRun{session.comparisonRun(), "", session.comparisonFileName().toStdString()};
    }
    const LocalTime today = localTimeOf(std::chrono::system_clock::now());
    s.state.day = today;
    s.state.dayRuns = pit::runsOfDay(store.entries(), today);
    return s;
}

QByteArray stateJson(const SessionSnapshot& s) {
    return QByteArray::fromStdString(pit::pitStateJson(s.state));
}

// One serving of the pit view, from the menu's start to its stop: the server and the
// window's state pushed to it on every change of the session.
class PitViewRun : public QObject {
  public:
    PitViewRun(const Addition& addition, PitWindow& window, QObject* parent)
        : QObject(parent), session_(addition.session), store_(addition.runs), window_(window) {
        std::random_device random;
        server_ = new pit::PitServer(
            QString::fromStdString(pit::newAccessCode([&random] { return random(); })),
            pit::PitLimits{}, this);
        connect(server_, &pit::PitServer::liveClientsChanged, &window_, &PitWindow::showPages);
        connect(&session_, &RunSession::runReplaced, this, [this] { schedule(); });
        // The library keeps a download a moment later; its row then joins the day's runs.
        connect(&session_, &RunSession::keptFileChanged, this, [this] { schedule(); });
        connect(&session_, &RunSession::lapsCorrected, this, [this] { schedule(); });
        connect(&session_, &RunSession::comparisonReplaced, this, [this] { schedule(); });
        connect(&session_, &RunSession::memoChanged, this, [this] { schedule(); });
        // The day's runs as the store follows them: kept, corrected, re-memoed or deleted here,
        // by korimet-cli or on another laptop.
        connect(&store_, &RunStore::listed, this, [this] { schedule(); });
        connect(&store_, &RunStore::runsChanged, this, [this] { schedule(); });
        const std::string folder = systemPath(libraryFolder());
        if (store_.folder() != folder) store_.open(folder, readSuspectLimits(QSettings()));
    }

    // The port it serves on, 0 when it cannot; the wanted port first, then any free one.
    quint16 start(const pit::ServeAddress& where) {
        const QHostAddress address = pit::listenAddress(where);
        quint16 port = server_->listen(address, static_cast<quint16>(where.port));
        if (port == 0 && where.port != 0) port = server_->listen(address, 0);
        if (port == 0) return 0;
        QStringList urls;
        for (const QHostAddress& reachable : pit::reachableAddresses(address)) {
            urls << QString::fromStdString(pit::pitUrl(reachable.toString().toStdString(), port,
                                                       server_->accessCode().toStdString()));
        }
        window_.showAddresses(urls, server_->accessCode());
        publish();
        return port;
    }

  private:
    // Once the window has finished with the change (its redraw comes first), and once for
    // a burst of changes such as a run and its memo, or typing in the memo.
    void schedule() {
        if (pending_) return;
        pending_ = true;
        QTimer::singleShot(0, this, [this] {
            pending_ = false;
            publish();
        });
    }

    void publish() {
        const int mine = ++asked_;
        auto* watcher = new QFutureWatcher<QByteArray>(this);
        connect(watcher, &QFutureWatcher<QByteArray>::finished, this, [this, watcher, mine] {
            watcher->deleteLater();
            // A later change may finish first; an older state never replaces it.
            if (mine < published_) return;
            published_ = mine;
            server_->publish(watcher->result());
        });
        watcher->setFuture(QtConcurrent::run(stateJson, snapshotOf(session_, store_)));
    }

    RunSession& session_;
    RunStore& store_;
    PitWindow& window_;
    pit::PitServer* server_;
    int asked_ = 0;
    int published_ = 0;
    bool pending_ = false;
};

}  // namespace

void attachPitView(const Addition& addition, pit::ServeAddress where) {
    QAction* action = addition.menu.addAction(QString());
    setFixedText(action, pittexts::kMenuItem);
    action->setObjectName(QString::fromUtf8(pittexts::kMenuItemName));
    action->setCheckable(true);
    auto* window = new PitWindow(&addition.window);  // owned by the main window
    auto serving = std::make_shared<QPointer<PitViewRun>>();
    const auto toggle = [addition, where, window, serving, action](bool on) {
        delete serving->data();
        if (!on) {
            window->hide();
            return;
        }
        auto* run = new PitViewRun(addition, *window, window);
        if (run->start(where) == 0) {
            delete run;
            addition.dialogs.message(uiText(pittexts::kCannotServe).arg(where.port), {},
                                     MessageIcon::Critical);
            const QSignalBlocker quiet(action);
            action->setChecked(false);
            return;
        }
        *serving = run;
        window->show();
        window->raise();
    };
    // Under the guard every command of the window runs under, named by its menu item.
    QObject::connect(action, &QAction::toggled, window, [addition, action, toggle](bool on) {
        runGuarded(addition.dialogs, commandName(action->text()), [&] { toggle(on); });
    });
}

}  // namespace korimet
