#pragma once

// Start-up measuring aid, header-only so that a bare Qt program can use it too.
// With KORIMET_EXIT_WHEN_SHOWN=1 the program prints the milliseconds from process start to
// the first paint of its window and exits.

#include <time.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace korimet {

inline bool exitWhenShownRequested() {
    const char* flag = std::getenv("KORIMET_EXIT_WHEN_SHOWN");
    return flag && std::string(flag) == "1";
}

// Milliseconds since the kernel started this process (10 ms steps on Linux), or a negative
// value where that is not known.
inline double millisecondsSinceProcessStart() {
    std::ifstream stat("/proc/self/stat");
    std::string line;
    if (!std::getline(stat, line)) return -1.0;
    const auto afterName = line.rfind(')');
    if (afterName == std::string::npos) return -1.0;
    std::istringstream fields(line.substr(afterName + 2));
    std::string field;
    // Field 3 (state) is first here; the start time is field 22.
    for (int i = 3; i < 22 && fields >> field; ++i) {
    }
    unsigned long long startTicks = 0;
    if (!(fields >> startTicks)) return -1.0;
    timespec now{};
    if (clock_gettime(CLOCK_BOOTTIME, &now) != 0) return -1.0;
    const double ticksPerSecond = static_cast<double>(sysconf(_SC_CLK_TCK));
    const double nowMs =
        static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1.0e6;
    return nowMs - static_cast<double>(startTicks) * 1000.0 / ticksPerSecond;
}

// Watches a window for its first paint, prints the start-up time and ends the event loop.
class FirstPaintProbe : public QObject {
  public:
    FirstPaintProbe(QWidget* window, std::chrono::steady_clock::time_point mainEntered)
        : QObject(window), mainEntered_(mainEntered) {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!seen_ && event->type() == QEvent::Paint) {
            seen_ = true;
            // Report once this paint has been delivered.
            QTimer::singleShot(0, this, [this] {
                const double sinceMain = std::chrono::duration<double, std::milli>(
                                             std::chrono::steady_clock::now() - mainEntered_)
                                             .count();
                std::printf("startup_ms %.1f main_ms %.1f\n", millisecondsSinceProcessStart(),
                            sinceMain);
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    std::chrono::steady_clock::time_point mainEntered_;
    bool seen_ = false;
};

}  // namespace korimet
