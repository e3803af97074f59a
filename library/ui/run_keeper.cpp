#include "library/ui/run_keeper.h"

#include <QMessageBox>
#include <QWidget>
#include <QtConcurrent/QtConcurrentRun>
#include <chrono>
#include <iostream>

#include "common/ui/ui_text.h"
#include "library/run_library.h"
#include "library/settings/library_folder.h"
#include "library/ui/library_table_model.h"
#include "library/ui/library_texts.h"
#include "session/run_session.h"

namespace korimet {

RunKeeper::RunKeeper(RunSession& session, QWidget& noticeParent)
    : QObject(&noticeParent), session_(session), noticeParent_(noticeParent) {
    writer_.setMaxThreadCount(1);
    connect(&session_, &RunSession::runReplaced, this, &RunKeeper::onReplaced);
}

RunKeeper::~RunKeeper() { writer_.waitForDone(); }

void RunKeeper::onReplaced(const RunChange& change) {
    if (change.origin == RunOrigin::Timer) keep(session_.currentData());
}

void RunKeeper::keep(const LapData& data) {
    const LocalTime when = localTimeOf(std::chrono::system_clock::now());
    const std::string folder = libraryFolder().toStdString();
    QtConcurrent::run(&writer_, [folder, data, when] {
        return keepRun(folder, data, when);
    }).then(this, [this, data](const KeptRun& kept) {
        const QString path = QString::fromStdString(kept.path);
        if (kept.ok) session_.setKeptFile(data, path);
        finished(kept.ok, path, libraryMessage(kept.error));
    });
}

void RunKeeper::finished(bool ok, const QString& path, const QString& error) {
    if (ok) {
        told_ = false;
        emit runKept(path);
        return;
    }
    std::cerr << "korimet: the run library could not keep a received run: " << error.toStdString()
              << "\n";
    emit keepFailed(error);
    if (told_) return;
    told_ = true;
    // Non-modal: the download is already shown, and later frames must not wait on a click.
    auto* notice = new QMessageBox(QMessageBox::Warning, uiText(librarytexts::kKeepFailedTitle),
                                   uiText(librarytexts::kKeepFailed).arg(error), QMessageBox::Ok,
                                   &noticeParent_);  // owned by the window
    notice->setObjectName(QString::fromUtf8(librarytexts::kKeepFailedNoticeName));
    notice->setWindowModality(Qt::NonModal);
    notice->setAttribute(Qt::WA_DeleteOnClose);
    notice->show();
}

}  // namespace korimet
