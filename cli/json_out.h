#pragma once

#include <nlohmann/json.hpp>

#include "device/frame_receiver.h"
#include "lapdata/lap_data.h"

namespace korimet::cli {

// The record's seven scalars and 60 laps as JSON fields.
nlohmann::ordered_json lapDataJson(const LapData& data);

// A decoded frame: model caption (null when unchanged), version text, then the record.
nlohmann::ordered_json frameJson(const DecodedFrame& frame);

}  // namespace korimet::cli
