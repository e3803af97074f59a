#pragma once

#include <CLI/CLI.hpp>
#include <string>
#include <vector>

#include "commandline/cli_texts.h"

// The sheet's command line, declared once: korimet-cli's sheet verb reads it from the user
// and hands it to the renderer, which reads it again with the same options.
namespace korimet::cli {

// The renderer's first argument when korimet-cli starts it: its messages then name the verb.
inline constexpr const char* kSheetVerbName = "korimet-cli sheet";

inline constexpr int kDefaultPictureWidth = 1600;
inline constexpr int kMinPictureWidth = 200;
inline constexpr int kMaxPictureWidth = 8000;

struct SheetRequest {
    std::string file;
    std::string pdf;  // empty: no PDF; "-": standard output
    std::string png;  // empty: no picture; "-": standard output
    std::string compare;
    int width = 0;  // 0: not given, kDefaultPictureWidth

    bool operator==(const SheetRequest&) const = default;
};

// FILE.krt, --pdf, --png, --width and --compare on `app`, read into `into`, which has to live
// until the parse is over.
void addSheetOptions(CLI::App& app, SheetRequest& into, const Texts& texts);

// What CLI11 cannot check: something to write, a width only for a picture, and at most one
// of them to standard output. Empty when the request can be drawn.
std::string sheetRequestProblem(const SheetRequest& request, const Texts& texts);

// Arguments that addSheetOptions reads back as `request`, whatever its names look like.
std::vector<std::string> sheetArguments(const SheetRequest& request);

}  // namespace korimet::cli
