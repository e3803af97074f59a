// The run store alone, without a window: its jobs, what it follows in the folder, and that
// quitting keeps what was asked for.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "corrections/correction_file.h"
#include "corrections/lap_corrections.h"
#include "files/data_file.h"
#include "library/run_library.h"
#include "library/store/run_store.h"
#include "support/double_press.h"
#include "support/files.h"
#include "support/frames.h"
#include "support/pty.h"
#include "support/temp_dir.h"

namespace korimet {
namespace {

namespace fs = std::filesystem;
using test::runWithLaps;
using test::waitUntil;

class RunStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        library = (dir.path() / "runs").string();
        store = std::make_unique<RunStore>();
        QObject::connect(store.get(), &RunStore::runRead,
                         [this](const StoreRunRead& r) { reads.push_back(r); });
        QObject::connect(store.get(), &RunStore::memoSaved,
                         [this](const StoreMemoSaved& r) { saves.push_back(r); });
    }
    std::string keep(const LapData& d, const LocalTime& when) {
        const KeptRun kept = keepRun(library, d, when);
        EXPECT_TRUE(kept) << kept.error;
        return fs::relative(kept.path, library).string();
    }
    void open() {
        store->open(library, {});
        ASSERT_TRUE(waitUntil([&] { return !store->listing(); }));
    }
    std::vector<std::string> paths() const {
        std::vector<std::string> all;
        for (const LibraryEntry& e : store->entries()) all.push_back(e.path);
        return all;
    }
    const LibraryEntry* entry(const std::string& path) const {
        for (const LibraryEntry& e : store->entries()) {
            if (e.path == path) return &e;
        }
        return nullptr;
    }

    test::TempDir dir;
    std::string library;
    std::unique_ptr<RunStore> store;
    std::vector<StoreRunRead> reads;
    std::vector<StoreMemoSaved> saves;
};

// Whatever a racer writes, saved through the store and read back through it, is what the
// file holds and what was written.
TEST_F(RunStoreTest, AnyMemoSavedThroughTheStoreComesBackWhole) {
    const std::string run = keep(runWithLaps({61.5, 60.25}), {2026, 12, 10, 9, 0, 0});
    open();
    std::mt19937_64 rng(29);
    const char* pieces[] = {
        "a", "Z",  ",",  "\r\n", "\"", "\"\"", " ", "\t", "練習",          "ｶﾀｶﾅ",
        "①", "～", "ソ", "\\",   "~",  "1,2",  "Ⅲ", "髙", "タイヤ 1.2 bar"};
    for (int i = 0; i < 60; ++i) {
        std::string memo;
        const int n = static_cast<int>(rng() % 14);
        for (int k = 0; k < n; ++k) memo += pieces[rng() % std::size(pieces)];
        const std::uint64_t saved = store->saveMemo(run, memo);
        const std::uint64_t read = store->readRun(run);
        ASSERT_TRUE(waitUntil([&] { return !reads.empty() && reads.back().job == read; }));
        ASSERT_FALSE(saves.empty());
        EXPECT_EQ(saves.back().job, saved);
        ASSERT_TRUE(saves.back().ok) << saves.back().error;
        ASSERT_TRUE(reads.back().read) << reads.back().read.error;
        EXPECT_EQ(reads.back().read.content->memo, memo);
        const DataFileReadResult inFile = loadDataFile((fs::path(library) / run).string());
        ASSERT_TRUE(inFile);
        EXPECT_EQ(inFile.content->memo, memo);
        EXPECT_EQ(inFile.content->data, runWithLaps({61.5, 60.25}));
    }
}

// What other programs do to the folder reaches the rows: a run written into a day folder
// made after the listing, corrections written beside a run, a run renamed and one deleted.
TEST_F(RunStoreTest, FollowsWhatOtherProgramsDoToTheFolder) {
    const std::string first = keep(runWithLaps({60.3, 60.8}), {2026, 12, 10, 9, 0, 0});
    const std::string pressed = keep(test::doublePressRun(), {2026, 12, 10, 10, 0, 0});
    open();
    ASSERT_EQ(paths(), (std::vector<std::string>{first, pressed}));
    int changes = 0;
    QObject::connect(store.get(), &RunStore::runsChanged, [&] { ++changes; });

    const std::string newDay = keep(runWithLaps({59.0}), {2026, 12, 11, 8, 0, 0});
    ASSERT_TRUE(waitUntil([&] { return paths().size() == 3; }));
    EXPECT_EQ(paths().back(), newDay);
    // The new day's folder is followed too.
    const std::string sameDay = keep(runWithLaps({58.5}), {2026, 12, 11, 9, 0, 0});
    ASSERT_TRUE(waitUntil([&] { return paths().size() == 4; }));

    RunCorrections corrections(test::doublePressRun());
    ASSERT_EQ(corrections.apply({CorrectionKind::MergeIntoNext, test::kDoublePressLap}),
              CorrectionRefusal::None);
    ASSERT_FALSE(saveCorrections((fs::path(library) / pressed).string(), corrections));
    ASSERT_TRUE(waitUntil([&] { return entry(pressed)->correctionSteps == 1; }));
    EXPECT_EQ(entry(pressed)->statistics.counted, 9);

    fs::rename(fs::path(library) / sameDay, fs::path(library) / "2026-12-11" / "by-hand.krt");
    fs::remove(fs::path(library) / first);
    ASSERT_TRUE(waitUntil([&] { return !entry(first) && !entry(sameDay); }));
    ASSERT_TRUE(waitUntil([&] { return entry("2026-12-11/by-hand.krt") != nullptr; }));
    EXPECT_EQ(paths().size(), 3u);
    EXPECT_GT(changes, 0);
}

