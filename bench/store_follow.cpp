// How long a change made by korimet-cli takes to reach the run store's rows: a library of
// many runs is listed, then one run is corrected and put back, again and again, by the real
// korimet-cli, and the time from the command's end to the store's change is measured.
// Usage: korimet_store_follow [runs in the library] [changes]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "library/run_library.h"
#include "library/store/run_store.h"

namespace {

korimet::LapData runOf(int seed) {
    korimet::LapData d;
    d.carId = static_cast<std::uint8_t>(1 + seed % 12);
    d.lapCount = 10;
    for (int i = 0; i < 10; ++i) d.laps[static_cast<std::size_t>(i)] = 55.0 + (seed * 7 + i) % 9;
    d.laps[5] = 2.41;  // a double press to correct
    return d;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::atoi(argv[1]) : 2000;
    const int changes = argc > 2 ? std::atoi(argv[2]) : 20;
    QTemporaryDir dir;
    const std::string folder = dir.filePath("runs").toStdString();
    std::string target;
    for (int i = 0; i < runs; ++i) {
        const korimet::KeptRun kept = korimet::keepRun(
            folder, runOf(i), {2026, 1 + i % 12, 1 + i % 28, 9, i / 60 % 60, i % 60});
        if (!kept) return 1;
        if (i == runs / 2) target = kept.path;
    }
    korimet::RunStore store;
    QElapsedTimer listing;
    listing.start();
    store.open(folder, {});
    QEventLoop wait;
    QObject::connect(&store, &korimet::RunStore::listed, &wait, &QEventLoop::quit);
    wait.exec();
    std::printf("listed %zu runs in %lld ms\n", store.entries().size(),
                static_cast<long long>(listing.elapsed()));

    const std::string relative = target.substr(folder.size() + 1);
    std::vector<double> delays;
    QElapsedTimer since;
    bool seen = false;
    QTimer limit;  // bounded, never for ever
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &wait, &QEventLoop::quit);
    QObject::connect(&store, &korimet::RunStore::runsChanged, [&](const korimet::StoreChanges& c) {
        for (const korimet::LibraryEntry& e : c.changed) {
            if (e.path == relative) seen = true;
        }
        if (seen) wait.quit();
    });
    for (int i = 0; i < changes; ++i) {
        const QStringList args =
            i % 2 == 0
                ? QStringList{"correct", "--apply", "merge-next:6", QString::fromStdString(target)}
                : QStringList{"correct", "--undo-all", QString::fromStdString(target)};
        seen = false;
        QProcess cli;
        cli.setStandardOutputFile(QProcess::nullDevice());
        cli.start(QStringLiteral(KORIMET_CLI), args);
        if (!cli.waitForFinished(30000) || cli.exitCode() != 0) return 1;
        since.start();
        limit.start(5000);
        if (!seen) wait.exec();
        limit.stop();
        delays.push_back(seen ? static_cast<double>(since.nsecsElapsed()) / 1e6 : -1.0);
    }
    std::sort(delays.begin(), delays.end());
    const double median = delays[delays.size() / 2];
    std::printf("%d changes by korimet-cli correct: median %.0f ms, slowest %.0f ms%s\n", changes,
                median, delays.back(), delays.front() < 0 ? " (some never seen)" : "");
    return 0;
}
