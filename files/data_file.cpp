#include "files/data_file.h"

#include <array>
#include <charconv>
#include <cmath>
#include <system_error>

#include "lapdata/run_statistics.h"

namespace korimet {

namespace {

bool isLineEnd(char c) { return c == '\r' || c == '\n'; }
bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Where a field starts, for errors.
struct Place {
    int line = 1;
    int field = 0;  // 1-based
};

// Walks the file field by field. Commas and line ends (CR LF, LF, CR) both end a field.
class FieldScanner {
  public:
    explicit FieldScanner(std::string_view bytes) : bytes_(bytes) {
        // A file saved by a Linux editor may start with a byte order mark.
        if (bytes_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
    }

    // Starts the next field: skips blanks, returns false at the end of the file.
    bool begin() {
        while (pos_ < bytes_.size() && isBlank(bytes_[pos_])) ++pos_;
        fieldStart_ = {line_, fieldStart_.field + 1};
        return pos_ < bytes_.size();
    }

    // Where the current field started.
    const Place& place() const { return fieldStart_; }
    bool atQuote() const { return pos_ < bytes_.size() && bytes_[pos_] == '"'; }

    // An unquoted field up to the next comma or line end, trailing blanks dropped.
    std::string_view plainField() {
        const std::size_t start = pos_;
        while (pos_ < bytes_.size() && bytes_[pos_] != ',' && !isLineEnd(bytes_[pos_])) ++pos_;
        std::size_t end = pos_;
        while (end > start && isBlank(bytes_[end - 1])) --end;
        endField();
        return bytes_.substr(start, end - start);
    }

    // A quoted field: everything to the next lone quote; "" stands for one quote.
    // None when the closing quote is missing. Nothing after it is read.
    std::optional<std::string> quotedField() {
        std::string text;
        std::size_t i = pos_ + 1;
        while (i < bytes_.size()) {
            const char c = bytes_[i];
            if (c == '"') {
                if (i + 1 < bytes_.size() && bytes_[i + 1] == '"') {
                    text += '"';
                    i += 2;
                    continue;
                }
                pos_ = i + 1;
                return text;
            }
            text += c;
            ++i;
        }
        return std::nullopt;
    }

    // A quoted field as the timer's Windows software writes it, quotes undoubled and nothing
    // after it: up to the last quote in the file. None when there is none.
    std::optional<std::string> quotedFieldToLastQuote() {
        const std::size_t close = bytes_.rfind('"');
        if (close == std::string_view::npos || close <= pos_) return std::nullopt;
        std::string text(bytes_.substr(pos_ + 1, close - pos_ - 1));
        pos_ = close + 1;
        return text;
    }

    // Whether the field ends here: at a line end or the end of the file.
    bool atLineEnd() const { return pos_ >= bytes_.size() || isLineEnd(bytes_[pos_]); }

  private:
    void endField() {
        if (pos_ >= bytes_.size()) return;
        const char c = bytes_[pos_++];
        if (c == '\r') {
            if (pos_ < bytes_.size() && bytes_[pos_] == '\n') ++pos_;
            ++line_;
        } else if (c == '\n') {
            ++line_;
        }
    }

    std::string_view bytes_;
    std::size_t pos_ = 0;
    int line_ = 1;
    Place fieldStart_;
};

enum class NumberParse { kOk, kSyntax, kRange };

NumberParse parseNumber(std::string_view text, double& out) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    auto digits = [&] {
        const std::size_t start = i;
        while (i < n && text[i] >= '0' && text[i] <= '9') ++i;
        return i - start;
    };
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const std::size_t mantissaStart = i;
    std::size_t count = digits();
    if (i < n && text[i] == '.') {
        ++i;
        count += digits();
    }
    if (count == 0) return NumberParse::kSyntax;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
        if (digits() == 0) return NumberParse::kSyntax;
    }
    if (i != n) return NumberParse::kSyntax;

    // from_chars takes no '+'; the sign is applied afterwards.
    double value = 0.0;
    const auto r = std::from_chars(text.data() + mantissaStart, text.data() + n, value,
                                   std::chars_format::general);
    if (r.ec != std::errc() || r.ptr != text.data() + n || !std::isfinite(value)) {
        return NumberParse::kRange;
    }
    out = negative ? -value : value;
    return NumberParse::kOk;
}

class Reader {
  public:
    explicit Reader(std::string_view bytes) : scan_(bytes) {}

