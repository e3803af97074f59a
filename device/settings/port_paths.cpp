#include "device/settings/port_paths.h"

#include <QSettings>

namespace korimet {

QString portName(int n) { return QStringLiteral("COM%1").arg(n); }

QString portDevicePath(int n) {
#ifdef Q_OS_WIN
    return portName(n);
#else
    QSettings settings;
    return settings
        .value(QStringLiteral("Ports/") + portName(n), QStringLiteral("/dev/ttyS%1").arg(n - 1))
        .toString();
#endif
}

}  // namespace korimet
