#include <gtest/gtest.h>

#include <QString>
#include <cerrno>
#include <random>
#include <string>
#include <vector>

#include "common/ui/ui_language.h"
#include "common/ui/ui_text.h"
#include "messages/correction_messages.h"
#include "messages/file_messages.h"
#include "messages/tool_messages.h"

// The window's messages come from its translations: the English translation of every
// message's words is the command-line tool's English, word for word, and with no translation
// the window's words are the Japanese ones.
namespace korimet {
namespace {

constexpr int kLastFileCode = static_cast<int>(FileErrorCode::CannotReadFolder);
constexpr int kLastCorrectionCode = static_cast<int>(CorrectionFileErrorCode::Changed);
constexpr FileOperation kOperations[] = {FileOperation::Read, FileOperation::Save,
                                         FileOperation::SaveInFolder, FileOperation::ListFolder};
// The errno values with words of their own, and two with the system's.
constexpr int kErrnos[] = {0,      ENOENT, EACCES, EPERM,        EISDIR, ENOTDIR, ENOSPC,
                           EDQUOT, EFBIG,  EROFS,  ENAMETOOLONG, EIO,    EEXIST};

// One of each error with every detail it can carry: the tables cover every code.
struct Errors {
    std::vector<FileError> files;
    std::vector<CorrectionFileError> corrections;
    std::vector<ToolRefusal> tools;
};

Errors everyError() {
    Errors all;
    for (int code = 0; code <= kLastFileCode; ++code) {
        for (const FileOperation operation : kOperations) {
            for (const int errnum : {0, EACCES, EIO}) {
                for (const char* detail : {"", "CP932", "UTF-8", "😀"}) {
                    FileError e{static_cast<FileErrorCode>(code),
                                operation,
                                "/r/雨 %1.krt",
                                FilePlace{62, 68},
                                errnum,
                                detail};
                    all.files.push_back(e);
                    e.place.reset();
                    all.files.push_back(e);
                }
            }
        }
    }
    for (int code = 0; code <= kLastCorrectionCode; ++code) {
        for (const int line : {0, 3}) {
            for (const int errnum : {0, ENOSPC, EIO}) {
                all.corrections.push_back({static_cast<CorrectionFileErrorCode>(code),
                                           "run-001.krt.corrections", line, errnum, "2"});
            }
        }
    }
    for (const auto code : {ToolRefusalCode::RaceNoData, ToolRefusalCode::CompareNoData,
                            ToolRefusalCode::CompareNoLaps}) {
        all.tools.push_back({code, {}});
        all.tools.push_back({code, "other（1）.krt"});
    }
    return all;
}

class MessageTranslations : public ::testing::Test {
  protected:
    // What the other tests expect: nothing installed.
    void TearDown() override { applyLanguage(QStringLiteral("none")); }

    // Every message made with the window's words equals the one made in `language`.
    static void expectWindowWordsAre(Language language, const Errors& errors) {
        const Wording window = uiWording();
        for (const FileError& e : errors.files) {
            EXPECT_EQ(fileMessage(e, window), fileMessage(e, language)) << e;
        }
        for (const CorrectionFileError& e : errors.corrections) {
            EXPECT_EQ(correctionFileMessage(e, window), correctionFileMessage(e, language))
                << e.path << " code " << static_cast<int>(e.code) << " line " << e.line;
        }
        for (const ToolRefusal& r : errors.tools) {
            EXPECT_EQ(toolRefusalMessage(r, window), toolRefusalMessage(r, language));
            EXPECT_EQ(toolRefusalTitle(r, window), toolRefusalTitle(r, language));
        }
        for (int refusal = 0; refusal <= static_cast<int>(CorrectionRefusal::NoFreeSlot);
             ++refusal) {
            const auto r = static_cast<CorrectionRefusal>(refusal);
            EXPECT_EQ(correctionRefusalMessage(r, window), correctionRefusalMessage(r, language));
        }
        for (const int errnum : kErrnos) {
            EXPECT_EQ(systemReason(errnum, window), systemReason(errnum, language)) << errnum;
        }
    }
};

TEST_F(MessageTranslations, EveryMessageInEnglishIsTheCommandLineToolsEnglish) {
    const Errors errors = everyError();
    applyLanguage(QStringLiteral("en"));
    ASSERT_EQ(uiLanguageCode(), QStringLiteral("en"));
    expectWindowWordsAre(Language::English, errors);
}

TEST_F(MessageTranslations, WithoutATranslationEveryMessageIsTheJapaneseOne) {
    applyLanguage(QStringLiteral("none"));
    ASSERT_EQ(uiLanguageCode(), QStringLiteral("ja"));
    expectWindowWordsAre(Language::Japanese, everyError());
}

// Random errors, paths of any bytes (not UTF-8, "%" signs, Japanese), any errno: the window's
// words in each language give the command-line tool's message in that language.
TEST_F(MessageTranslations, RandomErrorsReadTheSameInTheWindowAndTheTool) {
    std::mt19937 random(20261211);
    const auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const auto anyBytes = [&] {
        std::string text;
        const int length = below(24);
        for (int i = 0; i < length; ++i) {
            switch (below(4)) {
                case 0:
                    text += static_cast<char>(below(256));
                    break;
                case 1:
                    text += "%" + std::to_string(below(4));
                    break;
                case 2:
                    text += "雨（";
                    break;
                default:
                    text += static_cast<char>('a' + below(26));
            }
        }
        return text;
    };
    Errors errors;
    for (int i = 0; i < 400; ++i) {
        FileError e{static_cast<FileErrorCode>(below(kLastFileCode + 1)),
                    kOperations[below(4)],
                    anyBytes(),
                    {},
                    below(3) == 0 ? kErrnos[below(std::size(kErrnos))] : below(140),
                    below(3) == 0 ? "CP932" : anyBytes()};
        if (below(2)) e.place = FilePlace{below(100000), below(100)};
        errors.files.push_back(e);
        errors.corrections.push_back(
            {static_cast<CorrectionFileErrorCode>(below(kLastCorrectionCode + 1)), anyBytes(),
             below(3) * below(1000), below(140), anyBytes()});
        errors.tools.push_back({static_cast<ToolRefusalCode>(below(3)), anyBytes()});
    }
    expectWindowWordsAre(Language::Japanese, errors);
    applyLanguage(QStringLiteral("en"));
    expectWindowWordsAre(Language::English, errors);
}

}  // namespace
}  // namespace korimet
