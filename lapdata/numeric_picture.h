#pragma once

#include <string>

// Number-to-text pictures used across the program. All are locale-independent and
// round halves away from zero. The decimal pictures round the shortest decimal text of
// the value, so 2.675 counts as the half it was typed as. Non-finite values make the
// decimal pictures throw std::domain_error.
namespace korimet {

double roundHalfAwayFromZero(double value);

// "00": nearest whole number, at least two digits (7 -> "07", -5 -> "-05").
std::string formatPicture00(double value);

// "00L": as "00", then the letter L (12 -> "12L").
std::string formatPicture00L(double value);

// "##": nearest whole number without leading zeros; nothing at all for 0.
std::string formatPictureHash(double value);

// "0.0": one decimal, at least one digit before the point (1.2 -> "1.2", 0.5 -> "0.5").
std::string formatPicture0_0(double value);

// "(+#.##sec);(▼#.##sec)": 1.23 -> "(+1.23sec)", -0.5 -> "(▼.5sec)", 12 -> "(+12.sec)",
// 0 -> "(+.sec)". A value that rounds to zero takes the positive section.
std::string formatDifferencePicture(double value);

}  // namespace korimet
