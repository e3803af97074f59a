#pragma once

#include <QHostAddress>
#include <QList>
#include <optional>

#include "pit/serve_address.h"

namespace korimet::pit {

// The address to listen on: the one given, or every IPv4 address of this machine.
QHostAddress listenAddress(const ServeAddress& address);

// The addresses people reach a server listening on `listened` by: itself when it is one, else
// this machine's IPv4 addresses outside loopback (a phone cannot use 127.0.0.1), loopback
// only when there is no other. No names: Android does not resolve .local.
QList<QHostAddress> reachableAddresses(const QHostAddress& listened);

}  // namespace korimet::pit
