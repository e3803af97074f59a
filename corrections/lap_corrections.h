#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "corrections/lap_flags.h"
#include "lapdata/lap_data.h"

// Corrections of mis-pressed laps. The run as downloaded is never changed: a correction is
// a step in a list applied to it, so undoing is dropping steps and undoing everything gives
// the downloaded record back exactly.
namespace korimet {

enum class CorrectionKind {
    MergeIntoNext,      // a double press: the short lap's time goes to the lap after it
    MergeIntoPrevious,  // the same, at the end of a run
    Split,              // a missed press: the lap becomes two equal laps
    LeaveOut,           // the lap stays in the list but out of the run's numbers
};

// `lap` counts from 0 over the corrected list as it is when the step is applied (left-out
// laps included).
struct Correction {
    CorrectionKind kind = CorrectionKind::LeaveOut;
    int lap = 0;
    friend bool operator==(const Correction&, const Correction&) = default;
};

// Why a step cannot be applied to a list.
enum class CorrectionRefusal {
    None,
    NoSuchLap,    // past the list
    NoNeighbour,  // a merge at the end it points to
    LapLeftOut,   // the lap, or the one it would merge with, is left out
    NoFreeSlot,   // a split with all 60 slots in use
};

enum class LapOrigin { AsDownloaded, Merged, Split };

struct CorrectedLap {
    double seconds = 0.0;
    LapOrigin origin = LapOrigin::AsDownloaded;
    bool leftOut = false;
    friend bool operator==(const CorrectedLap&, const CorrectedLap&) = default;
};

// The corrected run. `data` is what the window, the library and the files show: the laps
// that count, in order, in the first slots; slots a merge or a left-out lap freed hold 0,
// slots past the downloaded count keep what the record carried there. `laps` is the whole
// list, left-out laps included.
struct CorrectedRun {
    LapData data;
    std::vector<CorrectedLap> laps;
    // For each lap of `data`, its place in `laps`.
    std::vector<int> listIndex;
};

// The downloaded record as a list before any step.
std::vector<CorrectedLap> lapList(const LapData& downloaded);

CorrectionRefusal checkCorrection(const std::vector<CorrectedLap>& laps, const Correction& step);

// Applies one step in place; a refused step changes nothing.
CorrectionRefusal applyCorrection(std::vector<CorrectedLap>& laps, const Correction& step);

// The record for a list: other fields as downloaded.
CorrectedRun correctedRun(const LapData& downloaded, std::vector<CorrectedLap> laps);

// The downloaded run with a list of steps, the one place a window, a file or a script
// changes corrections through.
class RunCorrections {
  public:
    explicit RunCorrections(const LapData& downloaded = {});

    // Adds the step when it applies; a refused step is not kept.
    CorrectionRefusal apply(const Correction& step);
    // Applies each step in turn; stops at the first refused one and returns its index
    // (the steps before it stay applied).
    std::optional<std::size_t> applyAll(const std::vector<Correction>& steps);
    bool undo();  // the last step; false when there is none
    void undoAll();

    const LapData& downloaded() const { return downloaded_; }
    const std::vector<Correction>& steps() const { return steps_; }
    const CorrectedRun& run() const { return run_; }

  private:
    void rebuild();

    LapData downloaded_;
    std::vector<Correction> steps_;
    CorrectedRun run_;
};

// A suspect lap of the corrected run and the fix offered for it.
struct Suggestion {
    int lap = 0;  // in the corrected list
    Suspect suspect = Suspect::None;
    Correction fix;
    friend bool operator==(const Suggestion&, const Suggestion&) = default;
};

// The suspects of the run's counted laps, first to last: a short lap is merged into the
// next lap (the previous one for the last lap), a long lap split in two; where that cannot
// be done, the lap is left out.
std::vector<Suggestion> suggestCorrections(const CorrectedRun& run,
                                           const SuspectLimits& limits = {});

// Names for files and scripts: "merge-next", "merge-previous", "split", "leave-out".
std::string_view correctionKindName(CorrectionKind kind);
std::optional<CorrectionKind> correctionKindNamed(std::string_view name);

}  // namespace korimet
