#include "device/ui/device_link.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include "common/ui/ui_text.h"
#include "device/settings/port_paths.h"
#include "device/ui/device_texts.h"
#include "device/ui/port_selection.h"
#include "device/ui/serial_port.h"
#include "session/dialogs.h"
#include "session/run_session.h"

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
        // Only wheel and key events are looked at: asking for the list on any other event
        // would build it while the combo is still being made.
        if (event->type() != QEvent::Wheel && event->type() != QEvent::KeyPress) return false;
        auto* combo = qobject_cast<QComboBox*>(watched);
        if (!combo || combo->view()->isVisible()) return false;
        if (event->type() == QEvent::Wheel) return true;
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
};

}  // namespace

DeviceLink::DeviceLink(RunSession& session, Dialogs& dialogs, QWidget& comboHost,
                       SerialPortSurface* port)
    : QObject(&comboHost), session_(session), dialogs_(dialogs), port_(port) {
    if (port_) {
        port_->setParent(this);
    } else {
        port_ = new SystemSerialPort(this);  // owned by the link
    }
    auto message = [this](const QString& text, const QString& title) {
        dialogs_.message(text, title, MessageIcon::None);
    };
    portSelection_ = new PortSelection(*port_, message, this);  // owned by the link

    portCombo_ = new QComboBox(&comboHost);  // owned by its host
    portCombo_->setObjectName("Combo1");
    portCombo_->setEditable(true);
    portCombo_->setInsertPolicy(QComboBox::NoInsert);
    // The text only shows the pick; typed text must neither change it nor open a port.
    portCombo_->lineEdit()->setReadOnly(true);
    portCombo_->setCompleter(nullptr);
    for (int n = kFirstPort; n <= kLastPort; ++n) {
        portCombo_->addItem(portName(n));
        portCombo_->setItemData(n - kFirstPort, portDevicePath(n), Qt::ToolTipRole);
    }
    portCombo_->setCurrentIndex(-1);
    showPortCaption();
    // The caption before a pick is a word; a picked port's name is not.
    connect(&session_, &RunSession::languageChanged, this, [this] { showPortCaption(); });

    // The receive event: every waiting byte, one at a time, each good frame shown at once.
    connect(port_, &SerialPortSurface::bytesReceived, this,
            [this] { feedBytes(port_->readAll()); });

    // A pulled cable may cut a frame: its first part must not swallow the next frame. The
    // bytes that arrived before the loss have been fed by now. The user's own port changes
    // keep a pending frame.
    connect(port_, &SerialPortSurface::portLost, this, [this] { receiver_.reset(); });

    // activated, not currentIndexChanged: only the user's own pick opens a port; the menu
    // sets the index from code and has opened the port already.
    portCombo_->installEventFilter(new ClosedComboGuard(portCombo_));  // owned by the combo
    connect(portCombo_, &QComboBox::activated, this, [this](int index) {
        if (index < 0 || index >= kLastPort) return;
        portSelection_->openPort(index + kFirstPort, EntryPoint::Combo);
    });
}

void DeviceLink::openPortFromMenu(int portNumber) {
    const OpenPortResult result = portSelection_->openPort(portNumber, EntryPoint::Menu);
    if (result.comboIndex) portCombo_->setCurrentIndex(*result.comboIndex);
}

void DeviceLink::closePortIfOpen() {
    if (port_->isOpen()) port_->close();
}

void DeviceLink::showPortCaption() {
    if (portCombo_->currentIndex() < 0) portCombo_->setEditText(uiText(device_texts::kPortCaption));
}

void DeviceLink::feedBytes(const QByteArray& bytes) {
    for (const char byte : bytes) {
        std::optional<DecodedFrame> frame = receiver_.feedByte(static_cast<std::uint8_t>(byte));
        if (!frame) continue;
        NewRun run;
        run.data = frame->data;
        run.origin = RunOrigin::Timer;
        // Models without a name of their own leave the previous caption.
        if (frame->modelCaption) run.modelCaption = QString::fromStdString(*frame->modelCaption);
        run.sourceCaption = QString::fromStdString(frame->versionText);
        session_.replaceRun(run);
    }
}

}  // namespace korimet
