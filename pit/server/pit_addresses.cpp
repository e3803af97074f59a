#include "pit/server/pit_addresses.h"

#include <QNetworkInterface>

namespace korimet::pit {

QHostAddress listenAddress(const ServeAddress& address) {
    if (address.host.empty()) return QHostAddress(QHostAddress::AnyIPv4);
    return QHostAddress(QString::fromStdString(address.host));
}

QList<QHostAddress> reachableAddresses(const QHostAddress& listened) {
    if (listened != QHostAddress(QHostAddress::AnyIPv4) &&
        listened != QHostAddress(QHostAddress::Any))
        return {listened};
    QList<QHostAddress> found;
    for (const QNetworkInterface& nic : QNetworkInterface::allInterfaces()) {
        const auto flags = nic.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) ||
            !flags.testFlag(QNetworkInterface::IsRunning) ||
            flags.testFlag(QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry& entry : nic.addressEntries()) {
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol) found.push_back(entry.ip());
        }
    }
    if (found.isEmpty()) found.push_back(QHostAddress(QHostAddress::LocalHost));
    return found;
}

}  // namespace korimet::pit
