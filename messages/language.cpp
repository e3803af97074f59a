#include "messages/language.h"

#include <cstdlib>
#include <string_view>

namespace korimet {

namespace {

const char* setOrNull(const char* value) { return value && *value ? value : nullptr; }

}  // namespace

std::string localeLanguageCode(const char* lcAll, const char* lcMessages, const char* lang) {
    const char* chosen = setOrNull(lcAll);
    if (!chosen) chosen = setOrNull(lcMessages);
    if (!chosen) chosen = setOrNull(lang);
    if (!chosen) return {};
    const std::string_view name = chosen;
    const std::string_view code = name.substr(0, name.find_first_of("_.@"));
    // "C" and "POSIX" name no language.
    if (code.size() < 2 || code.size() > 3) return {};
    std::string lower;
    for (const char c : code) {
        if (c < 'a' || c > 'z') return {};
        lower += c;
    }
    return lower;
}

Language languageFor(const char* lcAll, const char* lcMessages, const char* lang) {
    return localeLanguageCode(lcAll, lcMessages, lang) == "ja" ? Language::Japanese
                                                               : Language::English;
}

std::string localeLanguageCodeFromEnvironment() {
    return localeLanguageCode(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"),
                              std::getenv("LANG"));
}

Language languageFromEnvironment() {
    return languageFor(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
}

}  // namespace korimet
