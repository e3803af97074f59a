#pragma once

#include <optional>
#include <stdexcept>
#include <string>

namespace korimet {

// Raised for a time outside the formatter's 32-bit hour range or not finite.
class LapTimeRangeError : public std::range_error {
  public:
    explicit LapTimeRangeError(double seconds);
    double seconds() const { return seconds_; }

  private:
    double seconds_;
};

// Seconds to "MMmSSsHH" (83.45 -> "01m23s45"). Whole hours are dropped and negative
// values wrap within the hour. Throws LapTimeRangeError when the value cannot be shown.
std::string formatLapTime(double seconds);

// The same, or nothing when formatLapTime would throw.
std::optional<std::string> tryFormatLapTime(double seconds);

// What a display shows in place of a time it cannot show.
inline constexpr const char* kNoLapTimeText = "--m--s--";

// formatLapTime, or kNoLapTimeText for a value it cannot show.
std::string lapTimeOrPlaceholder(double seconds);

}  // namespace korimet
