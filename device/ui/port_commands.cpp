#include "shell/ui/main_window.h"

// SCAFFOLD: the port commands replace this file.
namespace korimet {
void MainWindow::setupDeviceLink() {}
void MainWindow::closePortIfOpen() {}
void MainWindow::openPortFromMenu(int) {}
}  // namespace korimet
