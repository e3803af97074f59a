#include "files/data_file.h"
#include "files/durable_write.h"
#include "files/small_file.h"

namespace korimet {

namespace {

// The whole file, or why not. The path goes to the system unchanged.
std::optional<std::string> readWholeFile(const std::string& path, FileKinds kinds,
                                         FileError& error) {
    SmallFileRead read = readSmallFile(path, kMaxDataFileBytes, kinds);
    if (read.bytes) return std::move(read.bytes);
    error.operation = FileOperation::Read;
    error.path = path;
    error.systemError = read.systemError;
    switch (read.problem) {
        case SmallFileProblem::NotAFile:
            error.code = FileErrorCode::NotAFile;
            break;
        case SmallFileProblem::CannotRead:
            error.code = FileErrorCode::CannotRead;
            break;
        case SmallFileProblem::TooLarge:
            error.code = FileErrorCode::TooLarge;
            break;
        case SmallFileProblem::None:
        case SmallFileProblem::CannotOpen:
            error.code = FileErrorCode::CannotOpen;
            break;
    }
    return std::nullopt;
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
    if (written.status == DurableWrite::Status::NotAFile) {
        result.error.code = FileErrorCode::NotAFile;
        result.error.operation = FileOperation::Save;
        result.error.path = path;
        return result;
    }
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
