#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace korimet {

enum class NumberSyntax {
    Decimal,             // [sign] digits [. digits]
    DecimalWithExponent  // the same, optionally followed by e[sign]digits
};

// Reads a number typed into an input box. Blanks around it (including the ideographic
// space) are allowed; digits, point, sign and blank may be typed in full width, since a
// Japanese input method often leaves them so. Anything else, an empty text, or a value
// outside the range of a double is not a number.
std::optional<double> parseNumberAnswer(std::string_view text,
                                        NumberSyntax syntax = NumberSyntax::Decimal);

// The shortest text that reads back as the same double ("120", "60.5", "1e+20").
std::string numberDefaultText(double value);

}  // namespace korimet
