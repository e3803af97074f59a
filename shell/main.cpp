#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "common/ui/icon_resources.h"
#include "corrections/ui/lap_corrections_ui.h"
#include "files/ui/file_commands.h"
#include "library/ui/run_library_ui.h"
#include "messages/language.h"
#include "pit/ui/pit_view_ui.h"
#include "sheet/ui/lap_sheet_commands.h"
#include "shell/ui/command_line.h"
#include "shell/ui/given_files.h"
#include "shell/ui/main_window.h"
#include "shell/ui/startup_probe.h"
#include "shell/ui/window_language.h"

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
    // Before the display check: --help and --version work on a bare terminal.
    const korimet::CommandLine command = korimet::parseCommandLine(argc, argv);
    if (command.action == korimet::CommandLine::Action::PrintAndExit) {
        std::fputs(command.output.toLocal8Bit().constData(),
                   command.toStandardError ? stderr : stdout);
        return command.exitCode;
    }
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
    QApplication::setApplicationVersion(KORIMET_VERSION_TEXT);
    QGuiApplication::setDesktopFileName("korimet");
    // Before any window is built, so that each shows its words in this language from the
    // start; the language menu switches later.
    korimet::applyLanguage(korimet::resolveLanguage(
        korimet::savedLanguageChoice(),
        QString::fromStdString(korimet::localeLanguageCodeFromEnvironment())));
    korimet::ensureIconResources();
    QApplication::setWindowIcon(korimet::applicationIcon());
    korimet::MainWindow window;
    new korimet::RunFileDrops(window, window.fileCommands(), window.dialogs());  // owned
    korimet::attachLapSheet(window.addition());
    korimet::attachRunLibrary(window.addition());
    korimet::attachPitView(window.addition());
    korimet::attachLapCorrections(window.addition());
    new korimet::LanguageMenu(window);  // owned by the window
    if (korimet::exitWhenShownRequested()) {
        new korimet::FirstPaintProbe(&window, mainEntered);  // owned by the window
    }
    window.show();
    // After the load step and once shown, so a failure's message sits over the window.
    korimet::openGivenFile(window.fileCommands(), command.file);
    return QApplication::exec();
}
