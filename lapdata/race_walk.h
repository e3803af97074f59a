#pragma once

#include <array>
#include <string>

#include "common/text_mark.h"
#include "common/wording.h"
#include "lapdata/lap_data.h"

namespace korimet {

struct RaceWalk {
    int lapCount = 0;    // laps taken, the one during which the race time ran out included
    double total = 0.0;  // seconds of those laps
};

// Walks all 60 slots in the order driven, adding each while the total is still below the
// race length. Slots past the record's lapCount take part too.
RaceWalk walkRace(const std::array<double, kLapSlots>& laps, double raceSeconds);

// "17分レース模擬 12Lap 17m00s00": minutes and laps through "##", the time through
// formatLapTime (or its placeholder when the total cannot be shown).
std::string raceResultLine(double minutes, const RaceWalk& walk);
// The same in the words `wording` gives.
std::string raceResultLine(double minutes, const RaceWalk& walk, const Wording& wording);

inline constexpr const char* kRaceLineMinutesSuffix = KORIMET_TR("Korimet", "分レース模擬 ");
inline constexpr const char* kRaceLineLapSuffix = "Lap ";

}  // namespace korimet
