#include "corrections/run_pace.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "lapdata/run_statistics.h"

namespace korimet {

RunPace runPace(const LapData& data) {
    RunPace pace;
    const auto n = static_cast<std::size_t>(countedLaps(data));
    if (n < 3) return pace;
    const auto& laps = data.laps;
    for (std::size_t i = 0; i + 3 <= n; ++i) {
        const double total = laps[i] + laps[i + 1] + laps[i + 2];
        if (!pace.bestThree || total < pace.bestThree->total) {
            pace.bestThree = BestThree{total, static_cast<int>(i)};
        }
    }
    std::vector<double> slopes;
    slopes.reserve(n * (n - 1) / 2);
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = i + 1; j < n; ++j) {
            slopes.push_back((laps[j] - laps[i]) / static_cast<double>(j - i));
        }
    }
    const auto middle = slopes.size() / 2;
    std::nth_element(slopes.begin(), slopes.begin() + static_cast<std::ptrdiff_t>(middle),
                     slopes.end());
    double median = slopes[middle];
    if (slopes.size() % 2 == 0) {
        const double below =
            *std::max_element(slopes.begin(), slopes.begin() + static_cast<std::ptrdiff_t>(middle));
        median = (below + median) / 2.0;
    }
    pace.trend = median;
    return pace;
}

}  // namespace korimet
