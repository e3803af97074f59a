#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "lapdata/lap_data.h"

namespace korimet {

inline constexpr int kFrameHeaderLength = 3;
inline constexpr int kFrameBodyLength = 131;  // checksum byte included
inline constexpr int kFrameLength = kFrameHeaderLength + kFrameBodyLength;
inline constexpr std::uint8_t kFrameHeaderByte = 0xFF;

// One verified frame, decoded.
struct DecodedFrame {
    LapData data;
    std::uint8_t modelCode = 0;
    std::uint8_t firmwareVersion = 0;
    // Caption for the model label, or none when this model code leaves it unchanged.
    std::optional<std::string> modelCaption;
    std::string versionText;  // "Ver1.2"
};

// Caption for a timer model code; none for the codes that leave the label alone.
std::optional<std::string> modelCaptionFor(std::uint8_t modelCode);

// "Ver" + firmware version / 10 with one decimal (12 -> "Ver1.2").
std::string versionTextFor(std::uint8_t firmwareVersion);

// Decodes a frame body (checksum already verified).
DecodedFrame decodeFrameBody(const std::array<std::uint8_t, kFrameBodyLength>& body);

// Byte-at-a-time frame state machine. No time-out: a partial frame waits for the rest
// for as long as the receiver lives, across any split of the input.
class FrameReceiver {
  public:
    // Returns the decoded frame when this byte completed a frame with a good checksum.
    std::optional<DecodedFrame> feedByte(std::uint8_t b);

    int headerCount() const { return headerCount_; }
    int writeIndex() const { return writeIndex_; }
    int runningSum() const { return runningSum_; }

    // Drops a partly received frame and searches for the next header. Only a lost line
    // calls it from outside: a port the user changes keeps the pending frame.
    void reset();

  private:
    std::int16_t headerCount_ = 0;
    std::int16_t writeIndex_ = 0;
    std::int16_t runningSum_ = 0;
    std::array<std::uint8_t, kFrameBodyLength> frameBuffer_{};
};

}  // namespace korimet
