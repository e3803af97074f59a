#pragma once

#include "common/text_mark.h"

#include "device/ui/device_texts.h"
#include "files/ui/file_command_texts.h"
#include "lapdata/ui/lap_panel_texts.h"
#include "session/window_texts.h"

// Texts the main window shows, written once so that code and tests use the same words.
namespace korimet::texts {

// The top-level menu of the features added beside the original window.
inline constexpr const char* kAdditionsMenuTitle = KORIMET_TR("Korimet", "ﾗﾝ(&R)");
inline constexpr const char* kAdditionsMenuName = "mnuRun";
inline constexpr const char* kPortComboText = device_texts::kPortCaption;
inline constexpr const char* kStatusPanelText = KORIMET_TR("Korimet", "ｽﾃｰﾀｽ");
inline constexpr const char* kContactLine = "Korimet — lap timer companion";

// Menu items that do nothing yet say so, naming their handler ("mnuFileClose").
inline constexpr const char* kPlaceholderMessage =
    KORIMET_TR("Korimet", " '%1_Click' のｺｰﾄﾞを追加します。");
// The command line of the window program; its help and messages, in English and Japanese,
// are with korimet-cli's in commandline/cli_texts.h.
inline constexpr const char* kProgramName = "korimet";
inline constexpr const char* kFileArgument = "FILE.krt";

// What a screen reader says for the controls whose captions are short or absent.
inline constexpr const char* kGridAccessibleName = KORIMET_TR("Korimet", "ラップ一覧");
inline constexpr const char* kChartAccessibleName = KORIMET_TR("Korimet", "ラップタイムのグラフ");
inline constexpr const char* kMemoAccessibleName = KORIMET_TR("Korimet", "メモ");
inline constexpr const char* kPortComboAccessibleName = KORIMET_TR("Korimet", "通信ポート");
inline constexpr const char* kCarIdAccessibleName = KORIMET_TR("Korimet", "カーID");
inline constexpr const char* kLapCountAccessibleName = KORIMET_TR("Korimet", "計測ラップ数");
inline constexpr const char* kTargetAccessibleName = KORIMET_TR("Korimet", "目標タイム");
inline constexpr const char* kBestAccessibleName = KORIMET_TR("Korimet", "ベストラップ");
inline constexpr const char* kWorstAccessibleName = KORIMET_TR("Korimet", "ワーストラップ");
inline constexpr const char* kAverageAccessibleName = KORIMET_TR("Korimet", "平均ラップ");
inline constexpr const char* kBestDiffAccessibleName = KORIMET_TR("Korimet", "ベストラップの差");
inline constexpr const char* kWorstDiffAccessibleName = KORIMET_TR("Korimet", "ワーストラップの差");
inline constexpr const char* kAverageDiffAccessibleName = KORIMET_TR("Korimet", "平均ラップの差");
inline constexpr const char* kRaceLineAccessibleName = KORIMET_TR("Korimet", "レース結果");

}  // namespace korimet::texts
