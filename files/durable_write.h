#pragma once

#include <string>
#include <string_view>

namespace korimet {

// What to do when the target name is taken.
enum class ExistingFile { Replace, Keep };

struct DurableWrite {
    enum class Status { Written, NameTaken, Failed };
    Status status = Status::Failed;
    std::string reason;    // the system's words for a failure, empty otherwise
    int error = 0;         // errno of a failure, 0 otherwise
    bool created = false;  // a failure came after a file had been created beside the target
    explicit operator bool() const { return status == Status::Written; }
};

// Writes bytes under path (bytes as the system takes them, any encoding) so that the name
// only ever holds a complete file: the bytes go to a new file beside it, are synced, and
// only then take the name; the folder is synced after. Every failed write, full disk
// included, is reported and leaves whatever had the name as it was. With Keep an existing
// file is never replaced, even by another process taking the name at the same moment.
// A symbolic link to a file is kept and the file it points to is replaced.
DurableWrite writeFileDurably(const std::string& path, std::string_view bytes, ExistingFile mode);

}  // namespace korimet
