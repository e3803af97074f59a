#include <array>
#include <charconv>
#include <iostream>

#include "cli/verbs.h"
#include "files/data_file.h"
#include "lapdata/lap_time.h"
#include "lapdata/lap_view_model.h"
#include "lapdata/run_statistics.h"

namespace korimet::cli {

namespace {

std::string shortestNumber(double value) {
    std::array<char, 40> buf;
    const auto r = std::to_chars(buf.data(), buf.data() + buf.size(), value);
    return std::string(buf.data(), r.ptr);
}

}  // namespace

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
    for (int r = 0; r < d.lapCount; ++r) {
        const double lap = d.laps[static_cast<std::size_t>(r)];
        const bool target = meetsTarget(d, lap);
        std::cout << r + 1 << ',' << shortestNumber(lap) << ',' << lapTimeOrPlaceholder(lap) << ','
                  << (r == view.bestSlot) << ',' << (r == view.worstSlot) << ',' << target << '\n';
    }
    return 0;
}

}  // namespace korimet::cli
