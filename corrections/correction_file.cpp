#include "corrections/correction_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <thread>
#include <utility>

#include "files/data_file.h"
#include "files/durable_write.h"
#include "files/small_file.h"
#include "lapdata/run_statistics.h"

namespace korimet {

namespace {

constexpr std::string_view kMagic = "korimet-corrections";

CorrectionFileError failure(CorrectionFileErrorCode code, std::string_view path, int line = 0,
                            int systemError = 0) {
    return {code, std::string(path), line, systemError, {}};
}

std::optional<int> parseNumber(std::string_view text) {
    int value = 0;
    if (text.empty() || text.front() == '+' || text.front() == '-') return std::nullopt;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// Splits "word rest" at the one space; no leading, trailing or doubled spaces.
std::optional<std::pair<std::string_view, std::string_view>> twoWords(std::string_view line) {
    const auto space = line.find(' ');
    if (space == std::string_view::npos || space == 0) return std::nullopt;
    const auto rest = line.substr(space + 1);
    if (rest.empty() || rest.find(' ') != std::string_view::npos) return std::nullopt;
    return std::pair{line.substr(0, space), rest};
}

std::optional<std::string> readCorrectionBytes(const std::string& path, bool& missing,
                                               CorrectionFileError& error) {
    missing = false;
    // A named pipe in the folder must not make the window wait.
    SmallFileRead read = readSmallFile(path, kMaxCorrectionFileBytes, FileKinds::RegularOnly);
    if (read.bytes) return std::move(read.bytes);
    switch (read.problem) {
        case SmallFileProblem::CannotOpen:
            if (read.systemError == ENOENT) {
                missing = true;
            } else if (read.systemError == EISDIR) {
                error = failure(CorrectionFileErrorCode::NotAFile, path);
            } else {
                error = failure(CorrectionFileErrorCode::CannotOpen, path, 0, read.systemError);
            }
            break;
        case SmallFileProblem::NotAFile:
            error = failure(CorrectionFileErrorCode::NotAFile, path);
            break;
        case SmallFileProblem::CannotRead:
            error = failure(CorrectionFileErrorCode::CannotRead, path, 0, read.systemError);
            break;
        case SmallFileProblem::TooLarge:
        case SmallFileProblem::None:
            error = failure(CorrectionFileErrorCode::TooLarge, path);
            break;
    }
    return std::nullopt;
}

}  // namespace

std::string_view correctionFileErrorName(CorrectionFileErrorCode code) {
    switch (code) {
        case CorrectionFileErrorCode::None:
            return "none";
        case CorrectionFileErrorCode::CannotOpen:
            return "cannotOpen";
        case CorrectionFileErrorCode::CannotRead:
            return "cannotRead";
        case CorrectionFileErrorCode::NotAFile:
            return "notAFile";
        case CorrectionFileErrorCode::TooLarge:
            return "tooLarge";
        case CorrectionFileErrorCode::NotCorrections:
            return "notCorrections";
        case CorrectionFileErrorCode::LaterVersion:
            return "laterVersion";
        case CorrectionFileErrorCode::BadLine:
            return "badLine";
        case CorrectionFileErrorCode::OtherRun:
            return "otherRun";
        case CorrectionFileErrorCode::StepRefused:
            return "stepRefused";
        case CorrectionFileErrorCode::CannotSave:
            return "cannotSave";
        case CorrectionFileErrorCode::CannotRemove:
            return "cannotRemove";
        case CorrectionFileErrorCode::NotReplaced:
            return "notReplaced";
        case CorrectionFileErrorCode::Busy:
            return "busy";
        case CorrectionFileErrorCode::Changed:
            return "changed";
    }
    return "none";
}

std::string correctionFilePath(const std::string& runPath) {
    return runPath + std::string(kCorrectionFileSuffix);
}

std::string lapFingerprint(const LapData& downloaded) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    const auto add = [&hash](std::string_view text) {
        for (const unsigned char c : text) {
            hash ^= c;
            hash *= 0x100000001b3ULL;
        }
        hash ^= '\n';
        hash *= 0x100000001b3ULL;
    };
    const int counted = countedLaps(downloaded);
    add(std::to_string(counted));
    for (int i = 0; i < counted; ++i) {
        add(formatFileNumber(downloaded.laps[static_cast<std::size_t>(i)]));
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return std::to_string(counted) + " " + text;
}

std::string correctionFileBytes(const LapData& downloaded, const std::vector<Correction>& steps) {
    std::string bytes = std::string(kMagic) + " " + std::to_string(kCorrectionFileVersion) + "\n";
    bytes += "run " + lapFingerprint(downloaded) + "\n";
    for (const auto& step : steps) {
        bytes +=
            std::string(correctionKindName(step.kind)) + " " + std::to_string(step.lap + 1) + "\n";
    }
    return bytes;
}

CorrectionFileRead parseCorrectionFile(std::string_view bytes, const LapData& downloaded,
                                       std::string_view path) {
    CorrectionFileRead read;
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start < bytes.size();) {
        auto end = bytes.find('\n', start);
        if (end == std::string_view::npos) end = bytes.size();
        lines.push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    const auto header = lines.empty() ? std::nullopt : twoWords(lines[0]);
    if (!header || header->first != kMagic) {
        read.error = failure(CorrectionFileErrorCode::NotCorrections, path, 1);
        return read;
    }
    const auto version = parseNumber(header->second);
    if (!version || *version < 1) {
        read.error = failure(CorrectionFileErrorCode::BadLine, path, 1);
        return read;
    }
    if (*version > kCorrectionFileVersion) {
        read.error = failure(CorrectionFileErrorCode::LaterVersion, path, 1);
        read.error.detail = std::string(header->second);
        return read;
    }
    if (lines.size() < 2 || lines[1].substr(0, 4) != "run ") {
        read.error = failure(CorrectionFileErrorCode::BadLine, path, 2);
        return read;
    }
    if (lines[1].substr(4) != lapFingerprint(downloaded)) {
        read.error = failure(CorrectionFileErrorCode::OtherRun, path, 2);
        return read;
    }
    auto laps = lapList(downloaded);
    for (std::size_t i = 2; i < lines.size(); ++i) {
        const int lineNumber = static_cast<int>(i) + 1;
        const auto words = twoWords(lines[i]);
        const auto kind = words ? correctionKindNamed(words->first) : std::nullopt;
        const auto lap = words ? parseNumber(words->second) : std::nullopt;
        if (!kind || !lap || *lap < 1) {
            read.error = failure(CorrectionFileErrorCode::BadLine, path, lineNumber);
            read.steps.clear();
            return read;
        }
        const Correction step{*kind, *lap - 1};
        if (applyCorrection(laps, step) != CorrectionRefusal::None) {
            read.error = failure(CorrectionFileErrorCode::StepRefused, path, lineNumber);
            read.steps.clear();
            return read;
        }
        read.steps.push_back(step);
    }
    return read;
}

CorrectedRunRead loadCorrections(const std::string& runPath, const LapData& downloaded) {
    CorrectedRunRead result{RunCorrections(downloaded), false, {}};
    const auto path = correctionFilePath(runPath);
    bool missing = false;
    const auto bytes = readCorrectionBytes(path, missing, result.error);
    if (!bytes) return result;
    result.fileFound = true;
    auto parsed = parseCorrectionFile(*bytes, downloaded, path);
    if (parsed.error) {
        result.error = parsed.error;
        return result;
    }
    result.corrections.applyAll(parsed.steps);
    return result;
}

CorrectionFileError saveCorrections(const std::string& runPath, const RunCorrections& corrections) {
    const auto path = correctionFilePath(runPath);
    if (const FileKind kind = fileKindAt(path);
        kind != FileKind::Missing && kind != FileKind::Regular)
        return failure(CorrectionFileErrorCode::NotReplaced, path);
    if (corrections.steps().empty()) {
        if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
            return failure(CorrectionFileErrorCode::CannotRemove, path, 0, errno);
        }
        return {};
    }
    const auto written =
        writeFileDurably(path, correctionFileBytes(corrections.downloaded(), corrections.steps()),
                         ExistingFile::Replace);
    if (written.status == DurableWrite::Status::NotAFile)
        return failure(CorrectionFileErrorCode::NotReplaced, path);
    if (!written) return failure(CorrectionFileErrorCode::CannotSave, path, 0, written.error);
    return {};
}

CorrectionLock::CorrectionLock(CorrectionLock&& other) noexcept
    : folder_(std::exchange(other.folder_, -1)) {}

CorrectionLock& CorrectionLock::operator=(CorrectionLock&& other) noexcept {
    if (this != &other) {
        if (folder_ >= 0) ::close(folder_);
        folder_ = std::exchange(other.folder_, -1);
    }
    return *this;
}

// Closing the folder lets the lock go, as the system does for a killed program.
CorrectionLock::~CorrectionLock() {
    if (folder_ >= 0) ::close(folder_);
}

CorrectionLockTaken lockCorrections(const std::string& runPath, std::chrono::milliseconds wait) {
    const auto slash = runPath.rfind('/');
    const std::string folder = slash == std::string::npos ? "."
                               : slash == 0               ? "/"
                                                          : runPath.substr(0, slash);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    // A folder that cannot be opened for this gives no lock; reading or writing the file
    // then says what is wrong, and the save's compare still stands.
    if (fd < 0) return {CorrectionLock(-1), {}};
    CorrectionLock lock(fd);
    const auto deadline = std::chrono::steady_clock::now() + wait;
    auto pause = std::chrono::milliseconds(1);
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR) continue;
        // A file system without locks (some network shares).
        if (errno != EWOULDBLOCK) return {CorrectionLock(-1), {}};
        if (std::chrono::steady_clock::now() >= deadline) {
            return {std::nullopt,
                    failure(CorrectionFileErrorCode::Busy, correctionFilePath(runPath))};
        }
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(50));
    }
    return {std::move(lock), {}};
}

CorrectionFileError saveCorrectionsOver(const CorrectionLock& /*held*/, const std::string& runPath,
                                        const SeenSteps& seen, const RunCorrections& corrections) {
    const auto path = correctionFilePath(runPath);
    CorrectionFileError readError;
    bool missing = false;
    const auto bytes = readCorrectionBytes(path, missing, readError);
    SeenSteps now;
    if (bytes) {
        auto parsed = parseCorrectionFile(*bytes, corrections.downloaded(), path);
        if (!parsed.error) now = std::move(parsed.steps);
    } else if (missing) {
        now.emplace();
    } else if (seen) {
        // Not a change by another program: the file cannot be read, and that is the news.
        return readError;
    }
    if (now != seen) return failure(CorrectionFileErrorCode::Changed, path);
    return saveCorrections(runPath, corrections);
}

}  // namespace korimet
