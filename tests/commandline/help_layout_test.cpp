// Help laid out in terminal columns: Japanese characters take two, and lines break where a
// reader expects them to.

#include <gtest/gtest.h>

#include <string>

#include "commandline/cli_texts.h"

namespace korimet {
namespace {

TEST(DisplayWidth, WideCharactersTakeTwoColumnsHalfWidthKanaOne) {
    const struct {
        std::string text;
        std::size_t columns;
    } cases[] = {
        {"", 0},
        {"korimet-cli", 11},
        {"使い方", 6},
        {"ｺｰﾅｰ", 4},         // half-width katakana, U+FF7A..
        {"｡ﾟ", 2},           // both ends of the half-width block
        {"～", 2},           // U+FF5E: a full-width form just below the block
        {"ａ", 2},           // U+FF41
        {"COM1～COM8", 10},  // mixed
        {"é", 1},            // two bytes
    };
    for (const auto& c : cases) EXPECT_EQ(cli::displayWidth(c.text), c.columns) << c.text;
}

TEST(WrapToWidth, BreaksAtSpacesAndBetweenJapaneseCharacters) {
    const struct {
        std::string text;
        std::size_t column;
        std::size_t indent;
        std::size_t width;
        std::string wrapped;
    } cases[] = {
        {"short enough", 0, 0, 20, "short enough"},
        {"one two three four", 0, 0, 9, "one two\nthree\nfour"},
        // Later lines start at the indent; the first goes on from the column.
        {"one two three", 6, 4, 12, "one\n    two\n    three"},
        // Spaces at a break are dropped, and a run of them between words is kept.
        {"a  b", 0, 0, 10, "a  b"},
        {"aaaa bbbb", 0, 0, 4, "aaaa\nbbbb"},
        // A word longer than the line stands alone rather than being cut.
        {"x averyveryverylongword y", 0, 0, 8, "x\naveryveryverylongword\ny"},
        // Japanese breaks between any two characters...
        {"あいうえお", 0, 0, 6, "あいう\nえお"},
        // ...but never before a closing mark: it goes down with the character before it.
        {"あい、うえ", 0, 0, 4, "あ\nい、\nうえ"},
        {"あい）う", 0, 0, 4, "あ\nい）\nう"},
        // An opening bracket stays with what follows.
        {"あ（い）", 0, 0, 4, "あ\n（い）"},
        // ASCII words inside Japanese stay whole.
        {"保存 DIR/run-NNN.krt に", 0, 0, 10, "保存\nDIR/run-NNN.krt\nに"},
        // Line ends in the text are kept and the next line is indented too.
        {"a\nb", 2, 2, 80, "a\n  b"},
        {"", 3, 3, 80, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cli::wrapToWidth(c.text, c.column, c.indent, c.width), c.wrapped) << c.text;
    }
}

// Whatever the text, no line is wider than asked unless one word alone is, and nothing but
// spaces at the breaks is lost.
TEST(WrapToWidth, KeepsEveryCharacterAndTheWidth) {
    const std::string text =
        "終了コード: 0 結果を出力した (0 分以下では出力なし)、1 ラップがない・MINUTES が数値で"
        "ない、2 引数の誤りまたはファイルを読めない。Exit status: 0 line printed, 1 no laps.";
    for (std::size_t width = 12; width <= 80; ++width) {
        const std::string wrapped = cli::wrapToWidth(text, 0, 0, width);
        std::string joined;
        std::size_t start = 0;
        for (;;) {
            const std::size_t end = wrapped.find('\n', start);
            const std::string line = wrapped.substr(start, end - start);
            EXPECT_LE(cli::displayWidth(line), width) << width << ": " << line;
            joined += line;
            if (end == std::string::npos) break;
            start = end + 1;
        }
        std::string withoutSpaces;
        for (char c : text) {
            if (c != ' ') withoutSpaces += c;
        }
        std::string joinedWithoutSpaces;
        for (char c : joined) {
            if (c != ' ') joinedWithoutSpaces += c;
        }
        EXPECT_EQ(joinedWithoutSpaces, withoutSpaces) << width;
    }
}

}  // namespace
}  // namespace korimet
