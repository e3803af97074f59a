#pragma once

#include <cstddef>
#include <optional>
#include <string>

// Reading a whole small file that the user's folder may hold as anything: a pipe, a device or
// a folder under the expected name must neither block the reader nor fill its memory.
namespace korimet {

enum class FileKinds { RegularOnly, Any };

enum class SmallFileProblem { None, CannotOpen, NotAFile, CannotRead, TooLarge };

struct SmallFileRead {
    std::optional<std::string> bytes;
    SmallFileProblem problem = SmallFileProblem::None;
    int systemError = 0;  // errno for CannotOpen and CannotRead
};

// The bytes, or the problem. With RegularOnly the file is opened without waiting and
// anything but a regular file is NotAFile; with Any a pipe or device is read as it comes. A
// folder is never read (CannotOpen, EISDIR). One byte past maxBytes is TooLarge.
SmallFileRead readSmallFile(const std::string& path, std::size_t maxBytes, FileKinds kinds);

}  // namespace korimet
