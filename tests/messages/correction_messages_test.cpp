#include "messages/correction_messages.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <vector>

namespace korimet {
namespace {

TEST(CorrectionMessages, EveryCodeNamesTheFileAndWhyInBothLanguages) {
    using C = CorrectionFileErrorCode;
    const std::vector<C> codes{C::CannotOpen,     C::CannotRead,   C::NotAFile,     C::TooLarge,
                               C::NotCorrections, C::LaterVersion, C::BadLine,      C::OtherRun,
                               C::StepRefused,    C::CannotSave,   C::CannotRemove, C::NotReplaced};
    for (const auto code : codes) {
        const CorrectionFileError error{code, "run-001.krt.corrections", 0, 0, {}};
        const auto en = correctionFileMessage(error, Language::English);
        const auto ja = correctionFileMessage(error, Language::Japanese);
        for (const auto& text : {en, ja}) {
            EXPECT_NE(text.find("run-001.krt.corrections\n"), std::string::npos) << text;
            EXPECT_GT(text.size(), text.find('\n') + 1) << text;
        }
        EXPECT_NE(en, ja);
    }
}

TEST(CorrectionMessages, PlaceVersionAndSystemReason) {
    using C = CorrectionFileErrorCode;
    EXPECT_EQ(correctionFileMessage({C::BadLine, "f", 3, 0, {}}, Language::English),
              "cannot use the lap corrections: f\na line cannot be read (line 3)\n"
              "The run is shown as downloaded.");
    EXPECT_EQ(correctionFileMessage({C::LaterVersion, "f", 1, 0, "2"}, Language::English),
              "cannot use the lap corrections: f\nmade by a later version (line 1) (version 2)\n"
              "The run is shown as downloaded.");
    EXPECT_EQ(correctionFileMessage({C::CannotSave, "f", 0, ENOSPC, {}}, Language::English)
                  .find("cannot keep the lap corrections: f\ncannot save the file: "),
              0u);
}

}  // namespace
}  // namespace korimet
