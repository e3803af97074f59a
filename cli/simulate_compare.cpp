#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/verbs.h"
#include "files/data_file.h"
#include "lapdata/lap_view_model.h"
#include "tools/comparison.h"
#include "tools/number_answer.h"
#include "tools/race_simulation.h"

namespace korimet::cli {

namespace {

constexpr const char* kSimulateUsage = "usage: korimet-cli simulate MINUTES FILE.krt\n";
constexpr const char* kCompareUsage = "usage: korimet-cli compare FILE.krt OTHER.krt [--json]\n";

nlohmann::ordered_json cellJson(const std::optional<double>& value) {
    return value ? nlohmann::ordered_json(*value) : nlohmann::ordered_json(nullptr);
}

std::string cellText(const std::optional<double>& value) {
    if (!value) return "-";
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", *value);
    return buf;
}

std::optional<double> valueAt(const ChartRow& row, std::size_t column) {
    return column < row.values.size() ? row.values[column] : std::nullopt;
}

}  // namespace

int simulateVerb(const Args& args) {
    // The minutes may be negative, so nothing here is taken for an option.
    if (args.size() != 2) {
        std::cerr << kSimulateUsage;
        return 2;
    }
    const std::string& minutes = args[0];
    const DataFileReadResult read = loadDataFile(args[1]);
    if (!read) {
        std::cerr << read.error << "\n";
        return 2;
    }
    const RaceSimulationOutcome outcome = raceSimulationOutcome(read.content->data, minutes);
    switch (outcome.action) {
        case RaceSimulationOutcome::Action::Refuse:
            std::cerr << outcome.refusal.message << "\n";
            return 1;
        case RaceSimulationOutcome::Action::KeepLine:
            if (minutes.empty()) {
                std::cerr << "レース時間(分)が指定されていません\n";
            } else {
                std::cerr << "レース時間(分)が数値ではありません: " << minutes << "\n";
            }
            return 1;
        case RaceSimulationOutcome::Action::SetLine:
            std::cout << outcome.line << "\n";
            return 0;
    }
    return 1;
}

int compareVerb(const Args& args) {
    bool json = false;
    std::vector<std::string> files;
    for (const std::string& a : args) {
        if (a == "--json") {
            json = true;
        } else if (files.size() < 2 && !a.starts_with("--")) {
            files.push_back(a);
        } else {
            std::cerr << kCompareUsage;
            return 2;
        }
    }
    if (files.size() != 2) {
        std::cerr << kCompareUsage;
        return 2;
    }

    const DataFileReadResult loaded = loadDataFile(files[0]);
    if (!loaded) {
        std::cerr << loaded.error << "\n";
        return 2;
    }
    const DataFileReadResult other = loadDataFile(files[1], MemoField::Skip);
    if (!other) {
        std::cerr << other.error << "\n";
        return 2;
    }
    // What the window holds once FILE has been opened: the statistics of its redraw.
    const LapView view = buildLapView(loaded.content->data);
    const ComparisonOutcome outcome =
        buildComparison(loaded.content->data, view.stats, other.content->data, files[1]);
    if (outcome.refusal) {
        std::cerr << outcome.refusal->message << "\n";
        return 2;
    }
    const ComparisonView& c = outcome.view;

    if (json) {
        nlohmann::ordered_json j;
        j["labels"] = {
            {"Label25", c.bestDifferenceText},
            {"Label26", c.worstDifferenceText},
            {"Label27", c.averageDifferenceText},
        };
        nlohmann::ordered_json chart = nlohmann::ordered_json::array();
        for (const ChartRow& row : c.chart) {
            chart.push_back({row.label, cellJson(valueAt(row, 0)), cellJson(valueAt(row, 1))});
        }
        j["chart"] = std::move(chart);
        std::cout << j.dump() << "\n";
        return 0;
    }

    std::cout << "Label25  " << c.bestDifferenceText << "\n";
    std::cout << "Label26  " << c.worstDifferenceText << "\n";
    std::cout << "Label27  " << c.averageDifferenceText << "\n\n";
    for (const ChartRow& row : c.chart) {
        char line[96];
        std::snprintf(line, sizeof line, "%-6s %8s %8s", row.label.c_str(),
                      cellText(valueAt(row, 0)).c_str(), cellText(valueAt(row, 1)).c_str());
        std::cout << line << "\n";
    }
    return 0;
}

}  // namespace korimet::cli
