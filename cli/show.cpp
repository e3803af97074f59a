#include <cstdio>
#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/verbs.h"
#include "files/data_file.h"
#include "files/file_texts.h"
#include "lapdata/lap_view_model.h"

namespace korimet::cli {

namespace {

std::string hexColor(std::uint32_t value) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%06X", static_cast<unsigned>(value & 0xFFFFFF));
    return buf;
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

nlohmann::ordered_json showJson(const std::string& path, const LapView& v,
                                const std::string& memo) {
    nlohmann::ordered_json j;
    j["labels"] = {
        {"Label2", filetexts::kLoadDataCaption},
        {"Label3", path},
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
    j["grid"] = v.cells;
    nlohmann::ordered_json colors = nlohmann::ordered_json::array();
    for (int r = 1; r < kGridRows; ++r) {
        nlohmann::ordered_json row = nlohmann::ordered_json::array();
        for (std::uint32_t c : v.colors[static_cast<std::size_t>(r)]) row.push_back(hexColor(c));
        colors.push_back(std::move(row));
    }
    j["colors"] = std::move(colors);
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
    return j;
}

void showPlain(std::ostream& out, const std::string& path, const LapView& v,
               const std::string& memo) {
    out << filetexts::kLoadDataCaption << "\n" << path << "\n\n";
    out << "Car      " << v.carText << "\n";
    out << "Laps     " << v.lapCountText << "\n";
    out << "Target   " << v.targetText << "\n";
    out << "Best     " << v.bestText << "\n";
    out << "Average  " << v.averageText << "\n";
    out << "Worst    " << v.worstText << "\n";
    if (!v.raceLine.empty()) out << "Race     " << v.raceLine << "\n";
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
    out << "(B best, W worst, T at or under the target)\n\n";
    out << "Memo:\n" << memo << "\n";
}

}  // namespace

int showVerb(const Args& args) {
    bool json = false;
    std::string file;
    for (const std::string& a : args) {
        if (a == "--json") {
            json = true;
        } else if (file.empty() && !a.starts_with("--")) {
            file = a;
        } else {
            std::cerr << "usage: korimet-cli show [--json] FILE.krt\n";
            return 2;
        }
    }
    if (file.empty()) {
        std::cerr << "usage: korimet-cli show [--json] FILE.krt\n";
        return 2;
    }

    const DataFileReadResult read = loadDataFile(file);
    if (!read) {
        std::cerr << read.error << "\n";
        return 2;
    }
    // The open dialog hands the window a full path.
    const std::string path = std::filesystem::absolute(file).string();
    const LapView view = buildLapView(read.content->data);
    if (json) {
        // JSON is UTF-8: bytes of a path in another encoding show as U+FFFD, as in the window.
        std::cout << showJson(path, view, read.content->memo)
                         .dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace)
                  << "\n";
    } else {
        showPlain(std::cout, path, view, read.content->memo);
    }
    return 0;
}

}  // namespace korimet::cli
