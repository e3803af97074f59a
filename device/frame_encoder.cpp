#include "device/frame_encoder.h"

#include <algorithm>
#include <cmath>

namespace korimet {
namespace {

std::uint16_t toCentiseconds(double seconds) {
    if (!std::isfinite(seconds)) return 0;
    return static_cast<std::uint16_t>(std::clamp(std::round(seconds * 100.0), 0.0, 65535.0));
}

std::uint8_t toByte(double value) {
    if (!std::isfinite(value)) return 0;
    return static_cast<std::uint8_t>(std::clamp(std::round(value), 0.0, 255.0));
}

}  // namespace

std::uint8_t frameChecksum(const FrameBytes& frame) {
    unsigned sum = 0;
    for (int i = 0; i < kFrameBodyLength - 1; ++i) sum += frame[kFrameHeaderLength + i];
    return static_cast<std::uint8_t>(sum % 256);
}

FrameBytes encodeFrame(const FrameFields& f) {
    FrameBytes frame{};
    frame[0] = frame[1] = frame[2] = kFrameHeaderByte;
    auto body = frame.begin() + kFrameHeaderLength;
    body[0] = f.modelCode;
    body[1] = f.firmwareVersion;
    for (std::size_t k = 0; k < kLapSlots; ++k) {
        body[2 + 2 * k] = static_cast<std::uint8_t>(f.lapCentiseconds[k] >> 8);
        body[3 + 2 * k] = static_cast<std::uint8_t>(f.lapCentiseconds[k] & 0xFF);
    }
    body[122] = f.carId;
    body[123] = f.lapCount;
    body[124] = static_cast<std::uint8_t>(f.targetCentiseconds >> 8);
    body[125] = static_cast<std::uint8_t>(f.targetCentiseconds & 0xFF);
    body[126] = f.extraValue1;
    body[127] = f.extraValue2;
    body[128] = f.raceMinutes;
    body[129] = f.extraByte;
    body[130] = frameChecksum(frame);
    return frame;
}

FrameFields frameFieldsFor(const LapData& d, std::uint8_t modelCode, std::uint8_t firmwareVersion) {
    FrameFields f;
    f.modelCode = modelCode;
    f.firmwareVersion = firmwareVersion;
    for (std::size_t k = 0; k < kLapSlots; ++k) f.lapCentiseconds[k] = toCentiseconds(d.laps[k]);
    f.carId = d.carId;
    f.lapCount = d.lapCount;
    f.targetCentiseconds = toCentiseconds(d.targetTime);
    f.extraValue1 = toByte(d.extraValue1);
    f.extraValue2 = toByte(d.extraValue2);
    f.raceMinutes = d.raceMinutes;
    f.extraByte = d.extraByte;
    return f;
}

}  // namespace korimet
