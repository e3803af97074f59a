#include <gtest/gtest.h>

#include <cerrno>
#include <set>
#include <string>

#include "files/file_error.h"
#include "files/file_texts.h"
#include "messages/file_messages.h"
#include "messages/tool_messages.h"

namespace korimet {
namespace {

FileError error(FileErrorCode code, FileOperation operation, std::string path) {
    FileError e;
    e.code = code;
    e.operation = operation;
    e.path = std::move(path);
    return e;
}

FileError placed(FileErrorCode code, std::string path, int line, int field) {
    FileError e = error(code, FileOperation::Read, std::move(path));
    e.place = FilePlace{line, field};
    return e;
}

FileError refused(FileErrorCode code, FileOperation operation, std::string path, int errnum,
                  std::string detail = {}) {
    FileError e = error(code, operation, std::move(path));
    e.systemError = errnum;
    e.detail = std::move(detail);
    return e;
}

// Each error in both languages. The Japanese texts are the window's, as they have always been
// written; the path is put in as given, whatever its characters look like.
TEST(FileMessages, EachErrorReadsInBothLanguages) {
    using namespace filetexts;
    const std::string place = std::string("12") + kLineSuffix + "3" + kFieldSuffix;
    const struct {
        FileError error;
        std::string japanese;
        std::string english;
    } cases[] = {
        {placed(FileErrorCode::NotAByte, "/r/a.krt", 12, 3),
         kReadFailed + std::string("/r/a.krt\n") + place + kNotAByte,
         "cannot read the file: /r/a.krt\nline 12, field 3: not a whole number from 0 to 255"},
        {placed(FileErrorCode::NotANumber, "/r/壊れ（雨）.krt", 12, 3),
         kReadFailed + std::string("/r/壊れ（雨）.krt\n") + place + kNotANumber,
         "cannot read the file: /r/壊れ（雨）.krt\nline 12, field 3: not a number"},
        {refused(FileErrorCode::CannotOpen, FileOperation::Read, "b.krt", EACCES),
         kReadFailed + std::string("b.krt\n") + kCannotOpen + "（" + kNoPermission + "）",
         "cannot read the file: b.krt\ncannot open the file (Permission denied)"},
        {refused(FileErrorCode::CannotRead, FileOperation::Read, "b.krt", EIO),
         kReadFailed + std::string("b.krt\n") + kCannotOpen + "（Input/output error）",
         "cannot read the file: b.krt\nerror while reading the file (Input/output error)"},
        {error(FileErrorCode::TooLarge, FileOperation::Read, "/dev/zero"),
         kReadFailed + std::string("/dev/zero\n") + kTooLarge,
         "cannot read the file: /dev/zero\ntoo large for a data file"},
        {placed(FileErrorCode::MemoUnreadable, "m.krt", 62, 68),
         kMemoWarningHead + std::string("m.krt\n62") + kLineSuffix + "68" + kFieldSuffix +
             kMemoUnreadable + "\n" + kMemoShownWithMarks,
         "part of the memo cannot be read: m.krt\nline 62, field 68: the memo's characters "
         "cannot be read\ncharacters that cannot be read are shown as \"\uFFFD\"; the file was "
         "not changed."},
        {refused(FileErrorCode::MemoEncodingDoubtful, FileOperation::Read, "m.krt", 0, "CP932"),
         kMemoDoubtfulHead + std::string("m.krt\n") + kMemoDoubtfulRead + "CP932 (Shift_JIS)" +
             kMemoDoubtfulReadEnd + "\n" + kMemoDoubtfulCheck,
         "the memo's encoding is uncertain: m.krt\nthe memo reads both as CP932 (Shift_JIS) and "
         "as UTF-8; it was read as CP932 (Shift_JIS).\ncheck that its characters are right; the "
         "file was not changed."},
        {refused(FileErrorCode::MemoUnencodable, FileOperation::Save, "s.krt", 0, "😀"),
         kSaveFailed + std::string("s.krt\n") + kMemoUnencodable + "😀\n" + kMemoUnencodableHint,
         "cannot save the file: s.krt\nthe memo holds a character the file cannot store: "
         "😀\ndelete that character, then save."},
        {refused(FileErrorCode::CannotCreate, FileOperation::Save, "/ro/s.krt", EROFS),
         kSaveFailed + std::string("/ro/s.krt\n") + kCannotCreate + "（" + kReadOnly + "）",
         "cannot save the file: /ro/s.krt\ncannot create the file (Read-only file system)"},
        {refused(FileErrorCode::CannotWrite, FileOperation::Save, "s.krt", ENOSPC),
         kSaveFailed + std::string("s.krt\n") + kCannotWrite + "（" + kDiskFull + "）",
         "cannot save the file: s.krt\ncannot write to the file (No space left on device)"},
        {refused(FileErrorCode::CannotCheckName, FileOperation::SaveInFolder, "/runs", ENAMETOOLONG,
                 "run-001.krt"),
         kSaveToFolderFailed + std::string("/runs\n") + kCannotCheckName + "run-001.krt（" +
             kNameTooLong + "）",
         "cannot save in the folder: /runs\ncannot check the file name: run-001.krt (File name "
         "too long)"},
        {error(FileErrorCode::NoFreeName, FileOperation::SaveInFolder, "/runs"),
         kSaveToFolderFailed + std::string("/runs\n") + kNoFreeName,
         "cannot save in the folder: /runs\nno free file name is left"},
        {refused(FileErrorCode::CannotReadFolder, FileOperation::ListFolder, "/lib", EACCES),
         "フォルダーを読み込めません: /lib\nフォルダーを開けません（" + std::string(kNoPermission) +
             "）",
         "cannot read the folder: /lib\ncannot open the folder (Permission denied)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fileMessage(c.error, Language::Japanese), c.japanese) << c.error;
        EXPECT_EQ(fileMessage(c.error, Language::English), c.english) << c.error;
    }
    EXPECT_EQ(fileMessage(FileError{}, Language::English), "");
}

// Every code has a name of its own for scripts and words in both languages; the English
// words hold no Japanese, whatever the code.
TEST(FileMessages, EveryCodeHasANameAndWords) {
    std::set<std::string> names;
    const int last = static_cast<int>(FileErrorCode::CannotReadFolder);
    for (int i = 1; i <= last; ++i) {
        const auto code = static_cast<FileErrorCode>(i);
        const std::string name(fileErrorCodeName(code));
        EXPECT_TRUE(names.insert(name).second) << name;
        EXPECT_NE(name, "unknown");
        for (const auto operation : {FileOperation::Read, FileOperation::Save,
                                     FileOperation::SaveInFolder, FileOperation::ListFolder}) {
            FileError e = refused(code, operation, "p", EACCES, "d");
            e.place = FilePlace{1, 2};
            const std::string english = fileMessage(e, Language::English);
            const std::string japanese = fileMessage(e, Language::Japanese);
            // A head and a reason after it.
            EXPECT_GT(english.find('\n') + 1, 1u) << name;
            EXPECT_LT(english.find('\n') + 1, english.size()) << name;
            EXPECT_LT(japanese.find('\n') + 1, japanese.size()) << name;
            for (unsigned char ch : english) {
                // No lead byte of kana (U+3000-3FFF) or kanji (U+4000-9FFF).
                EXPECT_FALSE(ch >= 0xE3 && ch <= 0xE9) << name << ": " << english;
            }
        }
    }
}

TEST(FileMessages, SystemReasonsInTheReadersWords) {
    EXPECT_EQ(systemReason(ENOENT, Language::Japanese), filetexts::kNoSuchFile);
    EXPECT_EQ(systemReason(ENOENT, Language::English), "No such file or directory");
    // No words of our own: the system's.
    EXPECT_EQ(systemReason(EIO, Language::Japanese), "Input/output error");
}

TEST(ToolMessages, RefusalsInBothLanguages) {
    const struct {
        ToolRefusal refusal;
        const char* japanese;
        const char* english;
        const char* title;
    } cases[] = {
        {{ToolRefusalCode::RaceNoData, {}}, "データ未読込み", "no data loaded", "レース模擬"},
        {{ToolRefusalCode::CompareNoData, {}},
         "比較元データ未読込み",
         "no data loaded to compare",
         "データ比較"},
        {{ToolRefusalCode::CompareNoLaps, "other（1）.krt"},
         "比較データのラップ数が0のため比較できません\nother（1）.krt",
         "the run to compare with has 0 laps, so there is nothing to compare\nother（1）.krt",
         "データ比較"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(toolRefusalMessage(c.refusal, Language::Japanese), c.japanese);
        EXPECT_EQ(toolRefusalMessage(c.refusal, Language::English), c.english);
        EXPECT_EQ(toolRefusalTitle(c.refusal, Language::Japanese), c.title);
    }
}

}  // namespace
}  // namespace korimet
