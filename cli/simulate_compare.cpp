#include <iomanip>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/run_input.h"
#include "cli/verbs.h"
#include "files/data_file.h"
#include "lapdata/lap_view_model.h"
#include "runjson/json_out.h"
#include "tools/comparison.h"
#include "tools/number_answer.h"
#include "tools/race_simulation.h"

namespace korimet::cli {

namespace {

struct SimulateOptions {
    std::string minutes;
    std::string file;
};

struct CompareOptions {
    bool json = false;
    std::string file;
    std::string other;
};

std::optional<double> valueAt(const ChartRow& row, std::size_t column) {
    return column < row.values.size() ? row.values[column] : std::nullopt;
}

int runSimulate(const SimulateOptions& o, const std::string& prefix, const Texts& t) {
    DataFileReadResult read = readRunFile(o.file, t);
    if (!reportRead(read, prefix, t)) return 2;
    const RunView run = runOf(o.file, read, prefix, t);
    const RaceSimulationOutcome outcome = raceSimulationOutcome(run.data, o.minutes);
    switch (outcome.action) {
        case RaceSimulationOutcome::Action::Refuse:
            std::cerr << prefix << t.tool(outcome.refusal) << "\n";
            return 1;
        case RaceSimulationOutcome::Action::KeepLine:
            if (o.minutes.empty()) {
                std::cerr << prefix << t(Text::RaceMinutesMissing) << "\n";
            } else {
                std::cerr << prefix << t.with(Text::RaceMinutesNotNumber, {o.minutes}) << "\n";
            }
            return 1;
        case RaceSimulationOutcome::Action::SetLine:
            // The window empties the line for a race of no length: the empty line stays the result,
            // and standard error says why.
            if (outcome.line.empty())
                std::cerr << prefix << t.with(Text::NoRaceLine, {o.minutes}) << "\n";
            std::cout << outcome.line << "\n";
            return 0;
    }
    return 1;
}

int runCompare(const CompareOptions& o, const std::string& prefix, const Texts& t) {
    // Standard input ends after one file.
    if (isStandardInput(o.file) && isStandardInput(o.other)) {
        std::cerr << prefix << t(Text::OneStandardInput) << "\n";
        return 2;
    }
    DataFileReadResult loaded = readRunFile(o.file, t);
    if (!reportRead(loaded, prefix, t)) return 2;
    const RunView run = runOf(o.file, loaded, prefix, t);
    DataFileReadResult other = readRunFile(o.other, t, MemoField::Skip);
    if (!reportRead(other, prefix, t)) return 2;
    const RunView otherRun = runOf(o.other, other, prefix, t);
    // What the window holds once FILE has been opened: the statistics of its redraw.
    const LapView view = buildLapView(run.data);
    const std::string otherName =
        isStandardInput(o.other) ? std::string(t(Text::StandardInput)) : o.other;
    const ComparisonOutcome outcome =
        buildComparison(run.data, view.stats, otherRun.data, otherName);
    if (outcome.refusal) {
        std::cerr << prefix << t.tool(*outcome.refusal) << "\n";
        return 2;
    }
    const ComparisonView& c = outcome.view;

    if (o.json) {
        nlohmann::ordered_json j;
        j["labels"] = {
            {"Label25", c.bestDifferenceText},
            {"Label26", c.worstDifferenceText},
            {"Label27", c.averageDifferenceText},
        };
        nlohmann::ordered_json chart = nlohmann::ordered_json::array();
        for (const ChartRow& row : c.chart) {
            chart.push_back(
                {row.label, optionalJson(valueAt(row, 0)), optionalJson(valueAt(row, 1))});
        }
        j["chart"] = std::move(chart);
        std::cout << jsonLine(j) << "\n";
        return 0;
    }

    std::cout << "Label25  " << c.bestDifferenceText << "\n";
    std::cout << "Label26  " << c.worstDifferenceText << "\n";
    std::cout << "Label27  " << c.averageDifferenceText << "\n\n";
    for (const ChartRow& row : c.chart) {
        // Streams, not a fixed buffer: a huge value must not cut the line.
        std::cout << std::left << std::setw(6) << row.label << ' ' << std::right << std::setw(8)
                  << fixed2(valueAt(row, 0)) << ' ' << std::setw(8) << fixed2(valueAt(row, 1))
                  << "\n";
    }
    return 0;
}

}  // namespace

VerbRun simulateVerb(CLI::App& verb, const Texts& texts) {
    auto options = std::make_shared<SimulateOptions>();
    // Taken as typed (a negative number too): the window's input box decides what it means.
    verb.add_option("MINUTES", options->minutes, texts(Text::SimulateMinutes))->required();
    verb.add_option("FILE.krt", options->file, texts(Text::SimulateFile))->required();
    verb.footer(texts(Text::SimulateExit));
    return [options, texts, &verb] { return runSimulate(*options, messagePrefix(verb), texts); };
}

VerbRun compareVerb(CLI::App& verb, const Texts& texts) {
    auto options = std::make_shared<CompareOptions>();
    verb.add_option("FILE.krt", options->file, texts(Text::CompareFile))->required();
    verb.add_option("OTHER.krt", options->other, texts(Text::CompareOther))->required();
    verb.add_flag("--json", options->json, texts(Text::CompareJson))
        ->multi_option_policy(CLI::MultiOptionPolicy::Throw);
    verb.footer(texts(Text::CompareExit));
    return [options, texts, &verb] { return runCompare(*options, messagePrefix(verb), texts); };
}

}  // namespace korimet::cli
