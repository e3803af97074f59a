#include "corrections/lap_flags.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace korimet {
namespace {

LapData runOf(const std::vector<double>& laps) {
    LapData data;
    data.lapCount = static_cast<std::uint8_t>(laps.size());
    for (std::size_t i = 0; i < laps.size(); ++i) data.laps[i] = laps[i];
    return data;
}

constexpr auto N = Suspect::None;
constexpr auto S = Suspect::Short;
constexpr auto L = Suspect::Long;

TEST(SuspectLaps, JudgesAgainstTheMedianOfTheCountedLaps) {
    struct Case {
        const char* what;
        std::vector<double> laps;
        SuspectLimits limits;
        std::vector<Suspect> expected;
    };
    const std::vector<Case> cases{
        {"clean kart run", {52.1, 45.3, 45.0, 44.8, 45.6}, {}, {N, N, N, N, N}},
        // Median 44.8: 0.4 is below 22.4, 90.1 above 80.64.
        {"double press", {45.3, 0.4, 44.6, 44.8, 45.0}, {}, {N, S, N, N, N}},
        {"missed press", {45.3, 90.1, 44.8, 45.0}, {}, {N, L, N, N}},
        // Median 45.1; a spin of +40 % is 63.1, well below 81.18.
        {"spin is no mis-press", {45.1, 63.1, 45.0, 45.2}, {}, {N, N, N, N}},
        // Exactly at a limit is not beyond it: median 10, limits 5 and 18.
        {"limits are exclusive", {5.0, 10.0, 10.0, 18.0}, {}, {N, N, N, N}},
        {"narrower limits", {8.0, 10.0, 10.0, 12.5}, {0.9, 1.2}, {S, N, N, L}},
        {"two laps give no typical lap", {0.4, 45.0}, {}, {N, N}},
        {"no laps", {}, {}, {}},
        {"median 0", {0.0, 0.0, 3.0}, {}, {N, N, N}},
        {"short limit not below 1", {45.0, 45.0, 45.0}, {1.0, 1.8}, {N, N, N}},
        {"long limit not above 1", {45.0, 45.0, 45.0}, {0.5, 1.0}, {N, N, N}},
        {"not a number", {45.0, 45.0, 45.0}, {0.5, std::nan("")}, {N, N, N}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(suspectLaps(runOf(c.laps), c.limits), c.expected) << c.what;
    }
}

TEST(SuspectLaps, OnlyCountedLapsAreJudged) {
    auto data = runOf({45.0, 45.0, 45.0, 0.3});
    data.lapCount = 3;
    EXPECT_EQ(suspectLaps(data), (std::vector<Suspect>{N, N, N}));
    data.lapCount = 200;  // claims more than the slots
    EXPECT_EQ(suspectLaps(data).size(), std::size_t{kLapSlots});
}

TEST(SuspectLaps, NamesArePublished) {
    EXPECT_EQ(suspectName(Suspect::Short), "short");
    EXPECT_EQ(suspectName(Suspect::Long), "long");
    EXPECT_EQ(suspectName(Suspect::None), std::nullopt);
}

}  // namespace
}  // namespace korimet
