#include "tools/number_answer.h"

#include <array>
#include <charconv>
#include <cstddef>
#include <system_error>

namespace korimet {
namespace {

// Full-width forms of the ASCII characters become ASCII; the ideographic space and the
// minus sign become their plain counterparts. Everything else is kept byte for byte.
std::string narrowed(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto b0 = static_cast<unsigned char>(text[i]);
        if (i + 2 < text.size()) {
            const auto b1 = static_cast<unsigned char>(text[i + 1]);
            const auto b2 = static_cast<unsigned char>(text[i + 2]);
            // U+FF01..U+FF5E are '!'..'~' in full width.
            if (b0 == 0xEF && (b1 == 0xBC || b1 == 0xBD) && b2 >= 0x80 && b2 <= 0xBF) {
                const unsigned codePoint = 0xFF00u + ((b1 - 0xBCu) << 6) + (b2 - 0x80u);
                if (codePoint >= 0xFF01u && codePoint <= 0xFF5Eu) {
                    out.push_back(static_cast<char>(codePoint - 0xFF01u + '!'));
                    i += 2;
                    continue;
                }
            }
            if (b0 == 0xE3 && b1 == 0x80 && b2 == 0x80) {  // U+3000
                out.push_back(' ');
                i += 2;
                continue;
            }
            if (b0 == 0xE2 && b1 == 0x88 && b2 == 0x92) {  // U+2212
                out.push_back('-');
                i += 2;
                continue;
            }
        }
        out.push_back(static_cast<char>(b0));
    }
    return out;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// True when `s` is exactly [sign] digits [. digits] with at least one digit, followed by an
// exponent when allowed.
bool wellFormed(std::string_view s, NumberSyntax syntax) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < s.size() && isDigit(s[i])) ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && isDigit(s[i])) ++i, ++digits;
    }
    if (digits == 0) return false;
    if (syntax == NumberSyntax::DecimalWithExponent && i < s.size() &&
        (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        std::size_t exponentDigits = 0;
        while (i < s.size() && isDigit(s[i])) ++i, ++exponentDigits;
        if (exponentDigits == 0) return false;
    }
    return i == s.size();
}

}  // namespace

std::optional<double> parseNumberAnswer(std::string_view text, NumberSyntax syntax) {
    const std::string plain = narrowed(text);
    std::string_view s = plain;
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    if (!wellFormed(s, syntax)) return std::nullopt;
    if (s.front() == '+') s.remove_prefix(1);  // from_chars takes no plus sign

    double value = 0.0;
    const auto format =
        syntax == NumberSyntax::Decimal ? std::chars_format::fixed : std::chars_format::general;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value, format);
    if (ec != std::errc{} || end != s.data() + s.size()) return std::nullopt;
    return value;
}

std::string numberDefaultText(double value) {
    std::array<char, 64> buffer{};
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    if (ec != std::errc{}) return {};
    return std::string(buffer.data(), end);
}

}  // namespace korimet
