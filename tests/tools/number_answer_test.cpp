#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tools/number_answer.h"

namespace korimet {
namespace {

TEST(NumberAnswer, ReadsDecimalsWithAPointOnly) {
    struct Case {
        std::string text;
        std::optional<double> value;
    };
    const Case cases[] = {
        {"5", 5.0},
        {"17.6", 17.6},
        {".5", 0.5},
        {"5.", 5.0},
        {"-3", -3.0},
        {"+2.5", 2.5},
        {"  20  ", 20.0},
        {"\t7\t", 7.0},
        {"0", 0.0},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"abc", std::nullopt},
        {"12abc", std::nullopt},
        {"1 2", std::nullopt},
        {"17,6", std::nullopt},
        {"1e3", std::nullopt},
        {"0x10", std::nullopt},
        {"inf", std::nullopt},
        {"nan", std::nullopt},
        {".", std::nullopt},
        {"-", std::nullopt},
        {"--3", std::nullopt},
        {"1.2.3", std::nullopt},
        {"1e999", std::nullopt},
        {std::string(400, '9'), std::nullopt},  // beyond a double
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseNumberAnswer(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(NumberAnswer, AcceptsFullWidthDigitsPointSignAndBlank) {
    struct Case {
        const char* text;
        std::optional<double> value;
    };
    const Case cases[] = {
        {"２０", 20.0},         {"１７．６", 17.6},
        {"１7.６", 17.6},                           // mixed widths
        {"　５　", 5.0},                            // ideographic spaces around
        {"－３", -3.0},         {"\u22123", -3.0},  // the minus sign
        {"＋１", 1.0},          {"ａｂｃ", std::nullopt},
        {"５分", std::nullopt}, {"\xEF\xBC", std::nullopt},  // a cut-off character
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseNumberAnswer(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(NumberAnswer, ExponentOnlyWhenAsked) {
    EXPECT_EQ(parseNumberAnswer("1e+20", NumberSyntax::DecimalWithExponent), 1e20);
    EXPECT_EQ(parseNumberAnswer("2.5E-1", NumberSyntax::DecimalWithExponent), 0.25);
    EXPECT_EQ(parseNumberAnswer("1e", NumberSyntax::DecimalWithExponent), std::nullopt);
    EXPECT_EQ(parseNumberAnswer("e5", NumberSyntax::DecimalWithExponent), std::nullopt);
    EXPECT_EQ(parseNumberAnswer("1e+20"), std::nullopt);
}

TEST(NumberAnswer, DefaultTextReadsBackAsTheSameValue) {
    for (double v : {0.0, 60.0, 120.0, 60.5, -3.25, 1e20, 1e-7, 655.35, 1.7976931348623157e308}) {
        const std::string text = numberDefaultText(v);
        EXPECT_EQ(parseNumberAnswer(text, NumberSyntax::DecimalWithExponent), v) << text;
    }
    EXPECT_EQ(numberDefaultText(120.0), "120");
    EXPECT_EQ(numberDefaultText(60.5), "60.5");
}

}  // namespace
}  // namespace korimet
