#include "messages/message_words.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <map>
#include <string>

#include "messages/correction_messages.h"
#include "messages/file_messages.h"
#include "messages/message_texts.h"

namespace korimet {
namespace {

// What is put in stays as given, even when it looks like a pattern itself.
TEST(MessageWords, PatternsTakeWhatIsPutInOnce) {
    const struct {
        const char* pattern;
        std::string first;
        std::string second;
        std::string expected;
    } cases[] = {
        {"%1（%2）", "a", "b", "a（b）"},
        {"%2 then %1", "a", "b", "b then a"},
        {"%1（%2）", "%2", "%1", "%2（%1）"},
        {"100% %1 %3", "x", "y", "100% x %3"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(sayWith(japaneseWording, c.pattern, {c.first, c.second}), c.expected)
            << c.pattern;
    }
}

// A third language moves the pieces where it needs them: the message follows its patterns.
TEST(MessageWords, ATranslationMayReorderThePieces) {
    const std::map<std::string, std::string> other = {
        {messagetexts::kReadHead, "%1: unreadable"},
        {messagetexts::kPlaced, "[%3] @%2/%1"},
        {messagetexts::kNotANumber, "NaN"},
        {messagetexts::kWithReason, "%2 <- %1"},
        {messagetexts::kCannotReadOpened, "read failed"},
        {messagetexts::kNoPermission, "denied"},
    };
    const Wording wording = [&](const char* japanese) {
        const auto found = other.find(japanese);
        return found == other.end() ? std::string(japanese) : found->second;
    };
    FileError e{FileErrorCode::NotANumber, FileOperation::Read, "r.krt", FilePlace{12, 3}, 0, {}};
    EXPECT_EQ(fileMessage(e, wording), "r.krt: unreadable\n[NaN] @3/12");
    e = FileError{FileErrorCode::CannotRead, FileOperation::Read, "r.krt", {}, EACCES, {}};
    EXPECT_EQ(fileMessage(e, wording), "r.krt: unreadable\ndenied <- read failed");
}

// Two texts with the same Japanese: the part that tells them apart is never shown, in any
// language that has no words of its own for them.
TEST(MessageWords, TheMarkThatTellsTextsApartIsNotShown) {
    EXPECT_EQ(say(japaneseWording, messagetexts::kCannotReadOpened), messagetexts::kCannotOpen);
    EXPECT_EQ(say(wordingFor(Language::English), messagetexts::kCannotReadOpened),
              "error while reading the file");
    const CorrectionFileError e{CorrectionFileErrorCode::CannotRead, "f", 0, EIO, {}};
    EXPECT_EQ(correctionFileMessage(e, japaneseWording),
              correctionFileMessage(e, Language::Japanese));
}

}  // namespace
}  // namespace korimet
