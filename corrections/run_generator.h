#pragma once

#include <cstdint>
#include <random>

#include "lapdata/lap_data.h"

// Realistic runs with mis-presses put in where they are known, to measure the suspect rule
// and to feed property tests. Deterministic for a seed on every standard library: the
// distributions are made here from the engine's raw output.
namespace korimet {

enum class RunKind { Kart, MiniFourWheelDrive };
enum class PressFault { None, DoublePress, MissedPress };

struct GeneratedRun {
    LapData data;
    PressFault fault = PressFault::None;
    int faultLap = -1;  // the short lap of a double press, the long lap of a missed press
};

class RunGenerator {
  public:
    explicit RunGenerator(std::uint64_t seed) : engine_(seed) {}

    // Kart laps of 40-60 s, 8-30 laps; mini-4WD laps of 5-10 s, 10-59 laps. Each lap
    // scatters normally (1 % of the typical lap for karts, 1.5 % for mini-4WD) around a
    // slow drift, one lap in 30 has a spin of +20-40 %, the first lap is a warm-up of
    // +5-35 %; laps in hundredths as the timer counts. A double press adds a lap of
    // 0.05-1 s taken from the lap after it; a missed press joins two laps.
    GeneratedRun run(RunKind kind, PressFault fault);

  private:
    double uniform(double low, double high);
    int uniformInt(int low, int high);  // both included
    double normal();

    std::mt19937_64 engine_;
};

}  // namespace korimet
