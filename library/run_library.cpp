#include "library/run_library.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <system_error>
#include <utility>

#include "corrections/run_view.h"
#include "files/run_naming.h"

namespace korimet {

namespace fs = std::filesystem;

namespace {

LocalTime fromTm(const std::tm& tm) {
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

LocalTime localTimeOfSeconds(std::time_t seconds) {
    std::tm tm{};
    localtime_r(&seconds, &tm);
    return fromTm(tm);
}

// Digits only, exactly `count` of them.
std::optional<int> digits(std::string_view text, std::size_t count) {
    if (text.size() != count) return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

bool hiddenName(const std::string& name) { return !name.empty() && name.front() == '.'; }

bool runFileName(const std::string& name) {
    if (name.size() < 5 || hiddenName(name)) return false;
    std::string ext = name.substr(name.size() - 4);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == ".krt";
}

}  // namespace

LocalTime localTimeOf(std::chrono::system_clock::time_point when) {
    return localTimeOfSeconds(std::chrono::system_clock::to_time_t(when));
}

std::string dateTimeText(const LocalTime& t, DateTimeForm form) {
    char text[96];  // room for any six ints
    const int n = form == DateTimeForm::ShownToMinute
                      ? std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", t.year,
                                      t.month, t.day, t.hour, t.minute)
                      : std::snprintf(text, sizeof text, "%04d-%02d-%02d%c%02d:%02d:%02d", t.year,
                                      t.month, t.day, form == DateTimeForm::Iso ? 'T' : ' ', t.hour,
                                      t.minute, t.second);
    return n > 0 ? std::string(text, std::min(static_cast<std::size_t>(n), sizeof text - 1))
                 : std::string();
}

std::string isoText(const LocalTime& t) { return dateTimeText(t, DateTimeForm::Iso); }

RunFileCandidates libraryNameCandidates(const LocalTime& t, int carId) {
    char text[96];  // room for any six ints
    const int n = std::snprintf(text, sizeof text, "%04d-%02d-%02d/%02d%02d%02d-car%02d", t.year,
                                t.month, t.day, t.hour, t.minute, t.second, carId);
    std::string stem(text, n > 0 ? std::min(static_cast<std::size_t>(n), sizeof text - 1) : 0);
    return [stem = std::move(stem)](int attempt) {
        return attempt <= 1 ? stem + ".krt" : stem + "-" + std::to_string(attempt) + ".krt";
    };
}

namespace {

int daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

}  // namespace

std::optional<NameInfo> parseLibraryName(const std::string& relativePath) {
    // YYYY-MM-DD/HHMMSS-carNN[-K].krt
    const std::string_view p = relativePath;
    const auto slash = p.rfind('/');
    if (slash == std::string_view::npos || slash < 10) return std::nullopt;
    const std::string_view day = p.substr(slash - 10, 10);
    std::string_view file = p.substr(slash + 1);
    if (day[4] != '-' || day[7] != '-' || !file.ends_with(".krt")) return std::nullopt;
    file.remove_suffix(4);
    const auto year = digits(day.substr(0, 4), 4);
    const auto month = digits(day.substr(5, 2), 2);
    const auto dayOfMonth = digits(day.substr(8, 2), 2);
    if (file.size() < 12 || file.substr(6, 4) != "-car") return std::nullopt;
    const auto hour = digits(file.substr(0, 2), 2);
    const auto minute = digits(file.substr(2, 2), 2);
    const auto second = digits(file.substr(4, 2), 2);
    std::string_view rest = file.substr(10);
    const auto dash = rest.find('-');
    const std::string_view carText = rest.substr(0, dash);
    if (dash != std::string_view::npos) {
        const std::string_view suffix = rest.substr(dash + 1);
        if (suffix.empty() || !digits(suffix, suffix.size())) return std::nullopt;
    }
    if (carText.size() < 2 || carText.size() > 3) return std::nullopt;
    const auto car = digits(carText, carText.size());
    if (!year || !month || !dayOfMonth || !hour || !minute || !second || !car) return std::nullopt;
    if (*month < 1 || *month > 12 || *dayOfMonth < 1 || *dayOfMonth > daysInMonth(*year, *month) ||
        *hour > 23 || *minute > 59 || *second > 59 || *car > 255) {
        return std::nullopt;
    }
    return NameInfo{{*year, *month, *dayOfMonth, *hour, *minute, *second}, *car};
}

KeptRun keepRun(const std::string& libraryFolder, const LapData& data, const LocalTime& when) {
    KeptRun result;
    const RunFileCandidates names = libraryNameCandidates(when, data.carId);
    const fs::path dayFolder = (fs::path(libraryFolder) / names(1)).parent_path();
    std::error_code ec;
    fs::create_directories(dayFolder, ec);
    if (ec) {
        result.error.code = FileErrorCode::CannotMakeFolder;
        result.error.operation = FileOperation::SaveInFolder;
        result.error.path = dayFolder.string();
        result.error.systemError = ec.value();
        return result;
    }
    RunFileSaver saver(libraryFolder, names);
    RunSaveResult saved = saver.save(data, "");
    if (!saved) {
        result.error = std::move(saved.error);
        return result;
    }
    result.ok = true;
    result.path = std::move(*saved.path);
    return result;
}

namespace {

FileError folderError(const std::string& folder, int systemError) {
    FileError error;
    error.code = FileErrorCode::CannotReadFolder;
    error.operation = FileOperation::ListFolder;
    error.path = folder;
    error.systemError = systemError;
    return error;
}

class Folder {
  public:
    explicit Folder(DIR* dir) : dir_(dir) {}
    ~Folder() {
        if (dir_) ::closedir(dir_);
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;
    DIR* get() const { return dir_; }

  private:
    DIR* dir_;
};

// Folders deeper than this are not walked: a loop of bind mounts cannot hold the listing.
constexpr int kMaxFolderDepth = 64;

// Names are taken as the bytes the system gives; nothing here blocks on what a name is (a
// named pipe is seen by its type, never opened).
void walk(const std::string& full, const std::string& relative, int depth,
          std::vector<std::string>& runs, std::vector<FileError>& unreadable,
          std::vector<std::string>* folders) {
    const int fd = ::open(full.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        unreadable.push_back(folderError(full, errno));
        return;
    }
    const Folder dir(::fdopendir(fd));
    if (!dir.get()) {
        unreadable.push_back(folderError(full, errno));
        ::close(fd);
        return;
    }
    if (folders) folders->push_back(full);
    for (;;) {
        errno = 0;
        const dirent* item = ::readdir(dir.get());
        if (!item) {
            if (errno != 0) unreadable.push_back(folderError(full, errno));
            break;
        }
        const std::string name = item->d_name;
        if (name == "." || name == ".." || hiddenName(name)) continue;
        bool folder = item->d_type == DT_DIR;
        if (item->d_type == DT_UNKNOWN || item->d_type == DT_LNK) {
            // A link counts as what it points to; a link to a folder is not followed below.
            struct stat info {};
            if (::fstatat(::dirfd(dir.get()), item->d_name, &info, 0) == 0) {
                folder = S_ISDIR(info.st_mode) && item->d_type != DT_LNK;
                if (S_ISDIR(info.st_mode) && item->d_type == DT_LNK) continue;
            }
        }
        const std::string childRelative = relative.empty() ? name : relative + "/" + name;
        if (folder) {
            if (depth < kMaxFolderDepth) {
                walk(full + "/" + name, childRelative, depth + 1, runs, unreadable, folders);
            }
            continue;
        }
        if (runFileName(name)) runs.push_back(childRelative);
    }
}

LibraryEntry placed(const std::string& libraryFolder, const std::string& relativePath) {
    LibraryEntry entry;
    entry.path = relativePath;
    if (const auto named = parseLibraryName(relativePath)) {
        entry.downloaded = named->downloaded;
        entry.timeFromName = true;
        entry.carId = named->carId;
    } else {
        const std::string full = (fs::path(libraryFolder) / relativePath).string();
        struct stat info {};
        if (::stat(full.c_str(), &info) == 0) entry.downloaded = localTimeOfSeconds(info.st_mtime);
    }
    return entry;
}

// The listing shows the run as the racer corrected it; a correction file that cannot be
// used leaves it as downloaded, with the reason for the window to show.
void applyCorrections(const std::string& full, LibraryEntry& entry, const SuspectLimits& limits) {
    RunViewRead read = readRunView(full, entry.content->data, limits);
    entry.correctionError = std::move(read.correctionError);
    RunView& run = read.view;
    entry.correctionSteps = run.correctionSteps;
    entry.content->data = run.data;
    entry.statistics = run.statistics;
    entry.suspectLaps = run.suspectCount();
    entry.confirmedBest = run.confirmedBest;
    entry.pace = run.pace;
}

void readInto(const std::string& libraryFolder, LibraryEntry& entry, std::string* wholeMemo,
              const SuspectLimits& limits) {
    const std::string full = (fs::path(libraryFolder) / entry.path).string();
    DataFileReadResult read = loadDataFile(full, MemoField::Read, FileKinds::RegularOnly);
    if (!read) {
        entry.error = std::move(read.error);
        return;
    }
    std::string& memo = read.content->memo;
    if (wholeMemo) *wholeMemo = memo;
    // A listing holds what it shows, so that its memory follows the number of runs, not
    // the length of their memos.
    memo.resize(std::min(memo.size(), memo.find_first_of("\r\n")));
    memo.shrink_to_fit();
    entry.content = std::move(read.content);
    entry.warning = std::move(read.warning);
    entry.carId = entry.content->data.carId;
    applyCorrections(full, entry, limits);
}

// A sub-folder that could not be read, as a row of its own.
LibraryEntry unreadableFolder(const std::string& libraryFolder, FileError error) {
    LibraryEntry entry;
    std::string relative = fs::path(error.path).lexically_relative(libraryFolder).string();
    entry.path = (relative.empty() || relative == "." ? std::string() : relative) + "/";
    entry.error = std::move(error);
    return entry;
}

}  // namespace

bool listRunFiles(const std::string& libraryFolder, std::vector<std::string>& relativePaths,
                  FileError& error, std::vector<FileError>* unreadableFolders,
                  std::vector<std::string>* readFolders) {
    std::vector<FileError> unreadable;
    walk(libraryFolder, "", 0, relativePaths, unreadable, readFolders);
    // The library folder itself failing is the listing failing, never an empty library.
    if (!unreadable.empty() && unreadable.front().path == libraryFolder) {
        error = unreadable.front();
        relativePaths.clear();
        return false;
    }
    if (unreadableFolders) *unreadableFolders = std::move(unreadable);
    return true;
}

RunStamp runStampOf(const std::string& libraryFolder, const std::string& relativePath) {
    const auto stampOf = [](const std::string& path) {
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0) return FileStamp{};
        return FileStamp{
            true,
            static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec,
            static_cast<std::int64_t>(info.st_size), static_cast<std::uint64_t>(info.st_ino)};
    };
    const std::string full = (fs::path(libraryFolder) / relativePath).string();
    return RunStamp{stampOf(full), stampOf(correctionFilePath(full))};
}

LibraryEntry readLibraryEntry(const std::string& libraryFolder, const std::string& relativePath,
                              const SuspectLimits& limits) {
    LibraryEntry entry = placed(libraryFolder, relativePath);
    readInto(libraryFolder, entry, nullptr, limits);
    return entry;
}

std::vector<LibraryEntry> unreadableFolderEntries(const std::string& libraryFolder,
                                                  std::vector<FileError> folders) {
    std::vector<LibraryEntry> entries;
    entries.reserve(folders.size());
    for (FileError& error : folders) entries.push_back(unreadableFolder(libraryFolder, error));
    return entries;
}

namespace {

// "…/144156-car07-10.krt" -> ("…/144156-car07", 10); the plain name is attempt 1, so a
// second download in the same second follows it and -10 follows -9.
std::pair<std::string_view, unsigned long long> nameAndAttempt(std::string_view path) {
    std::string_view stem = path;
    if (stem.size() >= 4) stem.remove_suffix(4);
    const auto dash = stem.rfind('-');
    const auto slash = stem.rfind('/');
    if (dash == std::string_view::npos || (slash != std::string_view::npos && dash < slash) ||
        dash + 1 == stem.size() || stem.size() - dash > 10) {
        return {stem, 1};
    }
    unsigned long long attempt = 0;
    for (char c : stem.substr(dash + 1)) {
        if (c < '0' || c > '9') return {stem, 1};
        attempt = attempt * 10 + static_cast<unsigned>(c - '0');
    }
    return {stem.substr(0, dash), attempt};
}

}  // namespace

bool listedBefore(const LibraryEntry& a, const LibraryEntry& b) {
    if (a.downloaded != b.downloaded) return a.downloaded < b.downloaded;
    if (a.timeFromName && b.timeFromName) {
        const auto [nameA, attemptA] = nameAndAttempt(a.path);
        const auto [nameB, attemptB] = nameAndAttempt(b.path);
        if (nameA != nameB) return nameA < nameB;
        if (attemptA != attemptB) return attemptA < attemptB;
    }
    return a.path < b.path;
}

void sortOldestFirst(std::vector<LibraryEntry>& entries) {
    std::sort(entries.begin(), entries.end(), listedBefore);
}

LibraryListing scanLibrary(const std::string& libraryFolder, std::optional<int> car,
                           const SuspectLimits& limits) {
    LibraryListing listing;
    std::vector<std::string> paths;
    std::vector<FileError> folders;
    if (!listRunFiles(libraryFolder, paths, listing.error, &folders)) return listing;
    listing.ok = true;
    listing.entries.reserve(paths.size());
    for (const std::string& path : paths) {
        LibraryEntry entry = readLibraryEntry(libraryFolder, path, limits);
        if (car && entry.carId != car) continue;
        listing.entries.push_back(std::move(entry));
    }
    // A folder that could not be read may hold any car's runs: it is shown whatever the car.
    for (LibraryEntry& e : unreadableFolderEntries(libraryFolder, std::move(folders)))
        listing.entries.push_back(std::move(e));
    sortOldestFirst(listing.entries);
    return listing;
}

bool forEachLibraryRun(const std::string& libraryFolder, std::optional<int> car, FileError& error,
                       const std::function<void(const LibraryEntry&, const std::string&)>& each,
                       const SuspectLimits& limits) {
    std::vector<std::string> paths;
    std::vector<FileError> folders;
    if (!listRunFiles(libraryFolder, paths, error, &folders)) return false;
    // Ordered before anything is read: the order needs the names and times only.
    std::vector<LibraryEntry> entries = unreadableFolderEntries(libraryFolder, std::move(folders));
    entries.reserve(entries.size() + paths.size());
    for (const std::string& path : paths) entries.push_back(placed(libraryFolder, path));
    sortOldestFirst(entries);
    for (LibraryEntry& entry : entries) {
        std::string memo;
        const bool folder = entry.error.operation == FileOperation::ListFolder && entry.error;
        if (!folder) readInto(libraryFolder, entry, &memo, limits);
        if (!folder && car && entry.carId != car) continue;
        each(entry, memo);
        entry = LibraryEntry{};  // one run's memory at a time
    }
    return true;
}

std::optional<std::size_t> personalBestEntry(const std::vector<LibraryEntry>& entries,
                                             const std::vector<int>& among) {
    std::optional<std::size_t> best;
    for (std::size_t i = 0; i < among.size(); ++i) {
        const LibraryEntry& e = entries[static_cast<std::size_t>(among[i])];
        if (!e.readable() || !e.confirmedBest) continue;
        const LibraryEntry* holder =
            best ? &entries[static_cast<std::size_t>(among[*best])] : nullptr;
        // The earlier of equal times keeps it: a personal best is only beaten, never matched.
        if (!holder || *e.confirmedBest < *holder->confirmedBest) best = i;
    }
    return best;
}

}  // namespace korimet
