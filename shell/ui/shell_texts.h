#pragma once

// Texts the main window shows, written once so that code and tests use the same words.
namespace korimet::texts {

inline constexpr const char* kAppTitle = "Korimet";

// The top-level menu of the features added beside the original window.
inline constexpr const char* kAdditionsMenuTitle = "ﾗﾝ(&R)";
inline constexpr const char* kAdditionsMenuName = "mnuRun";
inline constexpr const char* kPortComboText = "通信ポート";
inline constexpr const char* kStatusPanelText = "ｽﾃｰﾀｽ";
inline constexpr const char* kMemoInitialText = "RichTextBox1";
inline constexpr const char* kContactLine = "Korimet — lap timer companion";

inline constexpr const char* kCarIdCaption = "CarID";
inline constexpr const char* kLapCountCaption = "計測Lap数";
inline constexpr const char* kTargetCaption = "目標Time";
inline constexpr const char* kBestCaption = "BestLap";
inline constexpr const char* kWorstCaption = "Worst";
inline constexpr const char* kAverageCaption = "Average";

inline constexpr const char* kDataFileFilter = "Korimet DATAﾌｧｲﾙ (*.krt)|*.krt";

// Menu items that do nothing yet say so, naming their handler ("mnuFileClose").
inline constexpr const char* kPlaceholderMessage = " '%1_Click' のｺｰﾄﾞを追加します。";
// A menu command that failed: the command's name, then the cause on a second line.
inline constexpr const char* kMenuCommandFailed = "「%1」を実行できませんでした";
inline constexpr const char* kLineBreak = "\r\n";

}  // namespace korimet::texts
