// Logging at the track: reads the timer's line directly with termios and poll, so it runs
// on a machine without a display and ends cleanly on Ctrl+C without an event loop.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <termios.h>
#include <unistd.h>

#include <QCoreApplication>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "cli/verbs.h"
#include "device/frame_receiver.h"
#include "device/ui/port_paths.h"
#include "files/data_file.h"
#include "library/run_library.h"
#include "library/ui/library_folder.h"

namespace korimet::cli {

namespace {

constexpr const char* kUsage = "usage: korimet-cli listen PORT [--out DIR] [--count N]\n";

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

bool setLine19200N81(int fd) {
    termios line{};
    if (::tcgetattr(fd, &line) != 0) return false;
    ::cfmakeraw(&line);
    ::cfsetspeed(&line, B19200);
    line.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
    line.c_cflag |= CS8 | CLOCAL | CREAD;
    line.c_iflag &= ~(IXON | IXOFF | IXANY);
    line.c_cc[VMIN] = 1;
    line.c_cc[VTIME] = 0;
    return ::tcsetattr(fd, TCSANOW, &line) == 0;
}

// The first run-NNN.krt that does not exist yet: an earlier session's files stay.
std::filesystem::path nextRunFile(const std::filesystem::path& dir, int& number) {
    for (;;) {
        ++number;
        char name[32];
        std::snprintf(name, sizeof name, "run-%03d.krt", number);
        std::filesystem::path path = dir / name;
        std::error_code ec;
        if (!std::filesystem::exists(path, ec) && !ec) return path;
    }
}

}  // namespace

int listenVerb(const Args& args) {
    std::string port;
    std::string outDir;
    std::optional<long> count;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--out" && i + 1 < args.size() && outDir.empty() && !args[i + 1].empty()) {
            outDir = args[++i];
        } else if (a == "--count" && i + 1 < args.size() && !count) {
            const std::string& v = args[++i];
            long n = 0;
            const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
            if (ec != std::errc() || end != v.data() + v.size() || n < 1) {
                std::cerr << "korimet-cli listen: --count needs a whole number of 1 or more\n";
                return 2;
            }
            count = n;
        } else if (port.empty() && !a.empty() && !a.starts_with("--")) {
            port = a;
        } else {
            std::cerr << kUsage;
            return 2;
        }
    }
    if (port.empty()) {
        std::cerr << kUsage;
        return 2;
    }
    // Without --out every frame goes into the run library, named as the window names it.
    const bool intoLibrary = outDir.empty();
    if (intoLibrary) {
        QCoreApplication::setOrganizationName(QStringLiteral("Korimet"));
        QCoreApplication::setApplicationName(QStringLiteral("Korimet"));
        outDir = libraryFolder().toStdString();
    }
    const std::optional<std::string> device = devicePathFor(port);
    if (!device) {
        std::cerr << "korimet-cli listen: " << port
                  << " is not a port; use COM1 to COM8 or a device path\n";
        return 2;
    }
    std::error_code ec;
    std::filesystem::create_directories(outDir, ec);
    if (ec) {
        std::cerr << "korimet-cli listen: cannot create " << outDir << ": " << ec.message() << "\n";
        return 2;
    }

    // Ctrl+C and SIGTERM arrive as data on a descriptor: the read loop ends between frames
    // without a handler or a global flag.
    sigset_t endSignals;
    sigemptyset(&endSignals);
    sigaddset(&endSignals, SIGINT);
    sigaddset(&endSignals, SIGTERM);
    if (::sigprocmask(SIG_BLOCK, &endSignals, nullptr) != 0) return 2;
    const Fd signalFd(::signalfd(-1, &endSignals, SFD_CLOEXEC));
    if (signalFd.get() < 0) {
        std::cerr << "korimet-cli listen: signalfd: " << std::strerror(errno) << "\n";
        return 2;
    }

    const std::string portText = *device == port ? port : port + " (" + *device + ")";
    const Fd line(::open(device->c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (line.get() < 0) {
        std::cerr << "korimet-cli listen: cannot open " << portText << ": " << std::strerror(errno)
                  << "\n";
        return 2;
    }
    const bool terminal = ::isatty(line.get()) == 1;
    if (terminal && !setLine19200N81(line.get())) {
        std::cerr << "korimet-cli listen: cannot set 19200,N,8,1 on " << portText << ": "
                  << std::strerror(errno) << "\n";
        return 2;
    }
    std::cerr << "korimet-cli listen: listening on " << portText << " (Ctrl+C ends)\n";

    FrameReceiver receiver;
    int frames = 0;
    int fileNumber = 0;
    const std::filesystem::path dir(outDir);
    for (;;) {
        pollfd fds[2] = {{signalFd.get(), POLLIN, 0}, {line.get(), POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            std::cerr << "korimet-cli listen: poll: " << std::strerror(errno) << "\n";
            return 2;
        }
        if (fds[0].revents) break;
        if (!fds[1].revents) continue;

        std::uint8_t buffer[512];
        const ssize_t n = ::read(line.get(), buffer, sizeof buffer);
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
        if (n == 0 && !terminal) break;  // a file or pipe came to its end
        if (n <= 0) {
            std::cerr << "korimet-cli listen: " << portText << " went away"
                      << (n < 0 ? std::string(": ") + std::strerror(errno) : std::string()) << "\n";
            return 2;
        }
        for (ssize_t i = 0; i < n; ++i) {
            const std::optional<DecodedFrame> frame = receiver.feedByte(buffer[i]);
            if (!frame) continue;
            std::string shownName;
            if (intoLibrary) {
                const KeptRun kept =
                    keepRun(outDir, frame->data, localTimeOf(std::chrono::system_clock::now()));
                if (!kept) {
                    std::cerr << "korimet-cli listen: cannot keep the run in the library: "
                              << kept.error << "\n";
                    return 2;
                }
                shownName = std::filesystem::path(kept.path).lexically_relative(dir).string();
            } else {
                const std::filesystem::path path = nextRunFile(dir, fileNumber);
                const SaveResult saved = saveDataFile(path.string(), frame->data, "");
                if (!saved) {
                    std::cerr << saved.error << "\n";
                    return 2;
                }
                shownName = path.filename().string();
            }
            ++frames;
            std::cout << shownName << "  "
                      << frame->modelCaption.value_or("model " + std::to_string(frame->modelCode))
                      << "  " << frame->versionText << "  car "
                      << static_cast<int>(frame->data.carId) << "  "
                      << static_cast<int>(frame->data.lapCount) << " laps" << std::endl;
            if (count && frames >= *count) return 0;
        }
    }
    return frames > 0 ? 0 : 1;
}

}  // namespace korimet::cli
