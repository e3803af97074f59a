#pragma once

#include <optional>
#include <string>
#include <vector>

#include "corrections/correction_file.h"
#include "corrections/lap_corrections.h"
#include "corrections/lap_flags.h"
#include "lapdata/lap_data.h"
#include "lapdata/run_statistics.h"

// A run as the program sees it: the downloaded laps with the racer's corrections applied, and
// every number said of it. The window, the sheet, the pit view, the library and every verb
// take a run from here, so that one run has one set of numbers everywhere.
namespace korimet {

// A mark beside a shown lap: one that looks mis-pressed, or one a correction made.
enum class LapMark { None, Short, Long, Corrected };

struct BestThree {
    double total = 0.0;
    int start = 0;  // index of the first of the three counted laps
    friend bool operator==(const BestThree&, const BestThree&) = default;
};

// Two numbers racers ask for beside best, average and consistency, over the laps a personal
// best would take.
struct RunPace {
    // Three laps in a row, none of them refused; the first of equal totals.
    std::optional<BestThree> bestThree;
    // Seconds per lap, positive when the laps get slower: the Theil-Sen slope (the median of
    // the slopes between every two laps, by their place in the run), so one long lap cannot
    // decide it. None below three laps.
    std::optional<double> trend;
    friend bool operator==(const RunPace&, const RunPace&) = default;
};

struct RunView {
    LapData data;  // the laps as corrected: what is shown and counted
    int correctionSteps = 0;
    std::vector<Suspect> suspects;  // one per counted lap
    // One per counted lap: a suspect lap is no lap driven, and the lap after a short one
    // (before it, for the last lap) lost the time the double press took. Neither is a
    // personal best, nor in the best three or the pace, until the racer corrects the run.
    std::vector<bool> refused;
    std::vector<LapMark> marks;           // one per counted lap; none at all when no lap has a mark
    RunStatistics statistics;             // of every counted lap, as the lap display shows them
    std::optional<double> confirmedBest;  // the best lap not refused
    RunPace pace;

    int suspectCount() const;
};

// The run the corrections make, judged by `limits` (the user's).
RunView viewRun(const RunCorrections& corrections, const SuspectLimits& limits = {});
// Laps without corrections: a download not kept, a run from standard input.
RunView viewRun(const LapData& data, const SuspectLimits& limits = {});

// The run read from runPath with the correction file beside it. A correction file that cannot
// be read or applied leaves the run as downloaded, with the reason to tell the user.
struct RunViewRead {
    RunView view;
    CorrectionFileError correctionError;
};
RunViewRead readRunView(const std::string& runPath, const LapData& downloaded,
                        const SuspectLimits& limits = {});

}  // namespace korimet
