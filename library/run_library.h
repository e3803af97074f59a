#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "corrections/correction_file.h"
#include "corrections/run_view.h"
#include "files/data_file.h"
#include "files/run_naming.h"
#include "lapdata/lap_data.h"
#include "lapdata/run_statistics.h"

// The run library: one folder that keeps every downloaded run as an ordinary .krt file,
// in day folders named by the local date, so a synchronising tool or a file manager sees
// plain files and a hand-copied file is listed like any other.
namespace korimet {

// A local calendar date and time of day, to the second.
struct LocalTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    friend auto operator<=>(const LocalTime&, const LocalTime&) = default;
};

LocalTime localTimeOf(std::chrono::system_clock::time_point when);

// How a run's date and time is written everywhere: for programs, for the reader, and to the
// minute where a sheet shows it.
enum class DateTimeForm {
    Iso,           // "2026-12-10T14:35:12"
    Shown,         // "2026-12-10 14:35:12"
    ShownToMinute  // "2026-12-10 14:35"
};
std::string dateTimeText(const LocalTime& time, DateTimeForm form);
// "2026-12-10T14:35:12".
std::string isoText(const LocalTime& time);

// The names a run downloaded at `when` by car `carId` may take, relative to the library:
// attempt 1 is "2026-12-10/143512-car07.krt", attempt 2 "…-car07-2.krt", and so on.
RunFileCandidates libraryNameCandidates(const LocalTime& when, int carId);

// The date and time a library name says, and its car; none for any other name.
struct NameInfo {
    LocalTime downloaded;
    int carId = 0;
};
std::optional<NameInfo> parseLibraryName(const std::string& relativePath);

struct KeptRun {
    bool ok = false;
    std::string path;  // the file written, full path
    FileError error;   // what failed, naming the folder or file, with the system's reason
    explicit operator bool() const { return ok; }
};

// Writes a downloaded run into the library with an empty memo, under the first free name
// for its time and car; never replaces a file, even one another process writes meanwhile.
KeptRun keepRun(const std::string& libraryFolder, const LapData& data, const LocalTime& when);

// One file of the library as listed.
struct LibraryEntry {
    std::string path;  // relative to the library, '/' between folders
    LocalTime downloaded;
    bool timeFromName = false;  // else the file's modification time
    std::optional<int> carId;   // the record's, else the name's for an unreadable file
    // The memo's first line only; the laps as the correction file beside the run makes
    // them, else as downloaded.
    std::optional<DataFileContent> content;
    RunStatistics statistics;
    FileError error;    // the reader's reason when content is empty
    FileError warning;  // the reader's, when the memo was read only in part
    int correctionSteps = 0;
    CorrectionFileError correctionError;  // the run is then listed as downloaded
    int suspectLaps = 0;                  // of the laps listed
    RunPace pace;
    std::optional<double> confirmedBest;  // RunView's: what a personal best may be
    bool readable() const { return content.has_value(); }
    // The run's best lap is a suspect one: shown, but not confirmed.
    bool bestUnconfirmed() const {
        return readable() && statistics.counted > 0 &&
               (!confirmedBest || *confirmedBest > statistics.best);
    }
};

// Where in `among` (indices into `entries`) the personal best is: the lowest confirmed
// best, the earlier run of equal ones; a suspect lap never sets it. None when no run there
// has a confirmed lap.
std::optional<std::size_t> personalBestEntry(const std::vector<LibraryEntry>& entries,
                                             const std::vector<int>& among);

struct LibraryListing {
    bool ok = false;
    FileError error;  // why the folder could not be read
    std::vector<LibraryEntry> entries;
};

// The run files under the folder, relative, in no particular order: every *.krt below it,
// hidden files and folders (half-written files, a synchronising tool's own) left out. The
// folder itself failing is an error (false); sub-folders that cannot be read go to
// `unreadableFolders` (full paths), so that a permission problem never looks like no runs.
// `readFolders` gets every folder walked (full paths, the library's own first), for a
// watcher to follow.
bool listRunFiles(const std::string& libraryFolder, std::vector<std::string>& relativePaths,
                  FileError& error, std::vector<FileError>* unreadableFolders = nullptr,
                  std::vector<std::string>* readFolders = nullptr);

// What a file looked like when last seen: a rewrite by rename (as every writer here does,
// and synchronising tools too) changes the inode, an edit in place the time or the size.
struct FileStamp {
    bool exists = false;
    std::int64_t modifiedNanoseconds = 0;
    std::int64_t size = 0;
    std::uint64_t inode = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};
// A listed run changes with its own file or with the corrections beside it.
struct RunStamp {
    FileStamp run;
    FileStamp corrections;
    friend bool operator==(const RunStamp&, const RunStamp&) = default;
};
RunStamp runStampOf(const std::string& libraryFolder, const std::string& relativePath);

// Reads one listed file; an unreadable one gives the reader's reason, never an exception.
// Only a regular file is opened (a named pipe there never holds the listing), and the
// content keeps the memo's first line only. Its laps are judged by `limits`, the user's.
LibraryEntry readLibraryEntry(const std::string& libraryFolder, const std::string& relativePath,
                              const SuspectLimits& limits = {});

// Rows for sub-folders that could not be read: the path relative to the library with a
// '/' at its end, no time, no car, and the reason.
std::vector<LibraryEntry> unreadableFolderEntries(const std::string& libraryFolder,
                                                  std::vector<FileError> folders);

// Oldest first; in one second by name, the numbered attempts of one name in their order
// (…-car07, …-car07-2, …, …-car07-10).
bool listedBefore(const LibraryEntry& a, const LibraryEntry& b);
void sortOldestFirst(std::vector<LibraryEntry>& entries);

// The whole listing, oldest first; with a car, only that car's runs (and the unreadable
// folders, which may hold any car's).
LibraryListing scanLibrary(const std::string& libraryFolder, std::optional<int> car = {},
                           const SuspectLimits& limits = {});

// The listing in the same order, one run read at a time and handed to `each` with its whole
// memo: memory stays that of one run, however long the memos. False, with `error`, when the
// library folder itself cannot be read.
bool forEachLibraryRun(
    const std::string& libraryFolder, std::optional<int> car, FileError& error,
    const std::function<void(const LibraryEntry& entry, const std::string& wholeMemo)>& each,
    const SuspectLimits& limits = {});

}  // namespace korimet
