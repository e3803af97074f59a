#include <iostream>
#include <memory>

#include "cli/run_input.h"
#include "cli/verbs.h"
#include "files/data_file.h"
#include "lapdata/lap_time.h"
#include "lapdata/lap_view_model.h"
#include "lapdata/run_statistics.h"
#include "tools/number_answer.h"

namespace korimet::cli {

namespace {

struct ExportOptions {
    bool csv = false;
    std::string file;
};

int runExport(const ExportOptions& o, const std::string& prefix, const Texts& t) {
    DataFileReadResult read = readRunFile(o.file, t);
    if (!reportRead(read, prefix, t)) return 2;
    const RunView run = runOf(o.file, read, prefix, t);
    const LapData& d = run.data;
    const LapView view = buildLapView(d);
    std::cout << "lap,seconds,time,best,worst,target\n";
    for (int r = 0; r < countedLaps(d); ++r) {
        const double lap = d.laps[static_cast<std::size_t>(r)];
        const bool target = meetsTarget(d, lap);
        std::cout << r + 1 << ',' << numberDefaultText(lap) << ',' << lapTimeOrPlaceholder(lap)
                  << ',' << (r == view.bestSlot) << ',' << (r == view.worstSlot) << ',' << target
                  << '\n';
    }
    return 0;
}

}  // namespace

VerbRun exportVerb(CLI::App& verb, const Texts& texts) {
    auto options = std::make_shared<ExportOptions>();
    // CSV is the one format so far; the option keeps room for others.
    verb.add_flag("--csv", options->csv, texts(Text::ExportCsv))
        ->required()
        ->multi_option_policy(CLI::MultiOptionPolicy::Throw);
    verb.add_option("FILE.krt", options->file, texts(Text::ExportFile))->required();
    verb.footer(texts(Text::ExportExit));
    return [options, texts, &verb] { return runExport(*options, messagePrefix(verb), texts); };
}

}  // namespace korimet::cli
