#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "corrections/run_view.h"
#include "lapdata/lap_view_model.h"

// What `show --json` prints of a run, shared with the pit view, which serves the same data.
namespace korimet::cli {

// The run itself, in plain names and numbers, beside the texts that mirror the window.
nlohmann::ordered_json runJson(const RunView& run, const LapView& view);

// `path` is empty for standard input, which Label3 shows as "-".
nlohmann::ordered_json showJson(const std::string& path, const RunView& run, const LapView& v,
                                const std::string& memo);

}  // namespace korimet::cli
