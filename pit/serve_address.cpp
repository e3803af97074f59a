#include "pit/serve_address.h"

#include <arpa/inet.h>

#include <charconv>

namespace korimet::pit {

namespace {

std::optional<int> portNumber(std::string_view text) {
    if (text.empty() || text.size() > 5) return std::nullopt;
    int port = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), port);
    if (ec != std::errc() || end != text.data() + text.size() || port < 0 || port > 65535)
        return std::nullopt;
    return port;
}

bool isAddress(int family, const std::string& host) {
    unsigned char bytes[16];
    return ::inet_pton(family, host.c_str(), bytes) == 1;
}

}  // namespace

std::optional<ServeAddress> parseServeAddress(std::string_view text) {
    ServeAddress address;
    std::string_view portText = text;
    if (text.starts_with('[')) {
        const std::size_t close = text.find("]:");
        if (close == std::string_view::npos) return std::nullopt;
        address.host = std::string(text.substr(1, close - 1));
        if (!isAddress(AF_INET6, address.host)) return std::nullopt;
        portText = text.substr(close + 2);
    } else if (const std::size_t colon = text.rfind(':'); colon != std::string_view::npos) {
        address.host = std::string(text.substr(0, colon));
        if (!isAddress(AF_INET, address.host)) return std::nullopt;
        portText = text.substr(colon + 1);
    }
    const std::optional<int> port = portNumber(portText);
    if (!port) return std::nullopt;
    address.port = *port;
    return address;
}

std::string pitUrl(std::string_view ip, int port, std::string_view code) {
    const bool v6 = ip.find(':') != std::string_view::npos;
    std::string url = "http://";
    url += v6 ? "[" + std::string(ip) + "]" : std::string(ip);
    url += ":" + std::to_string(port) + "/?code=" + std::string(code);
    return url;
}

}  // namespace korimet::pit
