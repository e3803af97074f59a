#pragma once

#include <string>

#include "corrections/correction_file.h"
#include "corrections/lap_corrections.h"
#include "files/data_file.h"
#include "support/frames.h"

// A run with a double press, as a tester found it: lap 6 (2.41 s) is the extra press, and
// lap 7 (49.93 s) lost those 2.41 s to it. The personal best refuses both; merged, lap 7 is
// the 52.34 s driven.
namespace korimet::test {

inline LapData doublePressRun() {
    return runWithLaps({55.80, 53.12, 52.64, 52.88, 52.19, 2.41, 49.93, 52.40, 52.71, 53.05},
                       kNoTargetTime, 0, 9);
}

inline constexpr int kDoublePressLap = 5;  // from 0

// The run saved at `path`; with `corrected`, the correction file beside it that merges the
// double press into the lap after it, as the racer would.
inline bool writeDoublePressRun(const std::string& path, bool corrected) {
    if (!saveDataFile(path, doublePressRun(), "")) return false;
    if (!corrected) return true;
    RunCorrections corrections(doublePressRun());
    if (corrections.apply({CorrectionKind::MergeIntoNext, kDoublePressLap}) !=
        CorrectionRefusal::None)
        return false;
    return !saveCorrections(path, corrections);
}

// The laps as merged.
inline LapData mergedDoublePressRun() {
    RunCorrections corrections(doublePressRun());
    corrections.apply({CorrectionKind::MergeIntoNext, kDoublePressLap});
    return corrections.run().data;
}

}  // namespace korimet::test
