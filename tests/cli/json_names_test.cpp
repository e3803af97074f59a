// File names in the tool's JSON: always UTF-8 text, and the exact bytes beside it whenever
// the name is not UTF-8, so that no listing fails on a name and none is lost.

#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <random>
#include <set>
#include <string>

#include "files/data_file.h"
#include "runjson/file_names.h"
#include "runjson/json_out.h"
#include "support/files.h"
#include "support/frames.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace korimet {
namespace {

namespace fs = std::filesystem;
using test::quoted;
using test::runCli;

// `n` replacement characters.
std::string replaced(std::size_t n) {
    std::string text;
    for (std::size_t i = 0; i < n; ++i) text += "\xEF\xBF\xBD";
    return text;
}

TEST(FileNames, EachByteOutsideACharacterBecomesOneReplacement) {
    const struct {
        std::string bytes;
        std::string text;
    } cases[] = {
        {"", ""},
        {"run-001.krt", "run-001.krt"},
        {"走行 ①.krt", "走行 ①.krt"},
        {"\xF0\x9F\x8F\x81", "\xF0\x9F\x8F\x81"},       // U+1F3C1, four bytes
        {"x\x97\xFB.png", "x" + replaced(2) + ".png"},  // CP932 bytes
        {"\x83\x65", replaced(1) + "e"},                // テ in CP932
        {"\xE3\x81", replaced(2)},                      // cut short
        {"\xC0\xAF", replaced(2)},                      // overlong "/"
        {"\xE0\x80\xAF", replaced(3)},                  // overlong, three bytes
        {"\xED\xA0\x80", replaced(3)},                  // a surrogate
        {"\xF4\x90\x80\x80", replaced(4)},              // past U+10FFFF
        {"\xFF\xFE", replaced(2)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cli::utf8WithReplacements(c.bytes), c.text) << c.bytes;
        EXPECT_EQ(cli::isUtf8(c.bytes), c.text == c.bytes) << c.bytes;
    }
}

TEST(FileNames, PercentEncodingKeepsUnreservedBytesAndSlashes) {
    const struct {
        std::string bytes;
        std::string encoded;
    } cases[] = {
        {"", ""},
        {"2026-12-11/101010-car07.krt", "2026-12-11/101010-car07.krt"},
        {"a b%+?#.krt", "a%20b%25%2B%3F%23.krt"},
        {"x\x97\xfb", "x%97%FB"},
        {std::string("\0\x7F", 2), "%00%7F"},
        {"~_", "~_"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cli::percentEncoded(c.bytes), c.encoded) << c.bytes;
        EXPECT_EQ(cli::percentDecoded(c.encoded), c.bytes) << c.encoded;
    }
    EXPECT_EQ(cli::percentDecoded("x%97%fb"), "x\x97\xfb");  // lower-case hex as well
    for (const char* broken : {"%", "%9", "a%G0", "%%"})
        EXPECT_EQ(cli::percentDecoded(broken), std::nullopt) << broken;
}

// Names from every corner of the byte range: UTF-8 of one to four bytes, CP932 pairs, stray
// continuation bytes, control characters and plain ASCII.
std::string randomName(std::mt19937& random) {
    static const std::string pieces[] = {"a",
                                         "/",
                                         ".",
                                         " ",
                                         "%",
                                         "é",
                                         "走",
                                         "\xF0\x9F\x8F\x81",
                                         "\x83\x65",
                                         "\x97\xfb",
                                         "\x80",
                                         "\xC0",
                                         "\xED\xA0\x80",
                                         std::string(1, '\0'),
                                         "\xFF",
                                         "+"};
    std::uniform_int_distribution<int> length(0, 12);
    std::uniform_int_distribution<std::size_t> piece(0, std::size(pieces));
    std::uniform_int_distribution<int> byte(0, 255);
    std::string name;
    for (int n = length(random); n > 0; --n) {
        const std::size_t which = piece(random);
        name += which < std::size(pieces) ? pieces[which]
                                          : std::string(1, static_cast<char>(byte(random)));
    }
    return name;
}

// The name back from printed JSON: its exact bytes when given, else its text.
std::string nameFrom(const nlohmann::json& j, const std::string& key) {
    if (j.contains(key + "Bytes"))
        return cli::percentDecoded(j[key + "Bytes"].get<std::string>()).value_or("(broken)");
    return j[key].get<std::string>();
}

TEST(FileNames, AnyNameComesBackFromPrintedJson) {
    std::mt19937 random(20261211);
    for (int i = 0; i < 20000; ++i) {
        const std::string name = randomName(random);
        nlohmann::ordered_json j;
        cli::putName(j, "path", name);
        // Strict: the text is valid UTF-8 without any help from the printer.
        const std::string printed = j.dump();
        const nlohmann::json back = nlohmann::json::parse(printed);
        ASSERT_EQ(nameFrom(back, "path"), name) << printed;
        EXPECT_EQ(back.contains("pathBytes"), !cli::isUtf8(name)) << printed;
        EXPECT_EQ(back["path"], cli::utf8WithReplacements(name)) << printed;
    }
}

// Through the tool: a library whose folder and file names are CP932 lists whole, as does
// show of such a file.
TEST(FileNames, RunsAndShowCarryNamesThatAreNotUtf8) {
    test::TempDir dir;
    const fs::path library = dir.path() / "library";
    const std::string folder = "\x83\x65\x83\x58\x83\x67";  // テスト in CP932
    const std::string file = "x\x97\xfb.krt";
    fs::create_directories(library / folder);
    fs::create_directories(library / "plain");
    ASSERT_TRUE(saveDataFile((library / folder / file).string(), test::runWithLaps({61.0}), ""));
    ASSERT_TRUE(
        saveDataFile((library / "plain" / "走行.krt").string(), test::runWithLaps({62.0}), ""));
    test::writeBytes(library / folder / "broken.krt", "not a run");

    const auto listed = runCli("runs --json --library " + quoted(library));
    ASSERT_EQ(listed.status, 0);
    const nlohmann::json runs = nlohmann::json::parse(listed.out);
    std::set<std::string> names;
    for (const auto& run : runs) {
        names.insert(nameFrom(run, "path"));
        const bool utf8 = cli::isUtf8(nameFrom(run, "path"));
        EXPECT_EQ(run.contains("pathBytes"), !utf8) << run;
    }
    EXPECT_EQ(names, (std::set<std::string>{folder + "/" + file, folder + "/broken.krt",
                                            "plain/走行.krt"}));

    const auto table = runCli("runs --library " + quoted(library));
    EXPECT_EQ(table.status, 0);
    EXPECT_NE(table.out.find(folder + "/" + file), std::string::npos);  // bytes as they are

    const fs::path path = library / folder / file;
    const auto shown = runCli("show --json " + quoted(path));
    ASSERT_EQ(shown.status, 0);
    const nlohmann::json j = nlohmann::json::parse(shown.out);
    EXPECT_EQ(nameFrom(j, "path"), path.string());
    EXPECT_EQ(j["path"], cli::utf8WithReplacements(path.string()));
    EXPECT_EQ(j["labels"]["Label3"], j["path"]);
    // A UTF-8 name has its text alone.
    const auto plain =
        nlohmann::json::parse(runCli("show --json " + quoted(library / "plain" / "走行.krt")).out);
    EXPECT_EQ(plain["path"], (library / "plain" / "走行.krt").string());
    EXPECT_FALSE(plain.contains("pathBytes"));
}

}  // namespace
}  // namespace korimet
