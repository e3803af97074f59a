// From the last byte of a frame written on the line to the redraw finished in the window:
// a pseudo-terminal stands in for the timer, the window's own serial port reads the slave.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QSettings>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "device/frame_encoder.h"
#include "device/ui/device_link.h"
#include "device/ui/serial_port.h"
#include "files/ui/file_commands.h"
#include "lapdata/ui/lap_panel.h"
#include "shell/ui/main_window.h"
#include "tests/support/pty.h"
#include "tools/ui/analysis_commands.h"

namespace {

using Clock = std::chrono::steady_clock;

korimet::LapData sixtyLaps(std::uint8_t carId) {
    korimet::LapData d;
    d.carId = carId;
    d.lapCount = 60;
    d.targetTime = 63.0;
    d.raceMinutes = 30;
    for (int i = 0; i < korimet::kLapSlots; ++i) {
        d.laps[static_cast<std::size_t>(i)] = (6000 + (i * 37 + carId) % 900) / 100.0;
    }
    return d;
}

double percentile(std::vector<double> values, double p) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    const auto at = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(at, values.size() - 1)];
}

void BM_SerialFrameToRedraw(benchmark::State& state) {
    korimet::test::Pty pty;
    if (!pty.ok()) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    QSettings().setValue(QStringLiteral("Ports/COM1"), pty.path());
    korimet::MainWindow window;
    window.show();
    window.deviceLink().openPortFromMenu(1);
    auto* port = window.findChild<korimet::SerialPortSurface*>();
    if (!port || !port->isOpen()) {
        state.SkipWithError("the window did not open the pseudo-terminal");
        return;
    }

    // Connected after the window's own receive handler, so it runs once that handler, and
    // with it the redraw of a completed frame, has returned.
    QEventLoop loop;
    int expectedCar = -1;
    Clock::time_point shownAt;
    QObject::connect(port, &korimet::SerialPortSurface::bytesReceived, &loop, [&] {
        if (window.currentData().carId == expectedCar) {
            shownAt = Clock::now();
            loop.quit();
        }
    });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &loop, [&] { loop.exit(1); });

    std::vector<double> micros;
    std::uint8_t car = 0;
    for (auto _ : state) {
        car = static_cast<std::uint8_t>(car % 250 + 1);
        expectedCar = car;
        const auto frame = korimet::encodeFrame(korimet::frameFieldsFor(sixtyLaps(car), 2, 12));
        guard.start(5000);
        if (!pty.write(frame.data(), frame.size())) {
            state.SkipWithError("write failed");
            break;
        }
        const Clock::time_point written = Clock::now();
        if (loop.exec() != 0) {
            state.SkipWithError("frame not shown within 5 s");
            break;
        }
        const double us = std::chrono::duration<double, std::micro>(shownAt - written).count();
        micros.push_back(us);
        state.SetIterationTime(us / 1e6);
    }
    guard.stop();
    const double median = percentile(micros, 0.50);
    const double p99 = percentile(micros, 0.99);
    state.counters["median_ms"] = median / 1000.0;
    state.counters["p99_ms"] = p99 / 1000.0;
    std::printf(
        "serial frame to redraw over %zu frames: median %.2f ms, 99th percentile %.2f ms "
        "(a 134-byte frame takes 70 ms on the 19,200-baud line)\n",
        micros.size(), median / 1000.0, p99 / 1000.0);
    QSettings().remove(QStringLiteral("Ports"));
}
BENCHMARK(BM_SerialFrameToRedraw)->Iterations(200)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
