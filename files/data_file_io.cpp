#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "files/data_file.h"
#include "files/durable_write.h"
#include "files/file_texts.h"

namespace korimet {

namespace {

// The system's reason in the user's words where there are common ones; the system's own
// text for the rest.
std::string reasonText(int error) {
    switch (error) {
        case ENOENT:
            return filetexts::kNoSuchFile;
        case EACCES:
        case EPERM:
            return filetexts::kNoPermission;
        case EISDIR:
            return filetexts::kIsFolder;
        case ENOTDIR:
            return filetexts::kNotAFolder;
        case ENOSPC:
        case EDQUOT:
            return filetexts::kDiskFull;
        case EFBIG:
            return filetexts::kFileTooBig;
        case EROFS:
            return filetexts::kReadOnly;
        case ENAMETOOLONG:
            return filetexts::kNameTooLong;
        default:
            return std::strerror(error);
    }
}

std::string withReason(const char* what, int error) {
    return std::string(what) + "（" + reasonText(error) + "）";
}

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

// The whole file, or a message naming it. The path goes to the system unchanged.
std::optional<std::string> readWholeFile(const std::string& path, std::string& error) {
    const std::string head = std::string(filetexts::kReadFailed) + path + "\n";
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) {
        error = head + withReason(filetexts::kCannotOpen, errno);
        return std::nullopt;
    }
    struct stat info {};
    if (::fstat(file.get(), &info) == 0 && S_ISDIR(info.st_mode)) {
        error = head + withReason(filetexts::kCannotOpen, EISDIR);
        return std::nullopt;
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
            error = head + withReason(filetexts::kCannotOpen, errno);
            return std::nullopt;
        }
        if (n == 0) break;
        size += static_cast<std::size_t>(n);
    }
    if (size > kMaxDataFileBytes) {
        error = head + filetexts::kTooLarge;
        return std::nullopt;
    }
    bytes.resize(size);
    return bytes;
}

}  // namespace

DataFileReadResult loadDataFile(const std::string& path, MemoField memo) {
    DataFileReadResult result;
    const auto bytes = readWholeFile(path, result.error);
    if (!bytes) return result;
    return readDataFileBytes(*bytes, path, memo);
}

DataFileReadResult loadTemplateFile(const std::string& path, const LapData& base) {
    DataFileReadResult result;
    const auto bytes = readWholeFile(path, result.error);
    if (!bytes) return result;
    return readTemplate(*bytes, path, base);
}

SaveResult saveDataFile(const std::string& path, const LapData& data, std::string_view memo) {
    SaveResult result;
    const std::string head = std::string(filetexts::kSaveFailed) + path + "\n";
    const DataFileWriteResult bytes = writeDataFileBytes(data, memo);
    if (!bytes) {
        result.error = head + bytes.error;
        return result;
    }
    const DurableWrite written = writeFileDurably(path, *bytes.bytes, ExistingFile::Replace);
    if (!written) {
        result.error =
            head + withReason(written.created ? filetexts::kCannotWrite : filetexts::kCannotCreate,
                              written.error);
        return result;
    }
    result.ok = true;
    return result;
}

}  // namespace korimet
