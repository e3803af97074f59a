#pragma once

#include <optional>

#include "tools/tool_dialogs.h"

namespace korimet {

inline constexpr int kValueAxis = 1;
inline constexpr int kSecondaryValueAxis = 2;
inline constexpr int kAxisMajorDivisions = 10;

// The settings to put on a value axis after the user picked it.
struct AxisScaleEdit {
    int axis = kValueAxis;  // both value axes lead here
    double minimum = 0.0;
    double maximum = 0.0;
    bool fixed = true;  // never back to automatic scaling
    int majorDivisions = kAxisMajorDivisions;
    friend bool operator==(const AxisScaleEdit&, const AxisScaleEdit&) = default;
};

// For the picked axis: none for an axis other than 1 or 2 (nothing is asked). Otherwise the
// maximum is asked, then the minimum, each once with the current limit as default text; an
// answer that is not a number keeps that limit.
std::optional<AxisScaleEdit> editAxisScale(int axis, double currentMinimum, double currentMaximum,
                                           const AskText& ask);

// A new plotted value for a picked data point, asked once with the current value as default
// text. None (keep the point as it is) for Cancel, an empty answer or no number.
std::optional<double> editChartPoint(double currentValue, const AskText& ask);

}  // namespace korimet
