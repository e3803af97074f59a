// A stand-in for the lap timer: sends frames of a made-up run on a pseudo-terminal (or a
// given device), so the program can be tried and tested without the hardware.

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/signalfd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "device/frame_encoder.h"
#include "device/frame_receiver.h"
#include "device/posix_serial.h"
#include "files/data_file.h"
#include "lapdata/lap_data.h"
#include "messages/file_messages.h"

namespace {

constexpr const char* kProgram = "korimet-timer-emulator";
constexpr int kUsageError = 2;

constexpr const char* kHelp =
    "usage: korimet-timer-emulator [OPTIONS]\n"
    "Sends lap-timer frames (19200,N,8,1) of a generated run. Without --device it creates a\n"
    "pseudo-terminal and prints its path on the first line of standard output.\n"
    "\n"
    "Where:\n"
    "  --device PATH      write to this existing device or file instead of a pseudo-terminal\n"
    "\n"
    "When (default: one frame):\n"
    "  --once             send one frame\n"
    "  --every SECONDS    send a frame now and then every SECONDS (decimals allowed)\n"
    "  --on-enter         send a frame each time Enter is pressed; end of input ends\n"
    "  --count N          stop after N frames (without --every or --on-enter: back to back)\n"
    "\n"
    "The run (each frame is a new run from the same generator):\n"
    "  --model CODE       timer model code 0..255 (default 1)\n"
    "  --car N            car number 0..255 (default 7)\n"
    "  --laps N           laps in the run, 5..60 (default 20)\n"
    "  --pace SECONDS     typical lap time, 1..300 (default 25)\n"
    "  --target SECONDS   target lap time 0..655.34, or 'none' (default: the pace)\n"
    "  --race MINUTES     race length 0..255 (default 8)\n"
    "  --seed N           seed of the generator (default: random, printed on stderr)\n"
    "  --file PATH        send the run stored in a data file (.krt) instead; --car, --laps,\n"
    "                     --pace, --target, --race and --seed then have no effect\n"
    "\n"
    "Line faults:\n"
    "  --noise N          N random bytes (never 0xFF) before every frame\n"
    "  --split            send in random pieces with short pauses between them\n"
    "  --bad-checksum     corrupt every frame's checksum\n"
    "\n"
    "After the last frame it waits until a reader has taken every byte, then ends.\n"
    "Ctrl+C (SIGINT) or SIGTERM end it at any time.\n"
    "  --help             this text\n";

enum class Mode { Once, Every, OnEnter };

struct Options {
    std::string device;
    std::string file;
    std::optional<korimet::LapData> fileRun;  // read from --file
    Mode mode = Mode::Once;
    double everySeconds = 0.0;
    std::optional<long> count;
    int model = 1;
    int car = 7;
    int laps = 20;
    double pace = 25.0;
    std::optional<double> target;  // none given: the pace
    bool noTarget = false;
    int race = 8;
    std::optional<std::uint64_t> seed;
    int noise = 0;
    bool split = false;
    bool badChecksum = false;
};

class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

long parseInteger(std::string_view option, std::string_view text, long low, long high) {
    long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < low || value > high) {
        throw UsageError(std::string(option) + " needs a whole number from " + std::to_string(low) +
                         " to " + std::to_string(high) + ", not '" + std::string(text) + "'");
    }
    return value;
}

double parseSeconds(std::string_view option, std::string_view text, double low, double high) {
    const std::string s(text);
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(s.c_str(), &end);
    if (s.empty() || errno != 0 || end != s.c_str() + s.size() || !std::isfinite(value) ||
        value < low || value > high) {
        throw UsageError(std::string(option) + " needs a number of seconds from " +
                         std::to_string(low) + " to " + std::to_string(high) + ", not '" + s + "'");
    }
    return value;
}

