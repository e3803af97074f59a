// Output that does not arrive is a failure: every verb, help and version included, ends
// with 2 and says why when its standard output cannot be written.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "files/data_file.h"
#include "files/file_texts.h"
#include "support/frames.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace korimet {
namespace {

namespace fs = std::filesystem;
using test::quoted;
using test::runCliIn;

const std::string kData = KORIMET_TEST_DATA;

struct OutputCase {
    std::string args;
    std::string verb;  // as the message names it; empty for the tool itself
};

class CliStandardOutput : public ::testing::Test {
  protected:
    void SetUp() override {
        run = dir.path() / "run.krt";
        other = dir.path() / "other.krt";
        ASSERT_TRUE(
            saveDataFile(run.string(), test::runWithLaps({61.5, 60.25, 62.0}, 61.0, 5), "memo"));
        ASSERT_TRUE(saveDataFile(other.string(), test::runWithLaps({60.0, 61.0}), ""));
        fs::create_directories(dir.path() / "library" / "2026-01-02");
        fs::copy_file(run, dir.path() / "library" / "2026-01-02" / "101010-car07.krt");
    }

    std::vector<OutputCase> cases() const {
        const std::string capture = quoted(fs::path(kData) / "two_frames_with_noise.bin");
        const std::string r = quoted(run);
        const std::string library = quoted(dir.path() / "library");
        return {
            {"--help", ""},
            {"help", ""},
            {"--version", ""},
            {"show --help", "show"},
            {"help show", "show"},
            {"runs --help", "runs"},
            {"show " + r, "show"},
            {"show - <" + r, "show"},
            {"show --json " + r, "show"},
            {"export --csv " + r, "export"},
            {"simulate 5 " + r, "simulate"},
            {"compare " + r + " " + quoted(other), "compare"},
            {"compare --json " + r + " " + quoted(other), "compare"},
            {"runs --library " + library, "runs"},
            {"runs --json --library " + library, "runs"},
            {"decode " + capture, "decode"},
            {"listen " + capture + " --out " + quoted(dir.path() / "listened"), "listen"},
        };
    }

    test::TempDir dir;
    fs::path run;
    fs::path other;
};

// The same command lines succeed into /dev/null, so the status comes from the output alone.
TEST_F(CliStandardOutput, AFullDeviceEndsEveryVerbWithTwoAndTheReason) {
    const struct {
        const char* lang;
        std::string said;
    } languages[] = {
        {"C", "cannot write to standard output: No space left on device\n"},
        {"ja_JP.UTF-8", "標準出力に書き込めません: " + std::string(filetexts::kDiskFull) + "\n"},
    };
    for (const OutputCase& c : cases()) {
        EXPECT_EQ(runCliIn("C", c.args + " >/dev/null 2>&1").status, 0) << c.args;
        const std::string prefix = "korimet-cli" + (c.verb.empty() ? "" : " " + c.verb) + ": ";
        for (const auto& l : languages) {
            const auto r = runCliIn(l.lang, c.args + " 2>&1 >/dev/full");
            EXPECT_EQ(r.status, 2) << c.args;
            EXPECT_TRUE(r.out.ends_with("\n" + prefix + l.said) || r.out == prefix + l.said)
                << c.args << "\n"
                << r.out;
        }
    }
}

// A closed standard output that nothing is written to is no failure.
TEST_F(CliStandardOutput, NothingWrittenToAClosedOutputIsNoFailure) {
    EXPECT_EQ(
        runCliIn("C", "decode " + quoted(fs::path(kData) / "bad_checksum.bin") + " >&- 2>/dev/null")
            .status,
        1);
    const auto closed = runCliIn("C", "show " + quoted(run) + " 2>&1 >&-");
    EXPECT_EQ(closed.status, 2);
    EXPECT_EQ(closed.out,
              "korimet-cli show: cannot write to standard output: Bad file descriptor\n");
}

}  // namespace
}  // namespace korimet
