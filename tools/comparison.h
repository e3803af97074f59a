#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "lapdata/lap_data.h"
#include "lapdata/lap_view_model.h"
#include "tools/tool_dialogs.h"

namespace korimet {

inline constexpr double kComparisonBestStart = 10000.0;

struct ComparisonStatistics {
    double comparisonLapTotal = 0.0;
    double comparisonBestLap = kComparisonBestStart;
    double comparisonWorstLap = 0.0;
    double comparisonAverageLap = 0.0;
    friend bool operator==(const ComparisonStatistics&, const ComparisonStatistics&) = default;
};

// Everything a comparison shows: the two-series chart table and the three differences.
struct ComparisonView {
    ChartTable chart;  // rows "lap<r>" / "Best" / "Worst"; values {loaded run, comparison run}
    ComparisonStatistics stats;
    std::string bestDifferenceText;     // Label25
    std::string worstDifferenceText;    // Label26
    std::string averageDifferenceText;  // Label27
};

struct ComparisonOutcome {
    std::optional<ToolRefusal> refusal;  // set: show it and leave the display as it was
    ComparisonView view;                 // meaningful only without a refusal
};

// Checked before the file dialog: nothing loaded means nothing to compare from.
std::optional<ToolRefusal> compareDataRefusal(const LapData& currentData);

// The comparison of the loaded run (with the statistics its last redraw left; all 0 before
// the first) against a run read from `comparisonFileName`. A lap count above 60 counts
// as 60. A comparison run without laps is refused, naming the file.
ComparisonOutcome buildComparison(const LapData& currentData, const LapStatistics& loadedStats,
                                  const LapData& comparisonData,
                                  std::string_view comparisonFileName = {});

// The difference picture, or kNoDifferenceText for a value that is not finite.
std::string differenceText(double difference);

}  // namespace korimet
