// The window's frame-to-redraw latency while the pit view serves phones: the same measure as
// bench/serial_latency_uibench.cpp, with the pit view off (-1, the baseline), on with no page
// (0) and on with N pages open in another process (bench/pit_page_clients.cpp), each parsing
// every state pushed to it. Reports the window process's memory per open page.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "device/frame_encoder.h"
#include "device/ui/device_link.h"
#include "device/ui/serial_port.h"
#include "pit/ui/pit_texts.h"
#include "pit/ui/pit_view_ui.h"
#include "pit/ui/pit_window.h"
#include "shell/ui/main_window.h"
#include "tests/support/pty.h"

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

// Resident memory of this process, in KiB.
double residentKiB() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return static_cast<double>(resident) * 4.0;
}

void BM_SerialFrameToRedrawWithPitPages(benchmark::State& state) {
    const int pages = static_cast<int>(state.range(0));
    korimet::test::Pty pty;
    if (!pty.ok()) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    QSettings().setValue(QStringLiteral("Ports/COM1"), pty.path());
    // A library of its own: the day's runs the pages get are the ones downloaded here.
    const QTemporaryDir library;
    QSettings().setValue(QStringLiteral("Library/Folder"), library.path());
    korimet::MainWindow window;
    korimet::attachPitView(window.addition(), {"127.0.0.1", 0});
    window.show();
    QRegularExpressionMatch where;
    if (pages >= 0) {
        window.findChild<QAction*>(QString::fromUtf8(korimet::pittexts::kMenuItemName))->trigger();
        auto* pit = window.findChild<korimet::PitWindow*>();
        static const QRegularExpression url(R"(http://127\.0\.0\.1:(\d+)/\?code=(\w+))");
        where = url.match(pit->findChild<QLabel*>(QStringLiteral("pitAddress"))->text());
        if (!where.hasMatch()) {
            state.SkipWithError("the pit view did not start");
            return;
        }
    }
    window.deviceLink().openPortFromMenu(1);
    auto* port = window.findChild<korimet::SerialPortSurface*>();
    if (!port || !port->isOpen()) {
        state.SkipWithError("the window did not open the pseudo-terminal");
        return;
    }

    korimet::test::settle();
    const double before = residentKiB();
    QProcess clients;
    if (pages > 0) {
        clients.start(QStringLiteral(KORIMET_PIT_PAGE_CLIENTS),
                      {QStringLiteral("ws://127.0.0.1:%1/live?code=%2")
                           .arg(where.captured(1), where.captured(2)),
                       QString::number(pages)});
        const bool open = korimet::test::waitUntil([&] {
            return clients.readAllStandardOutput().startsWith("open") ||
                   clients.state() == QProcess::NotRunning;
        });
        if (!open || clients.state() == QProcess::NotRunning) {
            state.SkipWithError("the pages did not open");
            return;
        }
        korimet::test::settle();
    }
    const double perPage = pages > 0 ? (residentKiB() - before) / pages : 0.0;

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
        // The pushes to the pages go out between frames, as they would at the track.
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    guard.stop();
    clients.kill();
    clients.waitForFinished(5000);
    const double median = percentile(micros, 0.50);
    const double p99 = percentile(micros, 0.99);
    state.counters["median_ms"] = median / 1000.0;
    state.counters["p99_ms"] = p99 / 1000.0;
    state.counters["KiB_per_page"] = perPage;
    std::printf(
        "serial frame to redraw, pit view %s, %d pages open, over %zu frames: median %.2f ms, "
        "99th percentile %.2f ms; window process memory per page %.1f KiB\n",
        pages >= 0 ? "on" : "off", std::max(pages, 0), micros.size(), median / 1000.0, p99 / 1000.0,
        perPage);
    QSettings().remove(QStringLiteral("Ports"));
    QSettings().remove(QStringLiteral("Library"));
}
BENCHMARK(BM_SerialFrameToRedrawWithPitPages)
    ->Arg(-1)
    ->Arg(0)
    ->Arg(30)
    ->Iterations(200)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Korimet");
    QApplication::setApplicationName("KorimetBench");  // keep the user's settings untouched
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
