#include "corrections/ui/lap_corrections_ui.h"

#include <QAction>
#include <QMenu>
#include <QPointer>
#include <memory>

#include "common/ui/ui_text.h"
#include "corrections/ui/correction_dialog.h"
#include "corrections/ui/correction_texts.h"
#include "corrections/ui/run_corrector.h"
#include "session/addition.h"
#include "session/command_guard.h"

namespace korimet {

void attachLapCorrections(const Addition& addition) {
    // Owned by the window.
    auto* corrector =
        new RunCorrector(addition.session, addition.dialogs, addition.runs, &addition.window);
    QAction* action = addition.menu.addAction(QString());
    setFixedText(action, correctiontexts::kMenuItem);
    action->setObjectName(QString::fromUtf8(correctiontexts::kMenuItemName));
    // One correction window, made on first use and kept (hidden) when closed.
    auto shownWindow = std::make_shared<QPointer<CorrectionDialog>>();
    QWidget* window = &addition.window;
    Dialogs* dialogs = &addition.dialogs;
    // Under the guard every command of the window runs under, named as the menu shows it.
    QObject::connect(
        action, &QAction::triggered, corrector, [corrector, window, shownWindow, dialogs, action] {
            runGuarded(*dialogs, commandName(action->text()), [&] {
                QPointer<CorrectionDialog>& shown = *shownWindow;
                if (!shown)
                    shown = new CorrectionDialog(*corrector, *window);  // owned by the window
                shown->show();
                shown->raise();
                shown->activateWindow();
            });
        });
}

}  // namespace korimet
