#include "library/ui/run_library_ui.h"

#include <QAction>
#include <QMenu>
#include <QPointer>

#include "common/ui/ui_text.h"
#include "library/ui/library_texts.h"
#include "library/ui/library_window.h"
#include "library/ui/run_keeper.h"
#include "session/addition.h"

namespace korimet {

void attachRunLibrary(const Addition& addition) {
    auto* keeper = new RunKeeper(addition.session, addition.dialogs, addition.runs,
                                 &addition.window);  // owned by the window
    QAction* action = addition.menu.addAction(QString());
    setFixedText(action, librarytexts::kMenuItem);
    action->setObjectName(QString::fromUtf8(librarytexts::kMenuItemName));
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    // One library window, made on first use and kept (hidden) when closed.
    auto libraryWindow = std::make_shared<QPointer<LibraryWindow>>();
    QObject::connect(action, &QAction::triggered, keeper, [addition, libraryWindow] {
        QPointer<LibraryWindow>& shown = *libraryWindow;
        if (!shown) shown = new LibraryWindow(addition);  // owned by the window
        shown->show();
        shown->raise();
        shown->activateWindow();
        shown->refresh();
    });
}

}  // namespace korimet
