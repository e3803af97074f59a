#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>

#include "device/ui/port_selection.h"
#include "device/ui/serial_port.h"
#include "shell/ui/main_window.h"

namespace korimet {

namespace {

// The closed combo box turns wheel steps and arrow keys into picks (Qt raises activated
// for them), so scrolling past it would open and close ports. Only a pick from the open
// list may open one; the closed box ignores both.
class ClosedComboGuard : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* combo = qobject_cast<QComboBox*>(watched);
        if (!combo || combo->view()->isVisible()) return false;
        if (event->type() == QEvent::Wheel) return true;
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->modifiers() & Qt::AltModifier) return false;  // Alt+Down opens the list
            switch (key->key()) {
                case Qt::Key_Up:
                case Qt::Key_Down:
                case Qt::Key_PageUp:
                case Qt::Key_PageDown:
                case Qt::Key_Home:
                case Qt::Key_End:
                    return true;
                default:
                    return false;
            }
        }
        return false;
    }
};

}  // namespace

void MainWindow::setupDeviceLink() {
    port_ = new SystemSerialPort(this);  // owned by the window
    // Looked up per message: tests and callers may swap the dialogs after this point.
    auto message = [this](const QString& text, const QString& title) {
        dialogs().message(text, title, MessageIcon::None);
    };
    portSelection_ = new PortSelection(*port_, message, this);  // owned by the window

    // The receive event: every waiting byte, one at a time, each good frame shown at once.
    connect(port_, &SerialPortSurface::bytesReceived, this,
            [this] { feedBytes(port_->readAll()); });

    // A pulled cable may cut a frame: its first part must not swallow the next frame. The
    // bytes that arrived before the loss have been fed by now. The user's own port changes
    // keep a pending frame.
    connect(port_, &SerialPortSurface::portLost, this, [this] { receiver_.reset(); });

    // activated, not currentIndexChanged: only the user's own pick opens a port; the menu
    // sets the index from code and has opened the port already.
    portCombo->installEventFilter(new ClosedComboGuard(portCombo));  // owned by the combo
    connect(portCombo, &QComboBox::activated, this, [this](int index) {
        if (index < 0 || index >= kLastPort) return;
        portSelection_->openPort(index + kFirstPort, EntryPoint::Combo);
    });
    for (int n = kFirstPort; n <= kLastPort && n <= portCombo->count(); ++n) {
        portCombo->setItemData(n - kFirstPort, portDevicePath(n), Qt::ToolTipRole);
    }
}

void MainWindow::openPortFromMenu(int portNumber) {
    const OpenPortResult result = portSelection_->openPort(portNumber, EntryPoint::Menu);
    if (result.comboIndex) portCombo->setCurrentIndex(*result.comboIndex);
}

void MainWindow::closePortIfOpen() {
    if (port_ && port_->isOpen()) port_->close();
}

}  // namespace korimet
