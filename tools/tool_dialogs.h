#pragma once

#include <functional>
#include <string>

namespace korimet {

// A modal input box: prompt, title (empty: the application's title) and default text in,
// the typed text out; Cancel answers with an empty text.
using AskText = std::function<std::string(const std::string& prompt, const std::string& title,
                                          const std::string& defaultText)>;

enum class ToolRefusalCode {
    RaceNoData,     // a race simulated with no laps loaded
    CompareNoData,  // a comparison with no laps loaded
    CompareNoLaps,  // the run to compare with has no laps: fileName names it
};

// A tool that will not run: the window shows its message (messages/tool_messages.h) in a
// message box with a critical-error icon and changes nothing else.
struct ToolRefusal {
    ToolRefusalCode code = ToolRefusalCode::RaceNoData;
    std::string fileName;  // bytes as given, any encoding; may be empty
    friend bool operator==(const ToolRefusal&, const ToolRefusal&) = default;
};

}  // namespace korimet
