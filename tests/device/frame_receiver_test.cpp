#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "device/frame_encoder.h"
#include "device/frame_receiver.h"

namespace korimet {
namespace {

using Bytes = std::vector<std::uint8_t>;

FrameFields sampleFields() {
    FrameFields f;
    f.modelCode = 2;
    f.firmwareVersion = 12;
    f.carId = 7;
    f.lapCount = 12;
    f.targetCentiseconds = 6100;
    f.extraValue1 = 3;
    f.extraValue2 = 250;
    f.raceMinutes = 17;
    f.extraByte = 9;
    for (int k = 0; k < 12; ++k)
        f.lapCentiseconds[static_cast<std::size_t>(k)] = static_cast<std::uint16_t>(6000 + 37 * k);
    return f;
}

Bytes bytesOf(const FrameFields& f) {
    const auto frame = encodeFrame(f);
    return Bytes(frame.begin(), frame.end());
}

// Feeds the bytes in the given chunk sizes (the rest in one piece) and collects frames.
std::vector<DecodedFrame> feed(FrameReceiver& r, const Bytes& bytes) {
    std::vector<DecodedFrame> frames;
    for (std::uint8_t b : bytes) {
        if (auto f = r.feedByte(b)) frames.push_back(*f);
    }
    return frames;
}

std::vector<DecodedFrame> feedFresh(const Bytes& bytes) {
    FrameReceiver r;
    return feed(r, bytes);
}

TEST(FrameReceiver, DecodesEveryFieldOfAGoodFrame) {
    const auto frames = feedFresh(bytesOf(sampleFields()));
    ASSERT_EQ(frames.size(), 1u);
    const DecodedFrame& f = frames[0];
    EXPECT_EQ(f.modelCaption, std::optional<std::string>("Quintrel"));
    EXPECT_EQ(f.versionText, "Ver1.2");
    EXPECT_EQ(f.data.carId, 7);
    EXPECT_EQ(f.data.lapCount, 12);
    EXPECT_DOUBLE_EQ(f.data.targetTime, 61.0);
    EXPECT_EQ(f.data.extraValue1, 3.0);
    EXPECT_EQ(f.data.extraValue2, 250.0);
    EXPECT_EQ(f.data.raceMinutes, 17);
    EXPECT_EQ(f.data.extraByte, 9);
    for (int k = 0; k < 12; ++k)
        EXPECT_EQ(f.data.laps[static_cast<std::size_t>(k)], (6000 + 37 * k) / 100.0);
    for (int k = 12; k < 60; ++k) EXPECT_EQ(f.data.laps[static_cast<std::size_t>(k)], 0.0);
}

TEST(FrameReceiver, AnySplitOfTheInputGivesTheSameFrame) {
    const Bytes frame = bytesOf(sampleFields());
    const DecodedFrame whole = feedFresh(frame).at(0);
    // The receiver sees one byte at a time, so a split is a pause between bytes: check
    // that state carries across a fresh interruption at every position.
    for (std::size_t cut = 0; cut < frame.size(); ++cut) {
        FrameReceiver r;
        auto first = feed(r, Bytes(frame.begin(), frame.begin() + static_cast<long>(cut)));
        auto second = feed(r, Bytes(frame.begin() + static_cast<long>(cut), frame.end()));
        ASSERT_TRUE(first.empty()) << cut;
        ASSERT_EQ(second.size(), 1u) << cut;
        EXPECT_EQ(second[0].data, whole.data) << cut;
    }
}

TEST(FrameReceiver, TwoFramesInOneReadDecodeInOrder) {
    FrameFields a = sampleFields();
    FrameFields b = sampleFields();
    b.carId = 99;
    b.lapCount = 3;
    Bytes bytes = bytesOf(a);
    const Bytes second = bytesOf(b);
    bytes.insert(bytes.end(), second.begin(), second.end());
    const auto frames = feedFresh(bytes);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].data.carId, 7);
    EXPECT_EQ(frames[1].data.carId, 99);
    EXPECT_EQ(frames[1].data.lapCount, 3);
}

