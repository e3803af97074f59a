#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <string>
#include <string_view>

#include "commandline/cli_texts.h"

// Each verb declares its arguments, options and exit status on its own subcommand, in the
// run's language, and hands back what runs it once the command line has been parsed. A new
// verb is one such function and one line in main.cpp's table.
namespace korimet::cli {

// Runs the parsed verb; returns the process exit status.
using VerbRun = std::function<int()>;
using VerbSetup = VerbRun (*)(CLI::App& verb, const Texts& texts);

VerbRun decodeVerb(CLI::App& verb, const Texts& texts);
VerbRun showVerb(CLI::App& verb, const Texts& texts);
VerbRun exportVerb(CLI::App& verb, const Texts& texts);
VerbRun simulateVerb(CLI::App& verb, const Texts& texts);
VerbRun compareVerb(CLI::App& verb, const Texts& texts);
VerbRun listenVerb(CLI::App& verb, const Texts& texts);
VerbRun sheetVerb(CLI::App& verb, const Texts& texts);
VerbRun runsVerb(CLI::App& verb, const Texts& texts);
VerbRun correctVerb(CLI::App& verb, const Texts& texts);

// Wrong arguments found after parsing: one line naming the problem on standard error.
// Returns 2, the status of every argument error.
int wrongArguments(const CLI::App& verb, std::string_view problem);

// "korimet-cli VERB: " before a verb's own messages.
std::string messagePrefix(const CLI::App& verb);

}  // namespace korimet::cli
