// Decodes as the bytes come: a capture file, a pipe or a live device, in bounded memory,
// each frame printed the moment it is complete.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>

#include "cli/json_out.h"
#include "cli/verbs.h"
#include "device/frame_receiver.h"
#include "device/posix_serial.h"
#include "files/run_naming.h"

namespace korimet::cli {

namespace {

constexpr const char* kUsage = "usage: korimet-cli decode [CAPTURE] [--out DIR]\n";
constexpr const char* kPrefix = "korimet-cli decode: ";

struct DecodeOptions {
    std::string capture;  // empty or "-": standard input
    std::string outDir;   // empty: no files
};

std::optional<DecodeOptions> parseDecodeArgs(const Args& args) {
    DecodeOptions o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--out" && i + 1 < args.size() && o.outDir.empty()) {
            o.outDir = args[++i];
            if (!o.outDir.empty()) continue;
        }
        if (!o.capture.empty() || args[i].starts_with("--")) return std::nullopt;
        o.capture = args[i];
    }
    return o;
}

// The capture as a descriptor that reads bytes as they arrive; a terminal is put on the
// timer's line settings. Negative after a message naming the path.
int openCapture(const std::string& capture) {
    if (capture.empty() || capture == "-") return STDIN_FILENO;
    const int fd = ::open(capture.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    int error = fd < 0 ? errno : 0;
    struct stat info {};
    if (fd >= 0 && ::fstat(fd, &info) != 0) error = errno;
    if (fd >= 0 && error == 0 && S_ISDIR(info.st_mode)) error = EISDIR;
    if (fd >= 0 && error == 0 && ::isatty(fd) == 1 && !setTimerLine(fd)) error = errno;
    // Opened without waiting for a modem line; reads then wait for bytes as usual.
    if (fd >= 0 && error == 0 && ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)
        error = errno;
    if (error != 0) {
        if (fd >= 0) ::close(fd);
        std::cerr << kPrefix << "cannot read " << capture << ": " << std::strerror(error) << "\n";
        return -1;
    }
    return fd;
}

struct DecodeCounts {
    int frames = 0;
    int unsaved = 0;
    bool readFailed = false;
};

// Feeds everything the descriptor yields until its end; every frame goes out at once.
DecodeCounts decodeStream(int fd, const std::string& inputName, RunFileSaver* saver) {
    DecodeCounts counts;
    FrameReceiver receiver;
    std::array<std::uint8_t, 65536> buffer;
    for (;;) {
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            std::cerr << kPrefix << "error reading " << inputName << ": " << std::strerror(errno)
                      << "\n";
            counts.readFailed = true;
            return counts;
        }
        if (n == 0) return counts;
        for (ssize_t i = 0; i < n; ++i) {
            const std::optional<DecodedFrame> frame = receiver.feedByte(buffer[i]);
            if (!frame) continue;
            ++counts.frames;
            std::cout << frameJson(*frame).dump() << std::endl;
            if (!saver) continue;
            // A run that cannot be saved is reported; the ones after it still get their turn.
            const RunSaveResult saved = saver->save(frame->data, "");
            if (!saved) {
                std::cerr << saved.error << "\n";
                ++counts.unsaved;
            }
        }
    }
}

}  // namespace

int decodeVerb(const Args& args) {
    const std::optional<DecodeOptions> options = parseDecodeArgs(args);
    if (!options) {
        std::cerr << kUsage;
        return 2;
    }
    std::optional<RunFileSaver> saver;
    if (!options->outDir.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(options->outDir, ec);
        if (ec) {
            std::cerr << kPrefix << "cannot create " << options->outDir << ": " << ec.message()
                      << "\n";
            return 2;
        }
        saver.emplace(options->outDir, runNumberName);
    }

    const int fd = openCapture(options->capture);
    if (fd < 0) return 2;
    const bool fromStdin = fd == STDIN_FILENO;
    const std::string inputName = fromStdin ? "standard input" : options->capture;
    const DecodeCounts counts = decodeStream(fd, inputName, saver ? &*saver : nullptr);
    if (!fromStdin) ::close(fd);

    if (counts.unsaved > 0) {
        std::cerr << kPrefix << counts.unsaved << " of " << counts.frames
                  << " runs were not saved\n";
    }
    if (counts.readFailed || counts.unsaved > 0) return 2;
    return counts.frames > 0 ? 0 : 1;
}

}  // namespace korimet::cli