    std::optional<double> number() {
        if (!scan_.begin()) return fail(FileErrorCode::EndsEarly);
        if (scan_.atQuote()) return fail(FileErrorCode::NotANumber);
        const std::string_view text = scan_.plainField();
        if (text.empty()) return fail(FileErrorCode::EmptyField);
        double value = 0.0;
        switch (parseNumber(text, value)) {
            case NumberParse::kOk:
                return value;
            case NumberParse::kSyntax:
                return fail(FileErrorCode::NotANumber);
            case NumberParse::kRange:
                return fail(FileErrorCode::NumberOutOfRange);
        }
        return fail(FileErrorCode::NotANumber);
    }

    std::optional<std::uint8_t> byte() {
        const auto value = number();
        if (!value) return std::nullopt;
        if (!(*value >= 0.0 && *value <= 255.0) || std::trunc(*value) != *value) {
            return fail(FileErrorCode::NotAByte);
        }
        return static_cast<std::uint8_t>(*value);
    }

    std::optional<std::string> memo() {
        if (!scan_.begin()) return fail(FileErrorCode::EndsEarly);
        std::string raw;
        if (scan_.atQuote()) {
            // Korimet doubles quotes and ends the line after the closing one; the original
            // writes them as they are and nothing after the memo, so a "closing" quote with
            // more on its line, or none at all, means the memo runs to the last quote.
            const FieldScanner start = scan_;
            auto quoted = scan_.quotedField();
            if (!quoted || !scan_.atLineEnd()) {
                scan_ = start;
                quoted = scan_.quotedFieldToLastQuote();
            }
            if (!quoted) return fail(FileErrorCode::UnclosedQuote);
            raw = std::move(*quoted);
        } else {
            raw = std::string(scan_.plainField());
        }
        if (auto reading = readMemoBytes(raw)) {
            if (reading->doubtful()) {
                memoDoubt_ = MemoDoubt{scan_.place(), reading->encoding};
            }
            return std::move(reading->text);
        }
        memoProblem_ = scan_.place();
        return decodeMemoLossy(raw);
    }

    // Why and where the read stopped.
    FileErrorCode code() const { return code_; }
    const Place& place() const { return place_; }
    // Where the memo did not decode, when it did not.
    const std::optional<Place>& memoProblem() const { return memoProblem_; }
    // Where the memo was read and as what, when its reading was doubtful.
    struct MemoDoubt {
        Place place;
        MemoEncoding chosen;
    };
    const std::optional<MemoDoubt>& memoDoubt() const { return memoDoubt_; }

  private:
    std::nullopt_t fail(FileErrorCode code) {
        code_ = code;
        place_ = scan_.place();
        return std::nullopt;
    }

    FieldScanner scan_;
    FileErrorCode code_ = FileErrorCode::None;
    Place place_;
    std::optional<Place> memoProblem_;
    std::optional<MemoDoubt> memoDoubt_;
};

FileError readError(FileErrorCode code, std::string_view fileName, const Place& place) {
    FileError error;
    error.code = code;
    error.operation = FileOperation::Read;
    error.path = std::string(fileName);
    error.place = FilePlace{place.line, place.field};
    return error;
}

FileError refusal(std::string_view fileName, const Reader& r) {
    return readError(r.code(), fileName, r.place());
}

// The memo and, when it did not decode or its reading is doubtful, the warning that says so.
bool readMemo(Reader& r, std::string_view fileName, DataFileReadResult& result,
              DataFileContent& content) {
    auto memo = r.memo();
    if (!memo) {
        result.error = refusal(fileName, r);
        return false;
    }
    content.memo = std::move(*memo);
    if (r.memoProblem()) {
        result.warning = readError(FileErrorCode::MemoUnreadable, fileName, *r.memoProblem());
    } else if (const auto& doubt = r.memoDoubt()) {
        result.warning = readError(FileErrorCode::MemoEncodingDoubtful, fileName, doubt->place);
        result.warning.detail = doubt->chosen == MemoEncoding::Cp932 ? "CP932" : "UTF-8";
    }
    return true;
}

// The seven scalars of line 1, in file order, into `data`.
bool readScalars(Reader& r, LapData& data) {
    const auto carId = r.byte();
    if (!carId) return false;
    const auto lapCount = r.byte();
    if (!lapCount) return false;
    const auto target = r.number();
    if (!target) return false;
    const auto extra1 = r.number();
    if (!extra1) return false;
    const auto extra2 = r.number();
    if (!extra2) return false;
    const auto race = r.byte();
    if (!race) return false;
    const auto extraByte = r.byte();
    if (!extraByte) return false;
    data.carId = *carId;
    data.lapCount = *lapCount;
    data.lapCount = static_cast<std::uint8_t>(countedLaps(data));  // a file may claim more
    data.targetTime = *target;
    data.extraValue1 = *extra1;
    data.extraValue2 = *extra2;
    data.raceMinutes = *race;
    data.extraByte = *extraByte;
    return true;
}

void appendNumber(std::string& out, double value) {
    out += formatFileNumber(value);
    out += "\r\n";
}

}  // namespace

