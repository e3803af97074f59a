#pragma once

#include <QIcon>

namespace korimet {

// Makes the icons compiled into the widget library reachable under ":/icons/". The static
// library's resource object is otherwise dropped by the linker. Safe to call often.
void ensureIconResources();

// The application icon in every size it ships in.
QIcon applicationIcon();

// An icon from one compiled-in PNG.
QIcon pngIcon(const QString& resource);

}  // namespace korimet
