// Logging at the track: reads the timer's line directly with termios and poll, so it runs
// on a machine without a display and ends cleanly on Ctrl+C without an event loop.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <QCoreApplication>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "cli/verbs.h"
#include "device/frame_receiver.h"
#include "device/posix_serial.h"
#include "device/ui/port_paths.h"
#include "files/run_naming.h"
#include "library/run_library.h"
#include "library/ui/library_folder.h"

namespace korimet::cli {

namespace {

constexpr const char* kUsage = "usage: korimet-cli listen PORT [--out DIR] [--count N]\n";
constexpr const char* kPrefix = "korimet-cli listen: ";

// A file descriptor closed on every way out.
class Fd {
  public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

struct ListenOptions {
    std::string port;
    std::string outDir;  // empty: into the run library
    std::optional<long> count;
    bool intoLibrary = false;  // outDir is the run library's folder
};

// None after the usage or the reason has been printed.
std::optional<ListenOptions> parseListenArgs(const Args& args) {
    ListenOptions o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--out" && i + 1 < args.size() && o.outDir.empty() && !args[i + 1].empty()) {
            o.outDir = args[++i];
        } else if (a == "--count" && i + 1 < args.size() && !o.count) {
            const std::string& v = args[++i];
            long n = 0;
            const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
            if (ec != std::errc() || end != v.data() + v.size() || n < 1) {
                std::cerr << kPrefix << "--count needs a whole number of 1 or more\n";
                return std::nullopt;
            }
            o.count = n;
        } else if (o.port.empty() && !a.empty() && !a.starts_with("--")) {
            o.port = a;
        } else {
            std::cerr << kUsage;
            return std::nullopt;
        }
    }
    if (o.port.empty()) {
        std::cerr << kUsage;
        return std::nullopt;
    }
    return o;
}

// COM1..COM8 through the same mapping as the window; anything else is a device path.
std::optional<std::string> devicePathFor(const std::string& port) {
    if (port.size() == 4 && (port.starts_with("COM") || port.starts_with("com"))) {
        const int n = port[3] - '0';
        if (n < kFirstPort || n > kLastPort) return std::nullopt;
        // The window's settings store, so a COMn set up for the window means the same here.
        QCoreApplication::setOrganizationName(QStringLiteral("Korimet"));
        QCoreApplication::setApplicationName(QStringLiteral("Korimet"));
        return portDevicePath(n).toStdString();
    }
    if (port.starts_with("COM") || port.starts_with("com")) return std::nullopt;
    return port;
}

// Ctrl+C and SIGTERM arrive as data on a descriptor: every wait watches it, without a
// handler or a global flag. Negative after a message.
int endSignalsFd() {
    sigset_t endSignals;
    sigemptyset(&endSignals);
    sigaddset(&endSignals, SIGINT);
    sigaddset(&endSignals, SIGTERM);
    if (::sigprocmask(SIG_BLOCK, &endSignals, nullptr) != 0) {
        std::cerr << kPrefix << "sigprocmask: " << std::strerror(errno) << "\n";
        return -1;
    }
    const int fd = ::signalfd(-1, &endSignals, SFD_CLOEXEC);
    if (fd < 0) std::cerr << kPrefix << "signalfd: " << std::strerror(errno) << "\n";
    return fd;
}

// The port opened without waiting for a modem line and, when it is a terminal, set to the
// timer's 19200,N,8,1. Negative after a message.
int openLine(const std::string& device, const std::string& portText) {
    const int fd = ::open(device.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        std::cerr << kPrefix << "cannot open " << portText << ": " << std::strerror(errno) << "\n";
        return -1;
    }
    if (::isatty(fd) == 1 && !setTimerLine(fd)) {
        std::cerr << kPrefix << "cannot set 19200,N,8,1 on " << portText << ": "
                  << std::strerror(errno) << "\n";
        ::close(fd);
        return -1;
    }
    return fd;
}

// Reads the line until a signal, the end of a file, --count frames or a failure.
class Listener {
  public:
    Listener(int line, int stopFd, std::string portText, const ListenOptions& options)
        : line_(line),
          stopFd_(stopFd),
          terminal_(::isatty(line) == 1),
          portText_(std::move(portText)),
          count_(options.count),
          folder_(options.outDir),
          intoLibrary_(options.intoLibrary),
          saver_(options.outDir, runNumberName) {}

