#include "library/ui/library_folder.h"

#include <QSettings>
#include <QStandardPaths>

namespace korimet {

QString libraryFolder() {
    const QString chosen = QSettings().value(QStringLiteral("Library/Folder")).toString();
    if (!chosen.isEmpty()) return chosen;
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/runs");
}

}  // namespace korimet
