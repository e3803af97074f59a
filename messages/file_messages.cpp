#include "messages/file_messages.h"

#include <cerrno>
#include <system_error>

#include "messages/message_texts.h"
#include "messages/message_words.h"

namespace korimet {

namespace {

namespace t = messagetexts;

// What failed, with a place for the path.
const char* headOf(const FileError& e) {
    if (e.code == FileErrorCode::MemoUnreadable) return t::kMemoUnreadableHead;
    if (e.code == FileErrorCode::MemoEncodingDoubtful) return t::kMemoDoubtfulHead;
    switch (e.operation) {
        case FileOperation::Read:
            return t::kReadHead;
        case FileOperation::Save:
            return t::kSaveHead;
        case FileOperation::SaveInFolder:
            return t::kSaveInFolderHead;
        case FileOperation::ListFolder:
            return t::kListFolderHead;
    }
    return t::kReadHead;
}

// Why, for the codes that carry no system error number.
const char* reasonOf(FileErrorCode code, FileOperation operation) {
    switch (code) {
        case FileErrorCode::TooLarge:
            return t::kTooLarge;
        case FileErrorCode::NotAFile:
            return operation == FileOperation::Save ? t::kNotReplaced : t::kNotAFile;
        case FileErrorCode::EndsEarly:
            return t::kEndsEarly;
        case FileErrorCode::EmptyField:
            return t::kEmptyField;
        case FileErrorCode::NotANumber:
            return t::kNotANumber;
        case FileErrorCode::NumberOutOfRange:
            return t::kNumberOutOfRange;
        case FileErrorCode::NotAByte:
            return t::kNotAByte;
        case FileErrorCode::UnclosedQuote:
            return t::kUnclosedQuote;
        case FileErrorCode::MemoUnreadable:
            return t::kMemoUnreadable;
        case FileErrorCode::ValueNotFinite:
            return t::kValueNotFinite;
        case FileErrorCode::NoEncoder:
            return t::kNoEncoder;
        case FileErrorCode::NoFreeName:
            return t::kNoFreeName;
        default:
            return nullptr;
    }
}

// What the system refused, before its reason.
const char* refusedOf(FileErrorCode code) {
    switch (code) {
        case FileErrorCode::CannotOpen:
            return t::kCannotOpen;
        case FileErrorCode::CannotRead:
            return t::kCannotReadOpened;
        case FileErrorCode::CannotCreate:
            return t::kCannotCreate;
        case FileErrorCode::CannotWrite:
            return t::kCannotWrite;
        case FileErrorCode::CannotMakeFolder:
            return t::kCannotMakeFolder;
        case FileErrorCode::CannotReadFolder:
            return t::kCannotReadFolder;
        default:
            return nullptr;
    }
}

// The reason after the place in the file, where the error names one.
std::string placed(const FileError& e, const std::string& reason, const Wording& w) {
    if (!e.place) return reason;
    return sayWith(w, t::kPlaced,
                   {std::to_string(e.place->line), std::to_string(e.place->field), reason});
}

std::string bodyOf(const FileError& e, const Wording& w) {
    switch (e.code) {
        case FileErrorCode::CannotOpen:
        case FileErrorCode::CannotRead:
        case FileErrorCode::CannotCreate:
        case FileErrorCode::CannotWrite:
        case FileErrorCode::CannotMakeFolder:
        case FileErrorCode::CannotReadFolder:
            return sayWith(w, t::kWithReason,
                           {say(w, refusedOf(e.code)), systemReason(e.systemError, w)});
        case FileErrorCode::CannotCheckName:
            return sayWith(
                w, t::kWithReason,
                {sayWith(w, t::kCannotCheckName, {e.detail}), systemReason(e.systemError, w)});
        case FileErrorCode::MemoUnencodable:
            return sayWith(w, t::kMemoUnencodable, {e.detail}) + "\n" +
                   say(w, t::kMemoUnencodableHint);
        case FileErrorCode::MemoWouldChange:
            return say(w, t::kMemoWouldChange) + "\n" + say(w, t::kMemoWouldChangeHint);
        case FileErrorCode::MemoUnreadable:
            return placed(e, say(w, t::kMemoUnreadable), w) + "\n" + say(w, t::kMemoShownWithMarks);
        case FileErrorCode::MemoEncodingDoubtful: {
            const std::string reading = e.detail == "CP932" ? "CP932 (Shift_JIS)" : e.detail;
            return placed(e, sayWith(w, t::kMemoDoubtfulRead, {reading}), w) + "\n" +
                   say(w, t::kMemoDoubtfulCheck);
        }
        default: {
            const char* reason = reasonOf(e.code, e.operation);
            return placed(e, reason ? say(w, reason) : std::string(), w);
        }
    }
}

}  // namespace

std::string systemReason(int error, const Wording& wording) {
    switch (error) {
        case ENOENT:
            return say(wording, t::kNoSuchFile);
        case EACCES:
        case EPERM:
            return say(wording, t::kNoPermission);
        case EISDIR:
            return say(wording, t::kIsFolder);
        case ENOTDIR:
            return say(wording, t::kNotAFolder);
        case ENOSPC:
        case EDQUOT:
            return say(wording, t::kDiskFull);
        case EFBIG:
            return say(wording, t::kFileTooBig);
        case EROFS:
            return say(wording, t::kReadOnly);
        case ENAMETOOLONG:
            return say(wording, t::kNameTooLong);
        default:
            // Thread-safe, unlike strerror: the library is read on a worker thread.
            return std::generic_category().message(error);
    }
}

std::string systemReason(int error, Language language) {
    return systemReason(error, wordingFor(language));
}

std::string fileMessage(const FileError& error, const Wording& wording) {
    if (!error) return {};
    return sayWith(wording, headOf(error), {error.path}) + "\n" + bodyOf(error, wording);
}

std::string fileMessage(const FileError& error, Language language) {
    return fileMessage(error, wordingFor(language));
}

}  // namespace korimet