TEST(FrameReceiver, NoiseAndBrokenHeadersAreSkipped) {
    const Bytes frame = bytesOf(sampleFields());
    Bytes bytes = {0x00, 0x12, 0xFF, 0xFF, 0x00};  // a broken header, then the real one
    bytes.insert(bytes.end(), frame.begin(), frame.end());
    const auto frames = feedFresh(bytes);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].data.carId, 7);
}

TEST(FrameReceiver, ExtraLeadingHeaderByteShiftsTheBody) {
    const Bytes frame = bytesOf(sampleFields());
    Bytes shifted = {0xFF};
    shifted.insert(shifted.end(), frame.begin(), frame.end());
    // The fourth 0xFF is body position 0; the sender's body position 129 is compared as the
    // checksum, which here does not match, so nothing decodes...
    FrameReceiver r;
    EXPECT_TRUE(feed(r, shifted).empty());

    // ...unless that byte happens to equal the running sum: then it decodes as model 255.
    FrameFields f = sampleFields();
    Bytes trial;
    for (int extra = 0; extra < 256; ++extra) {
        f.extraByte = static_cast<std::uint8_t>(extra);
        const Bytes body = bytesOf(f);
        unsigned sum = 0xFF;  // the extra header byte is body position 0
        for (int i = 3; i < 3 + 129; ++i) sum += body[static_cast<std::size_t>(i)];
        if (sum % 256 == body[3 + 129]) {
            trial = {0xFF};
            trial.insert(trial.end(), body.begin(), body.end());
            break;
        }
    }
    ASSERT_FALSE(trial.empty());
    const auto frames = feedFresh(trial);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].modelCode, 255);
    EXPECT_EQ(frames[0].modelCaption, std::optional<std::string>("Marrix"));
}

TEST(FrameReceiver, BadChecksumDropsTheFrameAndResumesAfterIt) {
    Bytes bad = bytesOf(sampleFields());
    bad.back() = static_cast<std::uint8_t>(bad.back() + 1);
    FrameReceiver r;
    EXPECT_TRUE(feed(r, bad).empty());
    EXPECT_EQ(r.headerCount(), 0);
    EXPECT_EQ(r.writeIndex(), 0);
    EXPECT_EQ(feed(r, bytesOf(sampleFields())).size(), 1u);
}

// A frame cut at any point: without a reset the next whole frame is swallowed by the
// pending one; after it the next frame decodes whole and alone.
TEST(FrameReceiver, ResetDropsACutFrameSoTheNextDecodesWhole) {
    const Bytes cut = bytesOf(sampleFields());
    FrameFields nextFields = sampleFields();
    nextFields.carId = 42;
    nextFields.lapCount = 3;
    const Bytes next = bytesOf(nextFields);
    for (std::size_t at :
         {std::size_t{1}, std::size_t{3}, std::size_t{4}, std::size_t{70}, cut.size() - 1}) {
        SCOPED_TRACE(at);
        const Bytes head(cut.begin(), cut.begin() + static_cast<std::ptrdiff_t>(at));

        FrameReceiver kept;
        EXPECT_TRUE(feed(kept, head).empty());
        for (const DecodedFrame& f : feed(kept, next)) EXPECT_NE(f.data.carId, 42);

        FrameReceiver dropped;
        EXPECT_TRUE(feed(dropped, head).empty());
        dropped.reset();
        EXPECT_EQ(dropped.headerCount(), 0);
        EXPECT_EQ(dropped.writeIndex(), 0);
        EXPECT_EQ(dropped.runningSum(), 0);
        const auto frames = feed(dropped, next);
        ASSERT_EQ(frames.size(), 1u);
        EXPECT_EQ(frames[0].data.carId, 42);
        EXPECT_EQ(frames[0].data.lapCount, 3);
    }
}

