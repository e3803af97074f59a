#pragma once

#include <string>
#include <vector>

// Each verb takes the arguments after its name and returns the process exit status.
namespace korimet::cli {

using Args = std::vector<std::string>;

int decodeVerb(const Args& args);
int showVerb(const Args& args);
int exportVerb(const Args& args);
int simulateVerb(const Args& args);
int compareVerb(const Args& args);
int listenVerb(const Args& args);
int sheetVerb(const Args& args);
int runsVerb(const Args& args);

}  // namespace korimet::cli
