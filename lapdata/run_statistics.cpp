#include "lapdata/run_statistics.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace korimet {

int countedLaps(const LapData& data) { return std::min<int>(data.lapCount, kLapSlots); }

bool meetsTarget(const LapData& data, double lap) {
    return data.targetTime < kNoTargetTime && lap <= data.targetTime;
}

RunStatistics runStatistics(const LapData& data) {
    RunStatistics s;
    s.counted = countedLaps(data);
    if (s.counted == 0) return s;
    const auto n = static_cast<std::size_t>(s.counted);
    // The view starts the best at 10000 s; a slower lap keeps index 0 and 10000 as best.
    s.best = 10000.0;
    for (std::size_t r = 0; r < n; ++r) {
        const double lap = data.laps[r];
        s.total += lap;
        if (s.best > lap) {
            s.best = lap;
            s.bestIndex = static_cast<int>(r);
        }
        if (s.worst < lap) {
            s.worst = lap;
            s.worstIndex = static_cast<int>(r);
        }
    }
    s.average = s.total / static_cast<double>(n);

    std::vector<double> sorted(data.laps.begin(),
                               data.laps.begin() + static_cast<std::ptrdiff_t>(n));
    std::sort(sorted.begin(), sorted.end());
    s.median = n % 2 == 1 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2.0;
    if (n >= 2) {
        double squares = 0.0;
        for (const double lap : sorted) squares += (lap - s.average) * (lap - s.average);
        s.spread = std::sqrt(squares / static_cast<double>(n - 1));
        if (*s.median != 0.0) s.consistency = *s.spread / *s.median * 100.0;
    }
    return s;
}

}  // namespace korimet
