#pragma once

#include "common/text_mark.h"

// Texts of File > Open, Save and Save As beyond those of the reader and writer.
namespace korimet::filetexts {

inline constexpr const char* kOpenDialogTitle = KORIMET_TR("Korimet", "開く");
inline constexpr const char* kSaveDialogTitle = KORIMET_TR("Korimet", "保存");

// After the warning of a memo that did not decode.
inline constexpr const char* kMemoMarksBlockSave = KORIMET_TR(
    "Korimet", "「\uFFFD」を消すまでメモは保存できません。消すと元のメモのその部分は失われます。");

// Reasons for a failure that neither the reader nor the writer reported themselves.
inline constexpr const char* kOutOfMemory = KORIMET_TR("Korimet", "メモリが足りません");
inline constexpr const char* kUnexpectedError =
    KORIMET_TR("Korimet", "予期しないエラーが発生しました");

}  // namespace korimet::filetexts

namespace korimet::texts {

inline constexpr const char* kDataFileFilter =
    KORIMET_TR("Korimet", "Korimet DATAﾌｧｲﾙ (*.krt)|*.krt");
// What the memo box holds before any run or template.
inline constexpr const char* kMemoInitialText = "RichTextBox1";

}  // namespace korimet::texts
