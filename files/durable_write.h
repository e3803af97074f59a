#pragma once

#include <string>
#include <string_view>

namespace korimet {

// What to do when the target name is taken.
enum class ExistingFile { Replace, Keep };

// What a name holds, links followed.
enum class FileKind { Missing, Regular, Directory, Fifo, CharDevice, BlockDevice, Socket, Other };

struct DurableWrite {
    // NotAFile: the name holds something other than a regular file (found), which was left
    // as it was; nothing was written.
    enum class Status { Written, NameTaken, NotAFile, Failed };
    Status status = Status::Failed;
    std::string reason;    // the system's words for a failure, empty otherwise
    int error = 0;         // errno of a failure, 0 otherwise
    bool created = false;  // a failure came after a file had been created beside the target
    FileKind found = FileKind::Missing;  // with NotAFile: what holds the name
    explicit operator bool() const { return status == Status::Written; }
};

// What holds the name now, links followed; Missing when the system shows nothing there (a
// write then fails with the system's own reason, if at all).
FileKind fileKindAt(const std::string& path);

// Writes bytes under path (bytes as the system takes them, any encoding) so that the name
// only ever holds a complete file: the bytes go to a new file beside it, are synced, and
// only then take the name; the folder is synced after. Every failed write, full disk
// included, is reported and leaves whatever had the name as it was. With Keep an existing
// file is never replaced, even by another process taking the name at the same moment.
// A symbolic link to a file is kept and the file it points to is replaced. Only a regular
// file is ever replaced: a folder, a pipe, a device or a socket under the name (or where its
// link points) is NotAFile.
DurableWrite writeFileDurably(const std::string& path, std::string_view bytes, ExistingFile mode);

// An output the user named (a command's option, a save dialog). A pipe or a character
// device (standard output, a terminal, /dev/null) is written to as it is, as a shell's
// redirection would, and its write errors are failures; a regular file or a free name is
// written durably; anything else is NotAFile and left as it was.
DurableWrite writeOutputFile(const std::string& path, std::string_view bytes);

}  // namespace korimet
