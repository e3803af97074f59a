#include "corrections/lap_flags.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "lapdata/run_statistics.h"

namespace korimet {

bool validLimits(const SuspectLimits& limits) {
    return std::isfinite(limits.shortBelow) && std::isfinite(limits.longAbove) &&
           limits.shortBelow > 0.0 && limits.shortBelow < 1.0 && limits.longAbove > 1.0;
}

std::vector<Suspect> suspectLaps(const LapData& data, const SuspectLimits& limits) {
    const int counted = countedLaps(data);
    std::vector<Suspect> verdicts(static_cast<std::size_t>(counted), Suspect::None);
    if (counted < kMinLapsToJudge || !validLimits(limits)) return verdicts;
    const auto median = runStatistics(data).median;
    if (!median || !(*median > 0.0)) return verdicts;
    for (std::size_t i = 0; i < verdicts.size(); ++i) {
        const double lap = data.laps[i];
        if (lap < limits.shortBelow * *median) {
            verdicts[i] = Suspect::Short;
        } else if (lap > limits.longAbove * *median) {
            verdicts[i] = Suspect::Long;
        }
    }
    return verdicts;
}

std::optional<std::string_view> suspectName(Suspect suspect) {
    switch (suspect) {
        case Suspect::Short:
            return "short";
        case Suspect::Long:
            return "long";
        case Suspect::None:
            break;
    }
    return std::nullopt;
}

}  // namespace korimet
