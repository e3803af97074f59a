#pragma once

#include "common/text_mark.h"

// Texts the data-file code shows to the user. A message names the file first, then says
// where and why on the next line.
namespace korimet::filetexts {

// Caption of Label2 after a file was opened; Label3 then shows the path.
inline constexpr const char* kLoadDataCaption = "Load Data";

inline constexpr const char* kReadFailed =
    KORIMET_TR("Korimet", "ファイルを読み込めません: ");  // + path
inline constexpr const char* kSaveFailed =
    KORIMET_TR("Korimet", "ファイルに保存できません: ");  // + path

// Saving a run under the next free name of a folder: "<kSaveToFolderFailed><folder>", then
// why on the next line.
inline constexpr const char* kSaveToFolderFailed = "フォルダーに保存できません: ";  // + folder
inline constexpr const char* kCannotCheckName = "ファイル名を確認できません: ";     // + name
inline constexpr const char* kNoFreeName =
    KORIMET_TR("Korimet", "空いているファイル名がありません");

// Where in the file: "<line> 行目、<field> 番目の項目: <reason>".
inline constexpr const char* kLineSuffix = " 行目、";
inline constexpr const char* kFieldSuffix = " 番目の項目: ";

// Why a file was refused.
inline constexpr const char* kCannotOpen = KORIMET_TR("Korimet", "ファイルを開けません");
inline constexpr const char* kTooLarge =
    KORIMET_TR("Korimet", "データファイルとしては大きすぎます");
inline constexpr const char* kEndsEarly = KORIMET_TR("Korimet", "ファイルがここで終わっています");
inline constexpr const char* kEmptyField = KORIMET_TR("Korimet", "値がありません");
inline constexpr const char* kNotANumber = KORIMET_TR("Korimet", "数値ではありません");
inline constexpr const char* kNumberOutOfRange =
    KORIMET_TR("Korimet", "数値が大きすぎるか小さすぎます");
inline constexpr const char* kNotAByte = KORIMET_TR("Korimet", "0～255 の整数ではありません");
inline constexpr const char* kUnclosedQuote =
    KORIMET_TR("Korimet", "メモの終わりの \" がありません");
inline constexpr const char* kMemoUnreadable =
    KORIMET_TR("Korimet", "メモの文字コードを読み取れません");

// A run read whole whose memo bytes are neither CP932 nor UTF-8: "<head><path>\n<place>
// <kMemoUnreadable>\n<kMemoShownWithMarks>".
inline constexpr const char* kMemoWarningHead = "メモの一部を読み取れません: ";  // + path
inline constexpr const char* kMemoShownWithMarks = KORIMET_TR(
    "Korimet", "読み取れない文字は「\uFFFD」で表しています。ファイルは変更していません。");

// A run whose memo reads both as CP932 and as UTF-8 without a clear winner: "<head><path>\n
// <place><kMemoDoubtfulRead><reading><kMemoDoubtfulReadEnd>\n<kMemoDoubtfulCheck>".
inline constexpr const char* kMemoDoubtfulHead =
    "メモの文字コードが確かではありません: ";  // + path
inline constexpr const char* kMemoDoubtfulRead =
    "メモは CP932 (Shift_JIS) としても UTF-8 としても読めるため、";  // + reading
inline constexpr const char* kMemoDoubtfulReadEnd = " として読みました。";
inline constexpr const char* kMemoDoubtfulCheck =
    KORIMET_TR("Korimet", "文字が正しいか確かめてください。ファイルは変更していません。");

// Why a save was refused.
inline constexpr const char* kMemoUnencodable =
    "メモにファイルへ保存できない文字が含まれています: ";  // + the character
inline constexpr const char* kMemoUnencodableHint =
    KORIMET_TR("Korimet", "その文字を消してから保存してください。");
inline constexpr const char* kMemoWouldChange = KORIMET_TR(
    "Korimet",
    "このメモは読み込み時に別の文字に変わってしまうため保存できません（CP932 の文字の並びが UTF-8 "
    "と区別できません）。");
inline constexpr const char* kMemoWouldChangeHint =
    KORIMET_TR("Korimet", "メモの文字を少し変える（間に空白を入れるなど）と保存できます。");
inline constexpr const char* kValueNotFinite =
    KORIMET_TR("Korimet", "保存できない数値があります（無限大または非数）");
inline constexpr const char* kCannotCreate = KORIMET_TR("Korimet", "ファイルを作成できません");
inline constexpr const char* kCannotWrite = KORIMET_TR("Korimet", "ファイルに書き込めません");
// The system's reason, in parentheses after kCannotOpen, kCannotCreate or kCannotWrite.
inline constexpr const char* kNoSuchFile =
    KORIMET_TR("Korimet", "ファイルまたはフォルダーがありません");
inline constexpr const char* kNoPermission = KORIMET_TR("Korimet", "アクセス権がありません");
inline constexpr const char* kIsFolder = KORIMET_TR("Korimet", "フォルダーです");
inline constexpr const char* kNotAFolder =
    KORIMET_TR("Korimet", "途中の名前がフォルダーではありません");
inline constexpr const char* kDiskFull = KORIMET_TR("Korimet", "ディスクの空きが足りません");
inline constexpr const char* kFileTooBig =
    KORIMET_TR("Korimet", "ファイルの大きさの上限を超えます");
inline constexpr const char* kReadOnly = KORIMET_TR("Korimet", "読み取り専用の場所です");
inline constexpr const char* kNameTooLong = KORIMET_TR("Korimet", "名前が長すぎます");
inline constexpr const char* kNoEncoder =
    KORIMET_TR("Korimet", "Shift_JIS (CP932) の変換が使えません");

}  // namespace korimet::filetexts
