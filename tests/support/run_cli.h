#pragma once

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

namespace korimet::test {

struct CliResult {
    int status = -1;
    std::string out;  // standard output only; standard error goes to the test log
};

// A path as one shell word.
inline std::string quoted(const std::filesystem::path& p) { return "'" + p.string() + "'"; }

// Runs a shell command line.
inline CliResult runCommand(const std::string& command) {
    CliResult r;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return r;
    std::array<char, 4096> buffer;
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        r.out.append(buffer.data(), n);
    const int raw = pclose(pipe);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return r;
}

// Runs korimet-cli with a shell-quoted argument string, its messages in the language `lang`
// selects (LANG; LC_ALL and LC_MESSAGES unset so that LANG decides).
inline CliResult runCliIn(const std::string& lang, const std::string& args) {
    return runCommand("env -u LC_ALL -u LC_MESSAGES LANG='" + lang + "' '" + KORIMET_CLI + "' " +
                      args);
}

// In English, whatever the locale of the machine running the tests.
inline CliResult runCli(const std::string& args) { return runCliIn("C.UTF-8", args); }

}  // namespace korimet::test
