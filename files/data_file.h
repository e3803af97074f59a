#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "files/file_error.h"
#include "files/small_file.h"
#include "lapdata/lap_data.h"

// The .krt data file: line 1 with the seven scalars, 60 lap lines, the memo in double
// quotes, CR LF line ends, the memo in CP932. Memos are UTF-8 everywhere in the program.
namespace korimet {

inline constexpr const char* kTemplateFileName = "hinagata.krt";
inline constexpr const char* kDataFileSuffix = ".krt";

// A name typed without a suffix gets ".krt", so File > Open's filter lists the file; a
// name with one (a dot after its first character) is kept as typed.
std::string withDataFileSuffix(const std::string& path);

// Files larger than this are refused unread; a real one is a few kilobytes.
inline constexpr std::size_t kMaxDataFileBytes = std::size_t{16} * 1024 * 1024;

struct DataFileContent {
    LapData data;
    std::string memo;  // UTF-8
    friend bool operator==(const DataFileContent&, const DataFileContent&) = default;
};

// A read either yields the whole content or nothing and an error that names the file and
// the place. Callers replace their state only on success. A memo whose bytes are neither
// CP932 nor UTF-8 does not cost the run: the content comes with the memo as far as it
// decodes (U+FFFD for the rest) and a warning (MemoUnreadable) for the user. A memo that
// both decode and whose reading is doubtful comes with the reading chosen and a warning
// (MemoEncodingDoubtful) that says which.
struct DataFileReadResult {
    std::optional<DataFileContent> content;
    FileError error;
    FileError warning;  // none when the memo read cleanly
    explicit operator bool() const { return content.has_value(); }
};

// Whether a read takes the memo. A comparison needs the laps only: with Skip nothing after
// the 60th lap is read, so the memo can neither refuse the file nor warn.
enum class MemoField { Read, Skip };

// The bytes of a file, or why the record and memo cannot be written (a Save error without
// a path: the caller knows where it meant to write).
struct DataFileWriteResult {
    std::optional<std::string> bytes;
    FileError error;
    explicit operator bool() const { return bytes.has_value(); }
};

struct SaveResult {
    bool ok = false;
    FileError error;  // names the file
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

// The whole file for a record and memo. Refuses non-finite numbers, a memo with a character
// CP932 cannot hold, and a memo whose CP932 bytes the reader would take for something else
// (they happen to be Japanese UTF-8 too). A double quote in the memo is written doubled.
DataFileWriteResult writeDataFileBytes(const LapData& data, std::string_view memo);

// Parses a whole data file. lapCount above 60 is cut to 60. fileName goes into errors.
// A quoted memo is read with "" standing for one quote (Korimet's own files) when the quote
// that closes it ends its line (or the file): lines after it are ignored. Otherwise, or when no
// quote closes it, it runs from its first quote to the last quote in the file, taken as they are:
// the timer's Windows software writes memo quotes undoubled and nothing after the memo, so
// `"say "hi" ok"` is `say "hi" ok` and `"5 inch""` is `5 inch"`. Ambiguous, and read the
// Korimet way: such a file whose memo holds quotes only in runs of even length (`a""b`
// comes back as `a"b`), or a quote just before a line break (`a"\r\nb` comes back as `a`).
DataFileReadResult readDataFileBytes(std::string_view bytes, std::string_view fileName,
                                     MemoField memo = MemoField::Read);

// Parses a template: the seven scalars and then one field as the memo. The laps of `base`
// are kept; lapCount above 60 is cut to 60.
DataFileReadResult readTemplate(std::string_view bytes, std::string_view fileName,
                                const LapData& base);

// Which files a load takes. The window and the library never wait on a named pipe or a
// device (a stray one in a folder would freeze them): they read regular files only, and
// the open itself cannot block. The command-line tool reads what it is given, a pipe too
// (FileKinds, in files/small_file.h).

// Reads the file at path and parses it as above. Paths are bytes as the system takes them
// (a CP932 name from a Windows archive included); errors name them as given.
DataFileReadResult loadDataFile(const std::string& path, MemoField memo = MemoField::Read,
                                FileKinds kinds = FileKinds::RegularOnly);
DataFileReadResult loadTemplateFile(const std::string& path, const LapData& base);

// Writes the file so that the name only ever holds a complete file: a full disk or any
// other failed write is reported and leaves the previous file as it was. A memo the
// writer refuses writes nothing.
SaveResult saveDataFile(const std::string& path, const LapData& data, std::string_view memo);

// Memo text to CP932 bytes, or none when a character cannot be held; `unencodable` then
// receives the first such character (UTF-8). Characters that Linux input methods produce
// in place of their CP932 look-alikes (U+301C wave dash and a few more) are written as
// those look-alikes.
std::optional<std::string> encodeMemo(std::string_view utf8, std::string* unencodable = nullptr);

enum class MemoEncoding { Ascii, Utf8, Cp932 };

// How much more likely the chosen reading of a memo is than the other, in eighths of a bit.
// A memo only one encoding decodes is sure; one both decode is doubtful below
// kMemoDoubtfulLead (the reading is chosen all the same, and the user is told). CP932 starts
// kMemoCp932Prior ahead: the file format is CP932, and UTF-8 comes only from a hand edit.
// Both set from bench/memo_reading_rates.sh and random memos: the model's odds are rough,
// so the doubt is wide, and no memo there is read wrong without the notice.
inline constexpr std::int64_t kMemoSureLead = std::int64_t{1} << 40;
inline constexpr std::int64_t kMemoDoubtfulLead = 160;
inline constexpr std::int64_t kMemoCp932Prior = 48;

struct MemoReading {
    std::string text;  // UTF-8
    MemoEncoding encoding = MemoEncoding::Ascii;
    std::int64_t lead = kMemoSureLead;
    bool doubtful() const { return lead < kMemoDoubtfulLead; }
};

// Memo bytes from a file to UTF-8, the one rule every reader and the writer's own check
// use. UTF-8 when the bytes start with a byte order mark (dropped) and the rest is valid
// UTF-8. Otherwise the one of CP932 and UTF-8 that decodes them; when both do, the reading
// that is the more likely Japanese memo by a character model built from Japanese text
// (scripts/memo_char_costs.py). None when neither decodes them.
std::optional<MemoReading> readMemoBytes(std::string_view bytes);

// The text of readMemoBytes.
std::optional<std::string> decodeMemo(std::string_view bytes);

// As decodeMemo, but bytes neither encoding decodes are read as CP932 with U+FFFD for each
// byte that does not decode.
std::string decodeMemoLossy(std::string_view bytes);

// The memo as a file will hold it: the look-alikes encodeMemo replaces, replaced.
std::string memoAsWritten(std::string_view utf8);

}  // namespace korimet
