#include "session/system_path.h"

#include "files/utf8_check.h"

namespace korimet {

namespace {

constexpr char16_t kEscapeBase = 0xDC80;

bool isEscape(char16_t unit) { return unit >= kEscapeBase && unit <= kEscapeBase + 0x7F; }

}  // namespace

QString pathFromSystem(std::string_view bytes) {
    QString path;
    path.reserve(static_cast<qsizetype>(bytes.size()));
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t length = utf8CharacterLength(bytes.substr(at));
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
