#include <QByteArrayView>
#include <QList>
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

QByteArrayView view(std::string_view bytes) {
    return QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// Characters of three UTF-8 bytes or more that a Japanese memo written in UTF-8 is made
// of: punctuation and symbols, kana, enclosed and squared forms, kanji, full-width forms.
bool isJapaneseWide(char32_t c) {
    return (c >= 0x2010 && c <= 0x27BF) || (c >= 0x3000 && c <= 0x30FF) ||
           (c >= 0x3200 && c <= 0x33FF) || (c >= 0x4E00 && c <= 0x9FFF) ||
           (c >= 0xFF00 && c <= 0xFFEF);
}

struct Utf8Reading {
    bool valid = false;
    bool japanese = false;  // some character of 3+ bytes, and every such one Japanese
};

Utf8Reading readAsUtf8(std::string_view bytes) {
    QStringDecoder decoder(QStringConverter::Utf8,
                           kStateless | QStringConverter::Flag::ConvertInitialBom);
    const QString text = decoder.decode(view(bytes));
    Utf8Reading r;
    r.valid = !decoder.hasError();
    if (!r.valid) return r;
    bool anyWide = false;
    bool allJapanese = true;
    for (const char32_t c : text.toUcs4()) {
        if (c < 0x800) continue;
        anyWide = true;
        allJapanese = allJapanese && isJapaneseWide(c);
    }
    r.japanese = anyWide && allJapanese;
    return r;
}

std::string tableToText(QString text) {
    for (QChar& c : text) c = QChar(fromTableControl(c.unicode()));
    return text.toStdString();
}

std::optional<std::string> readAsCp932(std::string_view bytes) {
    QStringDecoder decoder("CP932", kStateless);
    if (!decoder.isValid()) return std::nullopt;
    const QString text = decoder.decode(view(bytes));
    if (decoder.hasError()) return std::nullopt;
    return tableToText(text);
}

bool isCp932Lead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

}  // namespace

std::optional<std::string> encodeMemo(std::string_view utf8, std::string* unencodable) {
    if (isAscii(utf8) && utf8.find_first_of("\x1A\x1C\x7F") == std::string_view::npos) {
        return std::string(utf8);
    }
    // Not QString::fromUtf8: it drops a leading U+FEFF, which would then vanish unseen.
    QStringDecoder fromUtf8(QStringConverter::Utf8,
                            kStateless | QStringConverter::Flag::ConvertInitialBom);
    QString text = fromUtf8.decode(view(utf8));
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
    if (bytes.starts_with(kUtf8Bom)) {
        const std::string_view rest = bytes.substr(kUtf8Bom.size());
        if (readAsUtf8(rest).valid) return std::string(rest);
    }
    // Short CP932 kana are often valid UTF-8 too, and UTF-8 Japanese is often valid CP932:
    // UTF-8 wins only when it reads as Japanese text.
    const Utf8Reading utf8 = readAsUtf8(bytes);
    if (utf8.japanese) return std::string(bytes);
    if (auto cp932 = readAsCp932(bytes)) return cp932;
    if (utf8.valid) return std::string(bytes);
    return std::nullopt;
}

std::string decodeMemoLossy(std::string_view bytes) {
    if (auto text = decodeMemo(bytes)) return *text;
    // One CP932 character at a time; whatever does not decode becomes U+FFFD, so the memo
    // box shows where the damage is and the writer refuses the text until it is dealt with.
    QString text;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        const std::size_t len = isCp932Lead(b) && i + 1 < bytes.size() ? 2 : 1;
        QStringDecoder decoder("CP932", kStateless);
        const QString one = decoder.decode(view(bytes.substr(i, len)));
        if (!decoder.hasError() && one.size() >= 1) {
            text += one;
            i += len;
        } else {
            text += QChar(QChar::ReplacementCharacter);
            ++i;
        }
    }
    return tableToText(text);
}

std::string memoAsWritten(std::string_view utf8) {
    QStringDecoder fromUtf8(QStringConverter::Utf8,
                            kStateless | QStringConverter::Flag::ConvertInitialBom);
    QString text = fromUtf8.decode(view(utf8));
    for (QChar& c : text) c = QChar(cp932LookAlike(c.unicode()));
    return text.toStdString();
}

}  // namespace korimet
