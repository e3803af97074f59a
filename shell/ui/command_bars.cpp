#include "shell/ui/main_window.h"

// SCAFFOLD: the menu bar and toolbar replace this file.
namespace korimet {
void MainWindow::setupCommandBars() {}
void MainWindow::cutMemo() {}
void MainWindow::copyMemo() {}
void MainWindow::pasteMemo() {}
void MainWindow::showAboutBox() {}
}  // namespace korimet