// Returns none when --help was asked for.
std::optional<Options> parseOptions(int argc, char** argv) {
    Options o;
    bool modeGiven = false;
    auto setMode = [&](Mode m) {
        if (modeGiven && o.mode != m) throw UsageError("choose one of --once, --every, --on-enter");
        o.mode = m;
        modeGiven = true;
    };
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        auto value = [&]() -> std::string_view {
            if (i + 1 >= argc) throw UsageError(std::string(arg) + " needs a value");
            return argv[++i];
        };
        if (arg == "--help" || arg == "-h") {
            return std::nullopt;
        } else if (arg == "--device") {
            o.device = value();
        } else if (arg == "--file") {
            o.file = value();
        } else if (arg == "--once") {
            setMode(Mode::Once);
        } else if (arg == "--every") {
            setMode(Mode::Every);
            o.everySeconds = parseSeconds(arg, value(), 0.0, 86400.0);
        } else if (arg == "--on-enter") {
            setMode(Mode::OnEnter);
        } else if (arg == "--count") {
            o.count = parseInteger(arg, value(), 1, 1000000000);
        } else if (arg == "--model") {
            o.model = static_cast<int>(parseInteger(arg, value(), 0, 255));
        } else if (arg == "--car") {
            o.car = static_cast<int>(parseInteger(arg, value(), 0, 255));
        } else if (arg == "--laps") {
            o.laps = static_cast<int>(parseInteger(arg, value(), 5, korimet::kLapSlots));
        } else if (arg == "--pace") {
            o.pace = parseSeconds(arg, value(), 1.0, 300.0);
        } else if (arg == "--target") {
            const std::string_view v = value();
            if (v == "none") {
                o.noTarget = true;
                o.target.reset();
            } else {
                o.noTarget = false;
                o.target = parseSeconds(arg, v, 0.0, 655.34);
            }
        } else if (arg == "--race") {
            o.race = static_cast<int>(parseInteger(arg, value(), 0, 255));
        } else if (arg == "--seed") {
            const std::string_view v = value();
            std::uint64_t seed = 0;
            const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), seed);
            if (ec != std::errc() || end != v.data() + v.size()) {
                throw UsageError("--seed needs a whole number, not '" + std::string(v) + "'");
            }
            o.seed = seed;
        } else if (arg == "--noise") {
            o.noise = static_cast<int>(parseInteger(arg, value(), 0, 100000));
        } else if (arg == "--split") {
            o.split = true;
        } else if (arg == "--bad-checksum") {
            o.badChecksum = true;
        } else {
            throw UsageError("unknown option '" + std::string(arg) + "'");
        }
    }
    if (o.mode == Mode::Once && o.count) {
        if (modeGiven && *o.count != 1) throw UsageError("--once sends one frame; drop --count");
        if (!modeGiven) o.mode = Mode::Every;  // --count alone: back to back
    }
    if (o.mode == Mode::Once) o.count = 1;
    return o;
}

// A plausible run: laps scattered around the pace, a slower first lap from the standing
// start, now and then a lap lost to traffic or a spin.
korimet::LapData generateRun(const Options& o, std::mt19937_64& rng) {
    korimet::LapData d;
    d.carId = static_cast<std::uint8_t>(o.car);
    d.lapCount = static_cast<std::uint8_t>(o.laps);
    d.targetTime = o.noTarget ? korimet::kNoTargetTime : o.target.value_or(o.pace);
    d.raceMinutes = static_cast<std::uint8_t>(o.race);
    std::normal_distribution<double> scatter(0.0, 0.02);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int k = 0; k < o.laps; ++k) {
        double lap = o.pace * (1.0 + std::clamp(scatter(rng), -0.06, 0.06));
        if (k == 0) lap *= 1.08;
        if (unit(rng) < 0.08) lap *= 1.2 + 0.4 * unit(rng);
        double centiseconds = std::round(lap * 100.0);
        // 100.00 s is the timer's "no time" and would read back as 0.
        if (centiseconds == 10000.0) centiseconds = 10001.0;
        d.laps[static_cast<std::size_t>(k)] = std::clamp(centiseconds, 1.0, 65534.0) / 100.0;
    }
    return d;
}

// Where the frames go, and the signals that end the run. Every wait watches the signals.
class Link {
  public:
    Link(int out, int heldSlave, int signals) : out_(out), slave_(heldSlave), signals_(signals) {}

    bool stopped() const { return stopped_; }

    // Waits up to `ms` milliseconds (negative: no limit), also for a line on stdin when
    // `stdinLine` is given. Returns false when a signal ended the run.
    bool wait(int ms, std::string* stdinLine = nullptr, bool* stdinEnded = nullptr) {
        std::vector<pollfd> fds = {{signals_, POLLIN, 0}};
        if (slave_ >= 0) fds.push_back({out_, POLLIN, 0});  // what a reader writes back
        const std::size_t stdinAt = fds.size();
        if (stdinLine) fds.push_back({STDIN_FILENO, POLLIN, 0});
        const int r = ::poll(fds.data(), fds.size(), ms);
        if (r < 0 && errno != EINTR) return stop();
        if (r <= 0) return true;
        if (fds[0].revents) return stop();
        if (slave_ >= 0 && fds[1].revents & POLLIN) {
            char discard[256];
            (void)!::read(out_, discard, sizeof discard);
        }
        if (stdinLine && fds[stdinAt].revents) {
            char c = 0;
            const ssize_t n = ::read(STDIN_FILENO, &c, 1);
            if (n <= 0) {
                *stdinEnded = true;
            } else if (c == '\n') {
                stdinLine->push_back('\n');
            }
        }
        return true;
    }

