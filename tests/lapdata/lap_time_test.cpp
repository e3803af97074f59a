#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "lapdata/lap_time.h"

namespace korimet {
namespace {

struct TimeCase {
    double seconds;
    const char* text;
};

TEST(FormatLapTime, ShowsMinutesSecondsAndRoundedHundredths) {
    const TimeCase cases[] = {
        {0, "00m00s00"},        {83.45, "01m23s45"},   {59.99, "00m59s99"},
        {655.35, "10m55s35"},   {100, "01m40s00"},     {0.29, "00m00s29"},
        {3725.5, "02m05s50"},   {-0.5, "59m59s50"},    {6543 / 100.0, "01m05s43"},
        {61.99667, "01m02s00"}, {59.996, "01m00s00"},  {3599.996, "00m00s00"},
        {0.005, "00m00s01"},    {1.0 / 3, "00m00s33"}, {-2147482800.0, "00m00s00"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatLapTime(c.seconds), c.text) << "seconds " << c.seconds;
    }
}

TEST(FormatLapTime, EveryCentisecondValueFromTheTimerRoundsToItsOwnText) {
    for (int count = 0; count <= 65535; ++count) {
        const int minutes = count / 6000;
        const int seconds = (count / 100) % 60;
        const int hundredths = count % 100;
        char expected[16];
        std::snprintf(expected, sizeof expected, "%02dm%02ds%02d", minutes, seconds, hundredths);
        ASSERT_EQ(formatLapTime(count / 100.0), expected) << count;
    }
}

TEST(FormatLapTime, RefusesValuesItCannotShow) {
    const double bad[] = {std::numeric_limits<double>::infinity(),
                          -std::numeric_limits<double>::infinity(),
                          std::numeric_limits<double>::quiet_NaN(),
                          2147486400.0,
                          -2147482801.0,
                          1e300};
    for (double v : bad) {
        EXPECT_THROW(formatLapTime(v), LapTimeRangeError) << v;
        EXPECT_FALSE(tryFormatLapTime(v).has_value()) << v;
        EXPECT_EQ(lapTimeOrPlaceholder(v), "--m--s--") << v;
    }
    EXPECT_TRUE(tryFormatLapTime(2147486399.0).has_value());
}

}  // namespace
}  // namespace korimet
