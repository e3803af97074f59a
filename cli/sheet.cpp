#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/verbs.h"
#include "commandline/sheet_options.h"

namespace korimet::cli {

namespace {

constexpr const char* kRendererName = "korimet-sheet";

// Installed, the renderer is a helper under libexec (KORIMET_LIBEXEC_FROM_BIN, relative to this
// program's folder); in the build tree it sits beside this program.
std::filesystem::path findRenderer() {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    const std::filesystem::path folder = ec ? std::filesystem::path(".") : self.parent_path();
    const std::filesystem::path installed =
        (folder / KORIMET_LIBEXEC_FROM_BIN / kRendererName).lexically_normal();
    const std::filesystem::path beside = folder / kRendererName;
    if (!std::filesystem::exists(installed, ec) && std::filesystem::exists(beside, ec))
        return beside;
    return installed;
}

// Drawing the sheet needs Qt's painting and the chart; they live in a program of their own,
// in the window's package, so that every other verb starts without loading them.
int runSheet(const SheetRequest& request, const CLI::App& verb, const Texts& t) {
    if (const std::string problem = sheetRequestProblem(request, t); !problem.empty())
        return wrongArguments(verb, problem);
    const std::filesystem::path renderer = findRenderer();
    std::vector<std::string> words = sheetArguments(request);
    // Under the verb's name, which the renderer's messages then start with.
    words.insert(words.begin(), kSheetVerbName);
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    std::cout.flush();
    execv(renderer.c_str(), argv.data());
    if (errno == ENOENT) {
        std::cerr << messagePrefix(verb)
                  << t.with(Text::SheetRendererMissing, {renderer.string(), KORIMET_SHEET_PACKAGE})
                  << "\n";
    } else {
        std::cerr << messagePrefix(verb)
                  << t.with(Text::SheetCannotStart, {renderer.string(), t.reason(errno)}) << "\n";
    }
    return 2;
}

}  // namespace

VerbRun sheetVerb(CLI::App& verb, const Texts& texts) {
    auto request = std::make_shared<SheetRequest>();
    addSheetOptions(verb, *request, texts);
    verb.footer(texts(Text::SheetExit));
    return [request, &verb, texts] { return runSheet(*request, verb, texts); };
}

}  // namespace korimet::cli
