#pragma once

// The sheet renderer that korimet-cli sheet starts, with the verb's own arguments (see
// commandline/sheet_options.h). Reads the files first, so a refused file costs no Qt
// start-up; then draws on the offscreen platform. Exit 0, or 2 with a message on standard
// error.
namespace korimet {

int runSheetCommand(int& argc, char** argv);

}  // namespace korimet
