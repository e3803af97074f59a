#include "tools/ui/toolbar_buttons.h"

#include <QAction>
#include <QIcon>
#include <QToolBar>

#include "common/ui/icon_resources.h"
#include "common/ui/ui_text.h"

namespace korimet {

QString toolbarIconResource(const ToolbarButton& button) {
    return QStringLiteral(":/icons/%1.png").arg(QString::fromUtf8(button.iconName));
}

void addToolbarButtons(QToolBar& toolBar,
                       const std::function<void(const QString& key)>& onButtonClick) {
    ensureIconResources();
    toolBar.setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolBar.setIconSize(QSize(16, 16));
    for (const ToolbarButton& button : kToolbarButtons) {
        const QString key = QString::fromUtf8(button.key);
        QAction* action = toolBar.addAction(pngIcon(toolbarIconResource(button)), QString());
        // The caption is what a screen reader says; the key stays the same in every language.
        setFixedText(action, button.key);
        action->setObjectName(QStringLiteral("tbButton") + QString::fromUtf8(button.iconName));
        setFixedText(action, button.toolTip, TextRole::ToolTip);
        action->setData(key);
        QObject::connect(action, &QAction::triggered, &toolBar,
                         [onButtonClick, key] { onButtonClick(key); });
        if (button.separatorAfter) toolBar.addSeparator();
    }
}

ToolbarDispatch dispatchToolbarKey(const QString& key, const std::vector<ToolbarCommand>& table) {
    for (const ToolbarCommand& command : table) {
        if (command.key.compare(key, Qt::CaseSensitive) != 0) continue;
        try {
            command.run();
            return ToolbarDispatch::Done;
        } catch (...) {
            // A failing tool ends quietly; an exception must not cross the event loop.
            return ToolbarDispatch::Abandoned;
        }
    }
    return ToolbarDispatch::NoMatch;
}

}  // namespace korimet