    int run() {
        for (;;) {
            const Wait wait = waitForBytes();
            if (wait == Wait::Failed) return 2;
            if (wait == Wait::Ended) return frames_ > 0 ? 0 : 1;
            if (wait == Wait::Again) continue;

            std::uint8_t buffer[512];
            const ssize_t n = ::read(line_, buffer, sizeof buffer);
            if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
            if (n == 0 && !terminal_) return frames_ > 0 ? 0 : 1;  // a file or pipe ended
            if (n <= 0) {
                std::cerr << kPrefix << portText_ << " went away"
                          << (n < 0 ? std::string(": ") + std::strerror(errno) : std::string())
                          << "\n";
                return 2;
            }
            if (const std::optional<int> status = take(buffer, static_cast<std::size_t>(n)))
                return *status;
        }
    }

  private:
    enum class Wait { Bytes, Again, Ended, Failed };

    Wait waitForBytes() {
        pollfd fds[2] = {{stopFd_, POLLIN, 0}, {line_, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) return Wait::Again;
            std::cerr << kPrefix << "poll: " << std::strerror(errno) << "\n";
            return Wait::Failed;
        }
        if (fds[0].revents) return Wait::Ended;
        return fds[1].revents ? Wait::Bytes : Wait::Again;
    }

    // Feeds the bytes; an exit status once listening is over.
    std::optional<int> take(const std::uint8_t* bytes, std::size_t size) {
        for (std::size_t i = 0; i < size; ++i) {
            const std::optional<DecodedFrame> frame = receiver_.feedByte(bytes[i]);
            if (!frame) continue;
            if (!saveFrame(*frame)) return 2;
            if (count_ && frames_ >= *count_) return 0;
        }
        return std::nullopt;
    }

    // One line per saved run; nothing is printed for a run that was not saved.
    bool saveFrame(const DecodedFrame& frame) {
        std::string shown;
        if (intoLibrary_) {
            // Named by the moment it arrived and its car, as the window keeps downloads.
            const KeptRun kept =
                keepRun(folder_, frame.data, localTimeOf(std::chrono::system_clock::now()));
            if (!kept) {
                std::cerr << kept.error << "\n";
                return false;
            }
            shown = std::filesystem::path(kept.path).lexically_relative(folder_).string();
        } else {
            const RunSaveResult saved = saver_.save(frame.data, "");
            if (!saved) {
                std::cerr << saved.error << "\n";
                return false;
            }
            shown = std::filesystem::path(*saved.path).filename().string();
        }
        ++frames_;
        std::cout << shown << "  "
                  << frame.modelCaption.value_or("model " + std::to_string(frame.modelCode)) << "  "
                  << frame.versionText << "  car " << static_cast<int>(frame.data.carId) << "  "
                  << static_cast<int>(frame.data.lapCount) << " laps" << std::endl;
        return true;
    }

    int line_;
    int stopFd_;
    bool terminal_;
    std::string portText_;
    std::optional<long> count_;
    std::string folder_;
    bool intoLibrary_;
    RunFileSaver saver_;
    FrameReceiver receiver_;
    long frames_ = 0;
};

}  // namespace

int listenVerb(const Args& args) {
    std::optional<ListenOptions> options = parseListenArgs(args);
    if (!options) return 2;
    if (options->outDir.empty()) {
        // The window's settings store and data location, so both keep runs in one library.
        QCoreApplication::setOrganizationName(QStringLiteral("Korimet"));
        QCoreApplication::setApplicationName(QStringLiteral("Korimet"));
        options->outDir = libraryFolder().toStdString();
        options->intoLibrary = true;
    }
    const std::optional<std::string> device = devicePathFor(options->port);
    if (!device) {
        std::cerr << kPrefix << options->port
                  << " is not a port; use COM1 to COM8 or a device path\n";
        return 2;
    }
    std::error_code ec;
    std::filesystem::create_directories(options->outDir, ec);
    if (ec) {
        std::cerr << kPrefix << "cannot create " << options->outDir << ": " << ec.message() << "\n";
        return 2;
    }

    const Fd stop(endSignalsFd());
    if (stop.get() < 0) return 2;
    const std::string portText =
        *device == options->port ? options->port : options->port + " (" + *device + ")";
    const Fd line(openLine(*device, portText));
    if (line.get() < 0) return 2;
    std::cerr << kPrefix << "listening on " << portText << " (Ctrl+C ends)\n";
    return Listener(line.get(), stop.get(), portText, *options).run();
}

}  // namespace korimet::cli
