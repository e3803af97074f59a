#pragma once

#include <QByteArray>
#include <QObject>

#include "device/frame_receiver.h"

class QComboBox;
class QWidget;

namespace korimet {

class Dialogs;
class PortSelection;
class RunSession;
class SerialPortSurface;

// The timer's line: the port, the port picks from the menu and the combo box Combo1, and
// the frame receiver. Each good frame becomes the session's run, with the timer's model
// and firmware as its source captions.
class DeviceLink : public QObject {
    Q_OBJECT
  public:
    // Builds the combo box as a child of `comboHost`. Without `port` it opens the system's
    // serial ports; a given port is adopted (made a child of the link).
    DeviceLink(RunSession& session, Dialogs& dialogs, QWidget& comboHost,
               SerialPortSurface* port = nullptr);

    QComboBox& portCombo() const { return *portCombo_; }
    SerialPortSurface& port() const { return *port_; }

    // COM1..COM8 from the menu (F1..F8); the combo box follows a successful pick.
    void openPortFromMenu(int portNumber);
    void closePortIfOpen();

    // Every byte goes to the receiver in order; a good frame is shown before the next byte
    // is fed.
    void feedBytes(const QByteArray& bytes);

  private:
    // The combo's caption while no port is picked, in the window's language.
    void showPortCaption();

    RunSession& session_;
    Dialogs& dialogs_;
    FrameReceiver receiver_;
    SerialPortSurface* port_ = nullptr;       // owned by the link (Qt parent)
    PortSelection* portSelection_ = nullptr;  // owned by the link (Qt parent)
    QComboBox* portCombo_ = nullptr;          // Combo1, owned by its host
};

}  // namespace korimet
