#include "shell/ui/given_files.h"

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include "common/ui/ui_text.h"
#include "files/file_texts.h"
#include "files/ui/file_command_texts.h"
#include "files/ui/file_commands.h"
#include "session/command_guard.h"
#include "session/dialogs.h"
#include "session/system_path.h"
#include "shell/ui/shell_texts.h"

namespace korimet {

GivenFile runFileAmong(const QMimeData* data) {
    if (!data || !data->hasUrls()) return {};
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile()) continue;
        // The encoded form keeps the name's bytes; toLocalFile would decode them as UTF-8.
        const QString path = pathFromSystem(
            QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()));
        if (!path.endsWith(QLatin1String(".krt"), Qt::CaseInsensitive)) continue;
        return {path};
    }
    return {};
}

bool openGivenFile(FileCommands& files, const GivenFile& file) {
    if (file.path.isEmpty()) return false;
    return files.openRunFile(file.path, RunOrigin::File);
}

RunFileDrops::RunFileDrops(QWidget& window, FileCommands& files, Dialogs& dialogs)
    : QObject(&window), window_(window), files_(files), dialogs_(dialogs) {
    window.setAcceptDrops(true);
    // Drags go to the control under the pointer first (the memo, the combo's text take drops
    // of their own), so the filter sits on the application and keeps to this window's.
    QCoreApplication::instance()->installEventFilter(this);
}

bool RunFileDrops::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            if (!watched->isWidgetType() || static_cast<QWidget*>(watched)->window() != &window_) {
                return false;
            }
            break;
        default:
            return false;
    }
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (runFileAmong(drag->mimeData()).path.isEmpty()) break;
            drag->acceptProposedAction();
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const GivenFile file = runFileAmong(drop->mimeData());
            if (file.path.isEmpty()) break;
            drop->acceptProposedAction();
            // Opened once the drop has finished: a failure's message box must not keep the
            // dragging program waiting for the end of the drop.
            QMetaObject::invokeMethod(
                this,
                [this, file] {
                    runGuarded(dialogs_, uiText(filetexts::kOpenDialogTitle),
                               [&] { openGivenFile(files_, file); });
                },
                Qt::QueuedConnection);
            return true;
        }
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace korimet
