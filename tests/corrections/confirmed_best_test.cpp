#include "corrections/confirmed_best.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "support/frames.h"

namespace korimet {
namespace {

using test::runWithLaps;

TEST(ConfirmedBest, PutsAsideSuspectLapsAndTheLapAShortOneShortened) {
    struct Case {
        const char* name;
        LapData run;
        std::optional<double> expected;
    };
    const std::vector<Case> cases = {
        {"clean: the best lap", runWithLaps({50.0, 49.5, 50.2}), 49.5},
        {"double press: the short lap and the next", runWithLaps({50.0, 0.5, 49.0, 50.1}), 50.0},
        {"double press at the end: the lap before", runWithLaps({50.0, 50.3, 49.2, 0.8}), 50.0},
        {"missed press: the long lap alone", runWithLaps({49.9, 100.0, 50.0, 50.2}), 49.9},
        {"too few laps to judge", runWithLaps({10.0, 0.5}), 0.5},
        {"no laps", runWithLaps({}), std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(confirmedBestLap(c.run), c.expected);
    }
}

}  // namespace
}  // namespace korimet
