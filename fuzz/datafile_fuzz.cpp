#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "files/data_file.h"

namespace {

using namespace korimet;

// A memo whose reading is doubtful is read and only told about; one that is unreadable
// lost bytes.
bool unreadable(const DataFileReadResult& read) {
    return read.warning.code == FileErrorCode::MemoUnreadable;
}

// The memo rule on its own: what it reads as CP932 the writer takes and gives back, at the
// least when the writer would write those very bytes (a few CP932 characters have a second
// code that is written in its usual form, and the new bytes may read otherwise).
void memoBytesReadAsCp932SaveBack(std::string_view bytes) {
    const auto text = decodeMemo(bytes);
    if (!text) {
        if (decodeMemoLossy(bytes).find("\xEF\xBF\xBD") == std::string::npos) std::abort();
        return;
    }
    if (*text == bytes || bytes.starts_with("\xEF\xBB\xBF")) return;  // read as UTF-8
    const DataFileWriteResult written = writeDataFileBytes(LapData{}, *text);
    if (!written) {
        const auto encoded = encodeMemo(*text);
        if (!encoded || *encoded == bytes || decodeMemo(*encoded) == *text) std::abort();
        return;
    }
    const DataFileReadResult again = readDataFileBytes(*written.bytes, "m.krt");
    if (!again || unreadable(again) || again.content->memo != *text) std::abort();
}

}  // namespace

// Any bytes: refused with a message or read whole. A read record saves and reads back to
// what the file would hold, and saving that again gives the same bytes. The writer refuses
// a memo only for a reason it can show: marks of bytes that did not decode, a character
// CP932 lacks, or CP932 bytes the reader would take for other text.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    memoBytesReadAsCp932SaveBack(bytes);

    const LapData base{};
    for (bool asTemplate : {false, true}) {
        const DataFileReadResult read =
            asTemplate ? readTemplate(bytes, "t.krt", base) : readDataFileBytes(bytes, "f.krt");
        if (!read) {
            if (!read.error || read.content || read.warning) std::abort();
            continue;
        }
        if (read.error) std::abort();
        const DataFileContent& first = *read.content;
        if (first.data.lapCount > kLapSlots) std::abort();
        if (asTemplate && first.data.laps != base.laps) std::abort();
        if (!asTemplate) {
            // The comparison read takes every file a full read takes, with the same laps.
            const DataFileReadResult laps = readDataFileBytes(bytes, "f.krt", MemoField::Skip);
            if (!laps || laps.content->data != first.data || laps.warning) std::abort();
        }

        const DataFileWriteResult written = writeDataFileBytes(first.data, first.memo);
        if (unreadable(read)) {
            // The marks stand for bytes that are lost: never written over the original.
            if (written || first.memo.find("\xEF\xBF\xBD") == std::string::npos) std::abort();
            continue;
        }
        if (!written) {
            const auto encoded = encodeMemo(first.memo);
            if (encoded && decodeMemo(*encoded) == memoAsWritten(first.memo)) std::abort();
            continue;
        }
        const DataFileReadResult again = readDataFileBytes(*written.bytes, "f.krt");
        if (!again || unreadable(again)) std::abort();
        const DataFileContent& second = *again.content;
        const LapData& a = first.data;
        const LapData& b = second.data;
        if (a.carId != b.carId || a.lapCount != b.lapCount || a.raceMinutes != b.raceMinutes ||
            a.extraByte != b.extraByte || memoAsWritten(first.memo) != second.memo) {
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
