#include "library/run_library.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <thread>

#include "files/data_file.h"
#include "files/file_texts.h"
#include "support/files.h"
#include "support/messages.h"
#include "support/temp_dir.h"

namespace korimet {
namespace {

namespace fs = std::filesystem;

LapData runOf(std::initializer_list<double> laps, int car = 7) {
    LapData d;
    d.carId = static_cast<std::uint8_t>(car);
    d.targetTime = kNoTargetTime;
    int i = 0;
    for (double lap : laps) d.laps[static_cast<std::size_t>(i++)] = lap;
    d.lapCount = static_cast<std::uint8_t>(i);
    return d;
}

using test::readBytes;

void writeBytes(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(LibraryNames, CandidatesFollowDateTimeCarAndAttempt) {
    struct Case {
        LocalTime when;
        int car;
        int attempt;
        const char* name;
    };
    const Case cases[] = {
        {{2026, 12, 10, 14, 35, 12}, 7, 1, "2026-12-10/143512-car07.krt"},
        {{2026, 12, 10, 14, 35, 12}, 7, 2, "2026-12-10/143512-car07-2.krt"},
        {{2026, 12, 10, 14, 35, 12}, 7, 3, "2026-12-10/143512-car07-3.krt"},
        {{2027, 1, 2, 0, 0, 0}, 0, 1, "2027-01-02/000000-car00.krt"},
        {{2027, 1, 2, 23, 59, 59}, 255, 10, "2027-01-02/235959-car255-10.krt"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(libraryNameCandidates(c.when, c.car)(c.attempt), c.name) << c.name;
    }
}

TEST(LibraryNames, OnlyLibraryNamesParse) {
    const char* notLibraryNames[] = {
        "run-001.krt",
        "2026-12-10/143512.krt",
        "2026-12-10/143512-car7.krt",
        "2026-12-10/143512-car07-.krt",
        "2026-12-10/143512-car07-x.krt",
        "2026-13-10/143512-car07.krt",
        "2026-12-10/246000-car07.krt",
        "2026-12-10/143512-car300.krt",
        "2026_12_10/143512-car07.krt",
        "2026-12-10/143512-car07.txt",
    };
    for (const char* name : notLibraryNames) EXPECT_FALSE(parseLibraryName(name)) << name;
    const auto nested = parseLibraryName("team/anna/2026-12-10/143512-car07-2.krt");
    ASSERT_TRUE(nested);
    EXPECT_EQ(nested->carId, 7);
    EXPECT_EQ(isoText(nested->downloaded), "2026-12-10T14:35:12");
}

// The one way a run's time is written, in each of its forms, padded where a field is short.
TEST(LibraryNames, DateTimeTextInEachForm) {
    const struct {
        LocalTime when;
        DateTimeForm form;
        const char* text;
    } cases[] = {
        {{2026, 12, 10, 14, 35, 12}, DateTimeForm::Iso, "2026-12-10T14:35:12"},
        {{2026, 12, 10, 14, 35, 12}, DateTimeForm::Shown, "2026-12-10 14:35:12"},
        {{2026, 12, 10, 14, 35, 12}, DateTimeForm::ShownToMinute, "2026-12-10 14:35"},
        {{987, 1, 2, 3, 4, 5}, DateTimeForm::Iso, "0987-01-02T03:04:05"},
        {{987, 1, 2, 3, 4, 5}, DateTimeForm::Shown, "0987-01-02 03:04:05"},
        {{987, 1, 2, 3, 4, 5}, DateTimeForm::ShownToMinute, "0987-01-02 03:04"},
    };
    for (const auto& c : cases) EXPECT_EQ(dateTimeText(c.when, c.form), c.text);
}

// Every name the library gives says back the time and car it was made from.
TEST(LibraryNames, RandomNamesRoundTrip) {
    std::mt19937 random(20261210);
    for (int i = 0; i < 2000; ++i) {
        const LocalTime when{
            1990 + static_cast<int>(random() % 100), 1 + static_cast<int>(random() % 12),
            1 + static_cast<int>(random() % 28),     static_cast<int>(random() % 24),
            static_cast<int>(random() % 60),         static_cast<int>(random() % 60)};
        const int car = static_cast<int>(random() % 256);
        const int attempt = 1 + static_cast<int>(random() % 50);
        const std::string name = libraryNameCandidates(when, car)(attempt);
        const auto parsed = parseLibraryName(name);
        ASSERT_TRUE(parsed) << name;
        EXPECT_EQ(parsed->downloaded, when) << name;
        EXPECT_EQ(parsed->carId, car) << name;
    }
}

TEST(KeepRun, WritesTheOrdinaryFileWithEmptyMemoAndNeverReplaces) {
    test::TempDir dir;
    const LocalTime when{2026, 12, 10, 14, 35, 12};
    const LapData first = runOf({61.5, 60.25});
    const LapData second = runOf({59.0, 58.5, 60.0});
    const KeptRun a = keepRun(dir.path().string(), first, when);
    const KeptRun b = keepRun(dir.path().string(), second, when);
    ASSERT_TRUE(a) << a.error;
    ASSERT_TRUE(b) << b.error;
    EXPECT_EQ(a.path, (dir.path() / "2026-12-10/143512-car07.krt").string());
    EXPECT_EQ(b.path, (dir.path() / "2026-12-10/143512-car07-2.krt").string());
    EXPECT_EQ(readBytes(a.path), *writeDataFileBytes(first, "").bytes);
    EXPECT_EQ(readBytes(b.path), *writeDataFileBytes(second, "").bytes);
    const auto other = keepRun(dir.path().string(), runOf({60.0}, 8), when);
    EXPECT_EQ(other.path, (dir.path() / "2026-12-10/143512-car08.krt").string());
}

// The stored run reads back as it was received, whatever the laps.
TEST(KeepRun, RandomRunsReadBackUnchanged) {
    test::TempDir dir;
    std::mt19937 random(7);
    const LocalTime when{2026, 12, 10, 9, 0, 0};
    for (int i = 0; i < 80; ++i) {
        LapData d;
        d.carId = static_cast<std::uint8_t>(random() % 256);
        d.lapCount = static_cast<std::uint8_t>(random() % 61);
        d.targetTime = static_cast<double>(random() % 65536) / 100.0;
        d.raceMinutes = static_cast<std::uint8_t>(random() % 256);
        d.extraByte = static_cast<std::uint8_t>(random() % 256);
        for (double& lap : d.laps) lap = static_cast<double>(random() % 65536) / 100.0;
        const KeptRun kept = keepRun(dir.path().string(), d, when);
        ASSERT_TRUE(kept) << kept.error;
        const DataFileReadResult back = loadDataFile(kept.path);
        ASSERT_TRUE(back) << back.error;
        EXPECT_EQ(back.content->data, d);
        EXPECT_EQ(back.content->memo, "");
    }
}

// Writers in the same second (the window and a logging tool, say) each get their own name.
TEST(KeepRun, WritersAtOnceNeverShareAName) {
    test::TempDir dir;
    const LocalTime when{2026, 12, 10, 14, 35, 12};
    constexpr int kWriters = 4;
    constexpr int kEach = 12;
    std::vector<std::thread> writers;
    std::vector<std::vector<std::string>> paths(kWriters);
    for (int w = 0; w < kWriters; ++w) {
        writers.emplace_back([&, w] {
            for (int i = 0; i < kEach; ++i) {
                const KeptRun kept =
                    keepRun(dir.path().string(), runOf({60.0 + w, 50.0 + i}), when);
                if (kept) paths[static_cast<std::size_t>(w)].push_back(kept.path);
            }
        });
    }
    for (auto& t : writers) t.join();
    std::set<std::string> distinct;
    for (int w = 0; w < kWriters; ++w) {
        ASSERT_EQ(paths[static_cast<std::size_t>(w)].size(), std::size_t{kEach});
        for (std::size_t i = 0; i < kEach; ++i) {
            const std::string& path = paths[static_cast<std::size_t>(w)][i];
            distinct.insert(path);
            EXPECT_EQ(
                readBytes(path),
                *writeDataFileBytes(runOf({60.0 + w, 50.0 + static_cast<double>(i)}), "").bytes);
        }
    }
    EXPECT_EQ(distinct.size(), std::size_t{kWriters * kEach});
}

TEST(KeepRun, AFolderThatCannotBeMadeIsReportedWithItsName) {
    test::TempDir dir;
    writeBytes(dir.path() / "plain-file", "x");
    const std::string library = (dir.path() / "plain-file" / "runs").string();
    const KeptRun kept = keepRun(library, runOf({60.0}), {2026, 12, 10, 14, 35, 12});
    EXPECT_FALSE(kept);
    EXPECT_EQ(kept.error.code, FileErrorCode::CannotMakeFolder);
    EXPECT_EQ(kept.error.systemError, ENOTDIR);
    EXPECT_EQ(test::ja(kept.error),
              filetexts::kSaveToFolderFailed +
                  (dir.path() / "plain-file" / "runs" / "2026-12-10").string() +
                  "\nフォルダーを作成できません（" + filetexts::kNotAFolder + "）");
}

class LibraryScan : public ::testing::Test {
  protected:
    void SetUp() override {
        root = dir.path() / "runs";
        keep(runOf({61.5, 60.25, 62.0}, 7), {2026, 12, 10, 14, 35, 12});
        keep(runOf({59.5}, 3), {2026, 11, 2, 9, 5, 0});
        keep(runOf({58.0, 58.0}, 7), {2027, 1, 5, 10, 0, 0});
        // Copied in by hand under its own name: listed by its modification time.
        handCopied = root / "from-anna" / "race.krt";
        writeBytes(handCopied, *writeDataFileBytes(runOf({60.0, 61.0}, 3), "Anna's").bytes);
        struct utimbuf times {};
        times.actime = times.modtime = 946684800;  // 2000-01-01 00:00 UTC
        ::utime(handCopied.c_str(), &times);
        writeBytes(root / "2026-12-11" / "101010-car07.krt", "not a run at all\r\n");
        writeBytes(root / "2026-12-11" / ".101011-car07.krt.123-0-1.tmp", "half");
        writeBytes(root / "2026-12-11" / ".hidden.krt", "half");
        writeBytes(root / ".stfolder" / "2026-12-12" / "101010-car07.krt", "sync tool");
        writeBytes(root / "notes.txt", "not listed");
    }
    void keep(const LapData& d, const LocalTime& when) {
        ASSERT_TRUE(keepRun(root.string(), d, when));
    }

    test::TempDir dir;
    fs::path root;
    fs::path handCopied;
};

TEST_F(LibraryScan, ListsRunsOldestFirstWithUnreadableFilesAmongThem) {
    const LibraryListing listing = scanLibrary(root.string());
    ASSERT_TRUE(listing.ok) << listing.error;
    std::vector<std::string> paths;
    for (const auto& e : listing.entries) paths.push_back(e.path);
    const std::vector<std::string> expected = {
        "from-anna/race.krt",          "2026-11-02/090500-car03.krt", "2026-12-10/143512-car07.krt",
        "2026-12-11/101010-car07.krt", "2027-01-05/100000-car07.krt",
    };
    EXPECT_EQ(paths, expected);

    const LibraryEntry& hand = listing.entries[0];
    EXPECT_FALSE(hand.timeFromName);
    EXPECT_EQ(hand.downloaded, localTimeOf(std::chrono::system_clock::from_time_t(946684800)));
    ASSERT_TRUE(hand.readable());
    EXPECT_EQ(hand.content->memo, "Anna's");
    EXPECT_EQ(hand.carId, 3);

    const LibraryEntry& run = listing.entries[2];
    EXPECT_TRUE(run.timeFromName);
    EXPECT_EQ(isoText(run.downloaded), "2026-12-10T14:35:12");
    ASSERT_TRUE(run.readable());
    EXPECT_EQ(run.statistics, runStatistics(runOf({61.5, 60.25, 62.0})));

    const LibraryEntry& broken = listing.entries[3];
    EXPECT_FALSE(broken.readable());
    EXPECT_EQ(broken.carId, 7);
    const DataFileReadResult reader = loadDataFile((root / broken.path).string());
    EXPECT_EQ(broken.error, reader.error);
    EXPECT_TRUE(broken.error);
}

TEST_F(LibraryScan, FiltersByCar) {
    const LibraryListing sevens = scanLibrary(root.string(), 7);
    ASSERT_EQ(sevens.entries.size(), 3u);
    for (const auto& e : sevens.entries) EXPECT_EQ(e.carId, 7) << e.path;
    EXPECT_EQ(scanLibrary(root.string(), 3).entries.size(), 2u);
    EXPECT_TRUE(scanLibrary(root.string(), 99).entries.empty());
    EXPECT_TRUE(scanLibrary(root.string(), 99).ok);
}

TEST_F(LibraryScan, AMissingFolderIsAnErrorAndAnEmptyOneIsNot) {
    const LibraryListing missing = scanLibrary((root / "nowhere").string());
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.error.code, FileErrorCode::CannotReadFolder);
    EXPECT_EQ(missing.error.path, (root / "nowhere").string());
    EXPECT_EQ(missing.error.systemError, ENOENT);
    fs::create_directories(root / "empty");
    const LibraryListing empty = scanLibrary((root / "empty").string());
    EXPECT_TRUE(empty.ok);
    EXPECT_TRUE(empty.entries.empty());
}

// Nothing in the library makes it look emptier than it is or holds the listing: a folder
// that cannot be read is a row with its reason, a named pipe called *.krt is a row that was
// never opened, and the library folder itself failing is the listing failing.
TEST_F(LibraryScan, UnreadablePlacesAreRowsAndNothingBlocks) {
    // A folder whose full name is past the system's limit cannot be opened, for root too.
    std::string deep = (root / "deep").string();
    while (deep.size() < 4000) deep += "/" + std::string(200, 'd');
    ASSERT_TRUE(fs::create_directories(deep));
    const int deepFd = ::open(deep.c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(deepFd, 0);
    ASSERT_EQ(::mkdirat(deepFd, std::string(200, 'e').c_str(), 0700), 0);
    ::close(deepFd);
    ASSERT_EQ(::mkfifo((root / "2026-12-11" / "pipe.krt").c_str(), 0600), 0);

    const LibraryListing listing = scanLibrary(root.string());
    ASSERT_TRUE(listing.ok) << listing.error;
    const auto find = [&](const std::string& path) -> const LibraryEntry* {
        for (const auto& e : listing.entries) {
            if (e.path == path) return &e;
        }
        return nullptr;
    };
    const std::string tooLong =
        deep.substr(root.string().size() + 1) + "/" + std::string(200, 'e') + "/";
    const LibraryEntry* folder = find(tooLong);
    ASSERT_NE(folder, nullptr);
    EXPECT_EQ(folder->error.code, FileErrorCode::CannotReadFolder);
    EXPECT_EQ(folder->error.systemError, ENAMETOOLONG);
    EXPECT_FALSE(folder->carId);
    const LibraryEntry* pipe = find("2026-12-11/pipe.krt");
    ASSERT_NE(pipe, nullptr);
    EXPECT_EQ(pipe->error.code, FileErrorCode::NotAFile);
    // Listed whatever the car: it may hold any car's runs.
    const LibraryListing sevens = scanLibrary(root.string(), 7);
    EXPECT_TRUE(std::any_of(sevens.entries.begin(), sevens.entries.end(),
                            [&](const LibraryEntry& e) { return e.path == tooLong; }));

    // The library folder itself: not a folder at all.
    const LibraryListing file = scanLibrary((root / "notes.txt").string());
    EXPECT_FALSE(file.ok);
    EXPECT_EQ(file.error.code, FileErrorCode::CannotReadFolder);
    EXPECT_EQ(file.error.systemError, ENOTDIR);
    FileError error;
    EXPECT_FALSE(forEachLibraryRun((root / "notes.txt").string(), {}, error,
                                   [](const LibraryEntry&, const std::string&) {}));
    EXPECT_EQ(error, file.error);
}

// The listing keeps each memo's first line only, so its memory follows the number of runs;
// the run-at-a-time walk hands out the whole memo, in the listing's order.
TEST_F(LibraryScan, ListingKeepsFirstLinesAndTheWalkGivesWholeMemos) {
    const std::string memo = "first line\r\n" + std::string(100000, 'x');
    writeBytes(root / "2026-12-12" / "080000-car05.krt",
               *writeDataFileBytes(runOf({60.0}, 5), memo).bytes);
    const LibraryListing listing = scanLibrary(root.string());
    std::vector<std::string> listed;
    for (const auto& e : listing.entries) {
        listed.push_back(e.path);
        if (e.readable()) {
            EXPECT_EQ(e.content->memo.find_first_of("\r\n"), std::string::npos);
        }
    }
    std::vector<std::string> walked;
    std::string wholeOf5;
    FileError error;
    ASSERT_TRUE(forEachLibraryRun(root.string(), {}, error,
                                  [&](const LibraryEntry& e, const std::string& whole) {
                                      walked.push_back(e.path);
                                      if (e.carId == 5) wholeOf5 = whole;
                                  }));
    EXPECT_EQ(walked, listed);
    EXPECT_EQ(wholeOf5, memo);
    EXPECT_EQ(readLibraryEntry(root.string(), "2026-12-12/080000-car05.krt").content->memo,
              "first line");
}

// Downloads in one second are listed in the order they were kept: the suffix counts, it is
// not text (-2 after the plain name, -10 after -9), and other cars in that second keep
// their own sequence.
TEST_F(LibraryScan, DownloadsInOneSecondFollowTheirNumbers) {
    const LocalTime when{2026, 12, 10, 14, 41, 56};
    std::vector<std::string> kept;
    for (int i = 0; i < 14; ++i) {
        const int car = i % 3 == 2 ? 12 : 7;
        const KeptRun k = keepRun(root.string(), runOf({60.0 + i}, car), when);
        ASSERT_TRUE(k) << k.error;
        kept.push_back(fs::relative(k.path, root).string());
    }
    std::vector<std::string> sevens, twelves;
    for (const auto& e : scanLibrary(root.string()).entries) {
        if (e.downloaded != when) continue;
        (e.carId == 7 ? sevens : twelves).push_back(e.path);
    }
    std::vector<std::string> expectedSevens, expectedTwelves;
    for (int i = 0; i < 14; ++i)
        (i % 3 == 2 ? expectedTwelves : expectedSevens)
            .push_back(kept[static_cast<std::size_t>(i)]);
    EXPECT_EQ(sevens, expectedSevens);
    EXPECT_EQ(twelves, expectedTwelves);
    ASSERT_EQ(expectedSevens.size(), 10u);
    EXPECT_EQ(expectedSevens[0], "2026-12-10/144156-car07.krt");
    EXPECT_EQ(expectedSevens[1], "2026-12-10/144156-car07-2.krt");
    EXPECT_EQ(expectedSevens[9], "2026-12-10/144156-car07-10.krt");
}

}  // namespace
}  // namespace korimet
