#include "files/trash.h"

#include <unistd.h>

#include <QFile>
#include <QString>
#include <cstdio>

#include "files/durable_write.h"

namespace korimet {

namespace {

// The length of the well-formed UTF-8 sequence at `at`, 0 when there is none.
std::size_t sequenceAt(const std::string& text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (at + length > text.size()) return 0;
    if (byte(at + 1) < low || byte(at + 1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (byte(at + i) < 0x80 || byte(at + i) > 0xBF) return 0;
    }
    return length;
}

}  // namespace

std::string trashableName(const std::string& name) {
    std::string text;
    for (std::size_t i = 0; i < name.size();) {
        const std::size_t length = sequenceAt(name, i);
        if (length == 0) {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", static_cast<unsigned char>(name[i]));
            text += escaped;
            ++i;
        } else {
            text.append(name, i, length);
            i += length;
        }
    }
    return text;
}

bool moveToTrash(const std::string& path) {
    if (fileKindAt(path) != FileKind::Regular) return false;
    const std::size_t slash = path.rfind('/');
    const std::string folder =
        slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string name = path.substr(folder.size());
    const std::string text = trashableName(name);
    if (text == name) return QFile::moveToTrash(QString::fromUtf8(path));
    std::string renamed = folder + text;
    for (int n = 2; ::access(renamed.c_str(), F_OK) == 0; ++n) {
        renamed = folder + std::to_string(n) + "-" + text;
    }
    if (::rename(path.c_str(), renamed.c_str()) != 0) return false;
    if (QFile::moveToTrash(QString::fromUtf8(renamed))) return true;
    ::rename(renamed.c_str(), path.c_str());
    return false;
}

}  // namespace korimet
