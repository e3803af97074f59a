#include "shell/ui/main_window.h"

// SCAFFOLD: the analysis commands replace this file.
namespace korimet {
void MainWindow::simulateRace() {}
void MainWindow::compareData() {}
void MainWindow::setupChartEditing() {}
}  // namespace korimet
