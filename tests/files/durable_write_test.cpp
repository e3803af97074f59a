#include "files/durable_write.h"
#include "support/messages.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <random>
#include <string>

#include "corrections/correction_file.h"
#include "files/data_file.h"
#include "files/file_texts.h"
#include "messages/file_messages.h"
#include "support/files.h"
#include "support/frames.h"
#include "support/special_files.h"
#include "support/temp_dir.h"

namespace korimet {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

using test::readBytes;
using test::writeBytes;

std::size_t entries(const fs::path& dir) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), {}));
}

// What a write in a child process with a file-size limit reported.
struct LimitedRun {
    int status = -1;  // DurableWrite::Status, or -1 when the child did not report
    int error = 0;
    bool created = false;
    std::string message;  // saveDataFile's message, when that ran
};

template <typename Write>
LimitedRun runWithFileSizeLimit(rlim_t limit, Write write) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        if (!test::limitFileSize(limit)) ::_exit(3);
        const LimitedRun r = write();
        const std::string report = std::to_string(r.status) + " " + std::to_string(r.error) + " " +
                                   std::to_string(r.created ? 1 : 0) + " " + r.message;
        const ssize_t n = ::write(pipeFds[1], report.data(), report.size());
        ::_exit(n == static_cast<ssize_t>(report.size()) ? 0 : 4);
    }
    ::close(pipeFds[1]);
    std::string report;
    char buf[4096];
    for (ssize_t n; (n = ::read(pipeFds[0], buf, sizeof buf)) > 0;) report.append(buf, buf + n);
    ::close(pipeFds[0]);
    int wstatus = 0;
    ::waitpid(child, &wstatus, 0);
    if (!WIFEXITED(wstatus) || WEXITSTATUS(wstatus) != 0) return {};
    LimitedRun r;
    std::size_t a = report.find(' '), b = report.find(' ', a + 1), c = report.find(' ', b + 1);
    r.status = std::stoi(report.substr(0, a));
    r.error = std::stoi(report.substr(a + 1, b - a - 1));
    r.created = report.substr(b + 1, c - b - 1) == "1";
    r.message = report.substr(c + 1);
    return r;
}

LimitedRun asRun(const DurableWrite& w) {
    return {static_cast<int>(w.status), w.error, w.created, w.reason};
}

