#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "device/frame_receiver.h"

// Any byte stream: no crash, counters stay in range, decoded lap counts never pass 60.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    korimet::FrameReceiver receiver;
    for (std::size_t i = 0; i < size; ++i) {
        auto frame = receiver.feedByte(data[i]);
        if (frame && frame->data.lapCount > korimet::kLapSlots) std::abort();
        if (receiver.headerCount() < 0 || receiver.headerCount() > 3) std::abort();
        if (receiver.writeIndex() < 0 || receiver.writeIndex() > 130) std::abort();
        if (receiver.runningSum() < 0 || receiver.runningSum() > 255) std::abort();
    }
    return 0;
}
