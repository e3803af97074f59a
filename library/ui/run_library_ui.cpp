#include "library/ui/run_library_ui.h"

#include <QAction>
#include <QMenu>
#include <QPointer>

#include "library/ui/library_texts.h"
#include "library/ui/library_window.h"
#include "library/ui/run_keeper.h"
#include "shell/ui/additions_menu.h"
#include "shell/ui/main_window.h"

namespace korimet {

void attachRunLibrary(MainWindow& window) {
    auto* keeper = new RunKeeper(window.runSession(), window);  // owned by the window
    QMenu* menu = additionsMenu(window);
    auto* action = menu->addAction(QString::fromUtf8(librarytexts::kMenuItem));
    action->setObjectName(QString::fromUtf8(librarytexts::kMenuItemName));
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    // One library window, made on first use and kept (hidden) when closed.
    QObject::connect(action, &QAction::triggered, &window, [&window, keeper] {
        auto* existing = window.findChild<LibraryWindow*>();
        if (!existing) {
            existing = new LibraryWindow(window);  // owned by the window
            QObject::connect(keeper, &RunKeeper::runKept, existing, &LibraryWindow::addKeptRun);
        }
        existing->show();
        existing->raise();
        existing->activateWindow();
        existing->refresh();
    });
}

}  // namespace korimet
