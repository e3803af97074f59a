#include "lapdata/numeric_picture.h"

#include <array>
#include <charconv>
#include <cmath>
#include <stdexcept>
#include <system_error>

namespace korimet {
namespace {

struct Decimal {
    bool negative = false;
    std::string whole;     // no leading zeros; empty for zero
    std::string fraction;  // exactly the requested number of places
};

// Rounds the shortest round-trip decimal text of `value` to `places` decimals.
Decimal roundDecimal(double value, int places) {
    if (!std::isfinite(value)) throw std::domain_error("not a finite number");
    std::array<char, 400> buffer{};
    auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                   std::chars_format::fixed);
    if (ec != std::errc{}) throw std::domain_error("number too long to show");
    std::string text(buffer.data(), end);

    Decimal d;
    if (!text.empty() && text.front() == '-') {
        d.negative = true;
        text.erase(0, 1);
    }
    const auto point = text.find('.');
    std::string whole = text.substr(0, point);
    std::string fraction = point == std::string::npos ? "" : text.substr(point + 1);

    bool roundUp = fraction.size() > static_cast<std::size_t>(places) &&
                   fraction[static_cast<std::size_t>(places)] >= '5';
    fraction.resize(static_cast<std::size_t>(places), '0');
    std::string digits = whole + fraction;
    if (roundUp) {
        int i = static_cast<int>(digits.size()) - 1;
        for (; i >= 0; --i) {
            if (digits[static_cast<std::size_t>(i)] == '9') {
                digits[static_cast<std::size_t>(i)] = '0';
            } else {
                ++digits[static_cast<std::size_t>(i)];
                break;
            }
        }
        if (i < 0) digits.insert(digits.begin(), '1');
    }
    d.fraction = digits.substr(digits.size() - static_cast<std::size_t>(places));
    d.whole = digits.substr(0, digits.size() - static_cast<std::size_t>(places));
    const auto firstNonZero = d.whole.find_first_not_of('0');
    d.whole = firstNonZero == std::string::npos ? "" : d.whole.substr(firstNonZero);
    if (d.whole.empty() && d.fraction.find_first_not_of('0') == std::string::npos) {
        d.negative = false;  // no "-0"
    }
    return d;
}

std::string wholeNumberText(double value, std::size_t minDigits) {
    Decimal d = roundDecimal(value, 0);
    std::string digits = d.whole;
    if (digits.size() < minDigits) digits.insert(0, minDigits - digits.size(), '0');
    return (d.negative ? "-" : "") + digits;
}

}  // namespace

double roundHalfAwayFromZero(double value) { return std::round(value); }

std::string formatPicture00(double value) { return wholeNumberText(value, 2); }

std::string formatPicture00L(double value) { return formatPicture00(value) + "L"; }

std::string formatPictureHash(double value) { return wholeNumberText(value, 0); }

std::string formatPicture0_0(double value) {
    Decimal d = roundDecimal(value, 1);
    return (d.negative ? "-" : "") + (d.whole.empty() ? "0" : d.whole) + "." + d.fraction;
}

std::string formatDifferencePicture(double value) {
    Decimal d = roundDecimal(value, 2);
    std::string fraction = d.fraction;
    while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
    const std::string number = d.whole + "." + fraction;
    return d.negative ? "(\u25BC" + number + "sec)" : "(+" + number + "sec)";
}

}  // namespace korimet
