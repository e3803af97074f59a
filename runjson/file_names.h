#pragma once

#include <optional>
#include <string>
#include <string_view>

// File names are bytes, in whatever encoding made them (a CP932 name from a Windows archive
// included); JSON strings are UTF-8. What the tool prints as JSON carries a name as text that
// is always UTF-8 and, when that text is not the name itself, the exact bytes beside it.
namespace korimet::cli {

// Whether the bytes are well-formed UTF-8 (no overlong forms, surrogates or values past
// U+10FFFF).
bool isUtf8(std::string_view bytes);

// The bytes as UTF-8 text: each byte that does not belong to a well-formed character
// becomes U+FFFD; the rest is kept as it is.
std::string utf8WithReplacements(std::string_view bytes);

// Every byte but the ASCII letters, digits, "-", ".", "_", "~" and "/" as "%XX" (upper-case
// hex), so that any URL decoder gives the bytes back.
std::string percentEncoded(std::string_view bytes);

// The bytes of percentEncoded's text (lower-case hex and unencoded bytes taken too); none
// for a "%" without two hex digits after it.
std::optional<std::string> percentDecoded(std::string_view text);

}  // namespace korimet::cli