TEST(DurableWrite, WritesReplacesOrKeepsAsAsked) {
    const struct {
        const char* name;
        bool existing;
        ExistingFile mode;
        DurableWrite::Status status;
        const char* after;
    } cases[] = {
        {"new name, replace", false, ExistingFile::Replace, DurableWrite::Status::Written, "new"},
        {"new name, keep", false, ExistingFile::Keep, DurableWrite::Status::Written, "new"},
        {"taken name, replace", true, ExistingFile::Replace, DurableWrite::Status::Written, "new"},
        {"taken name, keep", true, ExistingFile::Keep, DurableWrite::Status::NameTaken, "old"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const fs::path path = dir.path() / "run-001.krt";
        if (c.existing) writeBytes(path, "old");
        const DurableWrite w = writeFileDurably(path.string(), "new", c.mode);
        EXPECT_EQ(w.status, c.status) << c.name << ": " << w.reason;
        EXPECT_EQ(readBytes(path), c.after) << c.name;
        EXPECT_EQ(entries(dir.path()), 1u) << c.name << ": a temporary file was left";
    }
}

// A FAT file system (no hard links) on an image file, mounted by the kernel through a loop
// device or else by the user-space driver; unavailable without root or either of them.
class FatImage {
  public:
    FatImage() {
        const std::string image = (dir_.path() / "fat.img").string();
        const std::string mount = (dir_.path() / "mnt").string();
        fs::create_directory(mount);
        if (::geteuid() != 0) {
            why_ = "mounting needs root";
            return;
        }
        if (run("truncate -s 32M '" + image + "' && mkfs.vfat '" + image + "'") != 0) {
            why_ = "mkfs.vfat (dosfstools) is missing";
            return;
        }
        if (run("mount -o loop '" + image + "' '" + mount + "'") == 0) {
            unmount_ = "umount '" + mount + "'";
        } else if (run("fusefat -o rw+ '" + image + "' '" + mount + "'") == 0) {
            unmount_ = "fusermount -u '" + mount + "' || umount '" + mount + "'";
        } else {
            why_ = "neither a loop mount nor fusefat could mount a FAT image here";
            return;
        }
        mount_ = mount;
    }
    ~FatImage() {
        if (!unmount_.empty()) run(unmount_);
    }
    FatImage(const FatImage&) = delete;
    FatImage& operator=(const FatImage&) = delete;
    bool mounted() const { return !mount_.empty(); }
    const std::string& whyNot() const { return why_; }
    const fs::path& path() const { return mount_; }

  private:
    static int run(const std::string& command) {
        return std::system((command + " >/dev/null 2>&1").c_str());
    }
    TempDir dir_;
    fs::path mount_;
    std::string unmount_;
    std::string why_;
};

bool isTemporary(const fs::path& p) {
    const std::string name = p.filename().string();
    return name.starts_with(".korimet-") && name.ends_with(".tmp");
}

TEST(DurableWrite, FatKeepsOrRefusesAndLeavesNoTemporaryFile) {
    FatImage fat;
    if (!fat.mounted()) GTEST_SKIP() << fat.whyNot();
    const fs::path path = fat.path() / "run-001.krt";
    EXPECT_EQ(writeFileDurably(path.string(), "first", ExistingFile::Keep).status,
              DurableWrite::Status::Written);
    EXPECT_EQ(writeFileDurably(path.string(), "second", ExistingFile::Keep).status,
              DurableWrite::Status::NameTaken);
    EXPECT_EQ(readBytes(path), "first");
    EXPECT_TRUE(writeFileDurably(path.string(), "third", ExistingFile::Replace));
    EXPECT_EQ(readBytes(path), "third");
    EXPECT_EQ(entries(fat.path()), 1u);
}

// Writers killed at random moments on FAT: no visible name may ever be left emptier than
// the data, and the next write clears what the kills left once it is stale. KORIMET_FAT_KILLS
// sets the number of kills (scripts/fat-kills runs it with more and prints the figures).
TEST(DurableWrite, KillsOnFatNeverLeaveAnEmptyRun) {
    FatImage fat;
    if (!fat.mounted()) GTEST_SKIP() << fat.whyNot();
    const char* wanted = std::getenv("KORIMET_FAT_KILLS");
    const int kills = wanted ? std::atoi(wanted) : 40;
    const std::string data(20000, 'x');
    std::mt19937_64 rng(5);
    for (int k = 0; k < kills; ++k) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int n = 1;; ++n) {
                const auto name = "run-" + std::to_string(1000 + n) + ".krt";
                writeFileDurably((fat.path() / name).string(), data, ExistingFile::Keep);
            }
        }
        ::usleep(static_cast<useconds_t>(rng() % 20000));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
    }
    int empty = 0, shortRuns = 0, temporaries = 0, runs = 0;
    for (const auto& e : fs::directory_iterator(fat.path())) {
        if (isTemporary(e.path())) {
            ++temporaries;
            continue;
        }
        ++runs;
        if (fs::file_size(e.path()) == 0)
            ++empty;
        else if (fs::file_size(e.path()) != data.size())
            ++shortRuns;
    }
    std::cout << "fat kills: " << kills << ", runs " << runs << ", empty " << empty << ", short "
              << shortRuns << ", temporary files left " << temporaries << "\n";
    EXPECT_EQ(empty, 0);
    EXPECT_EQ(shortRuns, 0);

    // Made stale, they go with the next write into the folder.
    const timeval old[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
    for (const auto& e : fs::directory_iterator(fat.path()))
        if (isTemporary(e.path())) ::utimes(e.path().c_str(), old);
    ASSERT_TRUE(writeFileDurably((fat.path() / "after.krt").string(), data, ExistingFile::Keep));
    for (const auto& e : fs::directory_iterator(fat.path()))
        EXPECT_FALSE(isTemporary(e.path())) << e.path();
}

