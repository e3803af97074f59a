#include "tools/comparison.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "lapdata/numeric_picture.h"
#include "lapdata/run_statistics.h"
#include "tools/tool_texts.h"

namespace korimet {
std::optional<ToolRefusal> compareDataRefusal(const LapData& currentData) {
    if (currentData.lapCount == 0) return ToolRefusal{ToolRefusalCode::CompareNoData, {}};
    return std::nullopt;
}

std::string differenceText(double difference) {
    if (!std::isfinite(difference)) return kNoDifferenceText;
    return formatDifferencePicture(difference);
}

ComparisonOutcome buildComparison(const LapData& currentData, const LapStatistics& loadedStats,
                                  const LapData& comparisonData,
                                  std::string_view comparisonFileName) {
    ComparisonOutcome outcome;
    outcome.refusal = compareDataRefusal(currentData);
    if (outcome.refusal) return outcome;
    const int loadedLaps = countedLaps(currentData);
    const int comparedLaps = countedLaps(comparisonData);
    if (comparedLaps == 0) {
        // The average below would be 0 / 0.
        outcome.refusal =
            ToolRefusal{ToolRefusalCode::CompareNoLaps, std::string(comparisonFileName)};
        return outcome;
    }

    ComparisonView& view = outcome.view;
    ComparisonStatistics& s = view.stats;
    const int rows = std::max(loadedLaps, comparedLaps);
    view.chart.resize(static_cast<std::size_t>(rows));
    for (int r = 0; r < rows; ++r) {
        ChartRow& row = view.chart[static_cast<std::size_t>(r)];
        row.label = "lap" + std::to_string(r);
        row.values.assign(2, std::nullopt);
        if (r < loadedLaps) row.values[0] = currentData.laps[static_cast<std::size_t>(r)];
        if (r < comparedLaps) row.values[1] = comparisonData.laps[static_cast<std::size_t>(r)];
    }

    const RunStatistics run = runStatistics(comparisonData);
    view.chart[static_cast<std::size_t>(run.bestIndex)].label = kBestRowLabel;
    view.chart[static_cast<std::size_t>(run.worstIndex)].label = kWorstRowLabel;
    s.comparisonLapTotal = run.total;
    s.comparisonBestLap = run.best;
    s.comparisonWorstLap = run.worst;
    s.comparisonAverageLap = run.average;

    view.bestDifferenceText = differenceText(loadedStats.bestLap - s.comparisonBestLap);
    view.worstDifferenceText = differenceText(loadedStats.worstLap - s.comparisonWorstLap);
    view.averageDifferenceText = differenceText(loadedStats.averageLap - s.comparisonAverageLap);
    return outcome;
}

}  // namespace korimet
