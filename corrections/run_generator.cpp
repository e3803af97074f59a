#include "corrections/run_generator.h"

#include <cmath>
#include <cstddef>
#include <numbers>
#include <vector>

namespace korimet {

double RunGenerator::uniform(double low, double high) {
    const double unit = static_cast<double>(engine_() >> 11) * 0x1.0p-53;
    return low + (high - low) * unit;
}

int RunGenerator::uniformInt(int low, int high) {
    const auto span = static_cast<std::uint64_t>(high - low + 1);
    return low + static_cast<int>(engine_() % span);
}

double RunGenerator::normal() {
    const double u1 = 1.0 - uniform(0.0, 1.0);  // never 0
    const double u2 = uniform(0.0, 1.0);
    return std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * std::numbers::pi * u2);
}

GeneratedRun RunGenerator::run(RunKind kind, PressFault fault) {
    const bool kart = kind == RunKind::Kart;
    const double typical = kart ? uniform(40.0, 60.0) : uniform(5.0, 10.0);
    const double scatter = typical * (kart ? 0.01 : 0.015);
    const int count = kart ? uniformInt(8, 30) : uniformInt(10, 59);
    const double drift = typical * uniform(-0.002, 0.002);

    std::vector<double> laps;
    for (int i = 0; i < count; ++i) {
        double lap = typical + drift * i + scatter * normal();
        if (i == 0) lap *= 1.0 + uniform(0.05, 0.35);
        if (uniformInt(1, 30) == 1) lap *= 1.0 + uniform(0.20, 0.40);
        laps.push_back(std::round(lap * 100.0) / 100.0);
    }

    GeneratedRun generated;
    generated.fault = fault;
    if (fault == PressFault::DoublePress) {
        // The extra press comes just after a real one, so the next lap loses what it adds.
        const int at = uniformInt(1, count - 1);
        const double extra = std::round(uniform(0.05, 1.0) * 100.0) / 100.0;
        auto& next = laps[static_cast<std::size_t>(at)];
        next = std::round((next - extra) * 100.0) / 100.0;
        laps.insert(laps.begin() + at, extra);
        generated.faultLap = at;
    } else if (fault == PressFault::MissedPress) {
        const int at = uniformInt(0, count - 2);
        auto& joined = laps[static_cast<std::size_t>(at)];
        joined = std::round((joined + laps[static_cast<std::size_t>(at) + 1]) * 100.0) / 100.0;
        laps.erase(laps.begin() + at + 1);
        generated.faultLap = at;
    }
    generated.data.carId = static_cast<std::uint8_t>(uniformInt(1, 99));
    generated.data.targetTime = kNoTargetTime;
    generated.data.lapCount = static_cast<std::uint8_t>(laps.size());
    for (std::size_t i = 0; i < laps.size(); ++i) generated.data.laps[i] = laps[i];
    return generated;
}

}  // namespace korimet
