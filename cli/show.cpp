#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/json_out.h"
#include "cli/run_input.h"
#include "cli/verbs.h"
#include "files/data_file.h"
#include "files/file_texts.h"
#include "lapdata/lap_time.h"
#include "lapdata/lap_view_model.h"
#include "lapdata/run_statistics.h"

namespace korimet::cli {

namespace {

struct ShowOptions {
    bool json = false;
    std::string file;
};

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

// The run itself, in plain names and numbers, beside the texts that mirror the window.
nlohmann::ordered_json runJson(const LapData& data, const LapView& view) {
    const RunStatistics stats = runStatistics(data);
    nlohmann::ordered_json run;
    run["carId"] = data.carId;
    run["lapCount"] = data.lapCount;
    run["targetTime"] = targetTimeJson(data);
    run["raceMinutes"] = data.raceMinutes;
    run["best"] = lapStatisticJson(stats, stats.best);
    run["worst"] = lapStatisticJson(stats, stats.worst);
    run["average"] = lapStatisticJson(stats, stats.average);
    nlohmann::ordered_json laps = nlohmann::ordered_json::array();
    for (int slot = 0; slot < stats.counted; ++slot) {
        const double seconds = data.laps[static_cast<std::size_t>(slot)];
        laps.push_back({{"lap", slot + 1},
                        {"seconds", seconds},
                        {"text", lapTimeOrPlaceholder(seconds)},
                        {"role", lapRole(data, view, slot)}});
    }
    run["laps"] = std::move(laps);
    return run;
}

// One letter for what a cell's colour marks.
char colorMark(std::uint32_t value) {
    switch (value) {
        case kCellBest:
            return 'B';
        case kCellWorst:
            return 'W';
        case kCellTarget:
            return 'T';
        default:
            return ' ';
    }
}

// `path` is empty for standard input, which Label3 shows as "-".
nlohmann::ordered_json showJson(const std::string& path, const LapData& data, const LapView& v,
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
    j["run"] = runJson(data, v);
    return j;
}

// A heading padded to the column where the values start.
std::string heading(const Texts& t, Text key) {
    constexpr std::size_t kValueColumn = 9;
    std::string text = t(key);
    const std::size_t width = displayWidth(text);
    text.append(width < kValueColumn ? kValueColumn - width : 1, ' ');
    return text;
}

void showPlain(std::ostream& out, const Texts& t, const std::string& path, const LapView& v,
               const std::string& memo) {
    out << filetexts::kLoadDataCaption << "\n" << path << "\n\n";
    out << heading(t, Text::HeadCar) << v.carText << "\n";
    out << heading(t, Text::HeadLaps) << v.lapCountText << "\n";
    out << heading(t, Text::HeadTarget) << v.targetText << "\n";
    out << heading(t, Text::HeadBest) << v.bestText << "\n";
    out << heading(t, Text::HeadAverage) << v.averageText << "\n";
    out << heading(t, Text::HeadWorst) << v.worstText << "\n";
    if (!v.raceLine.empty()) out << heading(t, Text::HeadRace) << v.raceLine << "\n";
    out << "\n";
    auto put = [&out](const std::array<std::string, kGridColumns>& c, char mark1, char mark3) {
        char line[96];
        std::snprintf(line, sizeof line, "%4s  %-8s %c  %4s  %-8s %c", c[0].c_str(), c[1].c_str(),
                      mark1, c[2].c_str(), c[3].c_str(), mark3);
        std::string text = line;
        text.erase(text.find_last_not_of(' ') + 1);
        out << text << "\n";
    };
    put(v.cells[0], ' ', ' ');
    for (int r = 1; r < kGridRows; ++r) {
        const auto& k = v.colors[static_cast<std::size_t>(r)];
        put(v.cells[static_cast<std::size_t>(r)], colorMark(k[1]), colorMark(k[3]));
    }
    out << t(Text::HeadMarks) << "\n\n";
    out << t(Text::HeadMemo) << "\n" << memo << "\n";
}

int runShow(const ShowOptions& o, const std::string& prefix, const Texts& t) {
    const DataFileReadResult read = readRunFile(o.file, t);
    if (!reportRead(read, prefix, t)) return 2;
    // The open dialog hands the window a full path; standard input has none.
    const std::string path =
        isStandardInput(o.file) ? std::string() : std::filesystem::absolute(o.file).string();
    const LapData& data = read.content->data;
    const LapView view = buildLapView(data);
    if (o.json) {
        std::cout << jsonLine(showJson(path, data, view, read.content->memo)) << "\n";
    } else {
        showPlain(std::cout, t, path.empty() ? o.file : path, view, read.content->memo);
    }
    return 0;
}

}  // namespace

VerbRun showVerb(CLI::App& verb, const Texts& texts) {
    auto options = std::make_shared<ShowOptions>();
    verb.add_flag("--json", options->json, texts(Text::ShowJson))
        ->multi_option_policy(CLI::MultiOptionPolicy::Throw);
    verb.add_option("FILE.krt", options->file, texts(Text::ShowFile))->required();
    verb.footer(texts(Text::ShowExit));
    return [options, texts, &verb] { return runShow(*options, messagePrefix(verb), texts); };
}

}  // namespace korimet::cli
