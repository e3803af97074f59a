#pragma once

#include <cstddef>
#include <string_view>

// File names and memos are bytes in whatever encoding made them; what is shown or printed
// as text needs to know which of those bytes are UTF-8.
namespace korimet {

// The length of the well-formed UTF-8 character `bytes` starts with, or 0 for none (nor for
// empty bytes). Overlong forms, surrogates and values past U+10FFFF are not well-formed.
std::size_t utf8CharacterLength(std::string_view bytes);

}  // namespace korimet
