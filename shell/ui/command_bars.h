#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "tools/ui/toolbar_buttons.h"

namespace korimet {

class Dialogs;
class MainWindow;

// "「開く」を実行できませんでした" and, when known, the cause on a second line.
QString menuCommandFailedText(const QString& commandName, const QString& cause);

// Runs a command picked from the menu or by its shortcut key. Whatever it throws stops
// that command only: the user is told which command failed (title "Korimet") and the
// exception never reaches the event loop.
void runMenuCommand(Dialogs& dialogs, const QString& commandName,
                    const std::function<void()>& command);

// The toolbar's dispatch table for `window`, in the order the keys are compared.
std::vector<ToolbarCommand> toolbarCommands(MainWindow& window);

}  // namespace korimet
