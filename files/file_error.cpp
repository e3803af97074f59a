#include "files/file_error.h"

#include <ostream>

namespace korimet {

std::string_view fileErrorCodeName(FileErrorCode code) {
    switch (code) {
        case FileErrorCode::None:
            return "none";
        case FileErrorCode::CannotOpen:
            return "cannotOpen";
        case FileErrorCode::CannotRead:
            return "cannotRead";
        case FileErrorCode::NotAFile:
            return "notAFile";
        case FileErrorCode::TooLarge:
            return "tooLarge";
        case FileErrorCode::EndsEarly:
            return "endsEarly";
        case FileErrorCode::EmptyField:
            return "emptyField";
        case FileErrorCode::NotANumber:
            return "notANumber";
        case FileErrorCode::NumberOutOfRange:
            return "numberOutOfRange";
        case FileErrorCode::NotAByte:
            return "notAByte";
        case FileErrorCode::UnclosedQuote:
            return "unclosedQuote";
        case FileErrorCode::MemoUnreadable:
            return "memoUnreadable";
        case FileErrorCode::MemoEncodingDoubtful:
            return "memoEncodingDoubtful";
        case FileErrorCode::ValueNotFinite:
            return "valueNotFinite";
        case FileErrorCode::NoEncoder:
            return "noEncoder";
        case FileErrorCode::MemoUnencodable:
            return "memoUnencodable";
        case FileErrorCode::MemoWouldChange:
            return "memoWouldChange";
        case FileErrorCode::CannotCreate:
            return "cannotCreate";
        case FileErrorCode::CannotWrite:
            return "cannotWrite";
        case FileErrorCode::CannotCheckName:
            return "cannotCheckName";
        case FileErrorCode::NoFreeName:
            return "noFreeName";
        case FileErrorCode::CannotMakeFolder:
            return "cannotMakeFolder";
        case FileErrorCode::CannotReadFolder:
            return "cannotReadFolder";
    }
    return "unknown";
}

std::ostream& operator<<(std::ostream& out, const FileError& error) {
    out << fileErrorCodeName(error.code) << " (" << static_cast<int>(error.operation) << ") "
        << error.path;
    if (error.place) out << " line " << error.place->line << " field " << error.place->field;
    if (error.systemError != 0) out << " errno " << error.systemError;
    if (!error.detail.empty()) out << " detail " << error.detail;
    return out;
}

}  // namespace korimet
