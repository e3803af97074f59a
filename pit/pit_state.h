#pragma once

#include <optional>
#include <string>
#include <vector>

#include "corrections/run_view.h"
#include "library/run_library.h"

// What the pit view serves: one value built from the session or the headless listener, turned
// into the JSON every page and script reads. Nothing here knows about sockets.
namespace korimet::pit {

struct PitRun {
    RunView run;
    std::string memo;
    std::string path;  // empty for a run that has no file (a download, the template)
};

struct PitState {
    std::optional<PitRun> shown;
    std::optional<PitRun> comparison;
    std::vector<LibraryEntry> dayRuns;  // oldest first
    std::optional<LocalTime> day;       // the day dayRuns belong to
};

// The runs of the listing downloaded on `day`, oldest first; unreadable rows are kept so a
// problem never looks like no runs.
std::vector<LibraryEntry> runsOfDay(const LibraryListing& listing, const LocalTime& day);
std::vector<LibraryEntry> runsOfDay(const std::vector<LibraryEntry>& entries, const LocalTime& day);

// The state as one line of JSON: "shown" is what `korimet-cli show --json` prints of that
// run, "comparison" the compared run with the three differences, "dayRuns" one row a run
// with its statistics, "cars" the cars of the day and each car's trend of best laps. A run's
// best in the day's list and trend is its confirmed best: a lap a personal best refuses is
// no run's best there.
std::string pitStateJson(const PitState& state);

}  // namespace korimet::pit
