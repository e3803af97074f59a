#pragma once

#include <optional>

#include "lapdata/lap_data.h"

namespace korimet {

// The laps a record really holds: a file may claim more than there are slots.
int countedLaps(const LapData& data);

// Whether a lap is painted as meeting the target (the record has one and the lap is within it).
bool meetsTarget(const LapData& data, double lap);

// Statistics over the counted laps. Best and worst follow the lap view: the first of equal
// laps wins, and with no laps everything is 0 and the indices are 0.
struct RunStatistics {
    int counted = 0;
    double total = 0.0;
    double best = 0.0;
    double worst = 0.0;
    double average = 0.0;
    int bestIndex = 0;
    int worstIndex = 0;
    std::optional<double> median;       // none without laps
    std::optional<double> spread;       // sample standard deviation (n - 1); none below two laps
    std::optional<double> consistency;  // spread / median * 100; none below two laps or median 0
    friend bool operator==(const RunStatistics&, const RunStatistics&) = default;
};

RunStatistics runStatistics(const LapData& data);

}  // namespace korimet
