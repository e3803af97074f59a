#include "cli/run_input.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "files/file_texts.h"

namespace korimet::cli {

DataFileReadResult readRunFile(const std::string& name, const Texts& texts, MemoField memo) {
    if (!isStandardInput(name)) return loadDataFile(name, memo);
    const std::string shownName = texts(Text::StandardInput);
    DataFileReadResult result;
    // As for a file: one byte past the limit is enough to refuse an endless input.
    std::string bytes;
    std::size_t size = 0;
    while (size <= kMaxDataFileBytes) {
        if (bytes.size() < size + 65536) bytes.resize(size + 65536);
        const ssize_t n = ::read(STDIN_FILENO, bytes.data() + size, bytes.size() - size);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            result.error = texts.with(Text::ErrorReading, {shownName, std::strerror(errno)});
            return result;
        }
        if (n == 0) break;
        size += static_cast<std::size_t>(n);
    }
    if (size > kMaxDataFileBytes) {
        result.error =
            std::string(filetexts::kReadFailed) + shownName + "\n" + filetexts::kTooLarge;
        return result;
    }
    bytes.resize(size);
    return readDataFileBytes(bytes, shownName, memo);
}

}  // namespace korimet::cli
