#pragma once

#include "pit/serve_address.h"

namespace korimet {

struct Addition;

// Where the window serves the pit view unless told otherwise: every IPv4 address, a port
// that stays the same from one day to the next so a saved bookmark keeps working.
inline constexpr int kPitViewPort = 8765;

// Puts the pit view beside the main window: ﾗﾝ > ピットビュー starts serving the shown run,
// the comparison and the library's runs of the day to phones, and shows where to find it;
// choosing it again stops. Off until chosen.
void attachPitView(const Addition& addition, pit::ServeAddress where = {"", kPitViewPort});

}  // namespace korimet
