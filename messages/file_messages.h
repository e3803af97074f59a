#pragma once

#include <string>

#include "common/wording.h"
#include "files/file_error.h"
#include "messages/language.h"

// The words for a file error: in the reader's words (the window's translation of the marked
// Japanese texts), or in one of the command-line tool's two languages. The Japanese ones are
// the window's own messages; the English ones say the same.
namespace korimet {

// The whole message: what failed and on which file or folder on the first line, then where
// and why. The path is put in as given (its bytes).
std::string fileMessage(const FileError& error, const Wording& wording);
std::string fileMessage(const FileError& error, Language language);

// The system's reason for an errno in the user's words where there are common ones, the
// system's own text for the rest.
std::string systemReason(int error, const Wording& wording);
std::string systemReason(int error, Language language);

}  // namespace korimet
