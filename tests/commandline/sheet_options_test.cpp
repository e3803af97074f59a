#include "commandline/sheet_options.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "commandline/parse_problem.h"

namespace korimet::cli {
namespace {

struct Read {
    SheetRequest request;
    std::string problem;  // empty when the words make a request that can be drawn
};

// The words read as the renderer reads them.
Read readSheetWords(std::vector<std::string> words) {
    const Texts english(Language::English);
    Read read;
    CLI::App app;
    addSheetOptions(app, read.request, english);
    std::reverse(words.begin(), words.end());  // CLI11 takes them last first
    try {
        app.parse(words);
        read.problem = sheetRequestProblem(read.request, english);
    } catch (const CLI::ParseError& e) {
        read.problem = problemText(e, english);
    }
    return read;
}

TEST(SheetOptions, TheRendererReadsBackWhatTheVerbHandsOn) {
    const SheetRequest requests[] = {
        {"run.krt", "sheet.pdf", "", "", 0},
        {"run.krt", "", "chart.png", "other.krt", 640},
        {"run.krt", "sheet.pdf", "chart.png", "", kMinPictureWidth},
        // Names that look like options, or hold what an option would be split at.
        {"-run.krt", "-sheet.pdf", "--png", "--compare=other.krt", kMaxPictureWidth},
        {"--", "-", "a=b.png", "--width", 0},
        {"雨 上がり.krt", "\"quoted\" sheet.pdf", "", "比較 'two'.krt", 0},
    };
    for (const SheetRequest& request : requests) {
        const Read read = readSheetWords(sheetArguments(request));
        EXPECT_EQ(read.problem, "") << request.file;
        EXPECT_EQ(read.request, request) << request.file;
    }
}

TEST(SheetOptions, WrongWordsAreNamedAsTheVerbNamesThem) {
    const struct {
        std::vector<std::string> words;
        std::string problem;
    } cases[] = {
        {{"run.krt"}, "--pdf / --png is missing"},
        {{"run.krt", "--pdf", "a.pdf", "--width", "800"}, "--png is missing"},
        {{"--pdf", "a.pdf"}, "FILE.krt is missing"},
        {{"run.krt", "--pdf"}, "--pdf needs one value"},
        {{"run.krt", "--pdf", "a.pdf", "--pdf", "b.pdf"}, "--pdf is given more than once"},
        {{"run.krt", "other.krt", "--pdf", "a.pdf"}, "unexpected argument: other.krt"},
        {{"run.krt", "--png", "a.png", "--width", "199"},
         "wrong arguments: --width: 199 is not a whole number from 200 to 8000"},
        {{"run.krt", "--png", "a.png", "--width", "8001"},
         "wrong arguments: --width: 8001 is not a whole number from 200 to 8000"},
        {{"run.krt", "--png", "a.png", "--width", "12x"},
         "wrong arguments: --width: 12x is not a whole number from 200 to 8000"},
        {{"run.krt", "--png", "a.png", "--width", "8000"}, ""},
    };
    for (const auto& c : cases) {
        std::string words;
        for (const std::string& w : c.words) words += w + " ";
        EXPECT_EQ(readSheetWords(c.words).problem, c.problem) << words;
    }
}

}  // namespace
}  // namespace korimet::cli
