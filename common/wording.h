#pragma once

#include <functional>
#include <string>

namespace korimet {

// The words a reader reads for a text written in Japanese and marked with KORIMET_TR: the
// window passes its translation of it, the command-line tool one of its two languages.
using Wording = std::function<std::string(const char* japanese)>;

// The text as written.
inline std::string japaneseWording(const char* japanese) { return japanese; }

}  // namespace korimet
