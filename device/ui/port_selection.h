#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

#include "device/ui/serial_port.h"

namespace korimet {

// Where a pick came from: a menu item COMn (F1..F8) or the port combo box.
enum class EntryPoint { Menu, Combo };

// Shows one modal message with a single OK button; the answer is not used.
using MessageFn = std::function<void(const QString& text, const QString& title)>;

// The line every pick configures.
inline constexpr char kLineSettingsText[] = "19200,N,8,1";

struct OpenPortResult {
    bool opened = false;
    // After a successful menu pick: the combo entry that now has to show (n - 1).
    std::optional<int> comboIndex;
    // After a failure: the step that failed and why (not shown to the user).
    QString failedStep;
    QString cause;
};

// "ポートが開けません(COMn)" (menu) or "ポートが開けません" (combo), CR LF, then the hint.
QString openFailureText(int n, EntryPoint from);
// The line written to standard error when a pick fails: port, device, failed step and the
// system's reason ("No such file or directory", "Permission denied" ...).
QString openFailureCauseLine(int n, const QString& step, const QString& cause);
// "通信ポートが切断されました(COMn)", CR LF, then the hint to check the cable.
QString portLostText(int n);

// Closes whatever is open, configures port n at 19200,N,8,1 in bytes mode and opens it. On
// failure shows the message and leaves no port open. The frame receiver is never touched.
OpenPortResult openPort(SerialPortSurface& port, int n, EntryPoint from, const MessageFn& message);

// Port picks and the lost-port rule for one window.
class PortSelection : public QObject {
    Q_OBJECT
  public:
    PortSelection(SerialPortSurface& port, MessageFn message, QObject* parent = nullptr);

    OpenPortResult openPort(int n, EntryPoint from);

  signals:
    // The open port went away; its message has been shown and no port is open. A later pick
    // may open it again.
    void portLost(int n);

  private:
    void onPortLost(int n);

    SerialPortSurface& port_;
    MessageFn message_;
};

}  // namespace korimet
