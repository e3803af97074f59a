#pragma once

#include <functional>
#include <string>

namespace korimet {

// A modal input box: prompt, title (empty: the application's title) and default text in,
// the typed text out; Cancel answers with an empty text.
using AskText = std::function<std::string(const std::string& prompt, const std::string& title,
                                          const std::string& defaultText)>;

// A tool that will not run: the window shows `message` in a message box titled `title`
// with a critical-error icon and changes nothing else.
struct ToolRefusal {
    std::string message;
    std::string title;
    friend bool operator==(const ToolRefusal&, const ToolRefusal&) = default;
};

}  // namespace korimet
