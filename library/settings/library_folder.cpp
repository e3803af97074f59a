#include "library/settings/library_folder.h"

#include <QSettings>
#include <QStandardPaths>

namespace korimet {

QString libraryFolder() {
    const QString chosen = QSettings().value(QStringLiteral("Library/Folder")).toString();
    if (!chosen.isEmpty()) return chosen;
    // $XDG_DATA_HOME/Korimet/runs: the application's folder under the data location, named
    // once rather than once for the organisation and again for the application.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Korimet/runs");
}

}  // namespace korimet
