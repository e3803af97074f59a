#pragma once

#include <nlohmann/json.hpp>
#include <optional>

#include "device/frame_receiver.h"
#include "lapdata/lap_data.h"

namespace korimet::cli {

// The value, or null when there is none.
template <typename T>
nlohmann::ordered_json optionalJson(const std::optional<T>& value) {
    return value ? nlohmann::ordered_json(*value) : nlohmann::ordered_json(nullptr);
}

// The record's seven scalars and 60 laps as JSON fields.
nlohmann::ordered_json lapDataJson(const LapData& data);

// A decoded frame: model caption (null when unchanged), version text, then the record.
nlohmann::ordered_json frameJson(const DecodedFrame& frame);

}  // namespace korimet::cli
