#include "files/utf8_check.h"

namespace korimet {

std::size_t utf8CharacterLength(std::string_view bytes) {
    if (bytes.empty()) return 0;
    auto at = [&bytes](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = at(0);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80;  // the range the second byte must fall in
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;   // overlong below
        if (lead == 0xED) high = 0x9F;  // surrogates above
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;   // overlong below
        if (lead == 0xF4) high = 0x8F;  // past U+10FFFF above
    } else {
        return 0;
    }
    if (bytes.size() < length) return 0;
    if (at(1) < low || at(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (at(i) < 0x80 || at(i) > 0xBF) return 0;
    }
    return length;
}

}  // namespace korimet