TEST(FrameReceiver, HeaderBytesInsideTheBodyAreData) {
    FrameFields f = sampleFields();
    f.lapCentiseconds[0] = 0xFFFF;
    f.carId = 0xFF;
    f.extraValue1 = 0xFF;
    const auto frames = feedFresh(bytesOf(f));
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].data.laps[0], 655.35);
    EXPECT_EQ(frames[0].data.carId, 255);
    EXPECT_EQ(frames[0].data.extraValue1, 255.0);
}

TEST(FrameReceiver, ChecksumZeroIsValidForABodySumOfMultipleOf256) {
    FrameFields f{};
    f.modelCode = 0;
    f.firmwareVersion = 0;
    f.targetCentiseconds = 0;
    const Bytes bytes = bytesOf(f);
    ASSERT_EQ(bytes.back(), 0);
    const auto frames = feedFresh(bytes);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].versionText, "Ver0.0");
}

TEST(FrameReceiver, ModelCodesChooseTheCaptionAndRaceMinutes) {
    struct Case {
        std::uint8_t code;
        std::optional<std::string> caption;
        std::uint8_t raceMinutes;
    };
    const Case cases[] = {
        {1, "Ferrow", 17},     {2, "Quintrel", 17},   {10, "Belto", 0},
        {11, "Marrix", 17},    {255, "Marrix", 17},   {0, std::nullopt, 17},
        {5, std::nullopt, 17}, {9, std::nullopt, 17}, {3, std::nullopt, 17},
    };
    for (const auto& c : cases) {
        FrameFields f = sampleFields();
        f.modelCode = c.code;
        f.raceMinutes = 17;
        const auto frames = feedFresh(bytesOf(f));
        ASSERT_EQ(frames.size(), 1u) << int(c.code);
        EXPECT_EQ(frames[0].modelCaption, c.caption) << int(c.code);
        EXPECT_EQ(frames[0].data.raceMinutes, c.raceMinutes) << int(c.code);
    }
}

TEST(FrameReceiver, LapTargetCountAndVersionValues) {
    FrameFields f = sampleFields();
    f.lapCentiseconds[0] = 10000;
    f.lapCentiseconds[1] = 9999;
    f.lapCentiseconds[2] = 10001;
    f.lapCentiseconds[59] = 65535;
    f.lapCount = 61;
    f.targetCentiseconds = 65534;
    f.firmwareVersion = 123;
    const auto frames = feedFresh(bytesOf(f));
    ASSERT_EQ(frames.size(), 1u);
    const LapData& d = frames[0].data;
    EXPECT_EQ(d.laps[0], 0.0);
    EXPECT_EQ(d.laps[1], 99.99);
    EXPECT_EQ(d.laps[2], 100.01);
    EXPECT_EQ(d.laps[59], 655.35);
    EXPECT_EQ(d.lapCount, 60);
    EXPECT_EQ(d.targetTime, 655.34);
    EXPECT_EQ(frames[0].versionText, "Ver12.3");

    f.lapCount = 255;
    f.firmwareVersion = 5;
    const auto more = feedFresh(bytesOf(f));
    ASSERT_EQ(more.size(), 1u);
    EXPECT_EQ(more[0].data.lapCount, 60);
    EXPECT_EQ(more[0].versionText, "Ver0.5");
}

TEST(FrameEncoder, RecordSurvivesEncodeAndDecode) {
    LapData d;
    d.carId = 12;
    d.lapCount = 3;
    d.targetTime = 655.35;
    d.raceMinutes = 17;
    d.extraValue1 = 4;
    d.laps[0] = 65.43;
    d.laps[1] = 64.9;
    d.laps[2] = 0.75;
    const auto bytes = encodeFrame(frameFieldsFor(d, 1, 12));
    const auto frames = feedFresh(Bytes(bytes.begin(), bytes.end()));
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].data, d);
}

}  // namespace
}  // namespace korimet
