#include "files/run_naming.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "files/data_file.h"
#include "files/durable_write.h"
#include "files/file_texts.h"

namespace korimet {

namespace {

std::string inFolder(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    return folder.back() == '/' ? folder + name : folder + '/' + name;
}

std::string withReason(std::string text, const std::string& reason) {
    if (!reason.empty()) text += "（" + reason + "）";
    return text;
}

RunSaveResult failure(std::string message) {
    RunSaveResult result;
    result.error = std::move(message);
    return result;
}

}  // namespace

std::string runNumberName(int attempt) {
    std::string digits = std::to_string(attempt);
    if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
    return "run-" + digits + ".krt";
}

RunFileSaver::RunFileSaver(std::string folder, RunFileCandidates candidates)
    : folder_(std::move(folder)), candidates_(std::move(candidates)) {}

RunSaveResult RunFileSaver::save(const LapData& data, std::string_view memo) {
    const std::string folderHead = std::string(filetexts::kSaveToFolderFailed) + folder_ + "\n";
    const DataFileWriteResult bytes = writeDataFileBytes(data, memo);
    if (!bytes) return failure(folderHead + bytes.error);

    for (int tries = 0; tries < kMaxRunNameAttempts; ++tries, ++next_) {
        const std::string name = candidates_(next_);
        const std::string path = inFolder(folder_, name);
        // A cheap look first, so a folder full of earlier runs costs no writes; the write
        // below still refuses a name another process took in between.
        struct stat existing {};
        if (::lstat(path.c_str(), &existing) == 0) continue;
        if (errno != ENOENT) {
            // Every later name would fail the same way: stop here instead of counting on.
            return failure(folderHead +
                           withReason(filetexts::kCannotCheckName + name, std::strerror(errno)));
        }
        const DurableWrite written = writeFileDurably(path, *bytes.bytes, ExistingFile::Keep);
        if (written.status == DurableWrite::Status::NameTaken) continue;
        if (!written) {
            return failure(std::string(filetexts::kSaveFailed) + path + "\n" +
                           withReason(filetexts::kCannotWrite, written.reason));
        }
        ++next_;
        RunSaveResult result;
        result.path = path;
        return result;
    }
    return failure(folderHead + filetexts::kNoFreeName);
}

}  // namespace korimet
