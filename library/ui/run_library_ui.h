#pragma once

namespace korimet {

struct Addition;

// Puts the run library beside the main window: every download is kept, and ﾗﾝ > ラン一覧
// opens the library window. Reads nothing of the library until that window is opened.
void attachRunLibrary(const Addition& addition);

}  // namespace korimet
