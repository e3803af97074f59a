#include <QLabel>

#include "shell/ui/main_window.h"

namespace korimet {

void MainWindow::feedBytes(const QByteArray& bytes) {
    for (const char byte : bytes) {
        std::optional<DecodedFrame> frame = receiver_.feedByte(static_cast<std::uint8_t>(byte));
        if (!frame) continue;
        // Models without a name of their own leave the previous caption.
        if (frame->modelCaption) modelLabel->setText(QString::fromStdString(*frame->modelCaption));
        versionLabel->setText(QString::fromStdString(frame->versionText));
        session_->replaceRun(frame->data, RunOrigin::Timer, QString());
    }
}

}  // namespace korimet
