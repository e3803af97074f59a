#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

#include "files/data_file.h"

namespace korimet {

namespace {

constexpr auto kStateless = QStringConverter::Flag::Stateless;

// The CP932 table behind QStringEncoder swaps three control characters (0x1A, 0x1C,
// 0x7F) against what Windows does; undo that so control characters stay themselves.
char16_t toTableControl(char16_t c) {
    switch (c) {
        case 0x1A:
            return 0x1C;
        case 0x1C:
            return 0x7F;
        case 0x7F:
            return 0x1A;
        default:
            return c;
    }
}
char16_t fromTableControl(char16_t c) {
    switch (c) {
        case 0x1C:
            return 0x1A;
        case 0x7F:
            return 0x1C;
        case 0x1A:
            return 0x7F;
        default:
            return c;
    }
}

// Characters that other systems produce for the CP932 ones (JIS mapping versus
// Microsoft's): written as the CP932 character the user meant.
char16_t cp932LookAlike(char16_t c) {
    switch (c) {
        case 0x301C:
            return 0xFF5E;  // wave dash -> fullwidth tilde
        case 0x2016:
            return 0x2225;  // double vertical line -> parallel to
        case 0x2212:
            return 0xFF0D;  // minus sign -> fullwidth hyphen-minus
        case 0x00A2:
            return 0xFFE0;  // cent
        case 0x00A3:
            return 0xFFE1;  // pound
        case 0x00AC:
            return 0xFFE2;  // not sign
        case 0x2014:
            return 0x2015;  // em dash -> horizontal bar
        default:
            return c;
    }
}

// True when CP932 bytes decode back to exactly `text`.
bool survives(const QByteArray& bytes, const QString& text) {
    QStringDecoder decoder("CP932", kStateless);
    const QString back = decoder.decode(bytes);
    return !decoder.hasError() && back == text;
}

bool isAscii(std::string_view bytes) {
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool isValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    const std::size_t n = bytes.size();
    while (i < n) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        int extra;
        unsigned char lo = 0x80, hi = 0xBF;  // range of the first continuation byte
        if (b >= 0xC2 && b <= 0xDF) {
            extra = 1;
        } else if (b >= 0xE0 && b <= 0xEF) {
            extra = 2;
            if (b == 0xE0) lo = 0xA0;
            if (b == 0xED) hi = 0x9F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            extra = 3;
            if (b == 0xF0) lo = 0x90;
            if (b == 0xF4) hi = 0x8F;
        } else {
            return false;
        }
        if (n - i - 1 < static_cast<std::size_t>(extra)) return false;
        for (int k = 1; k <= extra; ++k) {
            const auto c = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
            if (k == 1 ? (c < lo || c > hi) : (c < 0x80 || c > 0xBF)) return false;
        }
        i += static_cast<std::size_t>(extra) + 1;
    }
    return true;
}

}  // namespace

std::optional<std::string> encodeMemo(std::string_view utf8, std::string* unencodable) {
    if (isAscii(utf8) && utf8.find_first_of("\x1A\x1C\x7F") == std::string_view::npos) {
        return std::string(utf8);
    }
    // Not QString::fromUtf8: it drops a leading U+FEFF, which would then vanish unseen.
    QStringDecoder fromUtf8(QStringConverter::Utf8,
                            kStateless | QStringConverter::Flag::ConvertInitialBom);
    QString text =
        fromUtf8.decode(QByteArrayView(utf8.data(), static_cast<qsizetype>(utf8.size())));
    for (QChar& c : text) c = QChar(toTableControl(cp932LookAlike(c.unicode())));

    QStringEncoder encoder("CP932", kStateless);
    if (!encoder.isValid()) {
        if (unencodable) unencodable->clear();
        return std::nullopt;
    }
    const QByteArray bytes = encoder.encode(text);
    // The converter drops some characters (U+FEFF) or maps them one way without an
    // error; only what reads back unchanged is kept.
    if (!encoder.hasError() && survives(bytes, text)) return bytes.toStdString();

    if (unencodable) {
        unencodable->clear();
        for (qsizetype i = 0; i < text.size();) {
            const qsizetype len = (text[i].isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
            const QString one = text.mid(i, len);
            QStringEncoder single("CP932", kStateless);
            const QByteArray oneBytes = single.encode(one);
            if (single.hasError() || !survives(oneBytes, one)) {
                QString shown = one;
                for (QChar& c : shown) c = QChar(fromTableControl(c.unicode()));
                *unencodable = shown.toStdString();
                break;
            }
            i += len;
        }
    }
    return std::nullopt;
}

std::optional<std::string> decodeMemo(std::string_view bytes) {
    if (isAscii(bytes)) return std::string(bytes);
    // UTF-8 first: Japanese in UTF-8 often also forms valid (garbled) CP932, while CP932
    // Japanese almost never forms valid UTF-8.
    if (isValidUtf8(bytes)) return std::string(bytes);

    QStringDecoder decoder("CP932", kStateless);
    if (!decoder.isValid()) return std::nullopt;
    QString text =
        decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (decoder.hasError()) return std::nullopt;
    for (QChar& c : text) c = QChar(fromTableControl(c.unicode()));
    return text.toStdString();
}

}  // namespace korimet
