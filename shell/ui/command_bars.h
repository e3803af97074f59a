#pragma once

#include <vector>

#include "tools/ui/toolbar_buttons.h"

namespace korimet {

class MainWindow;

// The toolbar's dispatch table for `window`, in the order the keys are compared. Each
// command runs under the same guard as the menu's.
std::vector<ToolbarCommand> toolbarCommands(MainWindow& window);

}  // namespace korimet
