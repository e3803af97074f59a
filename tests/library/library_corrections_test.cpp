#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "corrections/correction_file.h"
#include "corrections/run_view.h"
#include "library/run_library.h"
#include "support/files.h"
#include "support/frames.h"
#include "support/temp_dir.h"

namespace korimet {
namespace {

namespace fs = std::filesystem;
using test::runWithLaps;
using test::writeBytes;

class LibraryCorrections : public ::testing::Test {
  protected:
    std::string keep(const LapData& data, int second) {
        const KeptRun kept = keepRun(dir.path().string(), data, {2026, 12, 10, 9, 0, second});
        EXPECT_TRUE(kept) << kept.error;
        return kept.path;
    }
    LibraryEntry only() {
        const LibraryListing listing = scanLibrary(dir.path().string());
        EXPECT_EQ(listing.entries.size(), 1u);
        return listing.entries.at(0);
    }
    test::TempDir dir;
};

TEST_F(LibraryCorrections, ListingAndStatisticsFollowTheCorrectionFile) {
    const LapData pressed = runWithLaps({60.0, 60.5, 0.4, 60.1, 61.0, 120.5, 60.2});
    const std::string path = keep(pressed, 0);

    const LibraryEntry asDownloaded = only();
    EXPECT_EQ(asDownloaded.suspectLaps, 2);
    EXPECT_EQ(asDownloaded.statistics.best, 0.4);
    EXPECT_EQ(asDownloaded.confirmedBest, 60.0);
    EXPECT_TRUE(asDownloaded.bestUnconfirmed());
    EXPECT_EQ(asDownloaded.pace, viewRun(pressed).pace);

    RunCorrections corrections(pressed);
    ASSERT_EQ(corrections.apply({CorrectionKind::Split, 5}), CorrectionRefusal::None);
    ASSERT_EQ(corrections.apply({CorrectionKind::MergeIntoNext, 2}), CorrectionRefusal::None);
    ASSERT_FALSE(saveCorrections(path, corrections));
    const LapData& fixed = corrections.run().data;

    const LibraryEntry corrected = only();
    EXPECT_EQ(corrected.correctionSteps, 2);
    EXPECT_FALSE(corrected.correctionError);
    EXPECT_EQ(corrected.content->data, fixed);
    EXPECT_EQ(corrected.statistics, runStatistics(fixed));
    EXPECT_EQ(corrected.suspectLaps, 0);
    EXPECT_FALSE(corrected.bestUnconfirmed());
    EXPECT_EQ(corrected.pace, viewRun(corrections).pace);

    // A file from a later version: listed as downloaded, with the reason kept for the window.
    writeBytes(correctionFilePath(path), "korimet-corrections 7\n");
    const LibraryEntry later = only();
    EXPECT_EQ(later.correctionError.code, CorrectionFileErrorCode::LaterVersion);
    EXPECT_EQ(later.content->data, pressed);
    EXPECT_EQ(later.suspectLaps, 2);
    EXPECT_EQ(later.correctionSteps, 0);
}

LibraryEntry entryWith(std::initializer_list<double> laps) {
    LibraryEntry e;
    e.content = DataFileContent{runWithLaps(laps), ""};
    e.statistics = runStatistics(e.content->data);
    e.confirmedBest = viewRun(e.content->data).confirmedBest;
    return e;
}

TEST(PersonalBest, ASuspectLapNeverSetsIt) {
    struct Case {
        const char* name;
        std::vector<LibraryEntry> runs;
        std::vector<int> among;
        std::optional<std::size_t> expected;
    };
    const LibraryEntry clean = entryWith({50.0, 49.5, 50.2, 50.1});
    const LibraryEntry slower = entryWith({51.0, 50.5, 51.2});
    // The lap after the double press lost its 0.6 s: 48.9 is no lap driven either.
    const LibraryEntry doublePress = entryWith({49.6, 0.6, 48.9, 49.7, 49.8});
    const LibraryEntry twoLaps = entryWith({10.0, 0.5});  // too few laps to judge
    const LibraryEntry unreadable;
    const std::vector<Case> cases = {
        {"the lowest best", {slower, clean}, {0, 1}, 1},
        {"a double press and the lap it shortened never set it", {clean, doublePress}, {0, 1}, 0},
        {"a run with a double press counts by its confirmed laps",
         {slower, doublePress},
         {0, 1},
         1},
        {"equal times: the earlier run keeps it", {clean, clean}, {0, 1}, 0},
        {"only the runs asked about", {doublePress, slower}, {1}, 0},
        {"unreadable runs and none asked", {unreadable, clean}, {0}, std::nullopt},
        {"too few laps to judge count as they are", {clean, twoLaps}, {0, 1}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(personalBestEntry(c.runs, c.among), c.expected);
    }
    EXPECT_TRUE(doublePress.bestUnconfirmed());
    EXPECT_EQ(doublePress.confirmedBest, 49.6);
    EXPECT_FALSE(clean.bestUnconfirmed());
}

}  // namespace
}  // namespace korimet
