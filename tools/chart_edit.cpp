#include "tools/chart_edit.h"

#include "tools/number_answer.h"
#include "tools/tool_texts.h"

namespace korimet {
namespace {

// The default text is written with an exponent for large values, so read one back too.
std::optional<double> askNumber(const AskText& ask, const char* prompt, const char* title,
                                double current) {
    return parseNumberAnswer(ask(prompt, title, numberDefaultText(current)),
                             NumberSyntax::DecimalWithExponent);
}

}  // namespace

std::optional<AxisScaleEdit> editAxisScale(int axis, double currentMinimum, double currentMaximum,
                                           const AskText& ask) {
    if (axis != kValueAxis && axis != kSecondaryValueAxis) return std::nullopt;
    AxisScaleEdit edit;
    edit.axis = kValueAxis;
    edit.minimum = currentMinimum;
    edit.maximum = currentMaximum;
    if (auto maximum = askNumber(ask, kAxisMaximumPrompt, kAxisTitle, currentMaximum)) {
        edit.maximum = *maximum;
    }
    if (auto minimum = askNumber(ask, kAxisMinimumPrompt, kAxisTitle, currentMinimum)) {
        edit.minimum = *minimum;
    }
    return edit;
}

std::optional<double> editChartPoint(double currentValue, const AskText& ask) {
    return askNumber(ask, kChartPointPrompt, "", currentValue);
}

}  // namespace korimet
