#include "runjson/show_json.h"

#include <cstdint>
#include <cstdio>

#include "files/file_texts.h"
#include "lapdata/lap_time.h"
#include "lapdata/run_statistics.h"
#include "runjson/json_out.h"

namespace korimet::cli {

namespace {

// The window's colour value as it is stored (blue, green, red from the high byte down).
std::string hexColor(std::uint32_t value) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%06X", static_cast<unsigned>(value & 0xFFFFFF));
    return buf;
}

// The same colour as a web page writes it, red first.
std::string webColor(std::uint32_t value) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02X%02X%02X", static_cast<unsigned>(value & 0xFF),
                  static_cast<unsigned>((value >> 8) & 0xFF),
                  static_cast<unsigned>((value >> 16) & 0xFF));
    return buf;
}

// What the window paints a lap as: worst is painted last, so it wins over best.
const char* lapRole(const LapData& data, const LapView& view, int slot) {
    if (slot == view.worstSlot) return "worst";
    if (slot == view.bestSlot) return "best";
    if (meetsTarget(data, data.laps[static_cast<std::size_t>(slot)])) return "target";
    return "none";
}

}  // namespace

nlohmann::ordered_json runJson(const RunView& shown, const LapView& view) {
    const LapData& data = shown.data;
    const RunStatistics& stats = shown.statistics;
    nlohmann::ordered_json run;
    run["carId"] = data.carId;
    run["lapCount"] = data.lapCount;
    run["targetTime"] = targetTimeJson(data);
    run["raceMinutes"] = data.raceMinutes;
    run["best"] = lapStatisticJson(stats, stats.best);
    run["worst"] = lapStatisticJson(stats, stats.worst);
    run["average"] = lapStatisticJson(stats, stats.average);
    nlohmann::ordered_json laps = nlohmann::ordered_json::array();
    const std::vector<Suspect>& suspects = shown.suspects;
    for (int slot = 0; slot < stats.counted; ++slot) {
        const auto at = static_cast<std::size_t>(slot);
        const double seconds = data.laps[at];
        const auto suspect = at < suspects.size() ? suspectName(suspects[at]) : std::nullopt;
        laps.push_back({{"lap", slot + 1},
                        {"seconds", seconds},
                        {"text", lapTimeOrPlaceholder(seconds)},
                        {"role", lapRole(data, view, slot)},
                        {"suspect", suspect ? nlohmann::ordered_json(std::string(*suspect))
                                            : nlohmann::ordered_json(nullptr)}});
    }
    run["laps"] = std::move(laps);
    return run;
}

nlohmann::ordered_json showJson(const std::string& path, const RunView& run, const LapView& v,
                                const std::string& memo) {
    nlohmann::ordered_json j;
    j["labels"] = {
        {"Label2", filetexts::kLoadDataCaption},
        // As the window shows a name that is not UTF-8.
        {"Label3", path.empty() ? std::string("-") : utf8WithReplacements(path)},
        {"Label4", v.carText},
        {"Label5", v.lapCountText},
        {"Label6", v.targetText},
        {"Label7", v.raceLine},
        {"Label17", v.bestText},
        {"Label19", v.averageText},
        {"Label21", v.worstText},
        {"Label25", ""},
        {"Label26", ""},
        {"Label27", ""},
    };
    if (path.empty()) {
        j["path"] = nullptr;
    } else {
        putName(j, "path", path);
    }
    j["grid"] = v.cells;
    nlohmann::ordered_json colors = nlohmann::ordered_json::array();
    nlohmann::ordered_json colorsHex = nlohmann::ordered_json::array();
    for (int r = 1; r < kGridRows; ++r) {
        nlohmann::ordered_json row = nlohmann::ordered_json::array();
        nlohmann::ordered_json hexRow = nlohmann::ordered_json::array();
        for (std::uint32_t c : v.colors[static_cast<std::size_t>(r)]) {
            row.push_back(hexColor(c));
            hexRow.push_back(webColor(c));
        }
        colors.push_back(std::move(row));
        colorsHex.push_back(std::move(hexRow));
    }
    j["colors"] = std::move(colors);
    j["colorsHex"] = std::move(colorsHex);
    if (v.chartVisible && v.chart) {
        nlohmann::ordered_json chart = nlohmann::ordered_json::array();
        for (const ChartRow& row : *v.chart) {
            chart.push_back({row.label, row.values.empty() || !row.values[0]
                                            ? nlohmann::ordered_json(nullptr)
                                            : nlohmann::ordered_json(*row.values[0])});
        }
        j["chart"] = std::move(chart);
    } else {
        j["chart"] = nullptr;
    }
    j["stats"] = {
        {"lapTotal", v.stats.lapTotal},
        {"bestLap", v.stats.bestLap},
        {"worstLap", v.stats.worstLap},
        {"averageLap", v.stats.averageLap},
    };
    j["memo"] = memo;
    j["run"] = runJson(run, v);
    return j;
}

}  // namespace korimet::cli