// A library nothing was kept in yet is no error, and the store sees the first run kept into
// it from another program once its folder appears.
TEST_F(RunStoreTest, ALibraryThatIsNotThereYetIsEmptyThenFollowed) {
    open();
    EXPECT_FALSE(store->listingError());
    EXPECT_TRUE(store->entries().empty());
    const std::string run = keep(runWithLaps({60.0}), {2026, 12, 10, 9, 0, 0});
    ASSERT_TRUE(waitUntil([&] { return paths() == std::vector<std::string>{run}; }));
}

// A memo asked to be saved just before quitting is in the file afterwards: quitting waits for
// the jobs asked for when the folder answers.
// Any steps written through the store come back from the file as written, beside a listed
// run (whose row has them by the time the store says written) or a run outside the library;
// a file changed since it was seen is left as it is.
TEST_F(RunStoreTest, AnyCorrectionsSavedThroughTheStoreComeBackWhole) {
    std::vector<StoreCorrectionsSaved> written;
    QObject::connect(store.get(), &RunStore::correctionsSaved,
                     [&](const StoreCorrectionsSaved& r) { written.push_back(r); });
    const LapData laps = test::doublePressRun();
    const std::string listed = keep(laps, {2026, 12, 10, 9, 0, 0});
    const std::string outside = (dir.path() / "elsewhere.krt").string();
    ASSERT_TRUE(saveDataFile(outside, laps, ""));
    open();
    const auto save = [&](const std::string& runFile, const SeenSteps& seen,
                          const RunCorrections& corrections) {
        const std::uint64_t job = store->saveCorrections(runFile, seen, corrections);
        EXPECT_TRUE(waitUntil([&] { return !written.empty() && written.back().job == job; }));
        return written.back().error;
    };
    std::mt19937_64 rng(31);
    for (int i = 0; i < 40; ++i) {
        const bool inLibrary = i % 2 == 0;
        const std::string runFile = inLibrary ? (fs::path(library) / listed).string() : outside;
        const CorrectedRunRead before = loadCorrections(runFile, laps);
        ASSERT_FALSE(before.error);
        RunCorrections corrections = before.corrections;
        for (int k = 0; k < 3; ++k) {
            const auto size = static_cast<unsigned>(corrections.run().laps.size());
            if (size == 0) break;
            corrections.apply(
                {static_cast<CorrectionKind>(rng() % 4), static_cast<int>(rng() % size)});
        }
        if (rng() % 3 == 0) corrections.undoAll();
        ASSERT_FALSE(save(runFile, before.corrections.steps(), corrections));
        EXPECT_EQ(loadCorrections(runFile, laps).corrections.steps(), corrections.steps());
        if (inLibrary) {
            ASSERT_NE(entry(listed), nullptr);
            EXPECT_EQ(entry(listed)->correctionSteps, static_cast<int>(corrections.steps().size()));
        }
    }

    const std::string runFile = (fs::path(library) / listed).string();
    RunCorrections mine(laps);
    ASSERT_EQ(mine.apply({CorrectionKind::LeaveOut, 0}), CorrectionRefusal::None);
    ASSERT_FALSE(save(runFile, loadCorrections(runFile, laps).corrections.steps(), mine));
    const std::string inFile = test::readBytes(correctionFilePath(runFile));
    RunCorrections theirs(laps);
    ASSERT_EQ(theirs.apply({CorrectionKind::LeaveOut, 1}), CorrectionRefusal::None);
    EXPECT_EQ(save(runFile, std::vector<Correction>{}, theirs).code,
              CorrectionFileErrorCode::Changed);
    EXPECT_EQ(test::readBytes(correctionFilePath(runFile)), inFile);
}

TEST_F(RunStoreTest, QuittingKeepsAMemoJustAskedFor) {
    const std::string run = keep(runWithLaps({61.5}), {2026, 12, 10, 9, 0, 0});
    open();
    store->saveMemo(run, "last words");
    store.reset();
    const DataFileReadResult inFile = loadDataFile((fs::path(library) / run).string());
    ASSERT_TRUE(inFile);
    EXPECT_EQ(inFile.content->memo, "last words");
}

}  // namespace
}  // namespace korimet
