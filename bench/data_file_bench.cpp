#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>

#include "files/data_file.h"

namespace {

// A full run: 60 laps and a memo of a few Japanese lines, as a user would keep.
korimet::LapData fullRun() {
    std::mt19937 rng(3);
    korimet::LapData d;
    d.carId = 12;
    d.lapCount = 60;
    d.targetTime = 61.5;
    d.raceMinutes = 17;
    for (double& lap : d.laps) lap = static_cast<double>(6000 + rng() % 900) / 100.0;
    return d;
}

const std::string kMemo =
    "練習走行①　晴れ　路面温度 32℃\r\n"
    "ｾｯﾃｨﾝｸﾞ: ﾀｲﾔ ｿﾌﾄ、ギヤ比 7.2～7.4\r\n"
    "第3コーナーで膨らむ。次回はダンパーを硬めに \"要確認\"";

void BM_WriteDataFileBytes(benchmark::State& state) {
    const auto data = fullRun();
    std::size_t bytes = 0;
    for (auto _ : state) {
        auto written = korimet::writeDataFileBytes(data, kMemo);
        bytes = written.bytes->size();
        benchmark::DoNotOptimize(written);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_WriteDataFileBytes);

void BM_ReadDataFileBytes(benchmark::State& state) {
    const std::string file = *korimet::writeDataFileBytes(fullRun(), kMemo).bytes;
    for (auto _ : state) {
        auto read = korimet::readDataFileBytes(file, "bench.krt");
        benchmark::DoNotOptimize(read);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}
BENCHMARK(BM_ReadDataFileBytes);

// File > Save over an existing file: the bytes, their sync, the rename and the folder's sync.
void BM_SaveDataFile(benchmark::State& state) {
    const auto data = fullRun();
    const std::string path =
        (std::filesystem::temp_directory_path() / "korimet-bench-save.krt").string();
    for (auto _ : state) {
        auto saved = korimet::saveDataFile(path, data, kMemo);
        benchmark::DoNotOptimize(saved);
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_SaveDataFile);

// Save and load through the file system, as File > Save and File > Open do.
void BM_SaveAndLoadDataFile(benchmark::State& state) {
    const auto data = fullRun();
    const std::string path =
        (std::filesystem::temp_directory_path() / "korimet-bench-run.krt").string();
    for (auto _ : state) {
        auto saved = korimet::saveDataFile(path, data, kMemo);
        auto loaded = korimet::loadDataFile(path);
        benchmark::DoNotOptimize(saved);
        benchmark::DoNotOptimize(loaded);
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_SaveAndLoadDataFile);

}  // namespace
