#pragma once

#include <CLI/CLI.hpp>
#include <string>

#include "commandline/cli_texts.h"

namespace korimet::cli {

// A CLI11 parse error as one line in the run's language.
std::string problemText(const CLI::ParseError& e, const Texts& t);

}  // namespace korimet::cli
