#include <gtest/gtest.h>

#include "support/files.h"
#include "support/temp_dir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <sstream>

#include "device/frame_receiver.h"
#include "files/data_file.h"
#include "files/file_texts.h"
#include "messages/file_messages.h"
#include "support/run_cli.h"

namespace korimet {
namespace {

namespace fs = std::filesystem;
using test::runCli;

const std::string kData = KORIMET_TEST_DATA;

using test::readBytes;
using test::writeBytes;

using test::TempDir;

std::string shellQuoted(const fs::path& p) { return "'" + p.string() + "'"; }

TEST(CliDecodeOut, WritesOneDataFilePerGoodFrame) {
    TempDir dir;
    const fs::path out = dir.path() / "runs";
    const auto r = runCli("decode " + shellQuoted(kData + "/two_frames_with_noise.bin") +
                          " --out " + shellQuoted(out));
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 2);  // JSON lines as before

    std::vector<DecodedFrame> frames;
    FrameReceiver receiver;
    for (char c : readBytes(kData + "/two_frames_with_noise.bin")) {
        if (auto f = receiver.feedByte(static_cast<std::uint8_t>(c))) frames.push_back(*f);
    }
    ASSERT_EQ(frames.size(), 2u);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const fs::path file = out / ("run-00" + std::to_string(i + 1) + ".krt");
        EXPECT_EQ(readBytes(file), writeDataFileBytes(frames[i].data, "").bytes) << file;
        const auto loaded = loadDataFile(file.string());
        ASSERT_TRUE(loaded) << loaded.error;
        EXPECT_EQ(loaded.content->data, frames[i].data);
        EXPECT_EQ(loaded.content->memo, "");
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(out), {}), 2);
}

TEST(CliDecodeOut, NoFrameWritesNoFileAndABadDirectoryFails) {
    TempDir dir;
    const auto none = runCli("decode " + shellQuoted(kData + "/bad_checksum.bin") + " --out " +
                             shellQuoted(dir.path()));
    EXPECT_EQ(none.status, 1);
    EXPECT_TRUE(fs::is_empty(dir.path()));

    const fs::path aFile = dir.path() / "plain";
    std::ofstream(aFile) << "x";
    const auto bad = runCli("decode " + shellQuoted(kData + "/two_frames_with_noise.bin") +
                            " --out " + shellQuoted(aFile / "runs") + " 2>/dev/null");
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.out, "");
    EXPECT_EQ(runCli("decode --out 2>/dev/null").status, 2);
}

TEST(CliShow, JsonHoldsWhatOpeningTheFileShows) {
    const std::string path = kData + "/target_32_laps_cp932.krt";
    const auto r = runCli("show --json " + shellQuoted(path));
    ASSERT_EQ(r.status, 0);
    const auto j = nlohmann::json::parse(r.out);

    const nlohmann::json labels = {
        {"Label2", "Load Data"}, {"Label3", path},
        {"Label4", "07"},        {"Label5", "32L"},
        {"Label6", "01m01s50"},  {"Label7", "17分レース模擬 17Lap 17m32s85"},
        {"Label17", "01m00s25"}, {"Label19", "01m01s97"},
        {"Label21", "01m03s10"}, {"Label25", ""},
        {"Label26", ""},         {"Label27", ""},
    };
    EXPECT_EQ(j["labels"], labels);
    EXPECT_EQ(j["memo"], "練習走行①\r\nｺｰﾅｰ3 注意～");

    ASSERT_EQ(j["grid"].size(), 31u);
    EXPECT_EQ(j["grid"][0], nlohmann::json({"LAP", "Time", "LAP", "Time"}));
    EXPECT_EQ(j["grid"][1], nlohmann::json({"1", "01m02s00", "31", "01m01s00"}));
    EXPECT_EQ(j["grid"][2], nlohmann::json({"2", "01m01s50", "32", "01m03s10"}));
    EXPECT_EQ(j["grid"][3], nlohmann::json({"3", "01m00s25", "33", "--m--s--"}));
    EXPECT_EQ(j["grid"][30], nlohmann::json({"30", "01m02s00", "60", "--m--s--"}));

    ASSERT_EQ(j["colors"].size(), 30u);  // body rows 1 to 30
    EXPECT_EQ(j["colors"][0], nlohmann::json({"FFFFFF", "FFFFFF", "C0FFFF", "C0FFFF"}));
    EXPECT_EQ(j["colors"][1], nlohmann::json({"C0FFFF", "C0FFFF", "FFFFFF", "FFFFFF"}));
    EXPECT_EQ(j["colors"][2], nlohmann::json({"FF8080", "FF8080", "FFFFFF", "FFFFFF"}));
    EXPECT_EQ(j["colors"][3], nlohmann::json({"8080FF", "8080FF", "FFFFFF", "FFFFFF"}));
    EXPECT_EQ(j["colors"][29], nlohmann::json({"FFFFFF", "FFFFFF", "FFFFFF", "FFFFFF"}));

    ASSERT_EQ(j["chart"].size(), 32u);
    EXPECT_EQ(j["chart"][0], nlohmann::json({"lap0", 62.0}));
    EXPECT_EQ(j["chart"][2], nlohmann::json({"Best", 60.25}));
    EXPECT_EQ(j["chart"][3], nlohmann::json({"Worst", 63.1}));
    EXPECT_EQ(j["chart"][31], nlohmann::json({"lap31", 63.1}));

    EXPECT_DOUBLE_EQ(j["stats"]["lapTotal"].get<double>(), 1982.95);
    EXPECT_EQ(j["stats"]["bestLap"], 60.25);
    EXPECT_EQ(j["stats"]["worstLap"], 63.1);
    EXPECT_DOUBLE_EQ(j["stats"]["averageLap"].get<double>(), 1982.95 / 32);
}

