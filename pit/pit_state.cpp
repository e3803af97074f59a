#include "pit/pit_state.h"

#include <algorithm>
#include <map>
#include <nlohmann/json.hpp>

#include "lapdata/lap_view_model.h"
#include "lapdata/run_statistics.h"
#include "runjson/json_out.h"
#include "runjson/show_json.h"
#include "tools/comparison.h"

namespace korimet::pit {

namespace {

using Json = nlohmann::ordered_json;

Json optionalNumber(const std::optional<double>& value) {
    return value ? Json(*value) : Json(nullptr);
}

// `best` as given: the shown run's as the window shows it, a listed run's confirmed best.
Json statisticsJson(const RunStatistics& s, const Json& best) {
    return {{"counted", s.counted},
            {"best", best},
            {"worst", cli::lapStatisticJson(s, s.worst)},
            {"average", cli::lapStatisticJson(s, s.average)},
            {"median", optionalNumber(s.median)},
            {"spread", optionalNumber(s.spread)},
            {"consistency", optionalNumber(s.consistency)}};
}

Json comparisonJson(const PitRun& shown, const PitRun& other) {
    const LapView view = buildLapView(shown.run.data);
    const ComparisonOutcome outcome = buildComparison(shown.run.data, view.stats, other.run.data);
    Json j;
    Json run = cli::runJson(other.run, buildLapView(other.run.data));
    j["path"] = other.path;
    j["run"] = std::move(run);
    if (outcome.refusal) {
        j["differences"] = nullptr;
    } else {
        j["differences"] = {{"best", outcome.view.bestDifferenceText},
                            {"worst", outcome.view.worstDifferenceText},
                            {"average", outcome.view.averageDifferenceText}};
    }
    return j;
}

}  // namespace

std::vector<LibraryEntry> runsOfDay(const LibraryListing& listing, const LocalTime& day) {
    return runsOfDay(listing.entries, day);
}

std::vector<LibraryEntry> runsOfDay(const std::vector<LibraryEntry>& entries,
                                    const LocalTime& day) {
    std::vector<LibraryEntry> runs;
    for (const LibraryEntry& e : entries) {
        const bool sameDay = e.downloaded.year == day.year && e.downloaded.month == day.month &&
                             e.downloaded.day == day.day;
        if (sameDay) runs.push_back(e);
    }
    sortOldestFirst(runs);
    return runs;
}

std::string pitStateJson(const PitState& state) {
    Json j;
    if (state.shown) {
        const RunView& run = state.shown->run;
        const LapView view = buildLapView(run.data);
        j["shown"] = cli::showJson(state.shown->path, run, view, state.shown->memo);
        j["shown"]["statistics"] = statisticsJson(
            run.statistics, cli::lapStatisticJson(run.statistics, run.statistics.best));
    } else {
        j["shown"] = nullptr;
    }
    j["comparison"] =
        state.shown && state.comparison ? comparisonJson(*state.shown, *state.comparison) : Json();
    j["day"] = state.day ? Json(isoText(*state.day).substr(0, 10)) : Json(nullptr);

    Json runs = Json::array();
    // Each car's best laps in the order of the day, for the per-car trend.
    std::map<int, Json> trends;
    for (const LibraryEntry& e : state.dayRuns) {
        Json row;
        cli::putName(row, "path", e.path);
        row["downloaded"] = isoText(e.downloaded);
        row["carId"] = e.carId ? Json(*e.carId) : Json(nullptr);
        row["readable"] = e.readable();
        const Json best = optionalNumber(e.confirmedBest);
        row["statistics"] = e.readable() ? statisticsJson(e.statistics, best) : Json(nullptr);
        if (e.readable() && e.carId && e.statistics.counted > 0) {
            trends[*e.carId].push_back({{"downloaded", isoText(e.downloaded)},
                                        {"best", best},
                                        {"average", e.statistics.average}});
        }
        runs.push_back(std::move(row));
    }
    j["dayRuns"] = std::move(runs);
    Json cars = Json::array();
    for (auto& [car, trend] : trends) cars.push_back({{"carId", car}, {"trend", std::move(trend)}});
    j["cars"] = std::move(cars);
    return cli::jsonLine(j);
}

}  // namespace korimet::pit
