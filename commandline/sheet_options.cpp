#include "commandline/sheet_options.h"

#include "commandline/parse_problem.h"

namespace korimet::cli {

void addSheetOptions(CLI::App& app, SheetRequest& into, const Texts& texts) {
    app.add_option("FILE.krt", into.file, texts(Text::SheetFile))->required();
    app.add_option("--pdf", into.pdf, texts(Text::SheetPdf))->type_name("FILE.pdf");
    app.add_option("--png", into.png, texts(Text::SheetPng))->type_name("FILE.png");
    // The range is in the description; the help shows the value's name alone.
    app.add_option("--width", into.width, texts(Text::SheetWidth))
        ->type_name("PX")
        ->check(wholeNumberIn(kMinPictureWidth, kMaxPictureWidth, texts));
    app.add_option("--compare", into.compare, texts(Text::SheetCompare))->type_name("FILE.krt");
}

std::string sheetRequestProblem(const SheetRequest& request, const Texts& texts) {
    if (request.pdf.empty() && request.png.empty())
        return texts.with(Text::MissingArgument, {"--pdf / --png"});
    if (request.width != 0 && request.png.empty())
        return texts.with(Text::MissingArgument, {"--png"});
    if (request.pdf == "-" && request.png == "-") return texts(Text::OneStandardOutput);
    return {};
}

std::vector<std::string> sheetArguments(const SheetRequest& request) {
    std::vector<std::string> words;
    // Joined by "=", a value that starts with "-" is not taken for an option.
    auto add = [&words](const char* option, const std::string& value) {
        if (!value.empty()) words.push_back(std::string(option) + "=" + value);
    };
    add("--pdf", request.pdf);
    add("--png", request.png);
    add("--compare", request.compare);
    if (request.width != 0) add("--width", std::to_string(request.width));
    // After "--" the run's name is never an option either.
    words.emplace_back("--");
    words.push_back(request.file);
    return words;
}

}  // namespace korimet::cli