// A killed writer's temporary file goes with the next write; a live writer's (recent) stays.
TEST(DurableWrite, StaleTemporaryFilesAreRemovedAndFreshOnesKept) {
    TempDir dir;
    const fs::path stale = dir.path() / ".korimet-123.tmp";
    const fs::path fresh = dir.path() / ".korimet-456.tmp";
    const fs::path other = dir.path() / ".other-789.tmp";
    for (const auto& p : {stale, fresh, other}) writeBytes(p, "half");
    const timeval old[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
    ASSERT_EQ(::utimes(stale.c_str(), old), 0);
    ASSERT_EQ(::utimes(other.c_str(), old), 0);
    ASSERT_TRUE(writeFileDurably((dir.path() / "run-001.krt").string(), "new", ExistingFile::Keep));
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(fresh));
    EXPECT_TRUE(fs::exists(other));
}

TEST(DurableWrite, ReplacedFileKeepsItsPermissions) {
    TempDir dir;
    const fs::path path = dir.path() / "run.krt";
    writeBytes(path, "old");
    ::chmod(path.c_str(), 0640);
    ASSERT_TRUE(writeFileDurably(path.string(), "new", ExistingFile::Replace));
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST(DurableWrite, LinkStaysALinkAndItsFileIsReplaced) {
    TempDir dir;
    const fs::path target = dir.path() / "real.krt";
    const fs::path link = dir.path() / "link.krt";
    writeBytes(target, "old");
    fs::create_symlink(target, link);
    ASSERT_TRUE(writeFileDurably(link.string(), "new", ExistingFile::Replace));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readBytes(target), "new");
    EXPECT_EQ(entries(dir.path()), 2u);
}

TEST(DurableWrite, NamesTheSystemTakesAreWrittenAsBytes) {
    TempDir dir;
    // A CP932 name from a Windows archive (not UTF-8), and one at the length limit.
    for (const std::string& name : {std::string("\x91\x96\x8D\x73.krt"), std::string(250, 'n')}) {
        const std::string path = dir.path().string() + "/" + name;
        const DurableWrite w = writeFileDurably(path, "bytes", ExistingFile::Replace);
        ASSERT_TRUE(w) << w.reason;
        EXPECT_EQ(readBytes(path), "bytes");
    }
    EXPECT_EQ(entries(dir.path()), 2u);
}

TEST(DurableWrite, FailuresAreReportedAndTouchNothing) {
    TempDir dir;
    const fs::path folder = dir.path() / "folder";
    fs::create_directory(folder);
    const struct {
        const char* name;
        std::string path;
        int error;
        bool created;
    } cases[] = {
        {"missing folder", (dir.path() / "none" / "run.krt").string(), ENOENT, false},
        {"path ends in a slash", dir.path().string() + "/", EISDIR, false},
        {"a folder has the name", folder.string(), EISDIR, true},
    };
    for (const auto& c : cases) {
        for (ExistingFile mode : {ExistingFile::Replace, ExistingFile::Keep}) {
            const DurableWrite w = writeFileDurably(c.path, "new", mode);
            const bool folderHasTheName = c.error == EISDIR && c.created;
            if (folderHasTheName) {
                EXPECT_EQ(w.status, mode == ExistingFile::Keep ? DurableWrite::Status::NameTaken
                                                               : DurableWrite::Status::NotAFile)
                    << c.name;
            } else {
                EXPECT_EQ(w.status, DurableWrite::Status::Failed) << c.name;
                EXPECT_EQ(w.error, c.error) << c.name;
                EXPECT_EQ(w.created, c.created) << c.name;
                EXPECT_FALSE(w.reason.empty()) << c.name;
            }
        }
    }
    EXPECT_TRUE(fs::is_empty(folder));
    EXPECT_EQ(entries(dir.path()), 1u);
}

