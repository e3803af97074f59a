#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace korimet {

// The memo box ends its lines with LF; data files, like those of the timer's original
// Windows software, hold CR LF inside the memo. Converting both ways keeps the line ends
// of files exchanged with it.

// Box text to the UTF-8 memo a file stores: every line end becomes CR LF.
std::string memoForFile(const QString& boxText);

// A memo read from a file to box text: CR LF and a lone CR become LF (the box would make
// a CR into a line break of its own, doubling every CR LF).
QString memoForBox(std::string_view fileMemo);

}  // namespace korimet
