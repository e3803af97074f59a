#pragma once

#include <QString>

#include "common/ui/ui_text.h"
#include "files/file_error.h"
#include "messages/file_messages.h"
#include "messages/language.h"
#include "messages/tool_messages.h"
#include "tools/tool_dialogs.h"

// Where the window puts the core's errors into words: every message box, status line and
// tooltip that reports a file or a refused tool takes its text from here.
namespace korimet {

inline QString windowMessage(const FileError& error) {
    return QString::fromStdString(fileMessage(error, uiWording()));
}

inline QString windowMessage(const ToolRefusal& refusal) {
    return QString::fromStdString(toolRefusalMessage(refusal, uiWording()));
}

inline QString windowTitle(const ToolRefusal& refusal) {
    return QString::fromStdString(toolRefusalTitle(refusal, uiWording()));
}

}  // namespace korimet