std::string withDataFileSuffix(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string_view name =
        std::string_view(path).substr(slash == std::string::npos ? 0 : slash + 1);
    if (name.empty() || name == "." || name == "..") return path;
    if (const auto dot = name.rfind('.'); dot != std::string_view::npos && dot > 0) return path;
    return path + kDataFileSuffix;
}

std::string formatFileNumber(double value) {
    if (value == 0.0) return "0";  // -0 too
    std::array<char, 40> buf;
    auto r =
        std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::general, 15);
    double back = 0.0;
    if (parseNumber(std::string_view(buf.data(), r.ptr), back) != NumberParse::kOk) {
        // Next to the largest double, 15 digits round past it; write the shortest
        // text that reads back instead.
        r = std::to_chars(buf.data(), buf.data() + buf.size(), value);
    }
    std::string text(buf.data(), r.ptr);
    if (const auto e = text.find('e'); e != std::string::npos) text[e] = 'E';
    if (text.starts_with("0.")) {
        text.erase(0, 1);
    } else if (text.starts_with("-0.")) {
        text.erase(1, 1);
    }
    return text;
}

std::optional<double> parseFileNumber(std::string_view text) {
    double value = 0.0;
    if (parseNumber(text, value) != NumberParse::kOk) return std::nullopt;
    return value;
}

DataFileWriteResult writeDataFileBytes(const LapData& data, std::string_view memo) {
    DataFileWriteResult result;
    bool finite = std::isfinite(data.targetTime) && std::isfinite(data.extraValue1) &&
                  std::isfinite(data.extraValue2);
    for (double lap : data.laps) finite = finite && std::isfinite(lap);
    result.error.operation = FileOperation::Save;
    if (!finite) {
        result.error.code = FileErrorCode::ValueNotFinite;
        return result;
    }

    std::string bad;
    const auto encoded = encodeMemo(memo, &bad);
    if (!encoded) {
        result.error.code = bad.empty() ? FileErrorCode::NoEncoder : FileErrorCode::MemoUnencodable;
        result.error.detail = std::move(bad);
        return result;
    }
    // Every reader takes the memo through decodeMemo; what it would not give back as
    // written is refused here rather than changed on the next open.
    if (decodeMemo(*encoded) != memoAsWritten(memo)) {
        result.error.code = FileErrorCode::MemoWouldChange;
        return result;
    }

    std::string out;
    out.reserve(60 * 8 + encoded->size() + 64);
    out += std::to_string(data.carId) + ',' + std::to_string(data.lapCount) + ',' +
           formatFileNumber(data.targetTime) + ',' + formatFileNumber(data.extraValue1) + ',' +
           formatFileNumber(data.extraValue2) + ',' + std::to_string(data.raceMinutes) + ',' +
           std::to_string(data.extraByte) + "\r\n";
    for (double lap : data.laps) appendNumber(out, lap);
    out += '"';
    for (char c : *encoded) {
        // CP932 never uses 0x22 inside a double-byte character, so this is safe bytewise.
        if (c == '"') out += '"';
        out += c;
    }
    out += "\"\r\n";
    result.bytes = std::move(out);
    result.error = {};
    return result;
}

DataFileReadResult readDataFileBytes(std::string_view bytes, std::string_view fileName,
                                     MemoField memoField) {
    DataFileReadResult result;
    Reader r(bytes);
    DataFileContent content;
    if (!readScalars(r, content.data)) {
        result.error = refusal(fileName, r);
        return result;
    }
    for (double& lap : content.data.laps) {
        const auto value = r.number();
        if (!value) {
            result.error = refusal(fileName, r);
            return result;
        }
        lap = *value;
    }
    if (memoField == MemoField::Read && !readMemo(r, fileName, result, content)) return result;
    result.content = std::move(content);
    return result;
}

DataFileReadResult readTemplate(std::string_view bytes, std::string_view fileName,
                                const LapData& base) {
    DataFileReadResult result;
    Reader r(bytes);
    DataFileContent content;
    content.data = base;
    if (!readScalars(r, content.data)) {
        result.error = refusal(fileName, r);
        return result;
    }
    if (!readMemo(r, fileName, result, content)) return result;
    result.content = std::move(content);
    return result;
}

}  // namespace korimet
