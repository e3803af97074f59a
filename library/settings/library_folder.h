#pragma once

#include <QString>

namespace korimet {

// The run library's folder: the settings store's Library/Folder when set (a team's shared
// folder, say), else "runs" in the user's data location. QtCore only, so the command-line
// tool uses the same rule.
QString libraryFolder();

}  // namespace korimet
