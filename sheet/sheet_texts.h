#pragma once

// Every text the lap sheet and its commands show, in one place.
namespace korimet::texts {

inline constexpr const char* kSheetTitle = "ラップシート";
inline constexpr const char* kCarCaption = "車番";
inline constexpr const char* kLapCountCaption = "周回数";
inline constexpr const char* kTargetCaption = "目標タイム";
inline constexpr const char* kRaceCaption = "レース模擬";
inline constexpr const char* kDateCaption = "日時";
inline constexpr const char* kFileCaption = "ファイル";

inline constexpr const char* kBestCaption = "ベスト";
inline constexpr const char* kWorstCaption = "ワースト";
inline constexpr const char* kAverageCaption = "平均";
inline constexpr const char* kMedianCaption = "中央値";
inline constexpr const char* kSpreadCaption = "ばらつき";
inline constexpr const char* kConsistencyCaption = "安定度";
inline constexpr const char* kBestThreeCaption = "ベスト3周";
inline constexpr const char* kPaceTrendCaption = "ペース傾向";
inline constexpr const char* kSecondsPerLapUnit = "秒/周";

inline constexpr const char* kBestMark = "◎";
inline constexpr const char* kWorstMark = "▼";
inline constexpr const char* kTargetMark = "○";
inline constexpr const char* kBestMeaning = "ベスト";
inline constexpr const char* kWorstMeaning = "ワースト";
inline constexpr const char* kTargetMeaning = "目標タイム以内";

inline constexpr const char* kLapNumberHeader = "LAP";
inline constexpr const char* kLapTimeHeader = "Time";
inline constexpr const char* kMemoCaption = "メモ";
inline constexpr const char* kMemoContinuedCaption = "メモ（続き）";
inline constexpr const char* kComparedRunCaption = "比較ラン";
inline constexpr const char* kBestDifferenceCaption = "ベスト差";
inline constexpr const char* kWorstDifferenceCaption = "ワースト差";
inline constexpr const char* kAverageDifferenceCaption = "平均差";

inline constexpr const char* kUnsavedRunName = "(未保存)";
inline constexpr const char* kNoValueText = "--";
inline constexpr const char* kSecondsUnit = "秒";
inline constexpr const char* kNoLapsText = "ラップがありません";

// Commands in the additions menu.
inline constexpr const char* kPrintCommand = "印刷(&P)...";
inline constexpr const char* kSavePdfCommand = "PDFに保存(&D)...";
inline constexpr const char* kSaveChartCommand = "グラフを画像で保存(&G)...";
inline constexpr const char* kPrintCommandName = "mnuRunPrint";
inline constexpr const char* kSavePdfCommandName = "mnuRunSavePdf";
inline constexpr const char* kSaveChartCommandName = "mnuRunSaveChart";
inline constexpr const char* kSavePdfTitle = "PDFに保存";
inline constexpr const char* kSavePdfFilter = "PDFﾌｧｲﾙ (*.pdf)|*.pdf";
inline constexpr const char* kSaveChartTitle = "グラフを画像で保存";
inline constexpr const char* kSaveChartFilter = "PNG画像 (*.png)|*.png";
inline constexpr const char* kPrintTitle = "印刷";
inline constexpr const char* kNothingToPrint =
    "印刷するランがありません。ランを受信するか、ファイルを開いてください。";
inline constexpr const char* kPdfSaved = "PDFに保存しました: %1";
inline constexpr const char* kPngSaved = "グラフを画像で保存しました: %1";

// Failures; %1 is the file or printer.
inline constexpr const char* kPdfWriteFailed = "PDFファイルを書き込めませんでした: %1\r\n%2";
inline constexpr const char* kPngWriteFailed = "画像ファイルを書き込めませんでした: %1\r\n%2";
inline constexpr const char* kPrintFailed = "印刷を始められませんでした: %1";
inline constexpr const char* kPaintFailed = "ページを描けませんでした";

}  // namespace korimet::texts
