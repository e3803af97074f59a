// The command-line tool against inputs that never end, files already there, a full disk
// and file names that are not UTF-8.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <sstream>

#include "device/frame_encoder.h"
#include "files/data_file.h"
#include "files/file_texts.h"
#include "files/run_naming.h"
#include "support/files.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace korimet {
namespace {

namespace fs = std::filesystem;
using test::runCli;
using test::TempDir;

const std::string kData = KORIMET_TEST_DATA;
const std::string kCli = KORIMET_CLI;
// テスト in CP932, as a name unpacked from an archive made on Windows.
const std::string kCp932Name = "\x83\x65\x83\x58\x83\x67";

using test::readBytes;
using test::writeBytes;

std::string shq(const fs::path& p) { return "'" + p.string() + "'"; }

std::set<std::string> namesIn(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
    return names;
}

struct FullDiskRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the tool as on a full disk: no file may grow (SIGXFSZ ignored, so a write fails
// with EFBIG). Its output goes to pipes, which the limit does not touch; it stays far below
// a pipe's buffer, so reading after the end cannot block.
FullDiskRun runOnFullDisk(const std::vector<std::string>& args) {
    FullDiskRun r;
    int out[2];
    int err[2];
    if (::pipe(out) != 0 || ::pipe(err) != 0) return r;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        ::unsetenv("LC_ALL");
        ::unsetenv("LC_MESSAGES");
        ::setenv("LANG", "C.UTF-8", 1);
        const rlimit limit{0, 0};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::dup2(out[1], STDOUT_FILENO);
        ::dup2(err[1], STDERR_FILENO);
        for (int fd : {out[0], out[1], err[0], err[1]}) ::close(fd);
        std::vector<char*> argv{const_cast<char*>(kCli.c_str())};
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(kCli.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    ::close(err[1]);
    int raw = 0;
    ::waitpid(pid, &raw, 0);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    for (auto [fd, text] : {std::pair{out[0], &r.out}, std::pair{err[0], &r.err}}) {
        char buffer[4096];
        ssize_t n;
        while ((n = ::read(fd, buffer, sizeof buffer)) > 0)
            text->append(buffer, static_cast<std::size_t>(n));
        ::close(fd);
    }
    return r;
}

std::string exampleRun() {
    LapData d;
    d.carId = 12;
    d.lapCount = 3;
    d.laps[0] = 65.43;
    d.laps[1] = 64.9;
    d.laps[2] = 0.75;
    return *writeDataFileBytes(d, "earlier memo").bytes;
}

TEST(CliDecodeOut, KeepsEarlierFilesAndTakesTheNextFreeNumbers) {
    TempDir dir;
    writeBytes(dir.path() / "run-001.krt", exampleRun());
    writeBytes(dir.path() / "run-003.krt", "not even a run");
    const auto r =
        runCli("decode " + shq(kData + "/two_frames_with_noise.bin") + " --out " + shq(dir.path()));
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(readBytes(dir.path() / "run-001.krt"), exampleRun());
    EXPECT_EQ(readBytes(dir.path() / "run-003.krt"), "not even a run");
    EXPECT_EQ(namesIn(dir.path()),
              (std::set<std::string>{"run-001.krt", "run-002.krt", "run-003.krt", "run-004.krt"}));
    EXPECT_EQ(loadDataFile((dir.path() / "run-002.krt").string()).content->data.carId, 7);
    EXPECT_EQ(loadDataFile((dir.path() / "run-004.krt").string()).content->data.carId, 99);
}

// A full disk, made with a file-size limit and SIGXFSZ ignored: every run is still decoded
// and printed, each failed save is reported, the earlier file stays byte for byte, nothing
// is left half-written, and the tool ends with 2.
TEST(CliDecodeOut, FullDiskReportsEachRunAndKeepsTheEarlierFile) {
    TempDir dir;
    const fs::path out = dir.path() / "runs";
    fs::create_directories(out);
    writeBytes(out / "run-001.krt", exampleRun());
    const auto r =
        runOnFullDisk({"decode", kData + "/two_frames_with_noise.bin", "--out", out.string()});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 2);
    // The window's message, in the English of the run.
    const std::string failed =
        "korimet-cli decode: cannot save the file: " + (out / "run-002.krt").string() +
        "\ncannot write to the file (File too large)\n";
    EXPECT_EQ(r.err, failed + failed + "korimet-cli decode: 2 of 2 runs were not saved\n");
    EXPECT_EQ(namesIn(out), std::set<std::string>{"run-001.krt"});
    EXPECT_EQ(readBytes(out / "run-001.krt"), exampleRun());
}

TEST(CliDecode, FoldersAndMissingFilesAreRefusedNamingThePath) {
    TempDir dir;
    struct Case {
        fs::path path;
        const char* reason;
    };
    const Case cases[] = {
        {dir.path(), "Is a directory"},
        {dir.path() / "missing.bin", "No such file or directory"},
    };
    for (const Case& c : cases) {
        const fs::path err = dir.path() / "err";
        const auto r = runCli("decode " + shq(c.path) + " 2>" + shq(err));
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(readBytes(err),
                  "korimet-cli decode: cannot read " + c.path.string() + ": " + c.reason + "\n");
    }
}

// Each frame is printed while the input is still open, as from a live line.
TEST(CliDecode, PrintsEachFrameAsItArrives) {
    int toCli[2];
    int fromCli[2];
    ASSERT_EQ(::pipe(toCli), 0);
    ASSERT_EQ(::pipe(fromCli), 0);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ::dup2(toCli[0], STDIN_FILENO);
        ::dup2(fromCli[1], STDOUT_FILENO);
        for (int fd : {toCli[0], toCli[1], fromCli[0], fromCli[1]}) ::close(fd);
        ::execl(kCli.c_str(), kCli.c_str(), "decode", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(toCli[0]);
    ::close(fromCli[1]);

    // Reads one line; the deadline only keeps a broken build from hanging the suite.
    std::string pending;
    auto nextLine = [&]() -> std::string {
        for (;;) {
            if (const auto nl = pending.find('\n'); nl != std::string::npos) {
                std::string line = pending.substr(0, nl);
                pending.erase(0, nl + 1);
                return line;
            }
            pollfd p{fromCli[0], POLLIN, 0};
            if (::poll(&p, 1, 30000) <= 0) return "(nothing)";
            char buffer[4096];
            const ssize_t n = ::read(fromCli[0], buffer, sizeof buffer);
            if (n <= 0) return "(end)";
            pending.append(buffer, static_cast<std::size_t>(n));
        }
    };
    for (int car : {21, 22}) {
        LapData d;
        d.carId = static_cast<std::uint8_t>(car);
        d.lapCount = 1;
        d.laps[0] = 30.5;
        const FrameBytes frame = encodeFrame(frameFieldsFor(d));
        ASSERT_EQ(::write(toCli[1], frame.data(), frame.size()),
                  static_cast<ssize_t>(frame.size()));
        const std::string line = nextLine();
        ASSERT_TRUE(nlohmann::json::accept(line)) << line;
        EXPECT_EQ(nlohmann::json::parse(line)["carId"], car);
    }
    ::close(toCli[1]);
    EXPECT_EQ(nextLine(), "(end)");
    ::close(fromCli[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

// Peak resident memory of `decode` fed `bytes` zeros, in kilobytes, measured in a fresh child
// so that no other process's figure mixes in.
long decodePeakKb(long bytes) {
    int result[2];
    if (::pipe(result) != 0) return -1;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(result[0]);
        const std::string command =
            "head -c " + std::to_string(bytes) + " /dev/zero | " + shq(kCli) + " decode >/dev/null";
        const int status = std::system(command.c_str());
        rusage usage{};
        ::getrusage(RUSAGE_CHILDREN, &usage);
        const long peak =
            WIFEXITED(status) && WEXITSTATUS(status) == 1 ? usage.ru_maxrss : -1;  // no frame
        (void)!::write(result[1], &peak, sizeof peak);
        ::_exit(0);
    }
    ::close(result[1]);
    long peak = -1;
    if (::read(result[0], &peak, sizeof peak) != static_cast<ssize_t>(sizeof peak)) peak = -1;
    ::close(result[0]);
    ::waitpid(pid, nullptr, 0);
    return peak;
}

// The decoder holds no more than a buffer whatever the length of its input (an endless one
// such as /dev/zero included): 16 times the input, the same memory.
TEST(CliDecode, MemoryDoesNotGrowWithTheInput) {
    const long small = decodePeakKb(8L << 20);
    const long large = decodePeakKb(128L << 20);
    ASSERT_GT(small, 0);
    ASSERT_GT(large, 0);
    EXPECT_LT(large - small, 16L << 10) << small << " KB, then " << large << " KB";
}

// File names in CP932 are bytes like any other: the tool opens them and writes beside them.
TEST(CliPaths, NamesThatAreNotUtf8OpenAndWriteAsTheyAre) {
    TempDir dir;
    const fs::path file = dir.path() / (kCp932Name + ".krt");
    writeBytes(file, exampleRun());

    const auto shown = runCli("show " + shq(file));
    ASSERT_EQ(shown.status, 0);
    EXPECT_TRUE(shown.out.starts_with(std::string(filetexts::kLoadDataCaption) + "\n" +
                                      file.string() + "\n"));
    const auto json = runCli("show --json " + shq(file));
    ASSERT_EQ(json.status, 0);
    ASSERT_TRUE(nlohmann::json::accept(json.out)) << json.out;
    EXPECT_EQ(nlohmann::json::parse(json.out)["labels"]["Label4"], "12");

    const auto exported = runCli("export --csv " + shq(file));
    ASSERT_EQ(exported.status, 0);
    EXPECT_EQ(exported.out,
              "lap,seconds,time,best,worst,target\n1,65.43,01m05s43,0,1,0\n"
              "2,64.9,01m04s90,0,0,0\n3,0.75,00m00s75,1,0,0\n");
    EXPECT_EQ(runCli("simulate 5 " + shq(file)).status, 0);

    const fs::path out = dir.path() / kCp932Name;
    const auto decoded =
        runCli("decode " + shq(kData + "/two_frames_with_noise.bin") + " --out " + shq(out));
    ASSERT_EQ(decoded.status, 0);
    EXPECT_EQ(namesIn(out), (std::set<std::string>{"run-001.krt", "run-002.krt"}));
}

}  // namespace
}  // namespace korimet
