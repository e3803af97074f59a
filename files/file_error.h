#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

// What went wrong with a run file or a folder of runs, without words: whoever shows it
// renders the text in its reader's language (messages/file_messages.h).
namespace korimet {

enum class FileErrorCode {
    None,
    // Reading a file.
    CannotOpen,        // the system refused the open: systemError
    CannotRead,        // a read after the open failed: systemError
    NotAFile,          // a pipe, a device, a socket or a folder: never read, never replaced
    TooLarge,          // past kMaxDataFileBytes
    EndsEarly,         // place
    EmptyField,        // place
    NotANumber,        // place
    NumberOutOfRange,  // place
    NotAByte,          // place
    UnclosedQuote,     // place
    MemoUnreadable,    // place; only ever a warning, the run itself was read
    // place; detail: the reading taken ("CP932" or "UTF-8"); only ever a warning
    MemoEncodingDoubtful,
    // Writing a file.
    ValueNotFinite,
    NoEncoder,
    MemoUnencodable,  // detail: the first character the file cannot hold (UTF-8)
    MemoWouldChange,
    CannotCreate,  // systemError
    CannotWrite,   // systemError
    // Saving under the next free name of a folder, listing a folder.
    CannotCheckName,  // detail: the name; systemError
    NoFreeName,
    CannotMakeFolder,  // systemError
    CannotReadFolder,  // systemError
};

// What was being done, and so what `path` names.
enum class FileOperation {
    Read,          // path: the file
    Save,          // path: the file
    SaveInFolder,  // path: the folder a run was to be saved in under a free name
    ListFolder,    // path: the folder being listed
};

// Where in the file: both counted from 1.
struct FilePlace {
    int line = 0;
    int field = 0;
    friend bool operator==(const FilePlace&, const FilePlace&) = default;
};

struct FileError {
    FileErrorCode code = FileErrorCode::None;
    FileOperation operation = FileOperation::Read;
    std::string path;  // bytes as given to the system, any encoding
    std::optional<FilePlace> place;
    int systemError = 0;  // errno where the system refused, else 0
    std::string detail;
    explicit operator bool() const { return code != FileErrorCode::None; }
    friend bool operator==(const FileError&, const FileError&) = default;
};

// The code's name for scripts ("cannotOpen", ...); never changes once published.
std::string_view fileErrorCodeName(FileErrorCode code);

// Every field, without words, for logs and test failures.
std::ostream& operator<<(std::ostream& out, const FileError& error);

}  // namespace korimet
