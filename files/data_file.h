#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "lapdata/lap_data.h"

// The .krt data file: line 1 with the seven scalars, 60 lap lines, the memo in double
// quotes, CR LF line ends, the memo in CP932. Memos are UTF-8 everywhere in the program.
namespace korimet {

inline constexpr const char* kTemplateFileName = "hinagata.krt";

// Files larger than this are refused unread; a real one is a few kilobytes.
inline constexpr std::size_t kMaxDataFileBytes = std::size_t{16} * 1024 * 1024;

struct DataFileContent {
    LapData data;
    std::string memo;  // UTF-8
    friend bool operator==(const DataFileContent&, const DataFileContent&) = default;
};

// A read either yields the whole content or nothing and a message for the user that
// names the file and the place. Callers replace their state only on success.
struct DataFileReadResult {
    std::optional<DataFileContent> content;
    std::string error;
    explicit operator bool() const { return content.has_value(); }
};

// The bytes of a file, or a reason why the record and memo cannot be written (without
// a file name: the caller knows where it meant to write).
struct DataFileWriteResult {
    std::optional<std::string> bytes;
    std::string error;
    explicit operator bool() const { return bytes.has_value(); }
};

struct SaveResult {
    bool ok = false;
    std::string error;  // names the file
    explicit operator bool() const { return ok; }
};

// A double as the file writes it: nearest value of at most 15 significant digits, point
// as separator, no trailing zeros, ".75" and "-.5", "1E+300" for very large or small
// values, -0 as "0". The value must be finite.
std::string formatFileNumber(double value);

// One number field as the reader takes it: optional sign, digits with an optional point
// (the zero before it optional), optional exponent. Nothing else, and it must fit a
// finite double.
std::optional<double> parseFileNumber(std::string_view text);

// The whole file for a record and memo. Refuses a memo with a character CP932 cannot
// hold and non-finite numbers. A double quote in the memo is written doubled.
DataFileWriteResult writeDataFileBytes(const LapData& data, std::string_view memo);

// Parses a whole data file. lapCount above 60 is cut to 60. fileName is used in messages.
DataFileReadResult readDataFileBytes(std::string_view bytes, std::string_view fileName);

// Parses a template: the seven scalars and then one field as the memo. The laps of `base`
// are kept; lapCount above 60 is cut to 60.
DataFileReadResult readTemplate(std::string_view bytes, std::string_view fileName,
                                const LapData& base);

// Reads the file at path (UTF-8) and parses it as above.
DataFileReadResult loadDataFile(const std::string& path);
DataFileReadResult loadTemplateFile(const std::string& path, const LapData& base);

// Writes the file atomically: the previous file stays whole unless the new one was
// written completely. An unencodable memo writes nothing.
SaveResult saveDataFile(const std::string& path, const LapData& data, std::string_view memo);

// Memo text to CP932 bytes, or none when a character cannot be held; `unencodable` then
// receives the first such character (UTF-8). Characters that Linux input methods produce
// in place of their CP932 look-alikes (U+301C wave dash and a few more) are written as
// those look-alikes.
std::optional<std::string> encodeMemo(std::string_view utf8, std::string* unencodable = nullptr);

// Memo bytes from a file to UTF-8: valid UTF-8 with non-ASCII text is taken as UTF-8
// (a file edited on Linux), anything else must be CP932. None when it is neither.
std::optional<std::string> decodeMemo(std::string_view bytes);

}  // namespace korimet
