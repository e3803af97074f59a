#include "shell/ui/additions_menu.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "common/ui/ui_text.h"
#include "shell/ui/shell_texts.h"

namespace korimet {

QMenu* additionsMenu(QMainWindow& window) {
    QMenuBar* bar = window.menuBar();
    if (auto* existing = bar->findChild<QMenu*>(QString::fromUtf8(texts::kAdditionsMenuName))) {
        return existing;
    }
    auto* menu = new QMenu(bar);  // bar owns it
    setFixedText(menu, texts::kAdditionsMenuTitle);
    menu->setObjectName(QString::fromUtf8(texts::kAdditionsMenuName));
    menu->menuAction()->setObjectName(QString::fromUtf8(texts::kAdditionsMenuName));
    QAction* before = nullptr;
    if (auto* help = bar->findChild<QMenu*>(QStringLiteral("mnuHelp"))) before = help->menuAction();
    bar->insertMenu(before, menu);
    return menu;
}

}  // namespace korimet
