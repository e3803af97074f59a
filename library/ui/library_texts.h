#pragma once

#include "common/text_mark.h"

// Texts of the run library, written once so that code and tests use the same words.
namespace korimet::librarytexts {

inline constexpr const char* kMenuItem = KORIMET_TR("Korimet", "ラン一覧(&L)...");
inline constexpr const char* kMenuItemName = "mnuRunList";
inline constexpr const char* kWindowTitle = KORIMET_TR("Korimet", "ラン一覧");

// Columns of the list, in order.
inline constexpr const char* kColumnDownloaded = KORIMET_TR("Korimet", "日時");
inline constexpr const char* kColumnCar = KORIMET_TR("Korimet", "CarID");
inline constexpr const char* kColumnLaps = KORIMET_TR("Korimet", "Lap数");
inline constexpr const char* kColumnBest = KORIMET_TR("Korimet", "ベスト");
inline constexpr const char* kColumnAverage = KORIMET_TR("Korimet", "平均");
inline constexpr const char* kColumnWorst = KORIMET_TR("Korimet", "ワースト");
inline constexpr const char* kColumnMedian = KORIMET_TR("Korimet", "中央値");
inline constexpr const char* kColumnSpread = KORIMET_TR("Korimet", "ばらつき");
inline constexpr const char* kColumnConsistency = KORIMET_TR("Korimet", "安定度(%)");
inline constexpr const char* kColumnTarget = KORIMET_TR("Korimet", "目標");
inline constexpr const char* kColumnMemo = KORIMET_TR("Korimet", "メモ");
// Columns added later: kept after the memo in the model, so that a remembered layout of the
// earlier columns still fits, and shown beside the numbers they go with.
inline constexpr const char* kColumnSuspect = KORIMET_TR("Korimet", "要確認");
inline constexpr const char* kColumnBestThree = KORIMET_TR("Korimet", "ベスト3周");
inline constexpr const char* kColumnPaceTrend = KORIMET_TR("Korimet", "ペース(秒/周)");
inline constexpr const char* kBestThreeLaps = KORIMET_TR("Korimet", "%1 (%2-%3)");
inline constexpr const char* kCorrectedSteps = KORIMET_TR("Korimet", "修正 %1 件");

inline constexpr const char* kAllCars = KORIMET_TR("Korimet", "全車");
inline constexpr const char* kCarFilterCaption = KORIMET_TR("Korimet", "CarID:");
inline constexpr const char* kFolderCaption = KORIMET_TR("Korimet", "保存先: ");
inline constexpr const char* kOpenButton = KORIMET_TR("Korimet", "開く(&O)");
inline constexpr const char* kCompareButton = KORIMET_TR("Korimet", "比較(&C)");
inline constexpr const char* kDeleteButton = KORIMET_TR("Korimet", "削除(&D)");
inline constexpr const char* kRefreshButton = KORIMET_TR("Korimet", "更新(&R)");
inline constexpr const char* kOpenFolderButton = KORIMET_TR("Korimet", "フォルダを開く(&F)");
inline constexpr const char* kNoTarget = KORIMET_TR("Korimet", "なし");
inline constexpr const char* kUnreadable = KORIMET_TR("Korimet", "読めないファイル: ");
inline constexpr const char* kRunCount = KORIMET_TR("Korimet", "%1 件");
inline constexpr const char* kFilteredRunCount = KORIMET_TR("Korimet", "%1 / %2 件");
inline constexpr const char* kReading = KORIMET_TR("Korimet", "読み込み中...");
inline constexpr const char* kFolderOpenFailed =
    KORIMET_TR("Korimet", "フォルダを開けませんでした。\n%1");

// Trend chart.
inline constexpr const char* kTrendBest = KORIMET_TR("Korimet", "ベスト");
inline constexpr const char* kTrendAverage = KORIMET_TR("Korimet", "平均");
inline constexpr const char* kTrendPersonalBest = KORIMET_TR("Korimet", "自己ベスト");
inline constexpr const char* kTrendTitle = KORIMET_TR("Korimet", "CarID %1 の推移");
inline constexpr const char* kTrendTip = KORIMET_TR("Korimet", "%1\n%2  ベスト %3  平均 %4");
inline constexpr const char* kTrendBestLabel = KORIMET_TR("Korimet", "自己ベスト %1\n%2");
inline constexpr const char* kTrendSelected = KORIMET_TR("Korimet", "選択中");
// A run whose best lap is a suspect one: shown hollow, never the personal best.
inline constexpr const char* kTrendUnconfirmed = KORIMET_TR("Korimet", "未確認");

// The memo of the selected run, kept in its own file.
inline constexpr const char* kMemoCaption = KORIMET_TR("Korimet", "メモ:");
inline constexpr const char* kSaveMemoButton = KORIMET_TR("Korimet", "メモを保存(&M)");
inline constexpr const char* kMemoFromWindow =
    KORIMET_TR("Korimet", "表示中のランのメモです。まだこのファイルには保存されていません。");
// The store's thread has waited on the folder for seconds (a hung network or sync mount).
inline constexpr const char* kLibraryNotAnswering =
    KORIMET_TR("Korimet", "ラン一覧のフォルダが応答しません。応答を待っています。");
inline constexpr const char* kMemoSaved = KORIMET_TR("Korimet", "メモを保存しました: %1");
inline constexpr const char* kMemoUnsavedQuestion =
    KORIMET_TR("Korimet", "%1 のメモはまだ保存されていません。保存しますか?");
inline constexpr const char* kMemoUnsavedTitle = KORIMET_TR("Korimet", "メモの保存");

// Delete.
inline constexpr const char* kDeleteQuestion =
    KORIMET_TR("Korimet", "%1 件のランをごみ箱に移動しますか？\n%2");
inline constexpr const char* kDeleteMore = KORIMET_TR("Korimet", "ほか %1 件");
inline constexpr const char* kDeleteTitle = KORIMET_TR("Korimet", "ランの削除");
inline constexpr const char* kDeleteFailed =
    KORIMET_TR("Korimet", "ごみ箱に移動できませんでした。\n%1");
inline constexpr const char* kDeleteCorrectionsFailed = KORIMET_TR(
    "Korimet", "ランはごみ箱に移動しましたが、ラップの修正ファイルを移動できませんでした。\n%1");

// Keeping downloads: said once, not for every later frame.
inline constexpr const char* kKeepFailedTitle = KORIMET_TR("Korimet", "ラン一覧");
inline constexpr const char* kKeepFailed = KORIMET_TR(
    "Korimet", "受信したランをラン一覧に保存できませんでした。表示はそのまま続きます。\n%1");
inline constexpr const char* kKeepFailedNoticeName = "libraryKeepNotice";

}  // namespace korimet::librarytexts
