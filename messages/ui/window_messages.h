#pragma once

#include <QString>

#include "corrections/correction_file.h"
#include "files/file_error.h"
#include "tools/tool_dialogs.h"

// Where the window puts the core's errors into words: every message box, status line and
// tooltip that reports a file, a correction file or a refused tool takes its text from here.
namespace korimet {

QString windowMessage(const FileError& error);
QString windowMessage(const ToolRefusal& refusal);
QString windowTitle(const ToolRefusal& refusal);
// Why a run's correction file was not used, and that the run is shown as downloaded.
QString windowMessage(const CorrectionFileError& error);

}  // namespace korimet
