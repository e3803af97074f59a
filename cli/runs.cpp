#include <QCoreApplication>
#include <QSettings>
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

#include "cli/verbs.h"
#include "commandline/parse_problem.h"
#include "corrections/settings/limit_settings.h"
#include "lapdata/lap_time.h"
#include "library/run_library.h"
#include "library/settings/library_folder.h"
#include "messages/correction_messages.h"
#include "messages/file_messages.h"
#include "runjson/json_out.h"

namespace korimet::cli {

namespace {

nlohmann::ordered_json entryJson(const LibraryEntry& e, const std::string& wholeMemo) {
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
    j["memo"] = wholeMemo;
    // Of the laps as listed: corrected where a correction file lies beside the run.
    j["suspectLaps"] = e.suspectLaps;
    j["corrections"] = e.correctionSteps;
    const auto& three = e.pace.bestThree;
    j["bestThree"] = three ? nlohmann::ordered_json(three->total) : nlohmann::ordered_json(nullptr);
    j["bestThreeStart"] =
        three ? nlohmann::ordered_json(three->start + 1) : nlohmann::ordered_json(nullptr);
    j["paceTrend"] = optionalJson(e.pace.trend);
    return j;
}

// A name as a terminal shows it on one line: control characters and the backslash escaped.
std::string escapedName(const std::string& name) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (byte < 0x20 || byte == 0x7F) {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        } else {
            out += c;
        }
    }
    return out;
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

// One row of cells per run, the memo's first line only; columns padded to their widest cell,
// the last left free.
std::vector<std::string> tableRow(const LibraryEntry& e, const Texts& t) {
    const std::string car = e.carId ? std::to_string(*e.carId) : "-";
    const bool folder = e.error && e.error.operation == FileOperation::ListFolder;
    const std::string when = folder ? "-" : isoText(e.downloaded);
    if (!e.readable()) {
        std::string error = t.file(e.error);
        std::replace(error.begin(), error.end(), '\n', ' ');
        return {when,
                car,
                "-",
                "-",
                "-",
                "-",
                "-",
                "-",
                "-",
                "-",
                "-",
                escapedName(e.path),
                t(Text::RunsUnreadable) + error};
    }
    const LapData& d = e.content->data;
    const RunStatistics& s = e.statistics;
    // No laps, no times: blank as in the window, not a best of 00m00s00.
    const auto lapTime = [&](double seconds) {
        return s.counted > 0 ? lapTimeOrPlaceholder(seconds) : std::string("-");
    };
    return {when,
            car,
            std::to_string(s.counted),
            std::to_string(e.suspectLaps),
            lapTime(s.best),
            lapTime(s.average),
            lapTime(s.worst),
            s.median ? lapTimeOrPlaceholder(*s.median) : "-",
            fixed2(s.spread),
            fixed2(s.consistency),
            d.targetTime >= kNoTargetTime ? "-" : lapTimeOrPlaceholder(d.targetTime),
            escapedName(e.path),
            e.content->memo};
}

void printTable(std::vector<std::vector<std::string>> rows, const Texts& t) {
    rows.insert(rows.begin(), headings(t));
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
    const std::string prefix = messagePrefix(verb);
    std::vector<std::vector<std::string>> rows;
    std::string json = "[";
    bool first = true;
    FileError error;
    // Each run is read, said and let go before the next: a library of long memos costs the
    // memory of one of them.
    const auto each = [&](const LibraryEntry& e, const std::string& wholeMemo) {
        // A memo read only in part is still listed; say which.
        if (e.warning) std::cerr << prefix << t.file(e.warning) << "\n";
        if (e.correctionError) {
            std::string message = correctionFileMessage(e.correctionError, t.language());
            std::replace(message.begin(), message.end(), '\n', ' ');
            std::cerr << prefix << message << "\n";
        }
        if (o.json) {
            // One array, one run per line: valid JSON that line tools can still read.
            json += first ? "\n" : ",\n";
            json += jsonLine(entryJson(e, wholeMemo));
            std::cout << json;
            json.clear();
        } else {
            rows.push_back(tableRow(e, t));
        }
        first = false;
    };
    if (!notYetMade &&
        !forEachLibraryRun(o.folder, o.car, error, each, readSuspectLimits(QSettings()))) {
        std::cerr << prefix << t.file(error) << "\n";
        return 2;
    }
    if (o.json) {
        std::cout << json << (first ? "]\n" : "\n]\n");
    } else {
        printTable(std::move(rows), t);
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
        ->check(wholeNumberIn(0, 255, texts));
    verb.add_flag("--json", options->json, texts(Text::RunsJson))
        ->multi_option_policy(CLI::MultiOptionPolicy::Throw);
    verb.footer(texts(Text::RunsExit));
    return [options, texts, &verb] { return runRuns(*options, verb, texts); };
}

}  // namespace korimet::cli
