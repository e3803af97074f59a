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

Json statisticsJson(const RunStatistics& s) {
    return {{"counted", s.counted},
            {"best", cli::lapStatisticJson(s, s.best)},
            {"worst", cli::lapStatisticJson(s, s.worst)},
            {"average", cli::lapStatisticJson(s, s.average)},
            {"median", optionalNumber(s.median)},
            {"spread", optionalNumber(s.spread)},
            {"consistency", optionalNumber(s.consistency)}};
}

Json comparisonJson(const PitRun& shown, const PitRun& other, const SuspectLimits& limits) {
    const LapView view = buildLapView(shown.data);
    const ComparisonOutcome outcome = buildComparison(shown.data, view.stats, other.data);
    Json j;
    Json run = cli::runJson(other.data, buildLapView(other.data), limits);
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
    std::vector<LibraryEntry> runs;
    for (const LibraryEntry& e : listing.entries) {
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
        const LapView view = buildLapView(state.shown->data);
        j["shown"] = cli::showJson(state.shown->path, state.shown->data, view, state.shown->memo,
                                   state.limits);
        j["shown"]["statistics"] = statisticsJson(runStatistics(state.shown->data));
    } else {
        j["shown"] = nullptr;
    }
    j["comparison"] = state.shown && state.comparison
                          ? comparisonJson(*state.shown, *state.comparison, state.limits)
                          : Json();
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
        row["statistics"] = e.readable() ? statisticsJson(e.statistics) : Json(nullptr);
        if (e.readable() && e.carId && e.statistics.counted > 0) {
            trends[*e.carId].push_back({{"downloaded", isoText(e.downloaded)},
                                        {"best", e.statistics.best},
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
