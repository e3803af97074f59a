#include <QComboBox>

#include "device/ui/port_selection.h"
#include "device/ui/serial_port.h"
#include "shell/ui/main_window.h"

namespace korimet {

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

    // activated, not currentIndexChanged: only the user's own pick opens a port; the menu
    // sets the index from code and has opened the port already.
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
