#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "corrections/lap_corrections.h"
#include "lapdata/lap_data.h"

// The corrections of a run kept as a file beside it (RUN.krt.corrections), so the run's own
// bytes stay as downloaded. Text, LF line ends:
//
//   korimet-corrections 1
//   run 17 9f3a0c51d2e4b687
//   merge-next 4
//   split 9
//
// The first line names the format and its version. The second gives the downloaded laps
// the steps were made for: their count and a fingerprint; a file made for other laps is not
// applied. Then one step a line, in the order applied, the lap counted from 1 over the
// corrected list as it was when the step was made.
namespace korimet {

inline constexpr int kCorrectionFileVersion = 1;
inline constexpr std::string_view kCorrectionFileSuffix = ".corrections";
inline constexpr std::size_t kMaxCorrectionFileBytes = 64 * 1024;

enum class CorrectionFileErrorCode {
    None,
    CannotOpen,      // systemError
    CannotRead,      // systemError
    NotAFile,        // a pipe, a device, a folder
    TooLarge,        // past kMaxCorrectionFileBytes
    NotCorrections,  // the first line is not this format's
    LaterVersion,    // detail: the version the file gives
    BadLine,         // line
    OtherRun,        // the laps it was made for are not the run's
    StepRefused,     // line: the step does not apply to the laps before it
    CannotSave,      // systemError
    CannotRemove,    // systemError
    NotReplaced,     // saving: the name holds a pipe, a device or a folder, left as it was
    Busy,            // another program kept the run's corrections locked past the wait
    Changed,         // another program changed the file since it was read
};

struct CorrectionFileError {
    CorrectionFileErrorCode code = CorrectionFileErrorCode::None;
    std::string path;  // bytes as given to the system
    int line = 0;      // from 1, where the code names one
    int systemError = 0;
    std::string detail;
    explicit operator bool() const { return code != CorrectionFileErrorCode::None; }
    friend bool operator==(const CorrectionFileError&, const CorrectionFileError&) = default;
};

// For scripts ("notCorrections", ...); never changes once published.
std::string_view correctionFileErrorName(CorrectionFileErrorCode code);

// Where the corrections of the run file at runPath are kept.
std::string correctionFilePath(const std::string& runPath);

// The downloaded laps a file is made for: count and a 64-bit FNV-1a over the count and the
// laps as the data file writes them, in hexadecimal.
std::string lapFingerprint(const LapData& downloaded);

std::string correctionFileBytes(const LapData& downloaded, const std::vector<Correction>& steps);

// Either every step of the file, checked against the downloaded laps, or an error and none.
struct CorrectionFileRead {
    std::vector<Correction> steps;
    CorrectionFileError error;
};
CorrectionFileRead parseCorrectionFile(std::string_view bytes, const LapData& downloaded,
                                       std::string_view path = {});

// The run at runPath as its corrections make it. No file: the run as downloaded and no
// error. A file that cannot be read or applied: the run as downloaded and the error, for
// the user to be told.
struct CorrectedRunRead {
    RunCorrections corrections;
    bool fileFound = false;
    CorrectionFileError error;
};
CorrectedRunRead loadCorrections(const std::string& runPath, const LapData& downloaded);

// Writes the steps beside the run so that the name only ever holds a whole file; without
// steps the file is removed (undoing everything leaves no file behind). Whatever the file
// holds is replaced: a change made on what was read goes through saveCorrectionsOver.
CorrectionFileError saveCorrections(const std::string& runPath, const RunCorrections& corrections);

inline constexpr std::chrono::milliseconds kCorrectionLockWait{5000};

// Held while a run's corrections are read, changed and written, so that programs correcting
// one run take turns: the lock, or Busy (path: the correction file) when another program
// held it for all of `wait`. The lock is on the run's folder: the correction file is
// replaced by a rename, and a lock on it would stay with the file it replaced.
struct CorrectionLockTaken;
CorrectionLockTaken lockCorrections(const std::string& runPath,
                                    std::chrono::milliseconds wait = kCorrectionLockWait);

class CorrectionLock {
  public:
    CorrectionLock(CorrectionLock&& other) noexcept;
    CorrectionLock& operator=(CorrectionLock&& other) noexcept;
    CorrectionLock(const CorrectionLock&) = delete;
    CorrectionLock& operator=(const CorrectionLock&) = delete;
    ~CorrectionLock();

  private:
    friend CorrectionLockTaken lockCorrections(const std::string&, std::chrono::milliseconds);
    explicit CorrectionLock(int folder) : folder_(folder) {}
    int folder_ = -1;  // -1: a folder that gives no locks; the save still compares
};

struct CorrectionLockTaken {
    std::optional<CorrectionLock> lock;
    CorrectionFileError error;
};

// What the file held when last read or written here: its steps (none for no file), or
// nullopt for a file that could not be read.
using SeenSteps = std::optional<std::vector<Correction>>;

// A read-modify-write's write: re-reads the file under the lock and saves only while it
// still holds `seen`; otherwise Changed, and the file is left as it is.
CorrectionFileError saveCorrectionsOver(const CorrectionLock& lock, const std::string& runPath,
                                        const SeenSteps& seen, const RunCorrections& corrections);

}  // namespace korimet
