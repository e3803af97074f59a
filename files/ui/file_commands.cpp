#include "shell/ui/main_window.h"

// SCAFFOLD: the data-file commands replace this file.
namespace korimet {
void MainWindow::readTemplateFile() {}
void MainWindow::openDataFile() {}
void MainWindow::saveDataFile() {}
void MainWindow::saveDataFileAs() {}
}  // namespace korimet