TEST(CliShow, NoLapsHidesTheChart) {
    TempDir dir;
    const fs::path path = dir.path() / "empty.krt";
    LapData d;
    d.laps[0] = 70.0;
    ASSERT_TRUE(saveDataFile(path.string(), d, "x"));
    const auto r = runCli("show --json " + shellQuoted(path));
    ASSERT_EQ(r.status, 0);
    const auto j = nlohmann::json::parse(r.out);
    EXPECT_TRUE(j["chart"].is_null());
    EXPECT_EQ(j["labels"]["Label5"], "00L");
    EXPECT_EQ(j["labels"]["Label6"], "00m00s00");
    EXPECT_EQ(j["labels"]["Label7"], "");
    EXPECT_EQ(j["stats"]["bestLap"], 0.0);
}

TEST(CliShow, PlainFormShowsLabelsTableAndMarks) {
    const auto r = runCli("show " + shellQuoted(kData + "/target_32_laps_cp932.krt"));
    ASSERT_EQ(r.status, 0);
    for (const char* line :
         {"Load Data\n", "Laps     32L\n", "Target   01m01s50\n",
          "Race     17分レース模擬 17Lap 17m32s85\n", "   1  01m02s00      31  01m01s00 T\n",
          "   3  01m00s25 B    33  --m--s--\n", "   4  01m03s10 W    34  --m--s--\n",
          "Memo:\n練習走行①\r\nｺｰﾅｰ3 注意～\n"}) {
        EXPECT_NE(r.out.find(line), std::string::npos) << line << "\n" << r.out;
    }
}

TEST(CliExport, CsvRowPerCountedLap) {
    const auto r = runCli("export --csv " + shellQuoted(kData + "/target_32_laps_cp932.krt"));
    ASSERT_EQ(r.status, 0);
    std::vector<std::string> rows;
    std::istringstream in(r.out);
    for (std::string line; std::getline(in, line);) rows.push_back(line);
    ASSERT_EQ(rows.size(), 33u);  // header and laps 1 to 32, not the 28 slots after
    EXPECT_EQ(rows[0], "lap,seconds,time,best,worst,target");
    EXPECT_EQ(rows[1], "1,62,01m02s00,0,0,0");
    EXPECT_EQ(rows[2], "2,61.5,01m01s50,0,0,1");
    EXPECT_EQ(rows[3], "3,60.25,01m00s25,1,0,1");
    EXPECT_EQ(rows[4], "4,63.1,01m03s10,0,1,0");
    EXPECT_EQ(rows[31], "31,61,01m01s00,0,0,1");
    EXPECT_EQ(rows[32], "32,63.1,01m03s10,0,0,0");  // equal to the worst, later: not marked
}

