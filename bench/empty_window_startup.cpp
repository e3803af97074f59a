// The floor: a bare Qt main window, started and shown the way Korimet is, so that
// bench/startup.sh can tell what Qt itself costs from what the program adds.
#include <QApplication>
#include <QMainWindow>
#include <chrono>

#include "shell/ui/startup_probe.h"

int main(int argc, char** argv) {
    const auto mainEntered = std::chrono::steady_clock::now();
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle("Korimet empty window");
    window.resize(633, 616);
    new korimet::FirstPaintProbe(&window, mainEntered);  // owned by the window
    window.show();
    return QApplication::exec();
}
