#pragma once

// Texts of the run library, written once so that code and tests use the same words.
namespace korimet::librarytexts {

inline constexpr const char* kMenuItem = "ラン一覧(&L)...";
inline constexpr const char* kMenuItemName = "mnuRunList";
inline constexpr const char* kWindowTitle = "ラン一覧";

// Columns of the list, in order.
inline constexpr const char* kColumnDownloaded = "日時";
inline constexpr const char* kColumnCar = "CarID";
inline constexpr const char* kColumnLaps = "Lap数";
inline constexpr const char* kColumnBest = "ベスト";
inline constexpr const char* kColumnAverage = "平均";
inline constexpr const char* kColumnWorst = "ワースト";
inline constexpr const char* kColumnMedian = "中央値";
inline constexpr const char* kColumnSpread = "ばらつき";
inline constexpr const char* kColumnConsistency = "安定度(%)";
inline constexpr const char* kColumnTarget = "目標";
inline constexpr const char* kColumnMemo = "メモ";
// Columns added later: kept after the memo in the model, so that a remembered layout of the
// earlier columns still fits, and shown beside the numbers they go with.
inline constexpr const char* kColumnSuspect = "要確認";
inline constexpr const char* kColumnBestThree = "ベスト3周";
inline constexpr const char* kColumnPaceTrend = "ペース(秒/周)";
inline constexpr const char* kBestThreeLaps = "%1 (%2-%3)";
inline constexpr const char* kCorrectedSteps = "修正 %1 件";

inline constexpr const char* kAllCars = "全車";
inline constexpr const char* kCarFilterCaption = "CarID:";
inline constexpr const char* kFolderCaption = "保存先: ";
inline constexpr const char* kOpenButton = "開く(&O)";
inline constexpr const char* kCompareButton = "比較(&C)";
inline constexpr const char* kDeleteButton = "削除(&D)";
inline constexpr const char* kRefreshButton = "更新(&R)";
inline constexpr const char* kOpenFolderButton = "フォルダを開く(&F)";
inline constexpr const char* kNoTarget = "なし";
inline constexpr const char* kUnreadable = "読めないファイル: ";
inline constexpr const char* kRunCount = "%1 件";
inline constexpr const char* kFilteredRunCount = "%1 / %2 件";
inline constexpr const char* kReading = "読み込み中...";
inline constexpr const char* kFolderOpenFailed = "フォルダを開けませんでした。\n%1";

// Trend chart.
inline constexpr const char* kTrendBest = "ベスト";
inline constexpr const char* kTrendAverage = "平均";
inline constexpr const char* kTrendPersonalBest = "自己ベスト";
inline constexpr const char* kTrendTitle = "CarID %1 の推移";
inline constexpr const char* kTrendTip = "%1\n%2  ベスト %3  平均 %4";
inline constexpr const char* kTrendBestLabel = "自己ベスト %1\n%2";
inline constexpr const char* kTrendSelected = "選択中";
// A run whose best lap is a suspect one: shown hollow, never the personal best.
inline constexpr const char* kTrendUnconfirmed = "未確認";

// The memo of the selected run, kept in its own file.
inline constexpr const char* kMemoCaption = "メモ:";
inline constexpr const char* kSaveMemoButton = "メモを保存(&M)";
inline constexpr const char* kMemoFromWindow =
    "表示中のランのメモです。まだこのファイルには保存されていません。";
inline constexpr const char* kMemoSaved = "メモを保存しました: %1";

// Delete.
inline constexpr const char* kDeleteQuestion = "%1 件のランをごみ箱に移動しますか？\n%2";
inline constexpr const char* kDeleteMore = "ほか %1 件";
inline constexpr const char* kDeleteTitle = "ランの削除";
inline constexpr const char* kDeleteFailed = "ごみ箱に移動できませんでした。\n%1";
inline constexpr const char* kDeleteCorrectionsFailed =
    "ランはごみ箱に移動しましたが、ラップの修正ファイルを移動できませんでした。\n%1";

// Keeping downloads: said once, not for every later frame.
inline constexpr const char* kKeepFailedTitle = "ラン一覧";
inline constexpr const char* kKeepFailed =
    "受信したランをラン一覧に保存できませんでした。表示はそのまま続きます。\n%1";
inline constexpr const char* kKeepFailedNoticeName = "libraryKeepNotice";

}  // namespace korimet::librarytexts
