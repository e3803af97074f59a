#include "files/durable_write.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <functional>
#include <random>

namespace korimet {

namespace {

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// A short name beside the target, so that a target name near the system's length limit
// still gets one; random, so that no other writer (another process included) picks it.
std::string temporaryNameFor(const std::string& path, std::mt19937_64& random) {
    const std::string folder = folderOf(path);
    return (folder == "/" ? "" : folder) + "/.korimet-" + std::to_string(random()) + ".tmp";
}

// Where the bytes go: a link to an existing file stays a link.
std::string finalTarget(const std::string& path) {
    struct stat link {};
    if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return path;
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr) return path;
    return resolved;
}

bool writeAll(int fd, std::string_view bytes, int& error) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            error = errno;
            return false;
        }
        if (n == 0) {
            error = EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// A new name survives a power cut only once its folder is synced too.
void syncFolder(const std::string& path) {
    const int dir = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return;
    ::fsync(dir);
    ::close(dir);
}

DurableWrite outcome(DurableWrite::Status status, bool created) {
    DurableWrite result;
    result.status = status;
    result.created = created;
    return result;
}

DurableWrite failed(int error, bool created) {
    DurableWrite result = outcome(DurableWrite::Status::Failed, created);
    result.reason = std::strerror(error);
    result.error = error;
    return result;
}

DurableWrite notAFile(FileKind found) {
    DurableWrite refused = outcome(DurableWrite::Status::NotAFile, false);
    refused.found = found;
    return refused;
}

// A rename would put a regular file where the pipe, device or folder was.
bool replaceable(FileKind kind) { return kind == FileKind::Missing || kind == FileKind::Regular; }

bool isTemporaryName(std::string_view name) {
    constexpr std::string_view prefix = ".korimet-";
    constexpr std::string_view suffix = ".tmp";
    return name.size() > prefix.size() + suffix.size() && name.substr(0, prefix.size()) == prefix &&
           name.substr(name.size() - suffix.size()) == suffix;
}

// Left by a killed writer. A live writer's file is younger: it is written and renamed
// within moments, so only files untouched for this long are taken for dead.
constexpr std::time_t kStaleTemporarySeconds = 15 * 60;

// Temporary files left by kills would pile up and be copied by sync tools.
void removeStaleTemporaries(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return;
    const std::time_t now = std::time(nullptr);
    while (const dirent* entry = ::readdir(dir)) {
        if (!isTemporaryName(entry->d_name)) continue;
        struct stat st {};
        if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (!S_ISREG(st.st_mode) || now - st.st_mtime < kStaleTemporarySeconds) continue;
        ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

// After link() refused to give the complete temporary file the name.
DurableWrite keepByRenaming(int linkError, const std::string& temporary, const std::string& path) {
    if (linkError == EEXIST) return outcome(DurableWrite::Status::NameTaken, true);
    if (linkError != EPERM && linkError != ENOTSUP && linkError != EOPNOTSUPP &&
        linkError != EMLINK) {
        return failed(linkError, true);
    }
    // A file system without hard links (a memory card, say): the no-replace rename is the
    // reservation, so no kill can leave the name empty.
    if (::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0)
        return outcome(DurableWrite::Status::Written, true);
    if (errno == EEXIST) return outcome(DurableWrite::Status::NameTaken, true);
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP && errno != EOPNOTSUPP)
        return failed(errno, true);
    // Nothing atomic: writers of this program take turns through a hidden lock named like
    // a temporary file (so a killed writer's lock goes stale and is removed), and the name
    // only ever receives the complete file. Another program may still race for the name.
    const std::string folder = folderOf(path);
    const std::string lock = (folder == "/" ? "" : folder) + "/.korimet-lock-" +
                             std::to_string(std::hash<std::string>{}(path)) + ".tmp";
    const int held = ::open(lock.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (held < 0) {
        return errno == EEXIST ? outcome(DurableWrite::Status::NameTaken, true)
                               : failed(errno, true);
    }
    ::close(held);
    DurableWrite result = outcome(DurableWrite::Status::Written, true);
    struct stat existing {};
    if (::lstat(path.c_str(), &existing) == 0 || errno != ENOENT) {
        result = outcome(DurableWrite::Status::NameTaken, true);
    } else if (::rename(temporary.c_str(), path.c_str()) != 0) {
        result = failed(errno, true);
    }
    ::unlink(lock.c_str());
    return result;
}

}  // namespace

FileKind fileKindAt(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return FileKind::Missing;
    if (S_ISREG(st.st_mode)) return FileKind::Regular;
    if (S_ISDIR(st.st_mode)) return FileKind::Directory;
    if (S_ISFIFO(st.st_mode)) return FileKind::Fifo;
    if (S_ISCHR(st.st_mode)) return FileKind::CharDevice;
    if (S_ISBLK(st.st_mode)) return FileKind::BlockDevice;
    if (S_ISSOCK(st.st_mode)) return FileKind::Socket;
    return FileKind::Other;
}

DurableWrite writeFileDurably(const std::string& given, std::string_view bytes, ExistingFile mode) {
    if (given.empty() || given.back() == '/') return failed(EISDIR, false);
    const std::string path = mode == ExistingFile::Replace ? finalTarget(given) : given;
    // Keep never takes a name that holds anything; Replace may only take a file's.
    if (mode == ExistingFile::Replace) {
        if (const FileKind kind = fileKindAt(path); !replaceable(kind)) return notAFile(kind);
    }
    removeStaleTemporaries(folderOf(path));

    // Mode 0666 lets the umask decide, as for any new file; a replaced file keeps its own.
    std::random_device seed;
    std::mt19937_64 random((static_cast<std::uint64_t>(seed()) << 32) ^ seed() ^
                           static_cast<std::uint64_t>(::getpid()));
    std::string temporary;
    int fd = -1;
    for (unsigned attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temporary = temporaryNameFor(path, random);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return failed(errno, false);
    }
    if (fd < 0) return failed(EEXIST, false);

    int error = 0;
    bool ok = writeAll(fd, bytes, error);
    if (ok && mode == ExistingFile::Replace) {
        struct stat existing {};
        if (::stat(path.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
            ::fchmod(fd, existing.st_mode & 07777);
        }
    }
    if (ok && ::fsync(fd) != 0) {
        error = errno;
        ok = false;
    }
    if (::close(fd) != 0 && ok) {
        error = errno;
        ok = false;
    }
    // Never let a short file take the name, whatever the calls above claimed.
    struct stat written {};
    if (ok && (::stat(temporary.c_str(), &written) != 0 ||
               written.st_size != static_cast<off_t>(bytes.size()))) {
        error = EIO;
        ok = false;
    }
    if (!ok) {
        ::unlink(temporary.c_str());
        return failed(error, true);
    }

    DurableWrite result = outcome(DurableWrite::Status::Written, true);
    if (mode == ExistingFile::Replace) {
        // Looked at again: something else may have taken the name while the bytes went out.
        if (const FileKind kind = fileKindAt(path); !replaceable(kind)) {
            result = notAFile(kind);
            result.created = true;
            ::unlink(temporary.c_str());
        } else if (::rename(temporary.c_str(), path.c_str()) != 0) {
            result = failed(errno, true);
            ::unlink(temporary.c_str());
        }
    } else {
        if (::link(temporary.c_str(), path.c_str()) != 0)
            result = keepByRenaming(errno, temporary, path);
        // The name holds the file now (or never will): the temporary name goes either way.
        ::unlink(temporary.c_str());
    }
    if (result) syncFolder(path);
    return result;
}

DurableWrite writeOutputFile(const std::string& path, std::string_view bytes) {
    const FileKind kind = fileKindAt(path);
    if (kind != FileKind::Fifo && kind != FileKind::CharDevice)
        return writeFileDurably(path, bytes, ExistingFile::Replace);
    // Nothing created or truncated: the pipe or device takes the bytes as they come.
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return failed(errno, false);
    struct stat opened {};
    if (::fstat(fd, &opened) == 0 && !S_ISFIFO(opened.st_mode) && !S_ISCHR(opened.st_mode)) {
        // The name changed hands since it was looked at: a file is never written in place.
        ::close(fd);
        return writeFileDurably(path, bytes, ExistingFile::Replace);
    }
    int error = 0;
    bool ok = writeAll(fd, bytes, error);
    if (::close(fd) != 0 && ok) {
        error = errno;
        ok = false;
    }
    return ok ? outcome(DurableWrite::Status::Written, false) : failed(error, false);
}

}  // namespace korimet