TEST(DurableWrite, FullDiskLeavesTheOldFileByteForByte) {
    const std::string old = "12,3,655.35,0,0,17,0\r\n65.43\r\n";
    const std::string bigger(4096, 'x');
    for (ExistingFile mode : {ExistingFile::Replace, ExistingFile::Keep}) {
        // Partly written, and not even the first byte.
        for (rlim_t limit : {rlim_t{1000}, rlim_t{0}}) {
            TempDir dir;
            const fs::path path = dir.path() / "run.krt";
            writeBytes(path, old);
            const fs::path fresh = dir.path() / "fresh.krt";
            const LimitedRun r = runWithFileSizeLimit(limit, [&] {
                const DurableWrite a = writeFileDurably(path.string(), bigger, mode);
                if (a) return LimitedRun{99, 0, false, "written over the old file"};
                if (mode == ExistingFile::Keep && a.status == DurableWrite::Status::NameTaken) {
                    return asRun(writeFileDurably(fresh.string(), bigger, mode));
                }
                return asRun(a);
            });
            EXPECT_EQ(r.status, static_cast<int>(DurableWrite::Status::Failed)) << r.message;
            EXPECT_EQ(r.error, EFBIG) << r.message;
            EXPECT_TRUE(r.created);
            EXPECT_EQ(readBytes(path), old);
            EXPECT_FALSE(fs::exists(fresh));
            EXPECT_EQ(entries(dir.path()), 1u) << "a temporary file was left";
        }
    }
}

using test::Special;

const char* nameOf(Special kind) {
    switch (kind) {
        case Special::Fifo:
            return "named pipe";
        case Special::NullDevice:
            return "null device";
        case Special::FullDevice:
            return "full device";
        case Special::Folder:
            return "folder";
        case Special::Socket:
            return "socket";
    }
    return "?";
}

FileKind fileKindOf(Special kind) {
    switch (kind) {
        case Special::Fifo:
            return FileKind::Fifo;
        case Special::NullDevice:
        case Special::FullDevice:
            return FileKind::CharDevice;
        case Special::Folder:
            return FileKind::Directory;
        case Special::Socket:
            return FileKind::Socket;
    }
    return FileKind::Other;
}

constexpr Special kSpecials[] = {Special::Fifo, Special::NullDevice, Special::FullDevice,
                                 Special::Folder, Special::Socket};

// One case: a name that holds `kind`, given as itself or through a link beside it.
struct SpecialTarget {
    Special kind;
    bool throughLink;
    fs::path node;
    fs::path given;
    std::string name() const {
        return std::string(nameOf(kind)) + (throughLink ? " through a link" : "");
    }
    // Still what it was, the link still a link to it.
    void expectUntouched() const {
        EXPECT_TRUE(test::holds(kind, node)) << name();
        if (throughLink) {
            EXPECT_TRUE(fs::is_symlink(given)) << name();
            EXPECT_EQ(fs::read_symlink(given), node) << name();
        }
    }
};

// Runs `check` on every kind under `name`, as itself and through a link beside it, each in a
// folder of its own; skipped at the end for the kinds this user cannot make (device nodes
// need root).
template <typename Check>
void forEverySpecialTarget(const std::string& name, Check check) {
    std::string notMade;
    for (Special kind : kSpecials) {
        for (bool throughLink : {false, true}) {
            TempDir dir;
            const fs::path given = dir.path() / name;
            const SpecialTarget target{kind, throughLink, throughLink ? dir.path() / "made" : given,
                                       given};
            if (!test::makeSpecial(kind, target.node)) {
                if (!throughLink) notMade += std::string(" ") + nameOf(kind);
                continue;
            }
            if (throughLink) fs::create_symlink(target.node, given);
            const std::size_t before = entries(dir.path());
            check(target);
            target.expectUntouched();
            EXPECT_EQ(entries(dir.path()), before) << target.name() << ": a file was left";
        }
    }
    if (!notMade.empty()) GTEST_SKIP() << "not permitted to make here:" << notMade;
}

// A write that would rename over a pipe, a device or a folder refuses; Keep sees the name
// taken, whatever holds it.
TEST(DurableWrite, OnlyARegularFileIsEverReplaced) {
    forEverySpecialTarget("out.pdf", [](const SpecialTarget& t) {
        const DurableWrite replace =
            writeFileDurably(t.given.string(), "new", ExistingFile::Replace);
        EXPECT_EQ(replace.status, DurableWrite::Status::NotAFile) << t.name() << replace.reason;
        EXPECT_EQ(replace.found, fileKindOf(t.kind)) << t.name();
        const DurableWrite keep = writeFileDurably(t.given.string(), "new", ExistingFile::Keep);
        EXPECT_EQ(keep.status, DurableWrite::Status::NameTaken) << t.name() << keep.reason;
    });
}

