#pragma once

#include "common/text_mark.h"

// Texts of the lap correction window, written once so that code and tests use the same words.
namespace korimet::correctiontexts {

inline constexpr const char* kMenuItem = KORIMET_TR("Korimet", "ラップの修正(&M)...");
inline constexpr const char* kMenuItemName = "mnuLapCorrections";
inline constexpr const char* kWindowTitle = KORIMET_TR("Korimet", "ラップの修正");
inline constexpr const char* kWindowName = "frmLapCorrections";

// Columns of the lap list, in order.
inline constexpr const char* kColumnLap = KORIMET_TR("Korimet", "Lap");
inline constexpr const char* kColumnTime = KORIMET_TR("Korimet", "Time");
inline constexpr const char* kColumnVerdict = KORIMET_TR("Korimet", "判定");
inline constexpr const char* kColumnSuggestion = KORIMET_TR("Korimet", "修正案");
inline constexpr const char* kColumnChoice = KORIMET_TR("Korimet", "修正する内容");

// What a lap looks like.
inline constexpr const char* kVerdictShort = KORIMET_TR("Korimet", "短すぎる");
inline constexpr const char* kVerdictLong = KORIMET_TR("Korimet", "長すぎる");
inline constexpr const char* kVerdictMerged = KORIMET_TR("Korimet", "合わせた");
inline constexpr const char* kVerdictSplit = KORIMET_TR("Korimet", "分けた");
inline constexpr const char* kVerdictLeftOut = KORIMET_TR("Korimet", "集計外");

// The fixes, as suggested and as chosen.
inline constexpr const char* kFixNone = KORIMET_TR("Korimet", "そのまま");
inline constexpr const char* kFixMergeNext = KORIMET_TR("Korimet", "次のLapに足す");
inline constexpr const char* kFixMergePrevious = KORIMET_TR("Korimet", "前のLapに足す");
inline constexpr const char* kFixSplit = KORIMET_TR("Korimet", "2つに分ける");
inline constexpr const char* kFixLeaveOut = KORIMET_TR("Korimet", "集計から外す");

inline constexpr const char* kChoiceCaption = KORIMET_TR("Korimet", "選んだLapの修正(&F):");
inline constexpr const char* kApplyButton = KORIMET_TR("Korimet", "修正する(&A)");
inline constexpr const char* kUndoButton = KORIMET_TR("Korimet", "1つ戻す(&U)");
inline constexpr const char* kUndoAllButton = KORIMET_TR("Korimet", "すべて戻す(&R)");
inline constexpr const char* kCloseButton = KORIMET_TR("Korimet", "閉じる");
inline constexpr const char* kLimitsCaption =
    KORIMET_TR("Korimet", "判定の基準（Lapの中央値に対して）");
inline constexpr const char* kShortLimitCaption = KORIMET_TR("Korimet", "短すぎる: (&S)");
inline constexpr const char* kLongLimitCaption = KORIMET_TR("Korimet", "長すぎる: (&L)");
inline constexpr const char* kShortLimitSuffix = KORIMET_TR("Korimet", " 倍未満");
inline constexpr const char* kLongLimitSuffix = KORIMET_TR("Korimet", " 倍を超える");
inline constexpr const char* kLimitsInvalid =
    KORIMET_TR("Korimet", "基準は 短すぎる < 1 < 長すぎる にしてください。");

// The state line under the list; %1 is a count.
inline constexpr const char* kNoRun = KORIMET_TR("Korimet", "修正するランがありません。");
inline constexpr const char* kSuspectCount = KORIMET_TR("Korimet", "疑わしいLap: %1");
inline constexpr const char* kNoSuspects = KORIMET_TR("Korimet", "疑わしいLapはありません。");
inline constexpr const char* kStepCount = KORIMET_TR("Korimet", "修正: %1 件");
inline constexpr const char* kAsDownloaded = KORIMET_TR("Korimet", "ダウンロードしたままです。");
inline constexpr const char* kRefused = KORIMET_TR(
    "Korimet", "%1 件の修正はできませんでした（前後のLapが集計外か、Lapが60を超えます）。");

inline constexpr const char* kMessageTitle = KORIMET_TR("Korimet", "ラップの修正");
// %1 is the correction file.
inline constexpr const char* kReplaceUnreadFile =
    KORIMET_TR("Korimet", "%1 は読めなかった修正ファイルです。\n今の修正で置き換えますか？");

// After another program changed the correction file: the window shows the file as it is now.
inline constexpr const char* kReloadedAfterChange = KORIMET_TR(
    "Korimet", "ファイルの今の修正を表示します。確かめてから、もう一度修正してください。");

}  // namespace korimet::correctiontexts
