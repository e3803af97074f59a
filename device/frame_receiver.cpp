#include "device/frame_receiver.h"

#include "lapdata/numeric_picture.h"
#include "lapdata/run_statistics.h"

namespace korimet {

std::optional<std::string> modelCaptionFor(std::uint8_t modelCode) {
    if (modelCode == 1) return "Ferrow";
    if (modelCode == 2) return "Quintrel";
    if (modelCode == 10) return "Belto";
    if (modelCode >= 11) return "Marrix";
    return std::nullopt;
}

std::string versionTextFor(std::uint8_t firmwareVersion) {
    return "Ver" + formatPicture0_0(firmwareVersion / 10.0);
}

namespace {
double centiseconds(std::uint8_t high, std::uint8_t low) { return (high * 256 + low) / 100.0; }
}  // namespace

DecodedFrame decodeFrameBody(const std::array<std::uint8_t, kFrameBodyLength>& body) {
    DecodedFrame frame;
    frame.modelCode = body[0];
    frame.firmwareVersion = body[1];
    frame.modelCaption = modelCaptionFor(body[0]);
    frame.versionText = versionTextFor(body[1]);
    LapData& d = frame.data;
    for (std::size_t k = 0; k < kLapSlots; ++k) {
        const double lap = centiseconds(body[2 + 2 * k], body[3 + 2 * k]);
        d.laps[k] = lap == 100.0 ? 0.0 : lap;  // the timer's 100.00 marks an empty slot
    }
    d.carId = body[122];
    d.lapCount = body[123];
    d.lapCount = static_cast<std::uint8_t>(countedLaps(d));
    d.targetTime = centiseconds(body[124], body[125]);
    d.extraValue1 = body[126];
    d.extraValue2 = body[127];
    d.raceMinutes = body[0] == 10 ? 0 : body[128];
    d.extraByte = body[129];
    return frame;
}

std::optional<DecodedFrame> FrameReceiver::feedByte(std::uint8_t b) {
    if (b == kFrameHeaderByte && headerCount_ < kFrameHeaderLength) {
        ++headerCount_;
        return std::nullopt;
    }
    if (headerCount_ != kFrameHeaderLength) {
        reset();
        return std::nullopt;
    }
    frameBuffer_[static_cast<std::size_t>(writeIndex_)] = b;
    ++writeIndex_;
    if (writeIndex_ < kFrameBodyLength) {
        runningSum_ = static_cast<std::int16_t>((runningSum_ + b) % 256);
        return std::nullopt;
    }
    if (b != runningSum_) {
        reset();
        return std::nullopt;
    }
    DecodedFrame frame = decodeFrameBody(frameBuffer_);
    reset();
    return frame;
}

void FrameReceiver::reset() {
    headerCount_ = 0;
    writeIndex_ = 0;
    runningSum_ = 0;
}

}  // namespace korimet
