#include "tools/comparison.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "lapdata/numeric_picture.h"
#include "tools/tool_texts.h"

namespace korimet {
namespace {

// Never visit a slot past the record's 60, whatever a file claimed.
int usableLaps(const LapData& data) { return std::min<int>(data.lapCount, kLapSlots); }

}  // namespace

std::optional<ToolRefusal> compareDataRefusal(const LapData& currentData) {
    if (currentData.lapCount == 0) return ToolRefusal{kCompareNoDataMessage, kCompareTitle};
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
    const int loadedLaps = usableLaps(currentData);
    const int comparedLaps = usableLaps(comparisonData);
    if (comparedLaps == 0) {
        // The average below would be 0 / 0.
        std::string message = kCompareNoLapsMessage;
        if (!comparisonFileName.empty()) message.append("\n").append(comparisonFileName);
        outcome.refusal = ToolRefusal{message, kCompareTitle};
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
    }

    int bestRow = 0;  // unset counts as row 0
    int worstRow = 0;
    for (int r = 0; r < comparedLaps; ++r) {
        const double t = comparisonData.laps[static_cast<std::size_t>(r)];
        view.chart[static_cast<std::size_t>(r)].values[1] = t;
        s.comparisonLapTotal += t;
        if (s.comparisonBestLap > t) {
            s.comparisonBestLap = t;
            bestRow = r;
        }
        if (s.comparisonWorstLap < t) {
            s.comparisonWorstLap = t;
            worstRow = r;
        }
    }
    view.chart[static_cast<std::size_t>(bestRow)].label = kBestRowLabel;
    view.chart[static_cast<std::size_t>(worstRow)].label = kWorstRowLabel;
    s.comparisonAverageLap = s.comparisonLapTotal / comparedLaps;

    view.bestDifferenceText = differenceText(loadedStats.bestLap - s.comparisonBestLap);
    view.worstDifferenceText = differenceText(loadedStats.worstLap - s.comparisonWorstLap);
    view.averageDifferenceText = differenceText(loadedStats.averageLap - s.comparisonAverageLap);
    return outcome;
}

}  // namespace korimet
