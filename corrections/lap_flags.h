#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "lapdata/lap_data.h"

// Laps that look like a mis-pressed button: a double press leaves a lap far shorter than
// the run's typical lap, a missed press one about twice as long.
namespace korimet {

enum class Suspect { None, Short, Long };

// Limits as fractions of the median of the counted laps. The defaults come from the
// measurement in bench/flag_rates.cpp: a spin (+40 %) or a slow warm-up lap stays below
// the long limit (the two on one lap seldom pass it), a missed press (about twice the
// median) above it; a double press is a lap of a second or less.
struct SuspectLimits {
    double shortBelow = 0.5;
    double longAbove = 1.8;
    friend bool operator==(const SuspectLimits&, const SuspectLimits&) = default;
};

// Fewer counted laps than this give no typical lap to judge against.
inline constexpr int kMinLapsToJudge = 3;

// Whether limits make sense: finite, 0 < shortBelow < 1 < longAbove.
bool validLimits(const SuspectLimits& limits);

// One verdict per counted lap; all None below kMinLapsToJudge laps, with a median of 0 or
// with limits that are not valid.
std::vector<Suspect> suspectLaps(const LapData& data, const SuspectLimits& limits = {});

// "short", "long"; none for Suspect::None. Published in JSON: never changes.
std::optional<std::string_view> suspectName(Suspect suspect);

}  // namespace korimet
