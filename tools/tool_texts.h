#pragma once

#include "common/text_mark.h"

// Texts the analysis tools and the toolbar show, written exactly as the user sees them.
namespace korimet {

// Race simulation.
inline constexpr const char* kRaceTitle = KORIMET_TR("Korimet", "レース模擬");
inline constexpr const char* kRaceNoDataMessage = KORIMET_TR("Korimet", "データ未読込み");
inline constexpr const char* kRacePrompt = KORIMET_TR("Korimet", "レース想定時間を分単位で入力");
inline constexpr const char* kRaceInputTitle = KORIMET_TR("Korimet", "レース時間");

// Data comparison.
inline constexpr const char* kCompareTitle = KORIMET_TR("Korimet", "データ比較");
inline constexpr const char* kCompareNoDataMessage = KORIMET_TR("Korimet", "比較元データ未読込み");
inline constexpr const char* kCompareNoLapsMessage =
    KORIMET_TR("Korimet", "比較データのラップ数が0のため比較できません");
inline constexpr const char* kCompareOpenTitle = KORIMET_TR("Korimet", "開く");
inline constexpr const char* kCompareFilterName = KORIMET_TR("Korimet", "Korimet DATAﾌｧｲﾙ (*.krt)");
inline constexpr const char* kCompareFilterPattern = "*.krt";
// Shown in a difference label whose value cannot be written as a number.
inline constexpr const char* kNoDifferenceText = "(--.--sec)";

// Chart edit dialogs.
inline constexpr const char* kAxisMaximumPrompt = KORIMET_TR("Korimet", "最大値:");
inline constexpr const char* kAxisMinimumPrompt = KORIMET_TR("Korimet", "最小値:");
inline constexpr const char* kAxisTitle = KORIMET_TR("Korimet", "軸設定");
inline constexpr const char* kChartPointPrompt =
    KORIMET_TR("Korimet", "グラフプロットのみ変更可能:");
}  // namespace korimet
