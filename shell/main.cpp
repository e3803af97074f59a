#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "shell/ui/icon_resources.h"
#include "shell/ui/main_window.h"
#include "shell/ui/startup_probe.h"

namespace {

// Without a display Qt aborts with a long message; say plainly what to do instead.
bool displayAvailable() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform) return true;
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

}  // namespace

int main(int argc, char** argv) {
    const auto mainEntered = std::chrono::steady_clock::now();
    // --- interim --help and --version, until the option parser takes over: answered before
    // any display or window is needed ---
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::puts("korimet " KORIMET_VERSION_TEXT);
        return 0;
    }
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(
            "Usage: korimet [FILE.krt]\n"
            "Download, view and compare runs of a hand-held lap timer.\n"
            "\n"
            "  FILE.krt     a run to open\n"
            "  --help       show this help and exit\n"
            "  --version    show the version and exit\n",
            stdout);
        return 0;
    }
    // --- end of interim --help and --version ---
    if (!displayAvailable()) {
        std::fputs(
            "korimet: no display found (DISPLAY is not set). Start it from a desktop session, "
            "or under a virtual X server: xvfb-run -a korimet\n",
            stderr);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Korimet");
    QApplication::setApplicationName("Korimet");
    korimet::ensureIconResources();
    QApplication::setWindowIcon(korimet::applicationIcon());
    korimet::MainWindow window;
    if (korimet::exitWhenShownRequested()) {
        new korimet::FirstPaintProbe(&window, mainEntered);  // owned by the window
    }
    window.show();
    return QApplication::exec();
}
