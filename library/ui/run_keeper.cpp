#include "library/ui/run_keeper.h"

#include <chrono>
#include <iostream>

#include "common/ui/ui_text.h"
#include "library/run_library.h"
#include "library/settings/library_folder.h"
#include "library/store/run_store.h"
#include "library/ui/library_table_model.h"
#include "library/ui/library_texts.h"
#include "session/dialogs.h"
#include "session/run_session.h"
#include "session/system_path.h"

namespace korimet {

RunKeeper::RunKeeper(RunSession& session, Dialogs& dialogs, RunStore& store, QObject* parent)
    : QObject(parent), session_(session), dialogs_(dialogs), store_(store) {
    connect(&session_, &RunSession::runReplaced, this, &RunKeeper::onReplaced);
    connect(&store_, &RunStore::runKept, this, &RunKeeper::onKept);
}

void RunKeeper::onReplaced(const RunChange& change) {
    if (change.origin == RunOrigin::Timer) keep(session_.currentData());
}

void RunKeeper::keep(const LapData& data) {
    const LocalTime when = localTimeOf(std::chrono::system_clock::now());
    asked_.insert(store_.keep(systemPath(libraryFolder()), data, when));
}

void RunKeeper::onKept(const StoreRunKept& result) {
    if (asked_.erase(result.job) == 0) return;
    const QString path = pathFromSystem(result.kept.path);
    if (result.kept.ok) {
        session_.setKeptFile(result.data, path);
        told_ = false;
        emit runKept(path);
        return;
    }
    const QString error = libraryMessage(result.kept.error);
    std::cerr << "korimet: the run library could not keep a received run: " << error.toStdString()
              << "\n";
    emit keepFailed(error);
    if (told_) return;
    told_ = true;
    // It does not wait: the download is already shown, and later frames must not wait on a click.
    dialogs_.notice(uiText(librarytexts::kKeepFailed).arg(error),
                    uiText(librarytexts::kKeepFailedTitle),
                    QString::fromUtf8(librarytexts::kKeepFailedNoticeName));
}

}  // namespace korimet
