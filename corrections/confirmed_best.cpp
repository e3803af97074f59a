#include "corrections/confirmed_best.h"

#include <cstddef>
#include <vector>

namespace korimet {

std::optional<double> confirmedBestLap(const LapData& data, const SuspectLimits& limits) {
    const std::vector<Suspect> verdicts = suspectLaps(data, limits);
    const std::size_t n = verdicts.size();
    std::vector<bool> aside(n, false);
    for (std::size_t i = 0; i < n; ++i) {
        if (verdicts[i] == Suspect::None) continue;
        aside[i] = true;
        if (verdicts[i] == Suspect::Short && n > 1) aside[i + 1 < n ? i + 1 : i - 1] = true;
    }
    std::optional<double> best;
    for (std::size_t i = 0; i < n; ++i) {
        if (!aside[i] && (!best || data.laps[i] < *best)) best = data.laps[i];
    }
    return best;
}

}  // namespace korimet
