#include "device/ui/port_selection.h"

#include <cstdio>

#include "common/ui/ui_text.h"
#include "device/ui/device_texts.h"

namespace korimet {
namespace {

QString text(const char* japanese) { return uiText(japanese); }

QString bracketedPort(int n) { return QLatin1Char('(') + portName(n) + QLatin1Char(')'); }

}  // namespace

QString openFailureCauseLine(int n, const QString& step, const QString& cause) {
    QString line = QStringLiteral("Korimet: cannot open %1 (%2), step %3: %4")
                       .arg(portName(n), portDevicePath(n), step, cause);
    // One line, whatever the system's text holds.
    line.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return line;
}

QString openFailureText(int n, EntryPoint from) {
    QString first = text(device_texts::kCannotOpenPort);
    if (from == EntryPoint::Menu) first += bracketedPort(n);
    return first + text(device_texts::kLineBreak) + text(device_texts::kTryAnotherPort);
}

QString portLostText(int n) {
    return text(device_texts::kPortDisconnected) + bracketedPort(n) +
           text(device_texts::kLineBreak) + text(device_texts::kReconnectHint);
}

OpenPortResult openPort(SerialPortSurface& port, int n, EntryPoint from, const MessageFn& message) {
    OpenPortResult result;
    auto fail = [&](const char* step, const PortStepError& error) {
        result.failedStep = QString::fromLatin1(step);
        result.cause = error.cause;
        // The message box stays as the user knows it; the system's reason goes to the log.
        std::fprintf(
            stderr, "%s\n",
            openFailureCauseLine(n, result.failedStep, result.cause).toLocal8Bit().constData());
        std::fflush(stderr);
        // A port that was open before the pick stays closed, whatever step failed.
        if (port.isOpen()) port.close();
        if (message) message(openFailureText(n, from), text(device_texts::kAppTitle));
        return result;
    };

    if (port.isOpen()) {
        if (PortStep e = port.close()) return fail("close", *e);
    }
    if (PortStep e = port.setPortNumber(n)) return fail("port number", *e);
    if (PortStep e = port.setSettings(QString::fromLatin1(kLineSettingsText))) {
        return fail("settings", *e);
    }
    if (PortStep e = port.setInputMode(1)) return fail("input mode", *e);
    if (PortStep e = port.setReceiveThreshold(1)) return fail("receive threshold", *e);
    if (PortStep e = port.setInputLength(0)) return fail("input length", *e);
    if (!port.isOpen()) {
        if (PortStep e = port.open()) return fail("open", *e);
    }
    result.opened = true;
    if (from == EntryPoint::Menu) result.comboIndex = n - 1;
    return result;
}

PortSelection::PortSelection(SerialPortSurface& port, MessageFn message, QObject* parent)
    : QObject(parent), port_(port), message_(std::move(message)) {
    // Queued: the message box must not run inside the port's own error notification.
    connect(&port_, &SerialPortSurface::portLost, this, &PortSelection::onPortLost,
            Qt::QueuedConnection);
}

OpenPortResult PortSelection::openPort(int n, EntryPoint from) {
    return korimet::openPort(port_, n, from, message_);
}

void PortSelection::onPortLost(int n) {
    if (message_) message_(portLostText(n), text(device_texts::kAppTitle));
    emit portLost(n);
}

}  // namespace korimet
