#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "corrections/lap_flags.h"
#include "lapdata/lap_data.h"
#include "lapdata/lap_view_model.h"

// What `show --json` prints of a run, shared with the pit view, which serves the same data.
namespace korimet::cli {

// The run itself, in plain names and numbers, beside the texts that mirror the window; its
// laps judged by `limits`, the user's.
nlohmann::ordered_json runJson(const LapData& data, const LapView& view,
                               const SuspectLimits& limits = {});

// `path` is empty for standard input, which Label3 shows as "-".
nlohmann::ordered_json showJson(const std::string& path, const LapData& data, const LapView& v,
                                const std::string& memo, const SuspectLimits& limits = {});

}  // namespace korimet::cli
