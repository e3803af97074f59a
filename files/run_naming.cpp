#include "files/run_naming.h"

#include <sys/stat.h>

#include <cerrno>
#include <utility>

#include "files/data_file.h"
#include "files/durable_write.h"

namespace korimet {

namespace {

std::string inFolder(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    return folder.back() == '/' ? folder + name : folder + '/' + name;
}

RunSaveResult failure(FileError error) {
    RunSaveResult result;
    result.error = std::move(error);
    return result;
}

FileError inFolderError(const std::string& folder, FileErrorCode code) {
    FileError error;
    error.code = code;
    error.operation = FileOperation::SaveInFolder;
    error.path = folder;
    return error;
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
    const DataFileWriteResult bytes = writeDataFileBytes(data, memo);
    if (!bytes) {
        FileError refused = bytes.error;
        refused.operation = FileOperation::SaveInFolder;
        refused.path = folder_;
        return failure(std::move(refused));
    }

    for (int tries = 0; tries < kMaxRunNameAttempts; ++tries, ++next_) {
        const std::string name = candidates_(next_);
        const std::string path = inFolder(folder_, name);
        // A cheap look first, so a folder full of earlier runs costs no writes; the write
        // below still refuses a name another process took in between.
        struct stat existing {};
        if (::lstat(path.c_str(), &existing) == 0) continue;
        if (errno != ENOENT) {
            // Every later name would fail the same way: stop here instead of counting on.
            FileError error = inFolderError(folder_, FileErrorCode::CannotCheckName);
            error.systemError = errno;
            error.detail = name;
            return failure(std::move(error));
        }
        const DurableWrite written = writeFileDurably(path, *bytes.bytes, ExistingFile::Keep);
        if (written.status == DurableWrite::Status::NameTaken) continue;
        if (!written) {
            FileError error;
            error.code = written.created ? FileErrorCode::CannotWrite : FileErrorCode::CannotCreate;
            error.operation = FileOperation::Save;
            error.path = path;
            error.systemError = written.error;
            return failure(std::move(error));
        }
        ++next_;
        RunSaveResult result;
        result.path = path;
        return result;
    }
    return failure(inFolderError(folder_, FileErrorCode::NoFreeName));
}

}  // namespace korimet
