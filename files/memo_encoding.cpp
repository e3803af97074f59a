#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <iterator>

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

std::optional<QString> readAsUtf8(std::string_view bytes) {
    QStringDecoder decoder(QStringConverter::Utf8,
                           kStateless | QStringConverter::Flag::ConvertInitialBom);
    QString text = decoder.decode(view(bytes));
    if (decoder.hasError()) return std::nullopt;
    return text;
}

QString fromTable(QString text) {
    for (QChar& c : text) c = QChar(fromTableControl(c.unicode()));
    return text;
}

std::string tableToText(QString text) { return fromTable(std::move(text)).toStdString(); }

std::optional<QString> readAsCp932(std::string_view bytes) {
    QStringDecoder decoder("CP932", kStateless);
    if (!decoder.isValid()) return std::nullopt;
    QString text = decoder.decode(view(bytes));
    if (decoder.hasError()) return std::nullopt;
    return fromTable(std::move(text));
}

#include "files/memo_char_costs.inc"

CharClass classOf(char32_t c) {
    if (c < 0x20 || c == 0x7F) return CharClass::Control;
    if (c < 0x7F) {
        if (c >= '0' && c <= '9') return CharClass::Digit;
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return CharClass::Letter;
        return CharClass::AsciiPunct;
    }
    if (c >= 0x3041 && c <= 0x309F) return CharClass::Hiragana;
    if (c >= 0x30A0 && c <= 0x30FF) return CharClass::Katakana;
    if (c >= 0x4E00 && c <= 0x9FFF) return CharClass::RareKanji;  // common: in the table
    if (c >= 0xFF61 && c <= 0xFF9F) return CharClass::HalfwidthKana;
    if ((c >= 0x2010 && c <= 0x206F) || (c >= 0x2100 && c <= 0x27BF) ||
        (c >= 0x3000 && c <= 0x303F) || (c >= 0x3200 && c <= 0x33FF) ||
        (c >= 0xFF01 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFEF)) {
        return CharClass::WideSymbol;
    }
    return CharClass::Other;
}

int index(CharClass k) { return static_cast<int>(k); }

// How unlikely `text` is as a Japanese memo, in eighths of a bit: the character model of
// memo_char_costs.inc, each line end taken as the end of a line of the source.
std::int64_t textCost(const QString& text) {
    constexpr int kStart = kCharClassCount;
    std::int64_t total = 0;
    int before = kStart;
    for (const char32_t c : text.toUcs4()) {
        if (c == '\r' || c == '\n') {
            if (before != kStart) total += kMoveCost[before][index(CharClass::Control)];
            before = kStart;
            continue;
        }
        CharClass k = classOf(c);
        int charCost = kUnseenCost[index(k)];
        const auto* end = std::end(kCharCosts);
        const auto* known =
            std::lower_bound(std::begin(kCharCosts), end, c,
                             [](const CharCost& entry, char32_t code) { return entry.c < code; });
        if (known != end && known->c == c) {
            charCost = known->cost;
            if (k == CharClass::RareKanji) k = CharClass::CommonKanji;
        }
        total += kMoveCost[before][index(k)] + charCost;
        before = index(k);
    }
    if (before != kStart) total += kMoveCost[before][index(CharClass::Control)];
    return total;
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

std::optional<MemoReading> readMemoBytes(std::string_view bytes) {
    if (isAscii(bytes)) return MemoReading{std::string(bytes), MemoEncoding::Ascii, kMemoSureLead};
    if (bytes.starts_with(kUtf8Bom)) {
        const std::string_view rest = bytes.substr(kUtf8Bom.size());
        if (readAsUtf8(rest))
            return MemoReading{std::string(rest), MemoEncoding::Utf8, kMemoSureLead};
    }
    const auto utf8 = readAsUtf8(bytes);
    const auto cp932 = readAsCp932(bytes);
    if (utf8 && cp932) {
        // Both decode (short kana of one, Japanese of the other often do): the reading
        // that is the more likely Japanese text wins, by how much says how sure that is.
        const std::int64_t lead = textCost(*utf8) - textCost(*cp932) + kMemoCp932Prior;
        if (lead > 0) return MemoReading{cp932->toStdString(), MemoEncoding::Cp932, lead};
        return MemoReading{std::string(bytes), MemoEncoding::Utf8, -lead};
    }
    if (cp932) return MemoReading{cp932->toStdString(), MemoEncoding::Cp932, kMemoSureLead};
    if (utf8) return MemoReading{std::string(bytes), MemoEncoding::Utf8, kMemoSureLead};
    return std::nullopt;
}

std::optional<std::string> decodeMemo(std::string_view bytes) {
    auto reading = readMemoBytes(bytes);
    if (!reading) return std::nullopt;
    return std::move(reading->text);
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
