// "-" reads a run from standard input, as decode reads its bytes: the results are those of
// the same file given by name.

#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

#include "files/file_texts.h"
#include "support/run_cli.h"

namespace korimet {
namespace {

namespace fs = std::filesystem;
using test::quoted;
using test::runCli;
using test::runCliIn;

const fs::path kData = KORIMET_TEST_DATA;
const std::string kRun = quoted(kData / "target_32_laps_cp932.krt");
const std::string kOther = quoted(kData / "example.krt");

TEST(CliStandardInput, ReadsTheSameAsTheFileByName) {
    const struct {
        std::string byName;
        std::string fromInput;
    } cases[] = {
        {"export --csv " + kRun, "export --csv - <" + kRun},
        {"simulate 17 " + kRun, "simulate 17 - <" + kRun},
        {"compare " + kRun + " " + kOther, "compare - " + kOther + " <" + kRun},
        {"compare " + kRun + " " + kOther, "compare " + kRun + " - <" + kOther},
        {"compare --json " + kRun + " " + kOther, "compare --json - " + kOther + " <" + kRun},
        {"compare --json " + kRun + " " + kOther, "compare --json " + kRun + " - <" + kOther},
    };
    for (const auto& c : cases) {
        const auto named = runCli(c.byName);
        const auto given = runCli(c.fromInput);
        EXPECT_EQ(named.status, 0) << c.byName;
        EXPECT_NE(named.out, "") << c.byName;
        EXPECT_EQ(given.status, 0) << c.fromInput;
        EXPECT_EQ(given.out, named.out) << c.fromInput;
    }
}

// show names the file it opened; standard input is "-" for people and null in JSON.
TEST(CliStandardInput, ShowNamesStandardInputAsDash) {
    const auto named = runCli("show " + kRun);
    const auto given = runCli("show - <" + kRun);
    ASSERT_EQ(given.status, 0);
    const std::size_t secondLine = named.out.find('\n') + 1;
    const std::size_t afterPath = named.out.find('\n', secondLine);
    EXPECT_EQ(given.out, named.out.substr(0, secondLine) + "-" + named.out.substr(afterPath));

    nlohmann::json byName = nlohmann::json::parse(runCli("show --json " + kRun).out);
    nlohmann::json fromInput = nlohmann::json::parse(runCli("show --json - <" + kRun).out);
    EXPECT_EQ(fromInput["labels"]["Label3"], "-");
    EXPECT_TRUE(fromInput["path"].is_null());
    EXPECT_FALSE(fromInput.contains("pathBytes"));
    for (nlohmann::json* j : {&byName, &fromInput}) {
        (*j)["labels"].erase("Label3");
        j->erase("path");
    }
    EXPECT_EQ(fromInput, byName);
}

TEST(CliStandardInput, RefusalsNameStandardInput) {
    const struct {
        std::string args;
        std::string english;
        std::string japanese;
    } cases[] = {
        {"compare - - <" + kRun,
         "korimet-cli compare: only one of FILE.krt and OTHER.krt can be - (standard input)\n",
         "korimet-cli compare: FILE.krt と OTHER.krt のうち - (標準入力) にできるのは 1 "
         "つだけです\n"},
        // The window's messages, with standard input for the file's name.
        {"show - </dev/null",
         "korimet-cli show: cannot read the file: standard input\nline 1, field 1: the file ends "
         "here\n",
         "korimet-cli show: " + std::string(filetexts::kReadFailed) + "標準入力\n1" +
             filetexts::kLineSuffix + "1" + filetexts::kFieldSuffix + filetexts::kEndsEarly + "\n"},
        {"export --csv - <" + quoted(kData / "broken_lap_text.krt"),
         "korimet-cli export: cannot read the file: standard input\nline 3, field 9: not a "
         "number\n",
         "korimet-cli export: " + std::string(filetexts::kReadFailed) + "標準入力\n3" +
             filetexts::kLineSuffix + "9" + filetexts::kFieldSuffix + filetexts::kNotANumber +
             "\n"},
    };
    for (const auto& c : cases) {
        const auto english = runCliIn("C", c.args + " 2>&1 >/dev/null");
        EXPECT_EQ(english.status, 2) << c.args;
        EXPECT_EQ(english.out, c.english) << c.args;
        EXPECT_EQ(runCliIn("ja_JP.UTF-8", c.args + " 2>&1 >/dev/null").out, c.japanese) << c.args;
    }
}

}  // namespace
}  // namespace korimet
