#pragma once

#include "common/text_mark.h"

// The lap panel's captions, written exactly as the user sees them.
namespace korimet::texts {

inline constexpr const char* kCarIdCaption = "CarID";
inline constexpr const char* kLapCountCaption = "計測Lap数";
inline constexpr const char* kTargetCaption = "目標Time";
inline constexpr const char* kBestCaption = "BestLap";
inline constexpr const char* kWorstCaption = "Worst";
inline constexpr const char* kAverageCaption = "Average";

// Tooltips of the marks beside lap numbers.
inline constexpr const char* kShortLapMarkTip =
    KORIMET_TR("Korimet", "短すぎるラップ（ボタンの二度押し？）");
inline constexpr const char* kLongLapMarkTip =
    KORIMET_TR("Korimet", "長すぎるラップ（ボタンの押し忘れ？）");
inline constexpr const char* kCorrectedLapMarkTip = KORIMET_TR("Korimet", "修正したラップ");

}  // namespace korimet::texts
