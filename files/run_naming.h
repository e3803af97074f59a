#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "files/file_error.h"
#include "lapdata/lap_data.h"

// Saving runs that arrive one after another (a capture, the timer's line) into a folder:
// each under the first free name of a sequence, never over a file that is already there,
// also with other processes saving into the same folder at the same moment.
namespace korimet {

// The name (relative to the folder) to try at the given attempt, counted from 1. The
// folders in it must exist.
using RunFileCandidates = std::function<std::string(int attempt)>;

// run-001.krt, run-002.krt, ..., run-999.krt, run-1000.krt, ...
std::string runNumberName(int attempt);

struct RunSaveResult {
    std::optional<std::string> path;  // folder + "/" + the name taken
    FileError error;                  // names the folder or the file and the system's reason
    explicit operator bool() const { return path.has_value(); }
};

// Saves into one folder; paths are bytes as the system takes them, any encoding.
class RunFileSaver {
  public:
    RunFileSaver(std::string folder, RunFileCandidates candidates);

    // Writes the record and memo under the first free candidate from where the previous
    // save stopped. A folder whose names cannot be checked, a write that fails (a full disk
    // too) or a sequence without a free name ends the attempt with an error; nothing
    // that was there is changed and the next save starts at the same candidate.
    RunSaveResult save(const LapData& data, std::string_view memo);

  private:
    std::string folder_;
    RunFileCandidates candidates_;
    int next_ = 1;
};

// How many candidates one save tries before it gives up.
inline constexpr int kMaxRunNameAttempts = 1'000'000;

}  // namespace korimet
