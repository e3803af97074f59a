#pragma once

#include <initializer_list>
#include <string>

#include "common/wording.h"
#include "messages/language.h"

namespace korimet {

// The words of one of the command-line tool's two languages for the messages' marked texts:
// the Japanese as written, or the English kept with the messages.
Wording wordingFor(Language language);

// The words for a marked text, without the part before "|" that tells two texts with the
// same Japanese apart (message_texts.h).
std::string say(const Wording& wording, const char* japanese);

// A marked pattern in the reader's words with "%1", "%2", ... replaced by `args` in one pass:
// what is put in is never read as a pattern.
std::string sayWith(const Wording& wording, const char* japanese,
                    std::initializer_list<std::string> args);

}  // namespace korimet
