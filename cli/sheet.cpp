#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/verbs.h"

namespace korimet::cli {

namespace {

constexpr const char* kRendererName = "korimet-sheet";

struct SheetOptions {
    std::string file;
    std::string pdf;
    std::string png;
    std::string compare;
    int width = 0;  // 0: the renderer's default
};

// Drawing the sheet needs Qt's painting and the chart; they live in a program of their own
// beside this one, so that every other verb starts without loading them.
int runSheet(const SheetOptions& o, const CLI::App& verb, const Texts& t) {
    if (o.pdf.empty() && o.png.empty())
        return wrongArguments(verb, t.with(Text::MissingArgument, {"--pdf / --png"}));
    if (o.width != 0 && o.png.empty())
        return wrongArguments(verb, t.with(Text::MissingArgument, {"--png"}));
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    const std::filesystem::path renderer =
        (ec ? std::filesystem::path(".") : self.parent_path()) / kRendererName;
    std::vector<std::string> words = {renderer.string(), o.file};
    auto add = [&words](const char* option, const std::string& value) {
        if (value.empty()) return;
        words.emplace_back(option);
        words.push_back(value);
    };
    add("--pdf", o.pdf);
    add("--png", o.png);
    add("--compare", o.compare);
    if (o.width != 0) add("--width", std::to_string(o.width));
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    std::cout.flush();
    execv(renderer.c_str(), argv.data());
    std::cerr << messagePrefix(verb)
              << t.with(Text::SheetCannotStart, {renderer.string(), std::strerror(errno)}) << "\n";
    return 2;
}

}  // namespace

VerbRun sheetVerb(CLI::App& verb, const Texts& texts) {
    auto options = std::make_shared<SheetOptions>();
    verb.add_option("FILE.krt", options->file, texts(Text::SheetFile))->required();
    verb.add_option("--pdf", options->pdf, texts(Text::SheetPdf));
    verb.add_option("--png", options->png, texts(Text::SheetPng));
    verb.add_option("--width", options->width, texts(Text::SheetWidth))
        ->check(CLI::Range(200, 8000));
    verb.add_option("--compare", options->compare, texts(Text::SheetCompare));
    verb.footer(texts(Text::SheetExit));
    return [options, &verb, texts] { return runSheet(*options, verb, texts); };
}

}  // namespace korimet::cli
