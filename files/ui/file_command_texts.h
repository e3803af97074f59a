#pragma once

// Texts of File > Open, Save and Save As beyond those of the reader and writer.
namespace korimet::filetexts {

inline constexpr const char* kOpenDialogTitle = "開く";
inline constexpr const char* kSaveDialogTitle = "保存";

// After the warning of a memo that did not decode.
inline constexpr const char* kMemoMarksBlockSave =
    "「\uFFFD」を消すまでメモは保存できません。消すと元のメモのその部分は失われます。";

// Reasons for a failure that neither the reader nor the writer reported themselves.
inline constexpr const char* kOutOfMemory = "メモリが足りません";
inline constexpr const char* kUnexpectedError = "予期しないエラーが発生しました";

}  // namespace korimet::filetexts

namespace korimet::texts {

inline constexpr const char* kDataFileFilter = "Korimet DATAﾌｧｲﾙ (*.krt)|*.krt";
// What the memo box holds before any run or template.
inline constexpr const char* kMemoInitialText = "RichTextBox1";

}  // namespace korimet::texts
