#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "files/data_file.h"

// Any bytes: refused with a message or read whole. A read record saves and reads back to
// what the file would hold, and saving that again gives the same bytes.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace korimet;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const LapData base{};
    for (bool asTemplate : {false, true}) {
        const DataFileReadResult read =
            asTemplate ? readTemplate(bytes, "t.krt", base) : readDataFileBytes(bytes, "f.krt");
        if (!read) {
            if (read.error.empty() || read.content) std::abort();
            continue;
        }
        if (!read.error.empty()) std::abort();
        const DataFileContent& first = *read.content;
        if (first.data.lapCount > kLapSlots) std::abort();
        if (asTemplate && first.data.laps != base.laps) std::abort();

        const DataFileWriteResult written = writeDataFileBytes(first.data, first.memo);
        if (!written) {
            // Only a memo taken as UTF-8 can hold what CP932 cannot.
            if (encodeMemo(first.memo).has_value()) std::abort();
            continue;
        }
        const DataFileReadResult again = readDataFileBytes(*written.bytes, "f.krt");
        if (!again) std::abort();
        const DataFileContent& second = *again.content;
        const LapData& a = first.data;
        const LapData& b = second.data;
        if (a.carId != b.carId || a.lapCount != b.lapCount || a.raceMinutes != b.raceMinutes ||
            a.extraByte != b.extraByte || first.memo != second.memo) {
            std::abort();
        }
        // Doubles keep the 15 digits the file holds.
        auto same = [](double x, double y) { return formatFileNumber(x) == formatFileNumber(y); };
        if (!same(a.targetTime, b.targetTime) || !same(a.extraValue1, b.extraValue1) ||
            !same(a.extraValue2, b.extraValue2)) {
            std::abort();
        }
        for (int i = 0; i < kLapSlots; ++i) {
            if (!same(a.laps[static_cast<std::size_t>(i)], b.laps[static_cast<std::size_t>(i)])) {
                std::abort();
            }
        }
        const DataFileWriteResult rewritten = writeDataFileBytes(b, second.memo);
        if (!rewritten || *rewritten.bytes != *written.bytes) std::abort();
    }
    return 0;
}
