#pragma once

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

namespace korimet::test {

struct CliResult {
    int status = -1;
    std::string out;  // standard output only; standard error goes to the test log
};

// Runs korimet-cli with a shell-quoted argument string.
inline CliResult runCli(const std::string& args) {
    CliResult r;
    const std::string command = std::string("'") + KORIMET_CLI + "' " + args;
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

}  // namespace korimet::test
