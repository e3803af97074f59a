#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "device/frame_encoder.h"
#include "device/frame_receiver.h"

namespace {

// Good frames with a little noise between them, as a real line might deliver.
std::vector<std::uint8_t> streamOfFrames(int frames) {
    std::mt19937 rng(7);
    std::vector<std::uint8_t> bytes;
    for (int f = 0; f < frames; ++f) {
        korimet::FrameFields fields;
        fields.lapCount = 40;
        fields.carId = static_cast<std::uint8_t>(f);
        for (auto& lap : fields.lapCentiseconds)
            lap = static_cast<std::uint16_t>(6000 + rng() % 900);
        const auto frame = korimet::encodeFrame(fields);
        bytes.insert(bytes.end(), frame.begin(), frame.end());
        for (int n = 0; n < 5; ++n) bytes.push_back(static_cast<std::uint8_t>(rng() % 0xFF));
    }
    return bytes;
}

void BM_ReceiverThroughput(benchmark::State& state) {
    const auto bytes = streamOfFrames(100);
    korimet::FrameReceiver receiver;
    std::size_t frames = 0;
    for (auto _ : state) {
        for (std::uint8_t b : bytes) {
            if (auto frame = receiver.feedByte(b)) ++frames;
        }
        benchmark::DoNotOptimize(frames);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
    // The serial line delivers 1,920 bytes a second at 19,200 baud.
    state.counters["x_line_rate"] =
        benchmark::Counter(static_cast<double>(state.iterations() * bytes.size()) / 1920.0,
                           benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReceiverThroughput);

}  // namespace
