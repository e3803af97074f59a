#include "files/durable_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>

namespace korimet {

namespace {

std::string systemReason(int error) { return std::strerror(error); }

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string baseName(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A name beside the target that no other writer (another process included) picks.
std::string temporaryNameFor(const std::string& path, unsigned attempt) {
    static std::atomic<unsigned> counter{0};
    const auto tick = static_cast<unsigned long long>(
        std::chrono::steady_clock::now().time_since_epoch().count());
    const std::string folder = folderOf(path);
    return (folder == "/" ? "" : folder) + "/." + baseName(path) + "." +
           std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-" +
           std::to_string((tick + attempt) % 1000000007ULL) + ".tmp";
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

DurableWrite failed(int error) { return {DurableWrite::Status::Failed, systemReason(error)}; }

}  // namespace

DurableWrite writeFileDurably(const std::string& path, std::string_view bytes, ExistingFile mode) {
    if (path.empty() || path.back() == '/') return failed(EISDIR);

    // Mode 0666 lets the umask decide, as for any new file; a replaced file keeps its own.
    std::string temporary;
    int fd = -1;
    for (unsigned attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temporary = temporaryNameFor(path, attempt);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return failed(errno);
    }
    if (fd < 0) return failed(EEXIST);

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
        return failed(error);
    }

    DurableWrite result{DurableWrite::Status::Written, {}};
    if (mode == ExistingFile::Replace) {
        if (::rename(temporary.c_str(), path.c_str()) != 0) {
            result = failed(errno);
            ::unlink(temporary.c_str());
        }
    } else if (::link(temporary.c_str(), path.c_str()) != 0) {
        const int linkError = errno;
        if (linkError == EEXIST) {
            result = {DurableWrite::Status::NameTaken, {}};
        } else if (linkError == EPERM || linkError == ENOTSUP || linkError == EOPNOTSUPP ||
                   linkError == EMLINK) {
            // A file system without hard links (a memory card, say): reserve the name with an
            // exclusive create, then move the complete file over the reservation.
            const int reserved =
                ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (reserved < 0) {
                result = errno == EEXIST ? DurableWrite{DurableWrite::Status::NameTaken, {}}
                                         : failed(errno);
            } else {
                ::close(reserved);
                if (::rename(temporary.c_str(), path.c_str()) != 0) {
                    result = failed(errno);
                    ::unlink(path.c_str());
                }
            }
        } else {
            result = failed(linkError);
        }
    }
    // With Keep the file now lives on under path, or nowhere.
    if (mode == ExistingFile::Keep) ::unlink(temporary.c_str());
    if (result) syncFolder(path);
    return result;
}

}  // namespace korimet
