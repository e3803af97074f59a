#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <vector>

#include "cli/verbs.h"

namespace korimet::cli {

namespace {
constexpr const char* kRendererName = "korimet-sheet";
}  // namespace

// Drawing the sheet needs Qt's painting and the chart; they live in a program of their own
// beside this one, so that every other verb starts without loading them.
int sheetVerb(const Args& args) {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    const std::filesystem::path renderer =
        (ec ? std::filesystem::path(".") : self.parent_path()) / kRendererName;
    std::vector<std::string> words = {renderer.string()};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    std::cout.flush();
    execv(renderer.c_str(), argv.data());
    std::cerr << "korimet-cli sheet: " << renderer.string()
              << " を起動できませんでした: " << std::strerror(errno) << "\n";
    return 2;
}

}  // namespace korimet::cli
