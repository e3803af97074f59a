// The one UTF-8 check the window's paths and the tool's JSON names share: each edge of a
// well-formed range on both sides, so that neither reads a byte more or less as text.

#include <gtest/gtest.h>

#include <string>

#include "files/utf8_check.h"

namespace korimet {
namespace {

TEST(Utf8Check, LengthOfTheFirstCharacterAtEachEdgeOfTheRanges) {
    const struct {
        std::string bytes;
        std::size_t length;
    } cases[] = {
        {"", 0},
        {"a\xFF", 1},  // only the first character counts
        {"\x7F", 1},
        {"\x80\xBF", 0},  // a continuation byte cannot start one
        {"\xC1\xBF", 0},  // overlong
        {"\xC2\x80", 2},
        {"\xDF\xBF", 2},
        {"\xC2", 0},      // cut short
        {"\xC2\xC0", 0},  // not a continuation
        {"\xE0\x9F\xBF", 0},
        {"\xE0\xA0\x80", 3},
        {"\xED\x9F\xBF", 3},
        {"\xED\xA0\x80", 0},  // a surrogate
        {"\xEF\xBF\xBF", 3},
        {"\xE3\x81", 0},
        {"\xE3\x81\x7F", 0},
        {"\xF0\x8F\xBF\xBF", 0},
        {"\xF0\x90\x80\x80", 4},
        {"\xF4\x8F\xBF\xBF", 4},
        {"\xF4\x90\x80\x80", 0},  // past U+10FFFF
        {"\xF5\x80\x80\x80", 0},
        {"\xF0\x9F\x8F", 0},
        {"\xF0\x9F\x8F\xC1", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(utf8CharacterLength(c.bytes), c.length) << testing::PrintToString(c.bytes);
    }
}

}  // namespace
}  // namespace korimet
