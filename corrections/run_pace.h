#pragma once

#include <optional>

#include "lapdata/lap_data.h"

// Two numbers racers ask for beside best, average and consistency.
namespace korimet {

struct BestThree {
    double total = 0.0;
    int start = 0;  // index of the first of the three counted laps
    friend bool operator==(const BestThree&, const BestThree&) = default;
};

struct RunPace {
    std::optional<BestThree> bestThree;  // none below three laps; the first of equal totals
    // Seconds per lap, positive when the laps get slower: the Theil-Sen slope (the median of
    // the slopes between every two laps), so one long lap cannot decide it. None below
    // three laps.
    std::optional<double> trend;
    friend bool operator==(const RunPace&, const RunPace&) = default;
};

RunPace runPace(const LapData& data);

}  // namespace korimet
