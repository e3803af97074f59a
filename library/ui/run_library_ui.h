#pragma once

namespace korimet {

class MainWindow;

// Puts the run library beside the main window: every download is kept, and ﾗﾝ > ラン一覧
// opens the library window. Reads nothing of the library until that window is opened.
void attachRunLibrary(MainWindow& window);

}  // namespace korimet
