#include "lapdata/lap_time.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "lapdata/numeric_picture.h"

namespace korimet {

LapTimeRangeError::LapTimeRangeError(double seconds)
    : std::range_error("lap time outside the range that can be shown"), seconds_(seconds) {}

std::optional<std::string> tryFormatLapTime(double seconds) {
    if (!std::isfinite(seconds)) return std::nullopt;
    const double hours = std::floor(seconds / 3600.0);
    const double hourSeconds = hours * 3600.0;
    // The hour product is 32-bit signed arithmetic; beyond that there is no text.
    if (hourSeconds > std::numeric_limits<std::int32_t>::max() ||
        hourSeconds < std::numeric_limits<std::int32_t>::min()) {
        return std::nullopt;
    }
    double rest = seconds - hourSeconds;
    auto minutes = static_cast<std::int64_t>(std::floor(rest / 60.0));
    rest -= static_cast<double>(minutes) * 60.0;
    auto whole = static_cast<std::int64_t>(std::floor(rest));
    auto hundredths = static_cast<std::int64_t>(
        roundHalfAwayFromZero((rest - static_cast<double>(whole)) * 100.0));
    // A fraction of .995 or more rounds to 100 hundredths: carry it, never show "s100".
    if (hundredths >= 100) {
        hundredths -= 100;
        ++whole;
    }
    if (whole >= 60) {
        whole -= 60;
        ++minutes;
    }
    if (minutes >= 60) minutes -= 60;
    return formatPicture00(static_cast<double>(minutes)) + "m" +
           formatPicture00(static_cast<double>(whole)) + "s" +
           formatPicture00(static_cast<double>(hundredths));
}

std::string formatLapTime(double seconds) {
    auto text = tryFormatLapTime(seconds);
    if (!text) throw LapTimeRangeError(seconds);
    return *text;
}

std::string lapTimeOrPlaceholder(double seconds) {
    return tryFormatLapTime(seconds).value_or(kNoLapTimeText);
}

}  // namespace korimet
