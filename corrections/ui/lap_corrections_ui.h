#pragma once

namespace korimet {

struct Addition;

// Puts lap corrections beside the main window: a run's correction file is applied when the
// run is opened, suspect and corrected laps are marked in the lap grid, and ﾗﾝ > ラップの修正
// opens the correction window for the shown run.
void attachLapCorrections(const Addition& addition);

}  // namespace korimet