    // Writes every byte, waiting while the far side is full. False on a signal or an error.
    bool write(const std::uint8_t* data, std::size_t size) {
        while (size > 0) {
            const ssize_t n = ::write(out_, data, size);
            if (n > 0) {
                data += n;
                size -= static_cast<std::size_t>(n);
                continue;
            }
            if (n < 0 && errno != EAGAIN && errno != EINTR) {
                std::cerr << kProgram << ": write failed: " << std::strerror(errno) << "\n";
                failed_ = true;
                return false;
            }
            std::vector<pollfd> fds = {{signals_, POLLIN, 0}, {out_, POLLOUT, 0}};
            if (::poll(fds.data(), fds.size(), -1) < 0 && errno != EINTR) return stop();
            if (fds[0].revents) return stop();
        }
        return true;
    }

    // Bytes written but not yet taken by a reader (pseudo-terminal only).
    int waiting() const {
        int n = 0;
        if (slave_ < 0 || ::ioctl(slave_, FIONREAD, &n) != 0) return 0;
        return n;
    }

    // Nobody has read for a while: drop what piled up so a late reader gets fresh frames
    // and the writer never blocks on a full buffer.
    void dropStale(int limit) {
        const int n = waiting();
        if (n > limit && ::tcflush(slave_, TCIFLUSH) == 0) {
            std::cerr << kProgram << ": no reader, dropped " << n << " unread bytes\n";
        }
    }

    // After the last frame: wait until a reader has taken every byte.
    void drain() {
        if (slave_ < 0) {
            if (::isatty(out_)) ::tcdrain(out_);
            return;
        }
        int checks = 0;
        int quietChecks = 0;
        while (!stopped_ && quietChecks < 2) {
            if (waiting() == 0) {
                ++quietChecks;
            } else {
                quietChecks = 0;
                // Only worth a word when nobody seems to be reading.
                if (++checks == 20) {
                    std::cerr << kProgram << ": waiting for a reader to take the data"
                              << " (Ctrl+C ends)\n";
                }
            }
            wait(50);
        }
    }

    bool failed() const { return failed_; }

  private:
    bool stop() {
        stopped_ = true;
        return false;
    }

    int out_;
    int slave_;
    int signals_;
    bool stopped_ = false;
    bool failed_ = false;
};

// One frame with its noise, whole or in random pieces with short pauses.
bool sendFrame(Link& link, const Options& o, std::mt19937_64& rng) {
    const korimet::LapData run = o.fileRun ? *o.fileRun : generateRun(o, rng);
    korimet::FrameBytes frame =
        korimet::encodeFrame(korimet::frameFieldsFor(run, static_cast<std::uint8_t>(o.model)));
    if (o.badChecksum) frame[korimet::kFrameLength - 1] ^= 0x5A;

    std::vector<std::uint8_t> bytes;
    bytes.reserve(static_cast<std::size_t>(std::max(o.noise, 0)) + frame.size());
    std::uniform_int_distribution<int> noiseByte(0, 0xFE);
    for (int i = 0; i < o.noise; ++i) bytes.push_back(static_cast<std::uint8_t>(noiseByte(rng)));
    bytes.insert(bytes.end(), frame.begin(), frame.end());

    if (!o.split) return link.write(bytes.data(), bytes.size());
    std::uniform_int_distribution<std::size_t> pieceSize(1, 32);
    std::uniform_int_distribution<int> pauseMs(2, 30);
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t n = std::min(pieceSize(rng), bytes.size() - at);
        if (!link.write(bytes.data() + at, n)) return false;
        at += n;
        if (at < bytes.size() && (!link.wait(pauseMs(rng)) || link.stopped())) return false;
    }
    return true;
}

// The wire holds whole hundredths up to 655.35 s and bytes; 100.00 s reads back as 0 and a
// model 10 frame drops the race length. Say so when the receiver will not see the file's
// run as it is stored.
void warnIfNotExact(const korimet::LapData& run, std::uint8_t model) {
    const korimet::FrameBytes frame = korimet::encodeFrame(korimet::frameFieldsFor(run, model));
    korimet::FrameReceiver receiver;
    std::optional<korimet::DecodedFrame> decoded;
    for (std::uint8_t b : frame) decoded = receiver.feedByte(b);
    if (decoded && decoded->data == run) return;
    std::cerr << kProgram << ": warning: the stored run does not fit a frame exactly; the"
              << " receiver will see rounded or clamped values\n";
}

