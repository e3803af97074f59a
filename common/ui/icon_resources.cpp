#include "common/ui/icon_resources.h"

#include <QImageReader>
#include <QPixmap>

// Q_INIT_RESOURCE must be used outside any namespace.
static void initIconResources() { Q_INIT_RESOURCE(resources); }

namespace korimet {

void ensureIconResources() {
    static const bool registered = (initIconResources(), true);
    (void)registered;
}

namespace {

// Read as PNG with format detection off: with it on, Qt loads every image-format plugin
// to ask whether it reads the file before its own PNG reader takes it, at start-up.
QPixmap readPng(const QString& resource) {
    QImageReader reader(resource, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

}  // namespace

QIcon pngIcon(const QString& resource) {
    ensureIconResources();
    QIcon icon;
    icon.addPixmap(readPng(resource));
    return icon;
}

QIcon applicationIcon() {
    ensureIconResources();
    QIcon icon;
    for (int size : {16, 32, 48, 256}) {
        icon.addPixmap(readPng(QStringLiteral(":/icons/korimet-%1.png").arg(size)));
    }
    return icon;
}

}  // namespace korimet
