#pragma once

#include <array>
#include <cstdint>

#include "device/frame_receiver.h"
#include "lapdata/lap_data.h"

namespace korimet {

// Raw field values of one frame, as the timer puts them on the wire.
struct FrameFields {
    std::uint8_t modelCode = 1;
    std::uint8_t firmwareVersion = 12;
    std::array<std::uint16_t, kLapSlots> lapCentiseconds{};
    std::uint8_t carId = 0;
    std::uint8_t lapCount = 0;
    std::uint16_t targetCentiseconds = 65535;
    std::uint8_t extraValue1 = 0;
    std::uint8_t extraValue2 = 0;
    std::uint8_t raceMinutes = 0;
    std::uint8_t extraByte = 0;
};

using FrameBytes = std::array<std::uint8_t, kFrameLength>;

// The byte-sum checksum of a body's first 130 bytes.
std::uint8_t frameChecksum(const FrameBytes& frame);

// Builds the 134 bytes of a frame with a correct checksum.
FrameBytes encodeFrame(const FrameFields& fields);

// Wire fields for a record: times to whole centiseconds (clamped to 0..65535), scalars
// clamped to a byte. A lap of 0 is sent as 0, which the receiver reads back as 0.
FrameFields frameFieldsFor(const LapData& data, std::uint8_t modelCode = 1,
                           std::uint8_t firmwareVersion = 12);

}  // namespace korimet
