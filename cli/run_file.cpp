#include "cli/run_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "files/file_texts.h"

namespace korimet::cli {

namespace {

// Closes the descriptor on every way out.
struct FdCloser {
    int fd;
    ~FdCloser() {
        if (fd >= 0) ::close(fd);
    }
};

DataFileReadResult refused(const std::string& path, const char* why, int error) {
    DataFileReadResult result;
    result.error = std::string(filetexts::kReadFailed) + path + "\n" + why;
    if (error != 0) result.error += std::string("（") + std::strerror(error) + "）";
    return result;
}

}  // namespace

DataFileReadResult readRunFile(const std::string& path) {
    const FdCloser file{::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY)};
    if (file.fd < 0) return refused(path, filetexts::kCannotOpen, errno);
    struct stat info {};
    if (::fstat(file.fd, &info) != 0) return refused(path, filetexts::kCannotOpen, errno);
    if (S_ISDIR(info.st_mode)) return refused(path, filetexts::kCannotOpen, EISDIR);

    // One byte past the limit tells a file that is too large; a device or an endless
    // file cannot hold us either.
    std::string bytes;
    char buffer[65536];
    while (bytes.size() <= kMaxDataFileBytes) {
        const ssize_t n = ::read(file.fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return refused(path, filetexts::kCannotOpen, errno);
        if (n == 0) break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    if (bytes.size() > kMaxDataFileBytes) return refused(path, filetexts::kTooLarge, 0);
    return readDataFileBytes(bytes, path);
}

}  // namespace korimet::cli
