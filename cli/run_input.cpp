#include "cli/run_input.h"

#include <unistd.h>

#include <QSettings>
#include <algorithm>
#include <cerrno>
#include <iostream>

#include "corrections/settings/limit_settings.h"
#include "messages/correction_messages.h"

namespace korimet::cli {

DataFileReadResult readRunFile(const std::string& name, const Texts& texts, MemoField memo) {
    // A pipe or a device named on the command line is read as the user asked.
    if (!isStandardInput(name)) return loadDataFile(name, memo, FileKinds::Any);
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
            result.error.code = FileErrorCode::CannotRead;
            result.error.path = shownName;
            result.error.systemError = errno;
            return result;
        }
        if (n == 0) break;
        size += static_cast<std::size_t>(n);
    }
    if (size > kMaxDataFileBytes) {
        result.error.code = FileErrorCode::TooLarge;
        result.error.path = shownName;
        return result;
    }
    bytes.resize(size);
    return readDataFileBytes(bytes, shownName, memo);
}

RunView runOf(const std::string& name, const DataFileReadResult& read, const std::string& prefix,
              const Texts& texts) {
    const SuspectLimits limits = readSuspectLimits(QSettings());
    const LapData& downloaded = read.content->data;
    if (isStandardInput(name)) return viewRun(downloaded, limits);
    RunViewRead corrected = readRunView(name, downloaded, limits);
    if (corrected.correctionError) {
        std::string message = correctionFileMessage(corrected.correctionError, texts.language());
        std::replace(message.begin(), message.end(), '\n', ' ');
        std::cerr << prefix << message << "\n";
    }
    return std::move(corrected.view);
}

bool reportRead(const DataFileReadResult& read, const std::string& prefix, const Texts& texts) {
    if (!read) {
        std::cerr << prefix << texts.file(read.error) << "\n";
        return false;
    }
    if (read.warning) std::cerr << prefix << texts.file(read.warning) << "\n";
    return true;
}

}  // namespace korimet::cli
