#pragma once

#include <charconv>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

#include "device/frame_receiver.h"
#include "lapdata/lap_data.h"
#include "lapdata/run_statistics.h"
#include "runjson/file_names.h"

namespace korimet::cli {

// The value, or null when there is none.
template <typename T>
nlohmann::ordered_json optionalJson(const std::optional<T>& value) {
    return value ? nlohmann::ordered_json(*value) : nlohmann::ordered_json(nullptr);
}

// A file name under `key` as UTF-8 text, each byte outside a character as U+FFFD, and only
// when that text is not the name itself, its exact bytes percent-encoded under key + "Bytes"
// (docs/cli-json.md): JSON never fails on a name, and no name is lost.
inline void putName(nlohmann::ordered_json& j, const std::string& key, std::string_view name) {
    j[key] = utf8WithReplacements(name);
    if (!isUtf8(name)) j[key + "Bytes"] = percentEncoded(name);
}

// Every verb says the same of a run: null for no target (655.35 or more in the record)...
nlohmann::ordered_json targetTimeJson(const LapData& data);
// ...and null for each statistic of a run without laps, where RunStatistics holds 0.
nlohmann::ordered_json lapStatisticJson(const RunStatistics& statistics, double value);

// The whole object on one line. A text that is not UTF-8 shows U+FFFD rather than ending
// the output: names are put with putName, so this only guards what was missed.
inline std::string jsonLine(const nlohmann::ordered_json& j) {
    return j.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

// Two decimals for a table column, "-" when there is no value; never cut short, whatever
// the magnitude (a buffer sized for printf's "%.2f" would cut values from 1e29 up).
inline std::string fixed2(const std::optional<double>& value) {
    if (!value) return "-";
    char text[512];  // any finite double in fixed notation
    const auto [end, ec] =
        std::to_chars(text, text + sizeof text, *value, std::chars_format::fixed, 2);
    return ec == std::errc() ? std::string(text, end) : std::string("-");
}

// The record's seven scalars and 60 laps as JSON fields.
nlohmann::ordered_json lapDataJson(const LapData& data);

// A decoded frame: model caption (null when unchanged), version text, then the record.
nlohmann::ordered_json frameJson(const DecodedFrame& frame);

}  // namespace korimet::cli
