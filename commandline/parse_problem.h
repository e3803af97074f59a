#pragma once

#include <CLI/CLI.hpp>
#include <string>

#include "commandline/cli_texts.h"

namespace korimet::cli {

// A CLI11 parse error as one line in the run's language.
std::string problemText(const CLI::ParseError& e, const Texts& t);

// A check that a value is a whole number from `low` to `high`, refused in the run's language
// (CLI11's own range check speaks English only). No description: the help names the value.
CLI::Validator wholeNumberIn(int low, int high, const Texts& t);

}  // namespace korimet::cli
