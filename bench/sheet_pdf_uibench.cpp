#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "sheet/lap_sheet.h"
#include "sheet/ui/sheet_renderer.h"

namespace {

korimet::LapData sixtyLaps(double base, std::uint8_t car) {
    korimet::LapData d;
    d.carId = car;
    d.targetTime = base + 1.0;
    d.raceMinutes = 17;
    d.lapCount = korimet::kLapSlots;
    for (int i = 0; i < korimet::kLapSlots; ++i)
        d.laps[static_cast<std::size_t>(i)] = base + (i * 37 % 60) / 20.0;
    return d;
}

// The whole sheet of a full run beside a full comparison, from the records to a file.
void BM_WriteSheetPdf60Compared(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sheet.pdf"));
    korimet::SheetInput input;
    input.run = {korimet::viewRun(sixtyLaps(60.0, 7)), "/runs/2026-12-10/143500-car07.krt"};
    input.comparison = korimet::SheetRun{korimet::viewRun(sixtyLaps(60.5, 9)), "/runs/other.krt"};
    input.memo = "雨上がり、路面は半乾き。\n二本目からタイヤを替えた。";
    input.date = {2026, 12, 10, 14, 35, 0};
    for (auto _ : state) {
        const korimet::LapSheet sheet = korimet::buildLapSheet(input);
        if (!korimet::writeSheetPdf(sheet, korimet::Paper::A4, path)) state.SkipWithError("write");
    }
}
BENCHMARK(BM_WriteSheetPdf60Compared)->Unit(benchmark::kMillisecond);

}  // namespace
