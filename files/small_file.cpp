#include "files/small_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace korimet {

namespace {

class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

SmallFileRead problem(SmallFileProblem p, int systemError = 0) {
    SmallFileRead r;
    r.problem = p;
    r.systemError = systemError;
    return r;
}

}  // namespace

SmallFileRead readSmallFile(const std::string& path, std::size_t maxBytes, FileKinds kinds) {
    // Without a writer, opening a named pipe waits for one; O_NONBLOCK makes it return.
    const int nonBlocking = kinds == FileKinds::RegularOnly ? O_NONBLOCK | O_NOCTTY : 0;
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | nonBlocking));
    if (file.get() < 0) return problem(SmallFileProblem::CannotOpen, errno);
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) return problem(SmallFileProblem::CannotOpen, errno);
    if (S_ISDIR(info.st_mode)) return problem(SmallFileProblem::CannotOpen, EISDIR);
    if (kinds == FileKinds::RegularOnly && !S_ISREG(info.st_mode))
        return problem(SmallFileProblem::NotAFile);
    // One byte past the limit is enough to refuse, so a device or an endless pipe cannot
    // hold us.
    std::string bytes;
    std::size_t size = 0;
    while (size <= maxBytes) {
        if (bytes.size() < size + 65536) bytes.resize(size + 65536);
        const ssize_t n = ::read(file.get(), bytes.data() + size, bytes.size() - size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return problem(SmallFileProblem::CannotRead, errno);
        }
        if (n == 0) break;
        size += static_cast<std::size_t>(n);
    }
    if (size > maxBytes) return problem(SmallFileProblem::TooLarge);
    bytes.resize(size);
    SmallFileRead r;
    r.bytes = std::move(bytes);
    return r;
}

}  // namespace korimet
