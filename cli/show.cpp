#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/run_input.h"
#include "cli/verbs.h"
#include "files/data_file.h"
#include "files/file_texts.h"
#include "lapdata/lap_time.h"
#include "lapdata/lap_view_model.h"
#include "lapdata/run_statistics.h"
#include "runjson/json_out.h"
#include "runjson/show_json.h"

namespace korimet::cli {

namespace {

struct ShowOptions {
    bool json = false;
    std::string file;
};

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
    DataFileReadResult read = readRunFile(o.file, t);
    if (!reportRead(read, prefix, t)) return 2;
    const RunView run = runOf(o.file, read, prefix, t);
    // The open dialog hands the window a full path; standard input has none.
    const std::string path =
        isStandardInput(o.file) ? std::string() : std::filesystem::absolute(o.file).string();
    const LapView view = buildLapView(run.data);
    if (o.json) {
        std::cout << jsonLine(showJson(path, run, view, read.content->memo)) << "\n";
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
