#pragma once

// Texts the analysis tools and the toolbar show, written exactly as the user sees them.
namespace korimet {

// Race simulation.
inline constexpr const char* kRaceTitle = "レース模擬";
inline constexpr const char* kRaceNoDataMessage = "データ未読込み";
inline constexpr const char* kRacePrompt = "レース想定時間を分単位で入力";
inline constexpr const char* kRaceInputTitle = "レース時間";

// Data comparison.
inline constexpr const char* kCompareTitle = "データ比較";
inline constexpr const char* kCompareNoDataMessage = "比較元データ未読込み";
inline constexpr const char* kCompareNoLapsMessage = "比較データのラップ数が0のため比較できません";
inline constexpr const char* kCompareOpenTitle = "開く";
inline constexpr const char* kCompareFilterName = "Korimet DATAﾌｧｲﾙ (*.krt)";
inline constexpr const char* kCompareFilterPattern = "*.krt";
// Shown in a difference label whose value cannot be written as a number.
inline constexpr const char* kNoDifferenceText = "(--.--sec)";

// Chart edit dialogs.
inline constexpr const char* kAxisMaximumPrompt = "最大値:";
inline constexpr const char* kAxisMinimumPrompt = "最小値:";
inline constexpr const char* kAxisTitle = "軸設定";
inline constexpr const char* kChartPointPrompt = "グラフプロットのみ変更可能:";
}  // namespace korimet
