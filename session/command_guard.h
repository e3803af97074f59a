#pragma once

#include <QString>
#include <functional>

namespace korimet {

class Dialogs;

// "「開く」を実行できませんでした" and, when known, the cause on a second line.
QString commandFailedText(const QString& commandName, const QString& cause);

// The name a failure message uses: a menu caption without its access key or trailing dots.
QString commandName(const QString& caption);

// Runs a command however it was started (menu, toolbar, key). Whatever it throws stops that
// command only: the user is told which command failed (title "Korimet") and the exception
// never reaches the event loop.
void runGuarded(Dialogs& dialogs, const QString& commandName, const std::function<void()>& command);

}  // namespace korimet
