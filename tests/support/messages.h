#pragma once

#include <string>

#include "files/file_error.h"
#include "messages/file_messages.h"

namespace korimet::test {

// An error in the window's words.
inline std::string ja(const FileError& error) { return fileMessage(error, Language::Japanese); }

// What follows the first line (what failed and where): the reason, for errors that have not
// been placed in a file yet, such as a writer's refusal.
inline std::string jaReason(const FileError& error) {
    const std::string text = ja(error);
    const auto lineEnd = text.find('\n');
    return lineEnd == std::string::npos ? std::string() : text.substr(lineEnd + 1);
}

}  // namespace korimet::test
