#include "corrections/run_view.h"

#include <algorithm>
#include <cstddef>

namespace korimet {

namespace {

std::vector<bool> refusedLaps(const std::vector<Suspect>& suspects) {
    const std::size_t n = suspects.size();
    std::vector<bool> refused(n, false);
    for (std::size_t i = 0; i < n; ++i) {
        if (suspects[i] == Suspect::None) continue;
        refused[i] = true;
        if (suspects[i] == Suspect::Short && n > 1) refused[i + 1 < n ? i + 1 : i - 1] = true;
    }
    return refused;
}

std::optional<double> confirmedBestLap(const LapData& data, const std::vector<bool>& refused) {
    std::optional<double> best;
    for (std::size_t i = 0; i < refused.size(); ++i) {
        if (!refused[i] && (!best || data.laps[i] < *best)) best = data.laps[i];
    }
    return best;
}

RunPace runPace(const LapData& data, const std::vector<bool>& refused) {
    RunPace pace;
    const std::size_t n = refused.size();
    const auto& laps = data.laps;
    for (std::size_t i = 0; i + 3 <= n; ++i) {
        if (refused[i] || refused[i + 1] || refused[i + 2]) continue;
        const double total = laps[i] + laps[i + 1] + laps[i + 2];
        if (!pace.bestThree || total < pace.bestThree->total) {
            pace.bestThree = BestThree{total, static_cast<int>(i)};
        }
    }
    std::vector<std::size_t> kept;
    for (std::size_t i = 0; i < n; ++i) {
        if (!refused[i]) kept.push_back(i);
    }
    if (kept.size() < 3) return pace;
    // By the laps' places in the run, so a lap left out leaves its gap.
    std::vector<double> slopes;
    slopes.reserve(kept.size() * (kept.size() - 1) / 2);
    for (std::size_t a = 0; a < kept.size(); ++a) {
        for (std::size_t b = a + 1; b < kept.size(); ++b) {
            const std::size_t i = kept[a];
            const std::size_t j = kept[b];
            slopes.push_back((laps[j] - laps[i]) / static_cast<double>(j - i));
        }
    }
    const auto middle = slopes.size() / 2;
    std::nth_element(slopes.begin(), slopes.begin() + static_cast<std::ptrdiff_t>(middle),
                     slopes.end());
    double median = slopes[middle];
    if (slopes.size() % 2 == 0) {
        const double below =
            *std::max_element(slopes.begin(), slopes.begin() + static_cast<std::ptrdiff_t>(middle));
        median = (below + median) / 2.0;
    }
    pace.trend = median;
    return pace;
}

std::vector<LapMark> lapMarks(const CorrectedRun& run, const std::vector<Suspect>& suspects) {
    std::vector<LapMark> marks;
    bool any = false;
    for (std::size_t i = 0; i < suspects.size(); ++i) {
        LapMark mark = LapMark::None;
        const auto listed =
            i < run.listIndex.size() ? static_cast<std::size_t>(run.listIndex[i]) : run.laps.size();
        if (listed < run.laps.size() && run.laps[listed].origin != LapOrigin::AsDownloaded)
            mark = LapMark::Corrected;
        // A lap that still looks mis-pressed says so, corrected or not.
        if (suspects[i] == Suspect::Short) mark = LapMark::Short;
        if (suspects[i] == Suspect::Long) mark = LapMark::Long;
        any = any || mark != LapMark::None;
        marks.push_back(mark);
    }
    // No marks at all for a run without any, so it draws as it always did.
    if (!any) marks.clear();
    return marks;
}

}  // namespace

int RunView::suspectCount() const {
    return static_cast<int>(std::count_if(suspects.begin(), suspects.end(),
                                          [](Suspect s) { return s != Suspect::None; }));
}

RunView viewRun(const RunCorrections& corrections, const SuspectLimits& limits) {
    RunView view;
    const CorrectedRun& run = corrections.run();
    view.data = run.data;
    view.correctionSteps = static_cast<int>(corrections.steps().size());
    view.suspects = suspectLaps(view.data, limits);
    view.refused = refusedLaps(view.suspects);
    view.marks = lapMarks(run, view.suspects);
    view.statistics = runStatistics(view.data);
    view.confirmedBest = confirmedBestLap(view.data, view.refused);
    view.pace = runPace(view.data, view.refused);
    return view;
}

RunView viewRun(const LapData& data, const SuspectLimits& limits) {
    return viewRun(RunCorrections(data), limits);
}

RunViewRead readRunView(const std::string& runPath, const LapData& downloaded,
                        const SuspectLimits& limits) {
    const CorrectedRunRead read = loadCorrections(runPath, downloaded);
    return {viewRun(read.corrections, limits), read.error};
}

}  // namespace korimet
