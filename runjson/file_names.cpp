#include "runjson/file_names.h"

#include "files/utf8_check.h"

namespace korimet::cli {

namespace {

bool keptAsIs(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~' || c == '/';
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

bool isUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = utf8CharacterLength(bytes.substr(i));
        if (length == 0) return false;
        i += length;
    }
    return true;
}

std::string utf8WithReplacements(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = utf8CharacterLength(bytes.substr(i));
        if (length == 0) {
            text += "\xEF\xBF\xBD";
            ++i;
        } else {
            text.append(bytes.substr(i, length));
            i += length;
        }
    }
    return text;
}

std::string percentEncoded(std::string_view bytes) {
    constexpr char kHex[] = "0123456789ABCDEF";
    std::string text;
    for (const char byte : bytes) {
        const auto c = static_cast<unsigned char>(byte);
        if (keptAsIs(c)) {
            text += byte;
        } else {
            text += '%';
            text += kHex[c >> 4];
            text += kHex[c & 0xF];
        }
    }
    return text;
}

std::optional<std::string> percentDecoded(std::string_view text) {
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            bytes += text[i];
            continue;
        }
        if (text.size() - i < 3) return std::nullopt;
        const int high = hexValue(text[i + 1]);
        const int low = hexValue(text[i + 2]);
        if (high < 0 || low < 0) return std::nullopt;
        bytes += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return bytes;
}

}  // namespace korimet::cli
