#include "messages/file_messages.h"

#include <cerrno>
#include <system_error>

#include "files/file_texts.h"

namespace korimet {

namespace {

struct Words {
    const char* ja;
    const char* en;
    const char* in(Language language) const { return language == Language::Japanese ? ja : en; }
};

// What failed, followed by the path.
Words headOf(const FileError& e) {
    if (e.code == FileErrorCode::MemoUnreadable) {
        return {filetexts::kMemoWarningHead, "part of the memo cannot be read: "};
    }
    if (e.code == FileErrorCode::MemoEncodingDoubtful) {
        return {filetexts::kMemoDoubtfulHead, "the memo's encoding is uncertain: "};
    }
    switch (e.operation) {
        case FileOperation::Read:
            return {filetexts::kReadFailed, "cannot read the file: "};
        case FileOperation::Save:
            return {filetexts::kSaveFailed, "cannot save the file: "};
        case FileOperation::SaveInFolder:
            return {filetexts::kSaveToFolderFailed, "cannot save in the folder: "};
        case FileOperation::ListFolder:
            return {"フォルダーを読み込めません: ", "cannot read the folder: "};
    }
    return {filetexts::kReadFailed, "cannot read the file: "};
}

// Why, for the codes that carry no system error number.
Words reasonOf(FileErrorCode code) {
    switch (code) {
        case FileErrorCode::TooLarge:
            return {filetexts::kTooLarge, "too large for a data file"};
        case FileErrorCode::NotAFile:
            return {"ファイルを開けません（通常のファイルではありません）",
                    "cannot open the file (not a regular file)"};
        case FileErrorCode::EndsEarly:
            return {filetexts::kEndsEarly, "the file ends here"};
        case FileErrorCode::EmptyField:
            return {filetexts::kEmptyField, "no value"};
        case FileErrorCode::NotANumber:
            return {filetexts::kNotANumber, "not a number"};
        case FileErrorCode::NumberOutOfRange:
            return {filetexts::kNumberOutOfRange, "number too large or too small"};
        case FileErrorCode::NotAByte:
            return {filetexts::kNotAByte, "not a whole number from 0 to 255"};
        case FileErrorCode::UnclosedQuote:
            return {filetexts::kUnclosedQuote, "the memo's closing \" is missing"};
        case FileErrorCode::MemoUnreadable:
            return {filetexts::kMemoUnreadable, "the memo's characters cannot be read"};
        case FileErrorCode::ValueNotFinite:
            return {filetexts::kValueNotFinite,
                    "a value cannot be saved (infinite or not a number)"};
        case FileErrorCode::NoEncoder:
            return {filetexts::kNoEncoder, "Shift_JIS (CP932) conversion is not available"};
        case FileErrorCode::NoFreeName:
            return {filetexts::kNoFreeName, "no free file name is left"};
        default:
            return {"", ""};
    }
}

// What the system refused, before its reason in brackets.
Words refusedOf(FileErrorCode code) {
    switch (code) {
        case FileErrorCode::CannotOpen:
            return {filetexts::kCannotOpen, "cannot open the file"};
        case FileErrorCode::CannotRead:
            // The window has always said "cannot open" for both.
            return {filetexts::kCannotOpen, "error while reading the file"};
        case FileErrorCode::CannotCreate:
            return {filetexts::kCannotCreate, "cannot create the file"};
        case FileErrorCode::CannotWrite:
            return {filetexts::kCannotWrite, "cannot write to the file"};
        case FileErrorCode::CannotCheckName:
            return {filetexts::kCannotCheckName, "cannot check the file name: "};
        case FileErrorCode::CannotMakeFolder:
            return {"フォルダーを作成できません", "cannot create the folder"};
        case FileErrorCode::CannotReadFolder:
            return {"フォルダーを開けません", "cannot open the folder"};
        default:
            return {"", ""};
    }
}

std::string inBrackets(const std::string& reason, Language language) {
    return language == Language::Japanese ? "（" + reason + "）" : " (" + reason + ")";
}

std::string placeText(const FilePlace& place, Language language) {
    const std::string line = std::to_string(place.line);
    const std::string field = std::to_string(place.field);
    if (language == Language::Japanese) {
        return line + filetexts::kLineSuffix + field + filetexts::kFieldSuffix;
    }
    return "line " + line + ", field " + field + ": ";
}

std::string bodyOf(const FileError& e, Language language) {
    switch (e.code) {
        case FileErrorCode::CannotOpen:
        case FileErrorCode::CannotRead:
        case FileErrorCode::CannotCreate:
        case FileErrorCode::CannotWrite:
        case FileErrorCode::CannotMakeFolder:
        case FileErrorCode::CannotReadFolder:
            return refusedOf(e.code).in(language) +
                   inBrackets(systemReason(e.systemError, language), language);
        case FileErrorCode::CannotCheckName:
            return refusedOf(e.code).in(language) + e.detail +
                   inBrackets(systemReason(e.systemError, language), language);
        case FileErrorCode::MemoUnencodable:
            if (language == Language::Japanese) {
                return filetexts::kMemoUnencodable + e.detail + "\n" +
                       filetexts::kMemoUnencodableHint;
            }
            return "the memo holds a character the file cannot store: " + e.detail +
                   "\ndelete that character, then save.";
        case FileErrorCode::MemoWouldChange:
            if (language == Language::Japanese) {
                return std::string(filetexts::kMemoWouldChange) + "\n" +
                       filetexts::kMemoWouldChangeHint;
            }
            return "this memo cannot be saved: it would read back as other characters (its "
                   "CP932 bytes look like UTF-8).\nchange the memo slightly (a space between "
                   "characters) to save it.";
        case FileErrorCode::MemoUnreadable:
            if (language == Language::Japanese) {
                return (e.place ? placeText(*e.place, language) : std::string()) +
                       filetexts::kMemoUnreadable + "\n" + filetexts::kMemoShownWithMarks;
            }
            return (e.place ? placeText(*e.place, language) : std::string()) +
                   "the memo's characters cannot be read\ncharacters that cannot be read are "
                   "shown as \"\uFFFD\"; the file was not changed.";
        case FileErrorCode::MemoEncodingDoubtful: {
            const std::string place = e.place ? placeText(*e.place, language) : std::string();
            const std::string reading = e.detail == "CP932" ? "CP932 (Shift_JIS)" : e.detail;
            if (language == Language::Japanese) {
                return place + filetexts::kMemoDoubtfulRead + reading +
                       filetexts::kMemoDoubtfulReadEnd + "\n" + filetexts::kMemoDoubtfulCheck;
            }
            return place +
                   "the memo reads both as CP932 (Shift_JIS) and as UTF-8; it was read as " +
                   reading + ".\ncheck that its characters are right; the file was not changed.";
        }
        default:
            return (e.place ? placeText(*e.place, language) : std::string()) +
                   reasonOf(e.code).in(language);
    }
}

}  // namespace

std::string systemReason(int error, Language language) {
    const bool ja = language == Language::Japanese;
    switch (error) {
        case ENOENT:
            return ja ? filetexts::kNoSuchFile : "No such file or directory";
        case EACCES:
        case EPERM:
            return ja ? filetexts::kNoPermission : "Permission denied";
        case EISDIR:
            return ja ? filetexts::kIsFolder : "Is a directory";
        case ENOTDIR:
            return ja ? filetexts::kNotAFolder : "Not a directory";
        case ENOSPC:
        case EDQUOT:
            return ja ? filetexts::kDiskFull : "No space left on device";
        case EFBIG:
            return ja ? filetexts::kFileTooBig : "File too large";
        case EROFS:
            return ja ? filetexts::kReadOnly : "Read-only file system";
        case ENAMETOOLONG:
            return ja ? filetexts::kNameTooLong : "File name too long";
        default:
            // Thread-safe, unlike strerror: the library is read on a worker thread.
            return std::generic_category().message(error);
    }
}

std::string fileMessage(const FileError& error, Language language) {
    if (!error) return {};
    return headOf(error).in(language) + error.path + "\n" + bodyOf(error, language);
}

}  // namespace korimet
