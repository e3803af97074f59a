#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "tools/chart_edit.h"

namespace korimet {
namespace {

// Answers from a list and records every question as "prompt|title|default".
struct ScriptedAsk {
    std::deque<std::string> answers;
    std::vector<std::string> asked;
    AskText fn() {
        return
            [this](const std::string& prompt, const std::string& title, const std::string& text) {
                asked.push_back(prompt + "|" + title + "|" + text);
                std::string answer = answers.empty() ? std::string() : answers.front();
                if (!answers.empty()) answers.pop_front();
                return answer;
            };
    }
};

TEST(ChartEdit, AxisScaleAsksMaximumThenMinimum) {
    struct Case {
        const char* name;
        int axis;
        std::deque<std::string> answers;
        std::optional<AxisScaleEdit> result;
        std::vector<std::string> asked;
    };
    const std::vector<std::string> both = {"最大値:|軸設定|90", "最小値:|軸設定|55.5"};
    const Case cases[] = {
        {"both answered", 1, {"120", "60"}, AxisScaleEdit{1, 60, 120, true, 10}, both},
        {"secondary axis goes to axis 1",
         2,
         {"120", "60"},
         AxisScaleEdit{1, 60, 120, true, 10},
         both},
        {"Cancel on both fixes the current limits",
         1,
         {"", ""},
         AxisScaleEdit{1, 55.5, 90, true, 10},
         both},
        {"abc keeps the maximum and still asks the minimum",
         1,
         {"abc", "50"},
         AxisScaleEdit{1, 50, 90, true, 10},
         both},
        {"minimum not a number keeps it",
         1,
         {"100", "x"},
         AxisScaleEdit{1, 55.5, 100, true, 10},
         both},
        {"full-width and blanks",
         1,
         {" １２０ ", "６０"},
         AxisScaleEdit{1, 60, 120, true, 10},
         both},
        {"axis 0 asks nothing", 0, {"120", "60"}, std::nullopt, {}},
        {"axis 3 asks nothing", 3, {"120", "60"}, std::nullopt, {}},
        {"negative axis asks nothing", -1, {"120", "60"}, std::nullopt, {}},
    };
    for (const auto& c : cases) {
        ScriptedAsk ask{c.answers, {}};
        EXPECT_EQ(editAxisScale(c.axis, 55.5, 90, ask.fn()), c.result) << c.name;
        EXPECT_EQ(ask.asked, c.asked) << c.name;
    }
}

TEST(ChartEdit, AxisDefaultTextOfALargeLimitReadsBack) {
    // Accepting the offered default must not lose the limit, even in exponent form.
    std::vector<std::string> defaults;
    const auto echo = [&](const std::string&, const std::string&, const std::string& text) {
        defaults.push_back(text);
        return text;
    };
    const auto edit = editAxisScale(1, 1e-7, 1e20, echo);
    ASSERT_TRUE(edit);
    EXPECT_EQ(edit->maximum, 1e20);
    EXPECT_EQ(edit->minimum, 1e-7);
    EXPECT_EQ(defaults.size(), 2u);
}

TEST(ChartEdit, PointValue) {
    struct Case {
        const char* answer;
        std::optional<double> value;
    };
    const Case cases[] = {
        {"58.25", 58.25}, {"", std::nullopt}, {"abc", std::nullopt}, {"７０", 70.0}};
    for (const auto& c : cases) {
        ScriptedAsk ask{{c.answer}, {}};
        EXPECT_EQ(editChartPoint(61.5, ask.fn()), c.value) << c.answer;
        EXPECT_EQ(ask.asked, std::vector<std::string>{"グラフプロットのみ変更可能:||61.5"});
    }
}

}  // namespace
}  // namespace korimet
