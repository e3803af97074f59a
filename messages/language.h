#pragma once

// The language a message is made in. Run files, lap times, CSV and JSON keys do not change
// with it; only the words around them do.
#include <string>

namespace korimet {

enum class Language { English, Japanese };

// The language the locale variables select, read as POSIX does: the first one set and not
// empty of LC_ALL, LC_MESSAGES, LANG decides; Japanese for "ja", English otherwise. Null
// means unset.
Language languageFor(const char* lcAll, const char* lcMessages, const char* lang);
Language languageFromEnvironment();

// The language part of the locale those variables select ("ja" of "ja_JP.UTF-8", "de" of
// "de_DE"); empty when none is set or it names no language ("C", "POSIX").
std::string localeLanguageCode(const char* lcAll, const char* lcMessages, const char* lang);
std::string localeLanguageCodeFromEnvironment();

}  // namespace korimet