int run(const Options& o) {
    // SIGINT and SIGTERM arrive as readable data on a descriptor, so every wait can end
    // cleanly without a handler or a global flag.
    sigset_t endSignals;
    sigemptyset(&endSignals);
    sigaddset(&endSignals, SIGINT);
    sigaddset(&endSignals, SIGTERM);
    sigaddset(&endSignals, SIGHUP);
    if (::sigprocmask(SIG_BLOCK, &endSignals, nullptr) != 0) return 1;
    ::signal(SIGPIPE, SIG_IGN);
    const int signals = ::signalfd(-1, &endSignals, SFD_CLOEXEC);
    if (signals < 0) {
        std::cerr << kProgram << ": signalfd: " << std::strerror(errno) << "\n";
        return 1;
    }

    int out = -1;
    int slave = -1;
    std::string path;
    if (o.device.empty()) {
        termios raw{};
        korimet::makeTimerLine(raw);
        char name[256] = {};
        if (::openpty(&out, &slave, name, &raw, nullptr) != 0) {
            std::cerr << kProgram << ": cannot create a pseudo-terminal: " << std::strerror(errno)
                      << "\n";
            return 1;
        }
        // The slave stays open here too: when a reader closes its end, the master must not
        // see a hang-up.
        path = name;
        ::fcntl(out, F_SETFL, ::fcntl(out, F_GETFL) | O_NONBLOCK);
    } else {
        path = o.device;
        out = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (out < 0) {
            std::cerr << kProgram << ": cannot open " << path << ": " << std::strerror(errno)
                      << "\n";
            return 1;
        }
        if (::isatty(out) && !korimet::setTimerLine(out)) {
            std::cerr << kProgram << ": cannot set 19200,N,8,1 on " << path << ": "
                      << std::strerror(errno) << "\n";
            return 1;
        }
    }
    std::cout << path << std::endl;  // first line, flushed: readers wait for it

    const std::uint64_t seed = o.seed.value_or(std::random_device{}());
    std::cerr << kProgram << ": sending on " << path << ", seed " << seed << "\n";
    std::mt19937_64 rng(seed);
    Link link(out, slave, signals);

    long sent = 0;
    bool stdinEnded = false;
    while (!link.stopped() && (!o.count || sent < *o.count)) {
        if (o.mode == Mode::OnEnter) {
            std::string line;
            while (line.empty() && !stdinEnded && !link.stopped())
                link.wait(-1, &line, &stdinEnded);
            if (line.empty()) break;
        } else if (sent > 0 && o.everySeconds > 0.0) {
            const auto until =
                std::chrono::steady_clock::now() +
                std::chrono::milliseconds(static_cast<long>(o.everySeconds * 1000.0));
            for (auto now = std::chrono::steady_clock::now(); now < until && !link.stopped();
                 now = std::chrono::steady_clock::now()) {
                const auto left =
                    std::chrono::duration_cast<std::chrono::milliseconds>(until - now).count();
                link.wait(static_cast<int>(std::clamp<long>(left, 1, 1000)));
            }
            if (link.stopped()) break;
        }
        link.dropStale(4 * korimet::kFrameLength + 4 * o.noise);
        if (!sendFrame(link, o, rng)) break;
        ++sent;
        const int car = o.fileRun ? o.fileRun->carId : o.car;
        const int laps = o.fileRun ? o.fileRun->lapCount : o.laps;
        std::cerr << kProgram << ": frame " << sent << " sent (car " << car << ", " << laps
                  << " laps" << (o.badChecksum ? ", bad checksum" : "") << ")\n";
    }
    if (!link.stopped() && !link.failed()) link.drain();

    ::close(out);
    if (slave >= 0) ::close(slave);
    ::close(signals);
    return link.failed() ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::optional<Options> options;
    try {
        options = parseOptions(argc, argv);
    } catch (const UsageError& e) {
        std::cerr << kProgram << ": " << e.what() << "\n"
                  << "try " << kProgram << " --help\n";
        return kUsageError;
    }
    if (!options) {
        std::cout << kHelp;
        return 0;
    }
    if (!options->file.empty()) {
        const korimet::DataFileReadResult read = korimet::loadDataFile(options->file);
        if (!read) {
            std::cerr << kProgram << ": "
                      << korimet::fileMessage(read.error, korimet::Language::English) << "\n";
            return kUsageError;
        }
        options->fileRun = read.content->data;
        warnIfNotExact(*options->fileRun, static_cast<std::uint8_t>(options->model));
    }
    return run(*options);
}
