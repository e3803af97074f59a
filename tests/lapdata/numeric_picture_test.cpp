#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>

#include "lapdata/numeric_picture.h"

namespace korimet {
namespace {

struct PictureCase {
    double value;
    const char* text;
};

TEST(NumericPicture, TwoDigitWholeNumber) {
    const PictureCase cases[] = {{0, "00"},   {7, "07"},     {12, "12"},   {123, "123"},
                                 {2.5, "03"}, {-2.5, "-03"}, {9.49, "09"}, {-5, "-05"}};
    for (const auto& c : cases) EXPECT_EQ(formatPicture00(c.value), c.text) << c.value;
    EXPECT_EQ(formatPicture00L(12), "12L");
    EXPECT_EQ(formatPicture00L(0), "00L");
}

TEST(NumericPicture, HashPrintsNothingForZero) {
    const PictureCase cases[] = {{0, ""},      {0.2, ""},  {17, "17"}, {17.6, "18"},
                                 {17.5, "18"}, {-3, "-3"}, {60, "60"}, {0.5, "1"}};
    for (const auto& c : cases) EXPECT_EQ(formatPictureHash(c.value), c.text) << c.value;
}

TEST(NumericPicture, OneDecimal) {
    const PictureCase cases[] = {{1.2, "1.2"},   {0.5, "0.5"},   {0, "0.0"},
                                 {12.3, "12.3"}, {25.5, "25.5"}, {0.05, "0.1"}};
    for (const auto& c : cases) EXPECT_EQ(formatPicture0_0(c.value), c.text) << c.value;
    for (int v = 0; v <= 255; ++v) {
        const std::string expected = std::to_string(v / 10) + "." + std::to_string(v % 10);
        EXPECT_EQ(formatPicture0_0(v / 10.0), expected) << v;
    }
}

TEST(NumericPicture, DifferenceHasPositiveAndNegativeSections) {
    const PictureCase cases[] = {
        {1.23, "(+1.23sec)"},
        {-0.5, "(\u25BC.5sec)"},
        {12, "(+12.sec)"},
        {0, "(+.sec)"},
        {61.23 - 60.0, "(+1.23sec)"},
        {60.0 - 60.5, "(\u25BC.5sec)"},
        {-60.12, "(\u25BC60.12sec)"},
        {0.005, "(+.01sec)"},
        {-0.005, "(\u25BC.01sec)"},
        {-0.001, "(+.sec)"},
        {2.675, "(+2.68sec)"},
        {0.1, "(+.1sec)"},
    };
    for (const auto& c : cases) EXPECT_EQ(formatDifferencePicture(c.value), c.text) << c.value;
    EXPECT_THROW(formatDifferencePicture(std::numeric_limits<double>::infinity()),
                 std::domain_error);
}

}  // namespace
}  // namespace korimet
