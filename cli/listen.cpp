// Logging at the track: reads the timer's line directly with termios and poll, so it runs
// on a machine without a display and ends cleanly on Ctrl+C without an event loop. With
// --serve the same reading runs in Qt's event loop, beside the pit view's server.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSettings>
#include <QSocketNotifier>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>
#include <random>
#include <string>

#include "cli/verbs.h"
#include "corrections/settings/limit_settings.h"
#include "device/frame_receiver.h"
#include "device/posix_serial.h"
#include "device/settings/port_paths.h"
#include "files/run_naming.h"
#include "library/run_library.h"
#include "library/settings/library_folder.h"
#include "pit/access_code.h"
#include "pit/pit_state.h"
#include "pit/serve_address.h"
#include "pit/server/pit_addresses.h"
#include "pit/server/pit_server.h"

namespace korimet::cli {

namespace {

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
    std::string outDir;     // empty: into the run library
    std::string countText;  // empty: until Ctrl+C or the end of the input
    std::optional<long> count;
    bool intoLibrary = false;  // outDir is the run library's folder
    std::string serveText;     // empty: no pit view
    std::optional<pit::ServeAddress> serve;
    std::string libraryDir;  // the day's runs on the pit view
};

// The count as a number; false when it is not a whole number of 1 or more.
bool takeCount(ListenOptions& o) {
    if (o.countText.empty()) return true;
    const std::string& v = o.countText;
    long n = 0;
    const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
    if (ec != std::errc() || end != v.data() + v.size() || n < 1) return false;
    o.count = n;
    return true;
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
int endSignalsFd(const std::string& prefix) {
    sigset_t endSignals;
    sigemptyset(&endSignals);
    sigaddset(&endSignals, SIGINT);
    sigaddset(&endSignals, SIGTERM);
    if (::sigprocmask(SIG_BLOCK, &endSignals, nullptr) != 0) {
        std::cerr << prefix << "sigprocmask: " << std::strerror(errno) << "\n";
        return -1;
    }
    const int fd = ::signalfd(-1, &endSignals, SFD_CLOEXEC);
    if (fd < 0) std::cerr << prefix << "signalfd: " << std::strerror(errno) << "\n";
    return fd;
}

// The port opened without waiting for a modem line and, when it is a terminal, set to the
// timer's 19200,N,8,1. Negative after a message.
int openLine(const std::string& device, const std::string& portText, const std::string& prefix,
             const Texts& t) {
    const int fd = ::open(device.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        std::cerr << prefix << t.with(Text::CannotOpen, {portText, t.reason(errno)}) << "\n";
        return -1;
    }
    if (::isatty(fd) == 1 && !setTimerLine(fd)) {
        std::cerr << prefix << t.with(Text::CannotSetLine, {portText, t.reason(errno)}) << "\n";
        ::close(fd);
        return -1;
    }
    return fd;
}

// Reads the line until a signal, the end of a file, --count frames or a failure.
class Listener {
  public:
    Listener(int line, int stopFd, std::string portText, const ListenOptions& options,
             std::string prefix, const Texts& texts)
        : texts_(texts),
          prefix_(std::move(prefix)),
          line_(line),
          stopFd_(stopFd),
          terminal_(::isatty(line) == 1),
          portText_(std::move(portText)),
          count_(options.count),
          folder_(options.outDir),
          intoLibrary_(options.intoLibrary),
          saver_(options.outDir, runNumberName) {}

    // Called with each saved run and where it was kept.
    std::function<void(const LapData&, const std::string&)> onSaved;

    int run() {
        for (;;) {
            const Wait wait = waitForBytes();
            if (wait == Wait::Failed) return 2;
            if (wait == Wait::Ended) return ended();
            if (wait == Wait::Again) continue;
            if (const std::optional<int> status = readLine()) return *status;
        }
    }

    // The same in the running event loop, which it quits with the exit status.
    void runInEventLoop(QObject* owner) {
        auto* lineReady = new QSocketNotifier(line_, QSocketNotifier::Read, owner);
        auto* stopReady = new QSocketNotifier(stopFd_, QSocketNotifier::Read, owner);
        const auto finish = [lineReady, stopReady](int status) {
            lineReady->setEnabled(false);
            stopReady->setEnabled(false);
            QCoreApplication::exit(status);
        };
        QObject::connect(lineReady, &QSocketNotifier::activated, owner, [this, finish] {
            if (const std::optional<int> status = readLine()) finish(*status);
        });
        QObject::connect(stopReady, &QSocketNotifier::activated, owner,
                         [this, finish] { finish(ended()); });
    }

  private:
    int ended() const { return frames_ > 0 ? 0 : 1; }

    // One read of what the line has; an exit status once listening is over.
    std::optional<int> readLine() {
        std::uint8_t buffer[512];
        const ssize_t n = ::read(line_, buffer, sizeof buffer);
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) return std::nullopt;
        if (n == 0 && !terminal_) return ended();  // a file or pipe ended
        if (n <= 0) {
            std::cerr << prefix_ << texts_.with(Text::WentAway, {portText_})
                      << (n < 0 ? ": " + texts_.reason(errno) : std::string()) << "\n";
            return 2;
        }
        return take(buffer, static_cast<std::size_t>(n));
    }

    enum class Wait { Bytes, Again, Ended, Failed };

    Wait waitForBytes() {
        pollfd fds[2] = {{stopFd_, POLLIN, 0}, {line_, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) return Wait::Again;
            std::cerr << prefix_ << "poll: " << std::strerror(errno) << "\n";
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
        std::string keptAt;
        if (intoLibrary_) {
            // Named by the moment it arrived and its car, as the window keeps downloads.
            const KeptRun kept =
                keepRun(folder_, frame.data, localTimeOf(std::chrono::system_clock::now()));
            if (!kept) {
                std::cerr << prefix_ << texts_.file(kept.error) << "\n";
                return false;
            }
            keptAt = kept.path;
            shown = std::filesystem::path(kept.path).lexically_relative(folder_).string();
        } else {
            const RunSaveResult saved = saver_.save(frame.data, "");
            if (!saved) {
                std::cerr << prefix_ << texts_.file(saved.error) << "\n";
                return false;
            }
            keptAt = *saved.path;
            shown = std::filesystem::path(*saved.path).filename().string();
        }
        ++frames_;
        std::cout << shown << "  "
                  << frame.modelCaption.value_or("model " + std::to_string(frame.modelCode)) << "  "
                  << frame.versionText << "  car " << static_cast<int>(frame.data.carId) << "  "
                  << static_cast<int>(frame.data.lapCount) << " laps" << std::endl;
        if (onSaved) onSaved(frame.data, keptAt);
        return true;
    }

    Texts texts_;
    std::string prefix_;
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

// The library's runs of today, read once and then followed run by run, so that a long day
// does not make every frame slower; read again when the day changes.
class ServedDay {
  public:
    explicit ServedDay(std::string libraryDir) : libraryDir_(std::move(libraryDir)) { reread(); }

    // The state after `data` was kept at `path` (in the library or elsewhere).
    pit::PitState after(const LapData& data, const std::string& path) {
        const LocalTime now = localTimeOf(std::chrono::system_clock::now());
        if (now.year != day_.year || now.month != day_.month || now.day != day_.day) {
            reread();
        } else if (const std::filesystem::path relative =
                       std::filesystem::path(path).lexically_relative(libraryDir_);
                   !relative.empty() && *relative.begin() != "..") {
            runs_.push_back(readLibraryEntry(libraryDir_, relative.string(), limits_));
        }
        pit::PitState state = current();
        state.shown = pit::PitRun{viewRun(data, limits_), "", path};
        return state;
    }
    pit::PitState current() const {
        pit::PitState state;
        state.day = day_;
        state.dayRuns = runs_;
        return state;
    }

  private:
    void reread() {
        day_ = localTimeOf(std::chrono::system_clock::now());
        runs_ = pit::runsOfDay(scanLibrary(libraryDir_, {}, limits_), day_);
    }

    std::string libraryDir_;
    SuspectLimits limits_ = readSuspectLimits(QSettings());
    LocalTime day_;
    std::vector<LibraryEntry> runs_;
};

// Serves the pit view while the listener reads the line, until either ends.
int listenServing(Listener& listener, const ListenOptions& o, const std::string& prefix,
                  const Texts& t) {
    int argc = 1;
    char name[] = "korimet-cli";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    std::random_device random;
    pit::PitServer server(
        QString::fromStdString(pit::newAccessCode([&random] { return random(); })),
        pit::PitLimits{});
    const QHostAddress address = pit::listenAddress(*o.serve);
    const quint16 port = server.listen(address, static_cast<quint16>(o.serve->port));
    if (port == 0) {
        std::cerr << prefix << t.with(Text::CannotServe, {o.serveText}) << "\n";
        return 2;
    }
    ServedDay day(o.libraryDir);
    server.publish(QByteArray::fromStdString(pit::pitStateJson(day.current())));
    for (const QHostAddress& reachable : pit::reachableAddresses(address)) {
        std::cerr << "pit view: "
                  << pit::pitUrl(reachable.toString().toStdString(), port,
                                 server.accessCode().toStdString())
                  << std::endl;
    }
    listener.onSaved = [&server, &day](const LapData& data, const std::string& path) {
        server.publish(QByteArray::fromStdString(pit::pitStateJson(day.after(data, path))));
    };
    listener.runInEventLoop(&server);
    return app.exec();
}

int runListen(ListenOptions o, const CLI::App& verb, const Texts& t) {
    const std::string prefix = messagePrefix(verb);
    if (!takeCount(o)) return wrongArguments(verb, t(Text::CountNotWhole));
    if (verb.count("--serve") > 0) {
        o.serve = pit::parseServeAddress(o.serveText);
        if (!o.serve) return wrongArguments(verb, t.with(Text::NotAServeAddress, {o.serveText}));
    }
    if (o.outDir.empty() || o.serve) {
        if (o.outDir.empty() && verb.count("--out") > 0) {
            return wrongArguments(verb, t.with(Text::OptionNeedsValue, {"--out"}));
        }
        // The window's settings store and data location, so both keep runs in one library.
        QCoreApplication::setOrganizationName(QStringLiteral("Korimet"));
        QCoreApplication::setApplicationName(QStringLiteral("Korimet"));
        o.libraryDir = libraryFolder().toStdString();
        if (o.outDir.empty()) {
            o.outDir = o.libraryDir;
            o.intoLibrary = true;
        }
    }
    const std::optional<std::string> device = devicePathFor(o.port);
    if (!device) {
        std::cerr << prefix << t.with(Text::NotAPort, {o.port}) << "\n";
        return 2;
    }
    std::error_code ec;
    std::filesystem::create_directories(o.outDir, ec);
    if (ec) {
        std::cerr << prefix << t.with(Text::CannotCreate, {o.outDir, ec.message()}) << "\n";
        return 2;
    }

    const Fd stop(endSignalsFd(prefix));
    if (stop.get() < 0) return 2;
    const std::string portText = *device == o.port ? o.port : o.port + " (" + *device + ")";
    const Fd line(openLine(*device, portText, prefix, t));
    if (line.get() < 0) return 2;
    std::cerr << prefix << t.with(Text::ListeningOn, {portText}) << "\n";
    Listener listener(line.get(), stop.get(), portText, o, prefix, t);
    return o.serve ? listenServing(listener, o, prefix, t) : listener.run();
}

}  // namespace

VerbRun listenVerb(CLI::App& verb, const Texts& texts) {
    auto options = std::make_shared<ListenOptions>();
    verb.add_option("PORT", options->port, texts(Text::ListenPort))->required();
    verb.add_option("--out", options->outDir, texts(Text::ListenOut))->type_name("DIR");
    verb.add_option("--count", options->countText, texts(Text::ListenCount))->type_name("N");
    verb.add_option("--serve", options->serveText, texts(Text::ListenServe))
        ->type_name("[ADDRESS:]NUMBER");
    verb.footer(texts(Text::ListenExit));
    return [options, texts, &verb] { return runListen(*options, verb, texts); };
}

}  // namespace korimet::cli
