#include "lapdata/race_walk.h"

#include "lapdata/lap_time.h"
#include "lapdata/numeric_picture.h"

namespace korimet {

RaceWalk walkRace(const std::array<double, kLapSlots>& laps, double raceSeconds) {
    RaceWalk walk;
    for (int i = 0; i < kLapSlots; ++i) {
        if (walk.total < raceSeconds) {
            walk.total += laps[static_cast<std::size_t>(i)];
            walk.lapCount = i + 1;
        }
    }
    return walk;
}

std::string raceResultLine(double minutes, const RaceWalk& walk) {
    return raceResultLine(minutes, walk, japaneseWording);
}

std::string raceResultLine(double minutes, const RaceWalk& walk, const Wording& wording) {
    return formatPictureHash(minutes) + wording(kRaceLineMinutesSuffix) +
           formatPictureHash(walk.lapCount) + kRaceLineLapSuffix + lapTimeOrPlaceholder(walk.total);
}

}  // namespace korimet
