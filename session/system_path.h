#pragma once

#include <QByteArray>
#include <QString>
#include <string>
#include <string_view>

// File names are bytes to the system and may be in any encoding (CP932 from a Windows
// archive or a synchronised library). Qt decodes them as UTF-8 and replaces what does not
// decode, so such a name would name another file. Paths in the window are QStrings that
// hold the bytes without loss: UTF-8 as text, every other byte as the lone surrogate
// U+DC80 + byte (no real text holds one). Every path handed to the system goes through
// systemPath; every path shown goes through shownPath.
namespace korimet {

QString pathFromSystem(std::string_view bytes);
inline QString pathFromSystem(const QByteArray& bytes) {
    return pathFromSystem(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

// The bytes the system knows the file by.
std::string systemPath(const QString& path);

// For a label or a message: each byte that is not text as U+FFFD.
QString shownPath(const QString& path);

}  // namespace korimet
