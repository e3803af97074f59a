#include "lapdata/lap_view_model.h"

#include "lapdata/lap_time.h"
#include "lapdata/numeric_picture.h"
#include "lapdata/race_walk.h"
#include "lapdata/run_statistics.h"

namespace korimet {

GridPlace gridPlaceOfSlot(int slot) {
    if (slot < kGridBodyRows) return {slot + 1, 0, 1};
    return {slot - kGridBodyRows + 1, 2, 3};
}

std::array<std::array<std::string, kGridColumns>, kGridRows> emptyGridCells() {
    std::array<std::array<std::string, kGridColumns>, kGridRows> cells;
    cells[0] = {"LAP", "Time", "LAP", "Time"};
    for (int i = 1; i <= kGridBodyRows; ++i) {
        cells[static_cast<std::size_t>(i)] = {std::to_string(i), kNoLapTimeText,
                                              std::to_string(i + kGridBodyRows), kNoLapTimeText};
    }
    return cells;
}

LapView buildLapView(const LapData& data) {
    LapView view;
    view.cells = emptyGridCells();
    for (auto& row : view.colors) row.fill(kCellWhite);

    auto paint = [&view](int slot, std::uint32_t color) {
        const GridPlace p = gridPlaceOfSlot(slot);
        view.colors[static_cast<std::size_t>(p.row)][static_cast<std::size_t>(p.numberColumn)] =
            color;
        view.colors[static_cast<std::size_t>(p.row)][static_cast<std::size_t>(p.timeColumn)] =
            color;
    };

    const RunStatistics run = runStatistics(data);
    LapStatistics& s = view.stats;
    s.lapTotal = run.total;
    s.bestLap = run.best;
    s.worstLap = run.worst;
    s.averageLap = run.average;
    const int n = run.counted;
    if (n == 0) {
        view.chartVisible = false;
    } else {
        ChartTable chart(static_cast<std::size_t>(n));
        for (int r = 0; r < n; ++r) {
            const double lap = data.laps[static_cast<std::size_t>(r)];
            chart[static_cast<std::size_t>(r)] = {"lap" + std::to_string(r), {lap}};
            const GridPlace p = gridPlaceOfSlot(r);
            view.cells[static_cast<std::size_t>(p.row)][static_cast<std::size_t>(p.timeColumn)] =
                lapTimeOrPlaceholder(lap);
            if (meetsTarget(data, lap)) paint(r, kCellTarget);
        }
        chart[static_cast<std::size_t>(run.bestIndex)].label = kBestRowLabel;
        chart[static_cast<std::size_t>(run.worstIndex)].label = kWorstRowLabel;
        view.bestSlot = run.bestIndex;
        view.worstSlot = run.worstIndex;
        paint(run.bestIndex, kCellBest);
        paint(run.worstIndex, kCellWorst);
        view.chart = std::move(chart);
        view.chartVisible = true;
    }

    view.carText = formatPicture00(data.carId);
    view.lapCountText = formatPicture00L(data.lapCount);
    view.targetText =
        data.targetTime < kNoTargetTime ? lapTimeOrPlaceholder(data.targetTime) : kNoTargetText;
    view.bestText = lapTimeOrPlaceholder(s.bestLap);
    view.worstText = lapTimeOrPlaceholder(s.worstLap);
    view.averageText = lapTimeOrPlaceholder(s.averageLap);

    if (data.raceMinutes != 0) {
        const RaceWalk walk = walkRace(data.laps, data.raceMinutes * 60.0);
        view.raceTotal = walk.total;
        view.raceLine = raceResultLine(data.raceMinutes, walk);
    }
    return view;
}

}  // namespace korimet
