#pragma once

#include "device/ui/device_texts.h"
#include "files/ui/file_command_texts.h"
#include "lapdata/ui/lap_panel_texts.h"
#include "session/window_texts.h"

// Texts the main window shows, written once so that code and tests use the same words.
namespace korimet::texts {

// The top-level menu of the features added beside the original window.
inline constexpr const char* kAdditionsMenuTitle = "ﾗﾝ(&R)";
inline constexpr const char* kAdditionsMenuName = "mnuRun";
inline constexpr const char* kPortComboText = device_texts::kPortCaption;
inline constexpr const char* kStatusPanelText = "ｽﾃｰﾀｽ";
inline constexpr const char* kContactLine = "Korimet — lap timer companion";

// Menu items that do nothing yet say so, naming their handler ("mnuFileClose").
inline constexpr const char* kPlaceholderMessage = " '%1_Click' のｺｰﾄﾞを追加します。";
// The command line of the window program; its help and messages, in English and Japanese,
// are with korimet-cli's in commandline/cli_texts.h.
inline constexpr const char* kProgramName = "korimet";
inline constexpr const char* kFileArgument = "FILE.krt";

// What a screen reader says for the controls whose captions are short or absent.
inline constexpr const char* kGridAccessibleName = "ラップ一覧";
inline constexpr const char* kChartAccessibleName = "ラップタイムのグラフ";
inline constexpr const char* kMemoAccessibleName = "メモ";
inline constexpr const char* kPortComboAccessibleName = "通信ポート";
inline constexpr const char* kCarIdAccessibleName = "カーID";
inline constexpr const char* kLapCountAccessibleName = "計測ラップ数";
inline constexpr const char* kTargetAccessibleName = "目標タイム";
inline constexpr const char* kBestAccessibleName = "ベストラップ";
inline constexpr const char* kWorstAccessibleName = "ワーストラップ";
inline constexpr const char* kAverageAccessibleName = "平均ラップ";
inline constexpr const char* kBestDiffAccessibleName = "ベストラップの差";
inline constexpr const char* kWorstDiffAccessibleName = "ワーストラップの差";
inline constexpr const char* kAverageDiffAccessibleName = "平均ラップの差";
inline constexpr const char* kRaceLineAccessibleName = "レース結果";

}  // namespace korimet::texts
