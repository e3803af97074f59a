#pragma once

#include <QString>

#include "files/file_error.h"
#include "tools/tool_dialogs.h"

// Where the window puts the core's errors into words: every message box, status line and
// tooltip that reports a file or a refused tool takes its text from here.
namespace korimet {

QString windowMessage(const FileError& error);
QString windowMessage(const ToolRefusal& refusal);
QString windowTitle(const ToolRefusal& refusal);

}  // namespace korimet
