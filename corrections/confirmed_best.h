#pragma once

#include <optional>

#include "corrections/lap_flags.h"
#include "lapdata/lap_data.h"

// What a personal best may be made of. A suspect lap is no lap driven; the lap after a
// short one (before it, for the last lap) lost the time the double press took, so it is
// too fast by that much. Neither is confirmed until the racer corrects the run.
namespace korimet {

// The best of the counted laps left once those are put aside; none when nothing is left.
std::optional<double> confirmedBestLap(const LapData& data, const SuspectLimits& limits = {});

}  // namespace korimet
