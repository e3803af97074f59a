#pragma once

#include "common/text_mark.h"

// Every text the lap sheet and its commands show, in one place.
namespace korimet::texts {

inline constexpr const char* kSheetTitle = KORIMET_TR("Korimet", "ラップシート");
inline constexpr const char* kCarCaption = KORIMET_TR("Korimet", "車番");
// The car in the title: "車番07".
inline constexpr const char* kCarNumberText = KORIMET_TR("Korimet", "車番%1");
inline constexpr const char* kLapCountCaption = KORIMET_TR("Korimet", "周回数");
inline constexpr const char* kTargetCaption = KORIMET_TR("Korimet", "目標タイム");
inline constexpr const char* kRaceCaption = KORIMET_TR("Korimet", "レース模擬");
inline constexpr const char* kDateCaption = KORIMET_TR("Korimet", "日時");
inline constexpr const char* kFileCaption = KORIMET_TR("Korimet", "ファイル");

inline constexpr const char* kBestCaption = KORIMET_TR("Korimet", "ベスト");
inline constexpr const char* kWorstCaption = KORIMET_TR("Korimet", "ワースト");
inline constexpr const char* kAverageCaption = KORIMET_TR("Korimet", "平均");
inline constexpr const char* kMedianCaption = KORIMET_TR("Korimet", "中央値");
inline constexpr const char* kSpreadCaption = KORIMET_TR("Korimet", "ばらつき");
inline constexpr const char* kConsistencyCaption = KORIMET_TR("Korimet", "安定度");
inline constexpr const char* kBestThreeCaption = KORIMET_TR("Korimet", "ベスト3周");
inline constexpr const char* kPaceTrendCaption = KORIMET_TR("Korimet", "ペース傾向");
inline constexpr const char* kSecondsPerLapUnit = KORIMET_TR("Korimet", "秒/周");

inline constexpr const char* kBestMark = "◎";
inline constexpr const char* kWorstMark = "▼";
inline constexpr const char* kTargetMark = "○";
inline constexpr const char* kBestMeaning = KORIMET_TR("Korimet", "ベスト");
inline constexpr const char* kWorstMeaning = KORIMET_TR("Korimet", "ワースト");
inline constexpr const char* kTargetMeaning = KORIMET_TR("Korimet", "目標タイム以内");

inline constexpr const char* kLapNumberHeader = KORIMET_TR("Korimet", "LAP");
inline constexpr const char* kLapTimeHeader = KORIMET_TR("Korimet", "Time");
inline constexpr const char* kMemoCaption = KORIMET_TR("Korimet", "メモ");
inline constexpr const char* kMemoContinuedCaption = KORIMET_TR("Korimet", "メモ（続き）");
inline constexpr const char* kComparedRunCaption = KORIMET_TR("Korimet", "比較ラン");
inline constexpr const char* kBestDifferenceCaption = KORIMET_TR("Korimet", "ベスト差");
inline constexpr const char* kWorstDifferenceCaption = KORIMET_TR("Korimet", "ワースト差");
inline constexpr const char* kAverageDifferenceCaption = KORIMET_TR("Korimet", "平均差");

inline constexpr const char* kUnsavedRunName = KORIMET_TR("Korimet", "(未保存)");
inline constexpr const char* kNoValueText = KORIMET_TR("Korimet", "--");
inline constexpr const char* kSecondsUnit = KORIMET_TR("Korimet", "秒");
inline constexpr const char* kNoLapsText = KORIMET_TR("Korimet", "ラップがありません");

// Commands in the additions menu.
inline constexpr const char* kPrintCommand = KORIMET_TR("Korimet", "印刷(&P)...");
inline constexpr const char* kSavePdfCommand = KORIMET_TR("Korimet", "PDFに保存(&D)...");
inline constexpr const char* kSaveChartCommand = KORIMET_TR("Korimet", "グラフを画像で保存(&G)...");
inline constexpr const char* kPrintCommandName = "mnuRunPrint";
inline constexpr const char* kSavePdfCommandName = "mnuRunSavePdf";
inline constexpr const char* kSaveChartCommandName = "mnuRunSaveChart";
inline constexpr const char* kSavePdfTitle = KORIMET_TR("Korimet", "PDFに保存");
inline constexpr const char* kSavePdfFilter = KORIMET_TR("Korimet", "PDFﾌｧｲﾙ (*.pdf)|*.pdf");
inline constexpr const char* kSaveChartTitle = KORIMET_TR("Korimet", "グラフを画像で保存");
inline constexpr const char* kSaveChartFilter = KORIMET_TR("Korimet", "PNG画像 (*.png)|*.png");
inline constexpr const char* kPrintTitle = KORIMET_TR("Korimet", "印刷");
inline constexpr const char* kNothingToPrint =
    KORIMET_TR("Korimet", "印刷するランがありません。ランを受信するか、ファイルを開いてください。");
inline constexpr const char* kPdfSaved = KORIMET_TR("Korimet", "PDFに保存しました: %1");
inline constexpr const char* kPngSaved = KORIMET_TR("Korimet", "グラフを画像で保存しました: %1");

// Failures; %1 is the file or printer.
inline constexpr const char* kPdfWriteFailed =
    KORIMET_TR("Korimet", "PDFファイルを書き込めませんでした: %1\r\n%2");
inline constexpr const char* kPngWriteFailed =
    KORIMET_TR("Korimet", "画像ファイルを書き込めませんでした: %1\r\n%2");
inline constexpr const char* kPrintFailed = KORIMET_TR("Korimet", "印刷を始められませんでした: %1");
inline constexpr const char* kPaintFailed = KORIMET_TR("Korimet", "ページを描けませんでした");
// The name chosen holds a socket or a block device.
inline constexpr const char* kNotAnOutput =
    KORIMET_TR("Korimet", "ファイル・パイプ・文字デバイスのいずれでもないため、そのままにしました");

}  // namespace korimet::texts