// What a user names as an output: a pipe or a character device takes the bytes as a shell's
// redirection would give them, a full device is a failure, the rest is refused.
TEST(OutputFile, PipesAndDevicesAreWrittenToAndTheRestRefused) {
    const std::string bytes(200000, 'x');  // more than a pipe holds at once
    forEverySpecialTarget("out.pdf", [&](const SpecialTarget& t) {
        std::optional<test::FifoReader> reader;
        if (t.kind == Special::Fifo) {
            reader.emplace(t.given);
            ASSERT_TRUE(reader->ready()) << t.name();
        }
        const DurableWrite w = writeOutputFile(t.given.string(), bytes);
        switch (t.kind) {
            case Special::Fifo:
                EXPECT_TRUE(w) << t.name() << w.reason;
                EXPECT_EQ(reader->finish(), bytes) << t.name();
                break;
            case Special::NullDevice:
                EXPECT_TRUE(w) << t.name() << w.reason;
                break;
            case Special::FullDevice:
                EXPECT_EQ(w.status, DurableWrite::Status::Failed) << t.name();
                EXPECT_EQ(w.error, ENOSPC) << t.name();
                break;
            case Special::Folder:
            case Special::Socket:
                EXPECT_EQ(w.status, DurableWrite::Status::NotAFile) << t.name();
                EXPECT_EQ(w.found, fileKindOf(t.kind)) << t.name();
                break;
        }
    });
}

// A run's file and its corrections are kept in the library or saved by the window: what is
// no file under their names is refused, never written to, and the message names it.
TEST(LibraryWrites, RefuseWhatIsNoFileAndNameIt) {
    const LapData run = test::runWithLaps({61.5, 30.0, 31.0, 62.0});
    forEverySpecialTarget("run.krt", [&](const SpecialTarget& t) {
        const SaveResult saved = saveDataFile(t.given.string(), run, "memo");
        EXPECT_EQ(saved.error.code, FileErrorCode::NotAFile) << t.name();
        EXPECT_EQ(fileMessage(saved.error, Language::English),
                  "cannot save the file: " + t.given.string() +
                      "\nnot a regular file: it was left as it is")
            << t.name();
    });
    forEverySpecialTarget("run.krt.corrections", [&](const SpecialTarget& t) {
        const std::string runPath = (t.given.parent_path() / "run.krt").string();
        RunCorrections corrections(run);
        // Saving steps writes the file, saving none removes it: neither may touch what is there.
        for (bool withSteps : {true, false}) {
            if (withSteps) {
                ASSERT_EQ(corrections.apply({CorrectionKind::MergeIntoNext, 1}),
                          CorrectionRefusal::None);
            } else {
                corrections.undoAll();
            }
            const CorrectionFileError error = saveCorrections(runPath, corrections);
            EXPECT_EQ(error.code, CorrectionFileErrorCode::NotReplaced) << t.name() << withSteps;
            EXPECT_EQ(error.path, t.given.string()) << t.name();
        }
    });
}

TEST(DataFileSave, FullDiskIsReportedAndLeavesTheOldRun) {
    TempDir dir;
    const fs::path path = dir.path() / "run.krt";
    LapData old;
    old.lapCount = 2;
    old.laps[0] = 61.5;
    ASSERT_TRUE(saveDataFile(path.string(), old, "old memo"));
    const std::string before = readBytes(path);
    LapData fresh = old;
    fresh.laps[1] = 62.25;
    const LimitedRun r = runWithFileSizeLimit(100, [&] {
        const SaveResult s = saveDataFile(path.string(), fresh, "new memo");
        return LimitedRun{s.ok ? 0 : 2, 0, false, test::ja(s.error)};
    });
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.message, filetexts::kSaveFailed + path.string() + "\n" + filetexts::kCannotWrite +
                             "（" + filetexts::kFileTooBig + "）");
    EXPECT_EQ(readBytes(path), before);
    EXPECT_EQ(entries(dir.path()), 1u);
}

}  // namespace
}  // namespace korimet
