#include "messages/language.h"

#include <cstdlib>
#include <string_view>

namespace korimet {

namespace {

const char* setOrNull(const char* value) { return value && *value ? value : nullptr; }

}  // namespace

Language languageFor(const char* lcAll, const char* lcMessages, const char* lang) {
    const char* chosen = setOrNull(lcAll);
    if (!chosen) chosen = setOrNull(lcMessages);
    if (!chosen) chosen = setOrNull(lang);
    if (!chosen) return Language::English;
    const std::string_view name = chosen;
    const bool japanese = name == "ja" || name.starts_with("ja_") || name.starts_with("ja.") ||
                          name.starts_with("ja@");
    return japanese ? Language::Japanese : Language::English;
}

Language languageFromEnvironment() {
    return languageFor(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
}

}  // namespace korimet
