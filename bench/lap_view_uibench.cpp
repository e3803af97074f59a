#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>

#include "device/frame_encoder.h"
#include "device/ui/device_link.h"
#include "files/ui/file_commands.h"
#include "lapdata/lap_view_model.h"
#include "lapdata/ui/lap_panel.h"
#include "shell/ui/main_window.h"
#include "tools/ui/analysis_commands.h"

namespace {

korimet::LapData sixtyLaps() {
    korimet::LapData d;
    d.carId = 3;
    d.lapCount = 60;
    d.targetTime = 63.0;
    d.raceMinutes = 30;
    for (int i = 0; i < korimet::kLapSlots; ++i) {
        d.laps[static_cast<std::size_t>(i)] = (6000 + (i * 37) % 900) / 100.0;
    }
    return d;
}

void BM_BuildLapView60(benchmark::State& state) {
    const korimet::LapData data = sixtyLaps();
    for (auto _ : state) benchmark::DoNotOptimize(korimet::buildLapView(data));
}
BENCHMARK(BM_BuildLapView60);

// One whole redraw as a download triggers it: model, grid, labels, chart, repaint.
void BM_ShowLapData60(benchmark::State& state) {
    korimet::MainWindow window;
    window.show();
    const auto frame = korimet::encodeFrame(korimet::frameFieldsFor(sixtyLaps()));
    window.deviceLink().feedBytes(QByteArray(reinterpret_cast<const char*>(frame.data()),
                                             static_cast<qsizetype>(frame.size())));
    for (auto _ : state) window.lapPanel().showLapData();
}
BENCHMARK(BM_ShowLapData60)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Korimet");
    QApplication::setApplicationName("KorimetBench");  // keep the user's placement untouched
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
