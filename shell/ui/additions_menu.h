#pragma once

class QMainWindow;
class QMenu;

namespace korimet {

// The one top-level menu that features beyond the original window put their commands in,
// placed before ﾍﾙﾌﾟ so the original menus keep their order. Made on first use.
QMenu* additionsMenu(QMainWindow& window);

}  // namespace korimet
