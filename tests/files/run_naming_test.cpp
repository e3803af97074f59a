#include "files/run_naming.h"
#include "support/messages.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <set>

#include "files/data_file.h"
#include "files/file_texts.h"
#include "support/files.h"
#include "support/temp_dir.h"

namespace korimet {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

using test::readBytes;
using test::writeBytes;

// Whole hundredths, so a record reads back exactly.
LapData randomRun(std::mt19937_64& rng) {
    LapData d;
    d.carId = static_cast<std::uint8_t>(rng() % 256);
    d.lapCount = static_cast<std::uint8_t>(1 + rng() % 60);
    d.targetTime = static_cast<double>(rng() % 65536) / 100.0;
    d.raceMinutes = static_cast<std::uint8_t>(rng() % 256);
    for (int k = 0; k < d.lapCount; ++k) {
        d.laps[static_cast<std::size_t>(k)] = static_cast<double>(rng() % 65536) / 100.0;
    }
    return d;
}

std::set<std::string> namesIn(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
    return names;
}

TEST(RunNumberName, CountsFromOneWithAtLeastThreeDigits) {
    const std::pair<int, const char*> cases[] = {
        {1, "run-001.krt"},   {9, "run-009.krt"},     {42, "run-042.krt"},
        {999, "run-999.krt"}, {1000, "run-1000.krt"}, {123456, "run-123456.krt"},
    };
    for (const auto& [attempt, name] : cases) EXPECT_EQ(runNumberName(attempt), name);
}

// Random folders of earlier runs: every earlier file stays byte for byte, the new runs take
// the lowest free numbers in order, and each reads back as it was saved.
TEST(RunFileSaver, NeverOverwritesAndTakesTheLowestFreeNumbers) {
    std::mt19937_64 rng(20261210);
    for (int round = 0; round < 20; ++round) {
        TempDir dir;
        std::map<int, std::string> earlier;
        const int span = 1 + static_cast<int>(rng() % 30);
        for (int n = 1; n <= span; ++n) {
            if (rng() % 2) earlier[n] = "earlier run " + std::to_string(rng());
        }
        for (const auto& [n, bytes] : earlier) writeBytes(dir.path() / runNumberName(n), bytes);

        RunFileSaver saver(dir.path().string(), runNumberName);
        const int newRuns = 1 + static_cast<int>(rng() % 12);
        std::vector<std::pair<int, DataFileContent>> saved;
        int expectedNumber = 0;
        for (int i = 0; i < newRuns; ++i) {
            do {
                ++expectedNumber;
            } while (earlier.contains(expectedNumber));
            const DataFileContent content{randomRun(rng), "memo " + std::to_string(i)};
            const RunSaveResult r = saver.save(content.data, content.memo);
            ASSERT_TRUE(r) << r.error;
            EXPECT_EQ(*r.path, (dir.path() / runNumberName(expectedNumber)).string());
            saved.emplace_back(expectedNumber, content);
        }
        for (const auto& [n, bytes] : earlier) {
            EXPECT_EQ(readBytes(dir.path() / runNumberName(n)), bytes) << n;
        }
        for (const auto& [n, content] : saved) {
            const DataFileReadResult back =
                readDataFileBytes(readBytes(dir.path() / runNumberName(n)), runNumberName(n));
            ASSERT_TRUE(back) << back.error;
            EXPECT_EQ(*back.content, content) << "round " << round << ", run " << n;
        }
        // Nothing else is left behind, no temporary file either.
        EXPECT_EQ(namesIn(dir.path()).size(), earlier.size() + saved.size());
    }
}

// Writers in separate processes saving into one folder at the same moment: no run is lost
// and no file holds anything but the one run saved under its name.
TEST(RunFileSaver, ProcessesSavingIntoOneFolderNeverCollide) {
    constexpr int kWriters = 3;
    constexpr int kRunsEach = 40;
    TempDir dir;
    auto runOf = [](int writer, int i) {
        std::mt19937_64 rng(static_cast<std::uint64_t>(writer * 1000 + i));
        return DataFileContent{randomRun(rng),
                               "writer " + std::to_string(writer) + " run " + std::to_string(i)};
    };
    std::vector<pid_t> children;
    for (int w = 0; w < kWriters; ++w) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            RunFileSaver saver(dir.path().string(), runNumberName);
            int failures = 0;
            for (int i = 0; i < kRunsEach; ++i) {
                const DataFileContent c = runOf(w, i);
                if (!saver.save(c.data, c.memo)) ++failures;
            }
            ::_exit(failures == 0 ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    std::map<std::string, int> seen;  // memo -> files holding it
    const std::set<std::string> names = namesIn(dir.path());
    EXPECT_EQ(names.size(), static_cast<std::size_t>(kWriters * kRunsEach));
    for (int n = 1; n <= kWriters * kRunsEach; ++n) {
        ASSERT_TRUE(names.contains(runNumberName(n))) << n;
        const DataFileReadResult back =
            readDataFileBytes(readBytes(dir.path() / runNumberName(n)), runNumberName(n));
        ASSERT_TRUE(back) << back.error;
        ++seen[back.content->memo];
    }
    for (int w = 0; w < kWriters; ++w) {
        for (int i = 0; i < kRunsEach; ++i) {
            const DataFileContent c = runOf(w, i);
            EXPECT_EQ(seen[c.memo], 1) << c.memo;
        }
    }
}

// A folder whose names cannot be checked ends the save at the first name, with a message
// naming the folder: every later name would fail the same way.
TEST(RunFileSaver, FolderThatCannotBeCheckedEndsAtOnce) {
    TempDir dir;
    writeBytes(dir.path() / "plain", "x");
    std::string longFolder = dir.path().string();
    // Within the system's 4096-byte limit on a path, the names of its files beyond it.
    while (longFolder.size() < 4090) longFolder += "/" + std::string(200, 'a');
    longFolder.resize(4090);
    ASSERT_TRUE(fs::create_directories(longFolder));

    struct Case {
        std::string folder;
        const char* reason;
    };
    const Case cases[] = {
        {(dir.path() / "plain").string(), filetexts::kNotAFolder},
        {longFolder, filetexts::kNameTooLong},
    };
    for (const Case& c : cases) {
        int asked = 0;
        RunFileSaver saver(c.folder, [&asked](int attempt) {
            ++asked;
            return runNumberName(attempt);
        });
        const RunSaveResult r = saver.save(LapData{}, "");
        EXPECT_FALSE(r);
        EXPECT_EQ(asked, 1);
        EXPECT_EQ(test::ja(r.error), filetexts::kSaveToFolderFailed + c.folder + "\n" +
                                         filetexts::kCannotCheckName + "run-001.krt（" + c.reason +
                                         "）");
    }
}

// A full disk, made with a file-size limit in a child: the save fails naming the file,
// leaves nothing behind, and the next save tries the same name again.
TEST(RunFileSaver, FullDiskSavesNothingAndKeepsTheName) {
    TempDir dir;
    writeBytes(dir.path() / "run-001.krt", "earlier");
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        test::limitFileSize(0);
        RunFileSaver saver(dir.path().string(), runNumberName);
        const std::string expected = filetexts::kSaveFailed +
                                     (dir.path() / "run-002.krt").string() + "\n" +
                                     filetexts::kCannotWrite + "（" + filetexts::kFileTooBig + "）";
        bool ok = true;
        for (int i = 0; i < 2; ++i) {
            const RunSaveResult r = saver.save(LapData{}, "");
            ok = ok && !r && test::ja(r.error) == expected;
        }
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"run-001.krt"});
    EXPECT_EQ(readBytes(dir.path() / "run-001.krt"), "earlier");
}

// Another sequence, as a run library would name its files: a day's folder, then -2, -3.
TEST(RunFileSaver, TakesAnyCandidateSequence) {
    TempDir dir;
    fs::create_directories(dir.path() / "2026-12-10");
    auto library = [](int attempt) {
        const std::string base = "2026-12-10/143512-car07";
        return attempt == 1 ? base + ".krt" : base + "-" + std::to_string(attempt) + ".krt";
    };
    writeBytes(dir.path() / "2026-12-10/143512-car07-2.krt", "earlier");
    std::vector<std::string> paths;
    for (int i = 0; i < 3; ++i) {
        RunFileSaver saver(dir.path().string(), library);
        const RunSaveResult r = saver.save(LapData{}, "");
        ASSERT_TRUE(r) << r.error;
        paths.push_back(*r.path);
    }
    const std::string day = (dir.path() / "2026-12-10/").string();
    EXPECT_EQ(paths, (std::vector<std::string>{day + "143512-car07.krt", day + "143512-car07-3.krt",
                                               day + "143512-car07-4.krt"}));
    EXPECT_EQ(readBytes(day + "143512-car07-2.krt"), "earlier");
}

}  // namespace
}  // namespace korimet
