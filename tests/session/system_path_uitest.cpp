#include "session/system_path.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace korimet {
namespace {

// Any bytes come back as they went in: names in CP932, Latin-1, broken UTF-8 and plain
// UTF-8 mixed, which is what a synchronised library holds.
TEST(SystemPath, AnyBytesComeBackWhole) {
    std::mt19937 random(20261210);
    const std::string pieces[] = {"/",
                                  "走行",
                                  "\x91\x96\x8d\x73",
                                  "\xe9",
                                  "\xed\xa0\x80",
                                  "\xf0\x9f\x98\x80",
                                  "\xc0\xaf",
                                  "a",
                                  ".krt",
                                  "\xff",
                                  "\x80"};
    for (int round = 0; round < 5000; ++round) {
        std::string bytes;
        const int count = static_cast<int>(random() % 12);
        for (int i = 0; i < count; ++i) {
            if (random() % 3 == 0) {
                bytes += static_cast<char>(1 + random() % 255);
            } else {
                bytes += pieces[random() % std::size(pieces)];
            }
        }
        const QString path = pathFromSystem(bytes);
        ASSERT_EQ(systemPath(path), bytes);
        // What is text stays text, and nothing shown holds an escape.
        for (QChar c : shownPath(path))
            ASSERT_FALSE(c.unicode() >= 0xDC80 && c.unicode() <= 0xDCFF && !c.isLowSurrogate());
    }
}

TEST(SystemPath, TextIsTextAndOtherBytesShowAsReplacements) {
    const struct {
        std::string bytes;
        QString shown;
    } cases[] = {
        {"/runs/走行 1.krt", QString::fromUtf8("/runs/走行 1.krt")},
        {"/runs/\xf0\x9f\x98\x80.krt", QString::fromUtf8("/runs/😀.krt")},
        {"/runs/\x91\x96.krt", QString::fromUtf8("/runs/\uFFFD\uFFFD.krt")},
        {"\xed\xa0\x80", QString::fromUtf8("\uFFFD\uFFFD\uFFFD")},  // an encoded surrogate
    };
    for (const auto& c : cases) {
        EXPECT_EQ(shownPath(pathFromSystem(c.bytes)), c.shown);
        EXPECT_EQ(systemPath(pathFromSystem(c.bytes)), c.bytes);
    }
    // A typed name (real text) goes to the system as UTF-8.
    EXPECT_EQ(systemPath(QString::fromUtf8("走行.krt")), "走行.krt");
}

}  // namespace
}  // namespace korimet
