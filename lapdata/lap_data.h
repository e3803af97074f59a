#pragma once

#include <array>
#include <cstdint>

namespace korimet {

inline constexpr int kLapSlots = 60;

// One timed run of one car. Value type; a fresh record is all zero.
struct LapData {
    std::uint8_t carId = 0;
    std::uint8_t lapCount = 0;  // valid laps at the head of `laps`, at most kLapSlots
    double targetTime = 0.0;    // seconds; 655.35 or more means no target
    double extraValue1 = 0.0;
    double extraValue2 = 0.0;
    std::uint8_t raceMinutes = 0;  // 0 = no race estimate
    std::uint8_t extraByte = 0;
    std::array<double, kLapSlots> laps{};  // seconds; slots past lapCount are still carried

    friend bool operator==(const LapData&, const LapData&) = default;
};

// The largest target the timer can send; at or above it no target is set.
inline constexpr double kNoTargetTime = 655.35;

}  // namespace korimet
