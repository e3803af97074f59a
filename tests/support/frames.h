#pragma once

#include <QByteArray>
#include <initializer_list>

#include "device/frame_encoder.h"
#include "lapdata/lap_data.h"

namespace korimet::test {

inline QByteArray bytesOf(const FrameBytes& frame) {
    return QByteArray(reinterpret_cast<const char*>(frame.data()),
                      static_cast<qsizetype>(frame.size()));
}

// A record with the given laps (whole hundredths, so they survive the wire unchanged).
inline LapData runWithLaps(std::initializer_list<double> laps, double target = kNoTargetTime,
                           std::uint8_t raceMinutes = 0, std::uint8_t carId = 7) {
    LapData d;
    d.carId = carId;
    d.targetTime = target;
    d.raceMinutes = raceMinutes;
    int i = 0;
    for (double lap : laps) d.laps[static_cast<std::size_t>(i++)] = lap;
    d.lapCount = static_cast<std::uint8_t>(i);
    return d;
}

// A run of `count` laps between 60 and 69 seconds in a fixed pattern.
inline LapData runOfLaps(int count, double target = kNoTargetTime, std::uint8_t raceMinutes = 0) {
    LapData d;
    d.carId = 12;
    d.targetTime = target;
    d.raceMinutes = raceMinutes;
    for (int i = 0; i < count; ++i) {
        d.laps[static_cast<std::size_t>(i)] = (6000 + (i * 37) % 900) / 100.0;
    }
    d.lapCount = static_cast<std::uint8_t>(count);
    return d;
}

inline QByteArray frameFor(const LapData& data, std::uint8_t modelCode = 1,
                           std::uint8_t firmwareVersion = 12) {
    return bytesOf(encodeFrame(frameFieldsFor(data, modelCode, firmwareVersion)));
}

}  // namespace korimet::test
