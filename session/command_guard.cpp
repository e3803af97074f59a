#include "session/command_guard.h"

#include <exception>

#include "common/ui/ui_text.h"
#include "session/dialogs.h"
#include "session/window_texts.h"

namespace korimet {

QString commandFailedText(const QString& commandName, const QString& cause) {
    QString text = uiText(texts::kMenuCommandFailed).arg(commandName);
    if (!cause.isEmpty()) text += QString::fromUtf8(texts::kLineBreak) + cause;
    return text;
}

QString commandName(const QString& caption) {
    QString name = caption;
    const qsizetype accessKey = name.indexOf(QStringLiteral("(&"));
    if (accessKey >= 0) name.truncate(accessKey);
    // A caption with its key inside the word ("&Open..."): the name without the marker.
    QString plain;
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (name[i] == QLatin1Char('&') && i + 1 < name.size()) ++i;
        plain.append(name[i]);
    }
    name = plain;
    while (name.endsWith(QLatin1Char('.'))) name.chop(1);
    return name;
}

void runGuarded(Dialogs& dialogs, const QString& commandName,
                const std::function<void()>& command) {
    QString cause;
    try {
        command();
        return;
    } catch (const std::exception& e) {
        cause = QString::fromLocal8Bit(e.what());
    } catch (...) {
    }
    try {
        dialogs.message(commandFailedText(commandName, cause), QString::fromUtf8(texts::kAppTitle),
                        MessageIcon::None);
    } catch (...) {
        // Nothing is left to tell the user with; the event loop must still survive.
    }
}

}  // namespace korimet
