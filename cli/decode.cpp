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
#include <memory>
#include <optional>

#include "cli/verbs.h"
#include "device/frame_receiver.h"
#include "device/posix_serial.h"
#include "files/run_naming.h"
#include "runjson/json_out.h"

namespace korimet::cli {

namespace {

struct DecodeOptions {
    std::string capture;  // empty or "-": standard input
    std::string outDir;
    bool saves = false;  // --out given
};

// The capture as a descriptor that reads bytes as they arrive; a terminal is put on the
// timer's line settings. Negative after a message naming the path.
int openCapture(const std::string& capture, const std::string& prefix, const Texts& t) {
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
        std::cerr << prefix << t.with(Text::CannotRead, {capture, t.reason(error)}) << "\n";
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
DecodeCounts decodeStream(int fd, const std::string& inputName, RunFileSaver* saver,
                          const std::string& prefix, const Texts& t) {
    DecodeCounts counts;
    FrameReceiver receiver;
    std::array<std::uint8_t, 65536> buffer;
    for (;;) {
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            std::cerr << prefix << t.with(Text::ErrorReading, {inputName, t.reason(errno)}) << "\n";
            counts.readFailed = true;
            return counts;
        }
        if (n == 0) return counts;
        for (ssize_t i = 0; i < n; ++i) {
            const std::optional<DecodedFrame> frame = receiver.feedByte(buffer[i]);
            if (!frame) continue;
            ++counts.frames;
            std::cout << jsonLine(frameJson(*frame)) << std::endl;
            if (!saver) continue;
            // A run that cannot be saved is reported; the ones after it still get their turn.
            const RunSaveResult saved = saver->save(frame->data, "");
            if (!saved) {
                std::cerr << prefix << t.file(saved.error) << "\n";
                ++counts.unsaved;
            }
        }
    }
}

int runDecode(const DecodeOptions& o, const std::string& prefix, const Texts& t,
              const CLI::App& verb) {
    if (o.saves && o.outDir.empty()) {
        return wrongArguments(verb, t.with(Text::OptionNeedsValue, {"--out"}));
    }
    std::optional<RunFileSaver> saver;
    if (o.saves) {
        std::error_code ec;
        std::filesystem::create_directories(o.outDir, ec);
        if (ec) {
            std::cerr << prefix << t.with(Text::CannotCreate, {o.outDir, ec.message()}) << "\n";
            return 2;
        }
        saver.emplace(o.outDir, runNumberName);
    }

    const int fd = openCapture(o.capture, prefix, t);
    if (fd < 0) return 2;
    const bool fromStdin = fd == STDIN_FILENO;
    const std::string inputName = fromStdin ? t(Text::StandardInput) : o.capture;
    const DecodeCounts counts = decodeStream(fd, inputName, saver ? &*saver : nullptr, prefix, t);
    if (!fromStdin) ::close(fd);

    if (counts.unsaved > 0) {
        std::cerr << prefix
                  << t.with(Text::RunsNotSaved,
                            {std::to_string(counts.unsaved), std::to_string(counts.frames)})
                  << "\n";
    }
    if (counts.readFailed || counts.unsaved > 0) return 2;
    if (counts.frames == 0) {
        std::cerr << prefix << t.with(Text::NoFrameFound, {inputName}) << "\n";
        return 1;
    }
    return 0;
}

}  // namespace

VerbRun decodeVerb(CLI::App& verb, const Texts& texts) {
    auto options = std::make_shared<DecodeOptions>();
    verb.add_option("CAPTURE", options->capture, texts(Text::DecodeCapture));
    CLI::Option* out =
        verb.add_option("--out", options->outDir, texts(Text::DecodeOut))->type_name("DIR");
    verb.footer(texts(Text::DecodeExit));
    return [options, out, texts, &verb] {
        options->saves = out->count() > 0;
        return runDecode(*options, messagePrefix(verb), texts, verb);
    };
}

}  // namespace korimet::cli
