// How well the suspect rule finds mis-presses in generated runs: the share of double and
// missed presses flagged and of clean runs with any lap flagged, for the default limits and
// the limits around them.
//
//   korimet_flag_rates [RUNS] [SEED]     RUNS of each kind of fault (10000)
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "corrections/lap_flags.h"
#include "corrections/run_generator.h"

namespace {

using namespace korimet;

struct Rates {
    double doubleFlagged = 0;
    double missedFlagged = 0;
    double cleanFlagged = 0;
};

Rates measure(const SuspectLimits& limits, int runs, std::uint64_t seed) {
    RunGenerator generator(seed);
    int doubles = 0, missed = 0, clean = 0;
    for (int i = 0; i < runs; ++i) {
        const auto kind = i % 2 == 0 ? RunKind::Kart : RunKind::MiniFourWheelDrive;
        const auto d = generator.run(kind, PressFault::DoublePress);
        if (suspectLaps(d.data, limits)[static_cast<std::size_t>(d.faultLap)] == Suspect::Short) {
            ++doubles;
        }
        const auto m = generator.run(kind, PressFault::MissedPress);
        if (suspectLaps(m.data, limits)[static_cast<std::size_t>(m.faultLap)] == Suspect::Long) {
            ++missed;
        }
        const auto c = generator.run(kind, PressFault::None);
        for (const auto verdict : suspectLaps(c.data, limits)) {
            if (verdict != Suspect::None) {
                ++clean;
                break;
            }
        }
    }
    const double n = runs;
    return {100.0 * doubles / n, 100.0 * missed / n, 100.0 * clean / n};
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 10000;
    const std::uint64_t seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 20;
    if (runs <= 0) {
        std::fprintf(stderr, "usage: korimet_flag_rates [RUNS] [SEED]\n");
        return 2;
    }
    std::printf("%d runs of each kind (half kart, half mini-4WD), seed %llu\n", runs,
                static_cast<unsigned long long>(seed));
    std::printf("%-8s %-8s %10s %10s %10s\n", "short<", "long>", "double %", "missed %", "clean %");
    const std::vector<SuspectLimits> tries{{0.5, 1.8}, {0.3, 1.8}, {0.5, 1.5}, {0.5, 1.6},
                                           {0.5, 1.7}, {0.7, 1.8}, {0.5, 1.9}, {0.5, 2.0}};
    for (const auto& limits : tries) {
        const auto r = measure(limits, runs, seed);
        std::printf("%-8.2f %-8.2f %10.2f %10.2f %10.2f%s\n", limits.shortBelow, limits.longAbove,
                    r.doubleFlagged, r.missedFlagged, r.cleanFlagged,
                    limits == SuspectLimits{} ? "   (default)" : "");
    }
    return 0;
}
