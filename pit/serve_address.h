#pragma once

#include <optional>
#include <string>
#include <string_view>

// Where the pit view listens, as given on a command line, and the address people type or scan.
namespace korimet::pit {

struct ServeAddress {
    std::string host;  // empty: every IPv4 address of this machine; IPv6 without brackets
    int port = 0;      // 0: one the system picks
};

// "NUMBER", "ADDRESS:NUMBER" or "[IPV6]:NUMBER"; none when it is not one of them or the number
// is not a port (0 to 65535). Host names are not taken: a phone may not resolve them.
std::optional<ServeAddress> parseServeAddress(std::string_view text);

// http://IP:PORT/?code=CODE, with brackets around an IPv6 address.
std::string pitUrl(std::string_view ip, int port, std::string_view code);

}  // namespace korimet::pit
