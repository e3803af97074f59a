#pragma once

#include "common/text_mark.h"

// Texts every part of the window shows alike, written exactly as the user sees them.
namespace korimet::texts {

inline constexpr const char* kAppTitle = "Korimet";
inline constexpr const char* kLineBreak = "\r\n";
// A command that failed, whatever started it; the cause follows on a second line.
inline constexpr const char* kMenuCommandFailed =
    KORIMET_TR("Korimet", "「%1」を実行できませんでした");

}  // namespace korimet::texts
