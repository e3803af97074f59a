#pragma once

// Texts of the lap correction window, written once so that code and tests use the same words.
namespace korimet::correctiontexts {

inline constexpr const char* kMenuItem = "ラップの修正(&M)...";
inline constexpr const char* kMenuItemName = "mnuLapCorrections";
inline constexpr const char* kWindowTitle = "ラップの修正";
inline constexpr const char* kWindowName = "frmLapCorrections";

// Columns of the lap list, in order.
inline constexpr const char* kColumnLap = "Lap";
inline constexpr const char* kColumnTime = "Time";
inline constexpr const char* kColumnVerdict = "判定";
inline constexpr const char* kColumnSuggestion = "修正案";
inline constexpr const char* kColumnChoice = "修正する内容";

// What a lap looks like.
inline constexpr const char* kVerdictShort = "短すぎる";
inline constexpr const char* kVerdictLong = "長すぎる";
inline constexpr const char* kVerdictMerged = "合わせた";
inline constexpr const char* kVerdictSplit = "分けた";
inline constexpr const char* kVerdictLeftOut = "集計外";

// The fixes, as suggested and as chosen.
inline constexpr const char* kFixNone = "そのまま";
inline constexpr const char* kFixMergeNext = "次のLapに足す";
inline constexpr const char* kFixMergePrevious = "前のLapに足す";
inline constexpr const char* kFixSplit = "2つに分ける";
inline constexpr const char* kFixLeaveOut = "集計から外す";

inline constexpr const char* kChoiceCaption = "選んだLapの修正(&F):";
inline constexpr const char* kApplyButton = "修正する(&A)";
inline constexpr const char* kUndoButton = "1つ戻す(&U)";
inline constexpr const char* kUndoAllButton = "すべて戻す(&R)";
inline constexpr const char* kCloseButton = "閉じる";
inline constexpr const char* kLimitsCaption = "判定の基準（Lapの中央値に対して）";
inline constexpr const char* kShortLimitCaption = "短すぎる: (&S)";
inline constexpr const char* kLongLimitCaption = "長すぎる: (&L)";
inline constexpr const char* kShortLimitSuffix = " 倍未満";
inline constexpr const char* kLongLimitSuffix = " 倍を超える";
inline constexpr const char* kLimitsInvalid = "基準は 短すぎる < 1 < 長すぎる にしてください。";

// The state line under the list; %1 is a count.
inline constexpr const char* kNoRun = "修正するランがありません。";
inline constexpr const char* kSuspectCount = "疑わしいLap: %1";
inline constexpr const char* kNoSuspects = "疑わしいLapはありません。";
inline constexpr const char* kStepCount = "修正: %1 件";
inline constexpr const char* kAsDownloaded = "ダウンロードしたままです。";
inline constexpr const char* kRefused =
    "%1 件の修正はできませんでした（前後のLapが集計外か、Lapが60を超えます）。";

inline constexpr const char* kMessageTitle = "ラップの修正";
// %1 is the correction file.
inline constexpr const char* kReplaceUnreadFile =
    "%1 は読めなかった修正ファイルです。\n今の修正で置き換えますか？";

}  // namespace korimet::correctiontexts
