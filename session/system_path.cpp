#include "session/system_path.h"

namespace korimet {

namespace {

constexpr char16_t kEscapeBase = 0xDC80;

bool isEscape(char16_t unit) { return unit >= kEscapeBase && unit <= kEscapeBase + 0x7F; }

// Length of the well-formed UTF-8 character at `at`, or 0 (overlong forms, surrogates and
// values past U+10FFFF are not well-formed).
std::size_t characterLength(std::string_view s, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char b0 = byte(at);
    if (b0 < 0x80) return 1;
    const auto continuation = [&](std::size_t i) {
        return i < s.size() && (byte(i) & 0xC0) == 0x80;
    };
    if (b0 >= 0xC2 && b0 <= 0xDF) return continuation(at + 1) ? 2 : 0;
    if (b0 >= 0xE0 && b0 <= 0xEF) {
        if (!continuation(at + 1) || !continuation(at + 2)) return 0;
        const unsigned char b1 = byte(at + 1);
        if (b0 == 0xE0 && b1 < 0xA0) return 0;   // overlong
        if (b0 == 0xED && b1 >= 0xA0) return 0;  // surrogate
        return 3;
    }
    if (b0 >= 0xF0 && b0 <= 0xF4) {
        if (!continuation(at + 1) || !continuation(at + 2) || !continuation(at + 3)) return 0;
        const unsigned char b1 = byte(at + 1);
        if (b0 == 0xF0 && b1 < 0x90) return 0;   // overlong
        if (b0 == 0xF4 && b1 >= 0x90) return 0;  // past U+10FFFF
        return 4;
    }
    return 0;
}

}  // namespace

QString pathFromSystem(std::string_view bytes) {
    QString path;
    path.reserve(static_cast<qsizetype>(bytes.size()));
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t length = characterLength(bytes, at);
        if (length == 0) {
            // Only bytes 0x80-0xFF can fail to decode.
            path.append(QChar(static_cast<char16_t>(
                kEscapeBase + (static_cast<unsigned char>(bytes[at]) - 0x80))));
            ++at;
            continue;
        }
        path.append(QString::fromUtf8(bytes.data() + at, static_cast<qsizetype>(length)));
        at += length;
    }
    return path;
}

std::string systemPath(const QString& path) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(path.size()));
    qsizetype textStart = 0;
    const auto flushText = [&](qsizetype end) {
        if (end > textStart) bytes += path.mid(textStart, end - textStart).toUtf8().toStdString();
    };
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t unit = path.at(i).unicode();
        // A lone escape, not the low half of a real pair (those start with a high surrogate).
        const bool paired = i > 0 && QChar::isHighSurrogate(path.at(i - 1).unicode());
        if (isEscape(unit) && !paired) {
            flushText(i);
            bytes += static_cast<char>(0x80 + (unit - kEscapeBase));
            textStart = i + 1;
        }
    }
    flushText(path.size());
    return bytes;
}

QString shownPath(const QString& path) {
    QString shown = path;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const bool paired = i > 0 && QChar::isHighSurrogate(shown.at(i - 1).unicode());
        if (isEscape(shown.at(i).unicode()) && !paired) shown[i] = QChar(0xFFFD);
    }
    return shown;
}

}  // namespace korimet
