#pragma once

#include <QString>
#include <QStringList>

#include "commandline/cli_texts.h"
#include "shell/ui/given_files.h"

namespace korimet {

// What the command line asks of the window program, decided before any window or display.
struct CommandLine {
    enum class Action { Run, PrintAndExit };
    Action action = Action::Run;
    GivenFile file;    // the run file to open after the load step; empty path for none
    QString output;    // printed before exiting: help or version on stdout, error on stderr
    int exitCode = 0;  // 0 for help and version, 2 for a wrong command line
    bool toStandardError = false;
};

// `korimet [FILE.krt]`, `--help`, `--version`. Qt's own window options (-style, -platform,
// ...) are let through for QApplication, which takes them from argv itself. Help and
// errors speak `language`; without it, the one the locale selects as for korimet-cli.
CommandLine parseCommandLine(const QStringList& arguments, cli::Language language);
CommandLine parseCommandLine(const QStringList& arguments, const cli::Texts& texts);
// In the locale's language: Japanese, or a translation of the window's where there is one for
// it, else English.
CommandLine parseCommandLine(const QStringList& arguments);
// The same from main's argv, decoded as Qt decodes file names; says whether the file's
// name survived that.
CommandLine parseCommandLine(int argc, char** argv);

}  // namespace korimet
