#include "common/ui/icon_resources.h"

// Q_INIT_RESOURCE must be used outside any namespace.
static void initIconResources() { Q_INIT_RESOURCE(resources); }

namespace korimet {

void ensureIconResources() {
    static const bool registered = (initIconResources(), true);
    (void)registered;
}

QIcon applicationIcon() {
    ensureIconResources();
    QIcon icon;
    for (int size : {16, 32, 48, 256}) {
        icon.addFile(QStringLiteral(":/icons/korimet-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

}  // namespace korimet
