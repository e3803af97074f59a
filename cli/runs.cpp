#include <QCoreApplication>
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "cli/json_out.h"
#include "cli/verbs.h"
#include "lapdata/lap_time.h"
#include "library/run_library.h"
#include "library/settings/library_folder.h"
#include "messages/file_messages.h"

namespace korimet::cli {

namespace {

nlohmann::ordered_json entryJson(const LibraryEntry& e) {
    nlohmann::ordered_json j;
    putName(j, "path", e.path);
    if (!e.readable()) {
        // The window's words, the same in every locale like every JSON value; the message
        // names the file by its full path, which may not be UTF-8.
        j["error"] = utf8WithReplacements(fileMessage(e.error, Language::Japanese));
        j["errorCode"] = std::string(fileErrorCodeName(e.error.code));
        return j;
    }
    const LapData& d = e.content->data;
    const RunStatistics& s = e.statistics;
    j["downloaded"] = isoText(e.downloaded);
    j["carId"] = d.carId;
    j["lapCount"] = d.lapCount;
    j["targetTime"] = targetTimeJson(d);
    j["raceMinutes"] = d.raceMinutes;
    j["best"] = lapStatisticJson(s, s.best);
    j["worst"] = lapStatisticJson(s, s.worst);
    j["average"] = lapStatisticJson(s, s.average);
    j["median"] = optionalJson(s.median);
    j["spread"] = optionalJson(s.spread);
    j["consistency"] = optionalJson(s.consistency);
    j["memo"] = e.content->memo;
    return j;
}

std::string firstLine(const std::string& memo) {
    return memo.substr(0, memo.find_first_of("\r\n"));
}

std::vector<std::string> headings(const Texts& t) {
    std::vector<std::string> cells;
    const std::string_view all = t(Text::RunsHeadings);
    for (std::size_t from = 0; from <= all.size();) {
        const std::size_t bar = std::min(all.find('|', from), all.size());
        cells.emplace_back(all.substr(from, bar - from));
        from = bar + 1;
    }
    return cells;
}

// One row of cells per run; columns padded to their widest cell, the last left free.
void printTable(const std::vector<LibraryEntry>& entries, const Texts& t) {
    std::vector<std::vector<std::string>> rows;
    rows.push_back(headings(t));
    for (const LibraryEntry& e : entries) {
        const std::string car = e.carId ? std::to_string(*e.carId) : "-";
        if (!e.readable()) {
            std::string error = t.file(e.error);
            std::replace(error.begin(), error.end(), '\n', ' ');
            rows.push_back({isoText(e.downloaded), car, "-", "-", "-", "-", "-", "-", "-", "-",
                            e.path, t(Text::RunsUnreadable) + error});
            continue;
        }
        const LapData& d = e.content->data;
        const RunStatistics& s = e.statistics;
        rows.push_back({isoText(e.downloaded), car, std::to_string(s.counted),
                        lapTimeOrPlaceholder(s.best), lapTimeOrPlaceholder(s.average),
                        lapTimeOrPlaceholder(s.worst),
                        s.median ? lapTimeOrPlaceholder(*s.median) : "-", fixed2(s.spread),
                        fixed2(s.consistency),
                        d.targetTime >= kNoTargetTime ? "-" : lapTimeOrPlaceholder(d.targetTime),
                        e.path, firstLine(e.content->memo)});
    }
    // Columns on a terminal: Japanese headings take two each.
    std::vector<std::size_t> widths(rows.front().size(), 0);
    for (const auto& row : rows)
        for (std::size_t c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths[c], displayWidth(row[c]));
    std::string out;
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            line += row[c];
            if (c + 1 < row.size()) line.append(widths[c] - displayWidth(row[c]) + 2, ' ');
        }
        while (!line.empty() && line.back() == ' ') line.pop_back();
        out += line + "\n";
    }
    std::cout << out;
}

struct RunsOptions {
    std::string folder;  // empty: the run library the window keeps
    std::optional<int> car;
    bool json = false;
};

int runRuns(RunsOptions o, const CLI::App& verb, const Texts& t) {
    bool defaultFolder = false;
    if (o.folder.empty()) {
        if (verb.count("--library") > 0) {
            return wrongArguments(verb, t.with(Text::OptionNeedsValue, {"--library"}));
        }
        // The window's settings store and data location, so both see the same library.
        QCoreApplication::setOrganizationName(QStringLiteral("Korimet"));
        QCoreApplication::setApplicationName(QStringLiteral("Korimet"));
        o.folder = libraryFolder().toStdString();
        defaultFolder = true;
    }
    // The default library is made with the first run kept: before that it holds nothing,
    // which is no error. A folder named on the command line has to be there.
    std::error_code ec;
    const bool notYetMade = defaultFolder && !std::filesystem::exists(o.folder, ec) && !ec;
    const LibraryListing listing =
        notYetMade ? LibraryListing{true, {}, {}} : scanLibrary(o.folder, o.car);
    if (!listing.ok) {
        std::cerr << messagePrefix(verb) << t.file(listing.error) << "\n";
        return 2;
    }
    // A memo read only in part is still listed; say which.
    for (const LibraryEntry& e : listing.entries) {
        if (e.warning) std::cerr << messagePrefix(verb) << t.file(e.warning) << "\n";
    }
    if (o.json) {
        // One array, one run per line: valid JSON that line tools can still read.
        std::string out = "[";
        for (std::size_t i = 0; i < listing.entries.size(); ++i) {
            out += i == 0 ? "\n" : ",\n";
            out += jsonLine(entryJson(listing.entries[i]));
        }
        out += listing.entries.empty() ? "]\n" : "\n]\n";
        std::cout << out;
    } else {
        printTable(listing.entries, t);
    }
    std::cout.flush();
    return 0;
}

}  // namespace

VerbRun runsVerb(CLI::App& verb, const Texts& texts) {
    auto options = std::make_shared<RunsOptions>();
    verb.add_option("--library", options->folder, texts(Text::RunsLibrary))->type_name("DIR");
    verb.add_option("--car", options->car, texts(Text::RunsCar))
        ->type_name("N")
        ->check(CLI::Range(0, 255).description(""));
    verb.add_flag("--json", options->json, texts(Text::RunsJson))
        ->multi_option_policy(CLI::MultiOptionPolicy::Throw);
    verb.footer(texts(Text::RunsExit));
    return [options, texts, &verb] { return runRuns(*options, verb, texts); };
}

}  // namespace korimet::cli
