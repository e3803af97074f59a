#include <iostream>

#include "cli/verbs.h"
#include "files/data_file.h"
#include "lapdata/lap_time.h"
#include "lapdata/lap_view_model.h"
#include "lapdata/run_statistics.h"
#include "tools/number_answer.h"

namespace korimet::cli {

int exportVerb(const Args& args) {
    bool csv = false;
    std::string file;
    for (const std::string& a : args) {
        if (a == "--csv") {
            csv = true;
        } else if (file.empty() && !a.starts_with("--")) {
            file = a;
        } else {
            csv = false;
            break;
        }
    }
    if (!csv || file.empty()) {
        std::cerr << "usage: korimet-cli export --csv FILE.krt\n";
        return 2;
    }

    const DataFileReadResult read = loadDataFile(file);
    if (!read) {
        std::cerr << read.error << "\n";
        return 2;
    }
    const LapData& d = read.content->data;
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

}  // namespace korimet::cli