TEST(CliFiles, RefusedFileExitsTwoWithTheMessageOnStderr) {
    const std::string broken = kData + "/broken_lap_text.krt";
    const std::string missing = kData + "/no_such_run.krt";
    const struct {
        std::string lang;
        std::string args;
        std::string message;
    } cases[] = {
        // Japanese: the window's own message.
        {"ja_JP.UTF-8", "show " + shellQuoted(broken),
         filetexts::kReadFailed + broken + "\n3" + filetexts::kLineSuffix + "9" +
             filetexts::kFieldSuffix + filetexts::kNotANumber + "\n"},
        {"ja_JP.UTF-8", "show --json " + shellQuoted(broken),
         filetexts::kReadFailed + broken + "\n3"},
        {"ja_JP.UTF-8", "export --csv " + shellQuoted(broken),
         filetexts::kReadFailed + broken + "\n3"},
        {"ja_JP.UTF-8", "show " + shellQuoted(missing),
         filetexts::kReadFailed + missing + "\n" + filetexts::kCannotOpen},
        // Any other language: the same message in English.
        {"C", "show " + shellQuoted(broken),
         "cannot read the file: " + broken + "\nline 3, field 9: not a number\n"},
        {"en_GB.UTF-8", "export --csv " + shellQuoted(broken),
         "cannot read the file: " + broken + "\nline 3, field 9: not a number\n"},
        {"C", "show " + shellQuoted(missing),
         "cannot read the file: " + missing +
             "\ncannot open the file (No such file or directory)\n"},
    };
    for (const auto& c : cases) {
        const auto stdoutOnly = test::runCliIn(c.lang, c.args + " 2>/dev/null");
        EXPECT_EQ(stdoutOnly.status, 2) << c.args;
        EXPECT_EQ(stdoutOnly.out, "") << c.args;
        const auto stderrOnly = test::runCliIn(c.lang, c.args + " 2>&1 >/dev/null");
        // Named by the tool and its verb first, as every message of the tool.
        const std::string prefix = "korimet-cli " + c.args.substr(0, c.args.find(' ')) + ": ";
        EXPECT_TRUE(stderrOnly.out.starts_with(prefix + c.message)) << c.args << "\n"
                                                                    << stderrOnly.out;
    }
    EXPECT_EQ(runCli("export " + shellQuoted(broken) + " 2>/dev/null").status, 2);  // no --csv
    EXPECT_EQ(runCli("show 2>/dev/null").status, 2);
}

// The message is made from the error itself, so a name whose characters look like a
// message's own punctuation reaches the reader untouched, in either language; a memo that
// reads only in part is said on standard error by every verb that reads the run, which
// still succeeds; so is a memo whose encoding is doubtful.
TEST(CliFiles, MessagesKeepTheNameAndTellAboutAMemoReadInPart) {
    TempDir dir;
    const std::string broken = (dir.path() / "壊れ（雨）.krt").string();
    writeBytes(broken, readBytes(kData + "/broken_lap_text.krt"));
    const std::string english =
        "cannot read the file: " + broken + "\nline 3, field 9: not a number";
    const std::string japanese = filetexts::kReadFailed + broken + "\n3" + filetexts::kLineSuffix +
                                 "9" + filetexts::kFieldSuffix + filetexts::kNotANumber;
    for (const auto& [lang, said] : {std::pair{"C", english}, {"ja_JP.UTF-8", japanese}}) {
        const auto r = test::runCliIn(lang, "show " + shellQuoted(broken) + " 2>&1 >/dev/null");
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "korimet-cli show: " + said + "\n") << lang;
    }

    // The example run with memo bytes that are neither CP932 nor UTF-8, and with bytes that
    // are both without a clear winner.
    for (const auto& [memo, code] : {std::pair{"ok\x80\x80", FileErrorCode::MemoUnreadable},
                                     {"\xE3\x82\x81\x42", FileErrorCode::MemoEncodingDoubtful}}) {
        std::string bytes = readBytes(kData + "/example.krt");
        const auto quote = bytes.rfind('"', bytes.size() - 4);
        ASSERT_NE(quote, std::string::npos);
        bytes.replace(quote, bytes.size() - quote, std::string("\"") + memo + "\"\r\n");
        const std::string odd = (dir.path() / "odd.krt").string();
        writeBytes(odd, bytes);
        const DataFileReadResult read = loadDataFile(odd);
        ASSERT_TRUE(read);
        ASSERT_EQ(read.warning.code, code);
        for (const std::string& args :
             {"show " + shellQuoted(odd), "export --csv " + shellQuoted(odd),
              "simulate 10 " + shellQuoted(odd),
              "compare " + shellQuoted(odd) + " " + shellQuoted(odd)}) {
            const std::string verb = args.substr(0, args.find(' '));
            const auto r = test::runCliIn("C", args + " 2>&1 >/dev/null");
            EXPECT_EQ(r.status, 0) << args;
            EXPECT_EQ(r.out, "korimet-cli " + verb + ": " +
                                 fileMessage(read.warning, Language::English) + "\n")
                << args;
            const auto ja = test::runCliIn("ja_JP.UTF-8", args + " 2>&1 >/dev/null");
            EXPECT_EQ(ja.out, "korimet-cli " + verb + ": " +
                                  fileMessage(read.warning, Language::Japanese) + "\n")
                << args;
        }
    }
}

}  // namespace
}  // namespace korimet
