#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "files/data_file.h"
#include "files/durable_write.h"

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

FileError readFailure(const std::string& path, FileErrorCode code, int systemError = 0) {
    FileError error;
    error.code = code;
    error.operation = FileOperation::Read;
    error.path = path;
    error.systemError = systemError;
    return error;
}

// The whole file, or why not. The path goes to the system unchanged.
std::optional<std::string> readWholeFile(const std::string& path, FileKinds kinds,
                                         FileError& error) {
    // Without a writer, opening a named pipe waits for one; O_NONBLOCK makes it return.
    const int nonBlocking = kinds == FileKinds::RegularOnly ? O_NONBLOCK | O_NOCTTY : 0;
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | nonBlocking));
    if (file.get() < 0) {
        error = readFailure(path, FileErrorCode::CannotOpen, errno);
        return std::nullopt;
    }
    struct stat info {};
    if (::fstat(file.get(), &info) == 0 && S_ISDIR(info.st_mode)) {
        error = readFailure(path, FileErrorCode::CannotOpen, EISDIR);
        return std::nullopt;
    }
    if (kinds == FileKinds::RegularOnly) {
        if (::fstat(file.get(), &info) != 0) {
            error = readFailure(path, FileErrorCode::CannotOpen, errno);
            return std::nullopt;
        }
        if (!S_ISREG(info.st_mode)) {
            error = readFailure(path, FileErrorCode::NotAFile);
            return std::nullopt;
        }
    }
    // One byte past the limit is enough to refuse, so a device or an endless pipe cannot
    // hold us.
    std::string bytes;
    std::size_t size = 0;
    while (size <= kMaxDataFileBytes) {
        if (bytes.size() < size + 65536) bytes.resize(size + 65536);
        const ssize_t n = ::read(file.get(), bytes.data() + size, bytes.size() - size);
        if (n < 0) {
            if (errno == EINTR) continue;
            error = readFailure(path, FileErrorCode::CannotRead, errno);
            return std::nullopt;
        }
        if (n == 0) break;
        size += static_cast<std::size_t>(n);
    }
    if (size > kMaxDataFileBytes) {
        error = readFailure(path, FileErrorCode::TooLarge);
        return std::nullopt;
    }
    bytes.resize(size);
    return bytes;
}

}  // namespace

DataFileReadResult loadDataFile(const std::string& path, MemoField memo, FileKinds kinds) {
    DataFileReadResult result;
    const auto bytes = readWholeFile(path, kinds, result.error);
    if (!bytes) return result;
    return readDataFileBytes(*bytes, path, memo);
}

DataFileReadResult loadTemplateFile(const std::string& path, const LapData& base) {
    DataFileReadResult result;
    const auto bytes = readWholeFile(path, FileKinds::RegularOnly, result.error);
    if (!bytes) return result;
    return readTemplate(*bytes, path, base);
}

SaveResult saveDataFile(const std::string& path, const LapData& data, std::string_view memo) {
    SaveResult result;
    const DataFileWriteResult bytes = writeDataFileBytes(data, memo);
    if (!bytes) {
        result.error = bytes.error;
        result.error.path = path;
        return result;
    }
    const DurableWrite written = writeFileDurably(path, *bytes.bytes, ExistingFile::Replace);
    if (!written) {
        result.error.code =
            written.created ? FileErrorCode::CannotWrite : FileErrorCode::CannotCreate;
        result.error.operation = FileOperation::Save;
        result.error.path = path;
        result.error.systemError = written.error;
        return result;
    }
    result.ok = true;
    return result;
}

}  // namespace korimet
