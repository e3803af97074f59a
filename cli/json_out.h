#pragma once

#include <charconv>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "device/frame_receiver.h"
#include "lapdata/lap_data.h"

namespace korimet::cli {

// The value, or null when there is none.
template <typename T>
nlohmann::ordered_json optionalJson(const std::optional<T>& value) {
    return value ? nlohmann::ordered_json(*value) : nlohmann::ordered_json(nullptr);
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
