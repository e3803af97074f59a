#include "corrections/correction_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "corrections/run_generator.h"
#include "support/files.h"
#include "support/temp_dir.h"

namespace korimet {
namespace {

using test::readBytes;
using test::TempDir;
using test::writeBytes;

LapData runOf(const std::vector<double>& laps) {
    LapData data;
    data.lapCount = static_cast<std::uint8_t>(laps.size());
    for (std::size_t i = 0; i < laps.size(); ++i) data.laps[i] = laps[i];
    return data;
}

// Random steps that apply, made the way a racer would: one after the other on the list.
std::vector<Correction> randomSteps(const LapData& run, std::mt19937_64& random) {
    RunCorrections corrections(run);
    const int tries = static_cast<int>(random() % 12);
    for (int i = 0; i < tries; ++i) {
        const auto size = static_cast<unsigned>(corrections.run().laps.size());
        corrections.apply(
            {static_cast<CorrectionKind>(random() % 4), static_cast<int>(random() % size)});
    }
    return corrections.steps();
}

TEST(CorrectionFile, WorkedExample) {
    const auto run = runOf({45.0, 0.5, 44.5, 90.0});
    const std::vector<Correction> steps{{CorrectionKind::MergeIntoNext, 1},
                                        {CorrectionKind::Split, 2},
                                        {CorrectionKind::LeaveOut, 0}};
    const auto bytes = correctionFileBytes(run, steps);
    EXPECT_EQ(bytes, "korimet-corrections 1\nrun " + lapFingerprint(run) +
                         "\nmerge-next 2\nsplit 3\nleave-out 1\n");
    EXPECT_EQ(lapFingerprint(run).substr(0, 2), "4 ");
    EXPECT_EQ(lapFingerprint(run).size(), 2 + 16u);
}

TEST(CorrectionFile, StepsRoundTripForRandomRunsAndSteps) {
    std::mt19937_64 random(21);
    RunGenerator generator(21);
    for (int round = 0; round < 3000; ++round) {
        const auto data = generator
                              .run(round % 2 ? RunKind::Kart : RunKind::MiniFourWheelDrive,
                                   static_cast<PressFault>(round % 3))
                              .data;
        const auto steps = randomSteps(data, random);
        const auto read = parseCorrectionFile(correctionFileBytes(data, steps), data);
        ASSERT_FALSE(read.error) << round;
        ASSERT_EQ(read.steps, steps) << round;
    }
}

TEST(CorrectionFile, ADamagedFileGivesNoStepsAndACode) {
    const auto run = runOf({45.0, 0.5, 44.5, 90.0});
    const std::string head = "korimet-corrections 1\nrun " + lapFingerprint(run) + "\n";
    using C = CorrectionFileErrorCode;
    struct Case {
        const char* what;
        std::string bytes;
        C code;
        int line;
    };
    const std::vector<Case> cases{
        {"empty", "", C::NotCorrections, 1},
        {"another file", "45.0\r\n44.9\r\n", C::NotCorrections, 1},
        {"a later version", "korimet-corrections 2\nrun 4 0\nsomething new 1\n", C::LaterVersion,
         1},
        {"no version", "korimet-corrections x\n", C::BadLine, 1},
        {"no run line", "korimet-corrections 1\n", C::BadLine, 2},
        {"made for other laps", "korimet-corrections 1\nrun 4 0000000000000000\n", C::OtherRun, 2},
        {"unknown step", head + "split 3\nmerge 2\n", C::BadLine, 4},
        {"lap 0", head + "split 0\n", C::BadLine, 3},
        {"signed lap", head + "split +1\n", C::BadLine, 3},
        {"CR LF", head + "split 1\r\n", C::BadLine, 3},
        {"blank line", head + "\nsplit 1\n", C::BadLine, 3},
        {"step past the laps", head + "split 5\n", C::StepRefused, 3},
        {"merge past the end", head + "merge-next 4\n", C::StepRefused, 3},
    };
    for (const auto& c : cases) {
        const auto read = parseCorrectionFile(c.bytes, run, "f.corrections");
        EXPECT_EQ(read.error.code, c.code) << c.what;
        EXPECT_EQ(read.error.line, c.line) << c.what;
        EXPECT_EQ(read.error.path, "f.corrections") << c.what;
        EXPECT_TRUE(read.steps.empty()) << c.what;
    }
    EXPECT_EQ(parseCorrectionFile(cases[2].bytes, run).error.detail, "2");
}

// Whatever the bytes, a read gives either steps that apply or none and a code.
TEST(CorrectionFile, RandomDamageNeverGivesStepsThatDoNotApply) {
    std::mt19937_64 random(22);
    const auto run = runOf({45.0, 0.5, 44.5, 90.0, 45.1, 45.2});
    const auto good =
        correctionFileBytes(run, {{CorrectionKind::MergeIntoNext, 1}, {CorrectionKind::Split, 2}});
    for (int round = 0; round < 5000; ++round) {
        auto bytes = good;
        const int changes = 1 + static_cast<int>(random() % 3);
        for (int i = 0; i < changes; ++i) {
            const auto at = random() % bytes.size();
            switch (random() % 3) {
                case 0:
                    bytes[at] = static_cast<char>(random());
                    break;
                case 1:
                    bytes.erase(at, 1);
                    break;
                default:
                    bytes.insert(at, 1, static_cast<char>(random()));
            }
            if (bytes.empty()) bytes = "x";
        }
        const auto read = parseCorrectionFile(bytes, run);
        if (read.error) {
            ASSERT_TRUE(read.steps.empty());
        } else {
            RunCorrections corrections(run);
            ASSERT_EQ(corrections.applyAll(read.steps), std::nullopt);
        }
    }
}

TEST(CorrectionFile, SavedBesideTheRunAndLoadedBack) {
    const TempDir dir;
    const auto runPath = (dir.path() / "run-001.krt").string();
    const auto run = runOf({45.0, 0.5, 44.5, 90.0});
    writeBytes(runPath, "the run's bytes");

    auto loaded = loadCorrections(runPath, run);
    EXPECT_FALSE(loaded.fileFound);
    EXPECT_FALSE(loaded.error);
    EXPECT_EQ(loaded.corrections.run().data, run);

    RunCorrections corrections(run);
    corrections.apply({CorrectionKind::MergeIntoNext, 1});
    EXPECT_FALSE(saveCorrections(runPath, corrections));
    EXPECT_EQ(readBytes(runPath + ".corrections"), correctionFileBytes(run, corrections.steps()));
    loaded = loadCorrections(runPath, run);
    EXPECT_TRUE(loaded.fileFound);
    EXPECT_FALSE(loaded.error);
    EXPECT_EQ(loaded.corrections.steps(), corrections.steps());
    EXPECT_EQ(loaded.corrections.run().data, corrections.run().data);

    // Undoing everything leaves no file behind; the run's own bytes were never touched.
    corrections.undoAll();
    EXPECT_FALSE(saveCorrections(runPath, corrections));
    EXPECT_FALSE(std::filesystem::exists(runPath + ".corrections"));
    EXPECT_EQ(readBytes(runPath), "the run's bytes");
}

TEST(CorrectionFile, AFileThatCannotBeUsedOpensTheRunAsDownloaded) {
    const TempDir dir;
    const auto runPath = (dir.path() / "run-001.krt").string();
    const auto side = runPath + ".corrections";
    const auto run = runOf({45.0, 0.5, 44.5, 90.0});
    using C = CorrectionFileErrorCode;

    writeBytes(side, "korimet-corrections 9\nrun x\nrotate 3\n");
    auto loaded = loadCorrections(runPath, run);
    EXPECT_EQ(loaded.error.code, C::LaterVersion);
    EXPECT_EQ(loaded.error.path, side);
    EXPECT_TRUE(loaded.fileFound);
    EXPECT_EQ(loaded.corrections.run().data, run);

    writeBytes(side, "\x01\x02garbage");
    EXPECT_EQ(loadCorrections(runPath, run).error.code, C::NotCorrections);

    writeBytes(side, std::string(kMaxCorrectionFileBytes + 1, 'x'));
    EXPECT_EQ(loadCorrections(runPath, run).error.code, C::TooLarge);

    std::filesystem::remove(side);
    ASSERT_EQ(::mkfifo(side.c_str(), 0600), 0);
    EXPECT_EQ(loadCorrections(runPath, run).error.code, C::NotAFile);
    std::filesystem::remove(side);

    std::filesystem::create_directory(side);
    loaded = loadCorrections(runPath, run);
    EXPECT_EQ(loaded.error.code, C::NotAFile);
    EXPECT_EQ(loaded.corrections.run().data, run);
}

// A write made on what was read goes through only while the file still holds it; otherwise
// the file is left as another program made it.
TEST(CorrectionFile, SavingOverWritesOnlyOnTheFileAsItWasRead) {
    const TempDir dir;
    const auto runPath = (dir.path() / "run-001.krt").string();
    const auto side = runPath + ".corrections";
    const auto run = runOf({45.0, 0.5, 44.5, 90.0});
    const std::vector<Correction> mine{{CorrectionKind::LeaveOut, 0}};
    const std::vector<Correction> theirs{{CorrectionKind::Split, 3}};
    const std::vector<Correction> none;
    const std::string later = "korimet-corrections 9\nnew things\n";
    using C = CorrectionFileErrorCode;
    struct Case {
        const char* what;
        std::optional<std::string> before;  // nullopt: no file
        SeenSteps seen;
        C result;
    };
    const std::vector<Case> cases{
        {"no file, none seen", std::nullopt, none, C::None},
        {"the steps seen", correctionFileBytes(run, theirs), theirs, C::None},
        {"written since", correctionFileBytes(run, theirs), none, C::Changed},
        {"other steps since", correctionFileBytes(run, mine), theirs, C::Changed},
        {"removed since", std::nullopt, theirs, C::Changed},
        {"unreadable, as seen", later, std::nullopt, C::None},
        {"unreadable since", later, theirs, C::Changed},
        {"readable since", correctionFileBytes(run, theirs), std::nullopt, C::Changed},
        {"a folder since", std::nullopt, theirs, C::NotAFile},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(side);
        if (c.before) writeBytes(side, *c.before);
        if (c.result == C::NotAFile) std::filesystem::create_directory(side);
        RunCorrections corrections(run);
        corrections.applyAll(c.seen.value_or(none));
        corrections.apply(mine.front());
        const CorrectionLockTaken taken = lockCorrections(runPath);
        ASSERT_TRUE(taken.lock);
        const CorrectionFileError error =
            saveCorrectionsOver(*taken.lock, runPath, c.seen, corrections);
        EXPECT_EQ(error.code, c.result);
        if (c.result == C::None) {
            EXPECT_EQ(readBytes(side), correctionFileBytes(run, corrections.steps()));
        } else if (c.result == C::Changed) {
            EXPECT_EQ(error.path, side);
            EXPECT_EQ(std::filesystem::exists(side), c.before.has_value());
            if (c.before) {
                EXPECT_EQ(readBytes(side), *c.before);
            }
        }
    }
}

// Held by one corrector, the lock is waited for and then refused naming the file, however
// often the file is replaced by a rename meanwhile; once let go, it is there to take.
TEST(CorrectionFile, TheLockIsWaitedForThenRefused) {
    const TempDir dir;
    const auto runPath = (dir.path() / "run-001.krt").string();
    RunCorrections corrections(runOf({45.0, 0.5, 44.5}));
    corrections.apply({CorrectionKind::LeaveOut, 0});
    std::optional<CorrectionLockTaken> held = lockCorrections(runPath);
    ASSERT_TRUE(held->lock);
    for (int i = 0; i < 2; ++i) ASSERT_FALSE(saveCorrections(runPath, corrections));
    const CorrectionLockTaken refused = lockCorrections(runPath, std::chrono::milliseconds(50));
    EXPECT_FALSE(refused.lock);
    EXPECT_EQ(refused.error.code, CorrectionFileErrorCode::Busy);
    EXPECT_EQ(refused.error.path, runPath + ".corrections");
    held.reset();
    const CorrectionLockTaken taken = lockCorrections(runPath, std::chrono::milliseconds(50));
    EXPECT_TRUE(taken.lock);
    EXPECT_FALSE(taken.error);
}

TEST(CorrectionFile, ErrorNamesArePublished) {
    EXPECT_EQ(correctionFileErrorName(CorrectionFileErrorCode::LaterVersion), "laterVersion");
    EXPECT_EQ(correctionFileErrorName(CorrectionFileErrorCode::OtherRun), "otherRun");
    EXPECT_EQ(correctionFileErrorName(CorrectionFileErrorCode::Busy), "busy");
    EXPECT_EQ(correctionFileErrorName(CorrectionFileErrorCode::Changed), "changed");
}

}  // namespace
}  // namespace korimet
