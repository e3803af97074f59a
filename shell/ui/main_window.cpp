#include "shell/ui/main_window.h"

namespace korimet {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setObjectName("frmMain");
    setWindowTitle("Korimet");
}

}  // namespace korimet
