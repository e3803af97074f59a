#pragma once

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>

// Names that hold no regular file, made in a test's own folder: writers are pointed only at
// these, never at the machine's /dev.
namespace korimet::test {

enum class Special {
    Fifo,
    NullDevice,  // a character device that takes everything, as /dev/null
    FullDevice,  // a character device that is always full, as /dev/full
    Folder,
    Socket,
};

// True when `path` now holds `kind`. Device nodes need root (and a file system that lets
// them be opened): false without.
inline bool makeSpecial(Special kind, const std::filesystem::path& path) {
    switch (kind) {
        case Special::Fifo:
            return ::mkfifo(path.c_str(), 0600) == 0;
        case Special::NullDevice:
        case Special::FullDevice: {
            const dev_t device = ::makedev(1, kind == Special::NullDevice ? 3 : 7);
            if (::mknod(path.c_str(), S_IFCHR | 0600, device) != 0) return false;
            const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
            if (fd < 0) {
                ::unlink(path.c_str());
                return false;
            }
            ::close(fd);
            return true;
        }
        case Special::Folder:
            return ::mkdir(path.c_str(), 0700) == 0;
        case Special::Socket: {
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            if (path.string().size() >= sizeof address.sun_path) return false;
            std::strcpy(address.sun_path, path.c_str());
            const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
            if (fd < 0) return false;
            const bool bound =
                ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
            ::close(fd);
            return bound;
        }
    }
    return false;
}

// True when `path` holds `kind` now, links followed.
inline bool holds(Special kind, const std::filesystem::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return false;
    switch (kind) {
        case Special::Fifo:
            return S_ISFIFO(st.st_mode);
        case Special::NullDevice:
            return S_ISCHR(st.st_mode) && st.st_rdev == ::makedev(1, 3);
        case Special::FullDevice:
            return S_ISCHR(st.st_mode) && st.st_rdev == ::makedev(1, 7);
        case Special::Folder:
            return S_ISDIR(st.st_mode);
        case Special::Socket:
            return S_ISSOCK(st.st_mode);
    }
    return false;
}

// Reads what a writer puts into a named pipe, without ever blocking the test: the pipe is
// held open at both ends from the start, so a writer's open does not wait and a writer
// that never comes leaves the bytes empty rather than the test hanging.
class FifoReader {
  public:
    explicit FifoReader(const std::filesystem::path& fifo) {
        read_ = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (read_ < 0) return;
        // The same pipe, even should the name be taken from it meanwhile.
        const std::string same = "/proc/self/fd/" + std::to_string(read_);
        write_ = ::open(same.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        ::fcntl(read_, F_SETFL, ::fcntl(read_, F_GETFL) & ~O_NONBLOCK);
        reader_ = std::thread([this] {
            char buffer[65536];
            for (ssize_t n; (n = ::read(read_, buffer, sizeof buffer)) != 0;) {
                if (n > 0) bytes_.append(buffer, static_cast<std::size_t>(n));
                if (n < 0 && errno != EINTR) break;
            }
        });
    }
    ~FifoReader() { finish(); }
    FifoReader(const FifoReader&) = delete;
    FifoReader& operator=(const FifoReader&) = delete;

    bool ready() const { return read_ >= 0 && write_ >= 0; }

    // Everything written, once the writers are done (call after the writer has finished).
    const std::string& finish() {
        if (write_ >= 0) ::close(write_);
        write_ = -1;
        if (reader_.joinable()) reader_.join();
        if (read_ >= 0) ::close(read_);
        read_ = -1;
        return bytes_;
    }

  private:
    int read_ = -1;
    int write_ = -1;
    std::string bytes_;
    std::thread reader_;
};

}  // namespace korimet::test
