#pragma once

#include "common/text_mark.h"

// The words of the core's messages, written in Japanese, the source language; the English
// ones the command-line tool prints are in message_words.cpp, the window's come from its
// translations. "%1", "%2" stand for what the message puts in: a translation may move them.
namespace korimet::messagetexts {

// What failed, on which file or folder (%1).
inline constexpr const char* kReadHead = KORIMET_TR("Korimet", "ファイルを読み込めません: %1");
inline constexpr const char* kSaveHead = KORIMET_TR("Korimet", "ファイルに保存できません: %1");
inline constexpr const char* kSaveInFolderHead =
    KORIMET_TR("Korimet", "フォルダーに保存できません: %1");
inline constexpr const char* kListFolderHead =
    KORIMET_TR("Korimet", "フォルダーを読み込めません: %1");
inline constexpr const char* kMemoUnreadableHead =
    KORIMET_TR("Korimet", "メモの一部を読み取れません: %1");
inline constexpr const char* kMemoDoubtfulHead =
    KORIMET_TR("Korimet", "メモの文字コードが確かではありません: %1");

// Where in the file (%1 line, %2 field), then why (%3).
inline constexpr const char* kPlaced = KORIMET_TR("Korimet", "%1 行目、%2 番目の項目: %3");
// What the system refused (%1), then its reason (%2).
inline constexpr const char* kWithReason = KORIMET_TR("Korimet", "%1（%2）");

// Why a file was refused.
inline constexpr const char* kTooLarge =
    KORIMET_TR("Korimet", "データファイルとしては大きすぎます");
inline constexpr const char* kNotAFile =
    KORIMET_TR("Korimet", "ファイルを開けません（通常のファイルではありません）");
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
inline constexpr const char* kMemoShownWithMarks = KORIMET_TR(
    "Korimet", "読み取れない文字は「\uFFFD」で表しています。ファイルは変更していません。");
// %1: the reading taken.
inline constexpr const char* kMemoDoubtfulRead = KORIMET_TR(
    "Korimet", "メモは CP932 (Shift_JIS) としても UTF-8 としても読めるため、%1 として読みました。");
inline constexpr const char* kMemoDoubtfulCheck =
    KORIMET_TR("Korimet", "文字が正しいか確かめてください。ファイルは変更していません。");
inline constexpr const char* kValueNotFinite =
    KORIMET_TR("Korimet", "保存できない数値があります（無限大または非数）");
inline constexpr const char* kNoEncoder =
    KORIMET_TR("Korimet", "Shift_JIS (CP932) の変換が使えません");
inline constexpr const char* kNoFreeName =
    KORIMET_TR("Korimet", "空いているファイル名がありません");
// %1: the character.
inline constexpr const char* kMemoUnencodable =
    KORIMET_TR("Korimet", "メモにファイルへ保存できない文字が含まれています: %1");
inline constexpr const char* kMemoUnencodableHint =
    KORIMET_TR("Korimet", "その文字を消してから保存してください。");
inline constexpr const char* kMemoWouldChange = KORIMET_TR(
    "Korimet",
    "このメモは読み込み時に別の文字に変わってしまうため保存できません（CP932 の文字の並びが "
    "UTF-8 と区別できません）。");
inline constexpr const char* kMemoWouldChangeHint =
    KORIMET_TR("Korimet", "メモの文字を少し変える（間に空白を入れるなど）と保存できます。");

// What the system refused.
inline constexpr const char* kCannotOpen = KORIMET_TR("Korimet", "ファイルを開けません");
// The Japanese says "cannot open" for a failed read too, as the window always has; other
// languages say what happened. The part before "|" tells the two apart and is never shown.
inline constexpr const char* kCannotReadOpened =
    KORIMET_TR("Korimet", "読み込み中の失敗|ファイルを開けません");
inline constexpr const char* kCannotCreate = KORIMET_TR("Korimet", "ファイルを作成できません");
inline constexpr const char* kCannotWrite = KORIMET_TR("Korimet", "ファイルに書き込めません");
inline constexpr const char* kCannotCheckName =
    KORIMET_TR("Korimet", "ファイル名を確認できません: %1");
inline constexpr const char* kCannotMakeFolder =
    KORIMET_TR("Korimet", "フォルダーを作成できません");
inline constexpr const char* kCannotReadFolder = KORIMET_TR("Korimet", "フォルダーを開けません");

// The system's reasons that have the user's words.
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

// A run's correction file (%1).
inline constexpr const char* kCorrectionsSaveHead =
    KORIMET_TR("Korimet", "ラップの修正を保存できません: %1");
inline constexpr const char* kCorrectionsUseHead =
    KORIMET_TR("Korimet", "ラップの修正を使えません: %1");
inline constexpr const char* kCorrectionsCannotRead =
    KORIMET_TR("Korimet", "ファイルを読み込めません");
inline constexpr const char* kCorrectionsNotAFile =
    KORIMET_TR("Korimet", "通常のファイルではありません");
inline constexpr const char* kCorrectionsTooLarge = KORIMET_TR("Korimet", "大きすぎます");
inline constexpr const char* kNotCorrections = KORIMET_TR("Korimet", "修正ファイルではありません");
inline constexpr const char* kLaterVersion = KORIMET_TR("Korimet", "新しい版のファイルです");
inline constexpr const char* kBadLine = KORIMET_TR("Korimet", "読めない行があります");
inline constexpr const char* kOtherRun = KORIMET_TR("Korimet", "別のラップ用のファイルです");
inline constexpr const char* kStepRefused =
    KORIMET_TR("Korimet", "このランに当てはまらない修正があります");
inline constexpr const char* kCorrectionsCannotSave = KORIMET_TR("Korimet", "保存できません");
inline constexpr const char* kCorrectionsCannotRemove = KORIMET_TR("Korimet", "削除できません");
// Why (%1), then the line (%2) or the version the file gives (%2).
inline constexpr const char* kOnLine = KORIMET_TR("Korimet", "%1（%2行目）");
inline constexpr const char* kOfVersion = KORIMET_TR("Korimet", "%1（版 %2）");
inline constexpr const char* kShownAsDownloaded =
    KORIMET_TR("Korimet", "ダウンロードしたままのラップを表示します。");

// Why a correction does not apply.
inline constexpr const char* kNoSuchLap = KORIMET_TR("Korimet", "その周回はありません");
inline constexpr const char* kNoNeighbour = KORIMET_TR("Korimet", "合わせる隣の周回がありません");
inline constexpr const char* kLapLeftOut = KORIMET_TR("Korimet", "統計から除いた周回です");
inline constexpr const char* kNoFreeSlot = KORIMET_TR("Korimet", "60 周すべて使用中です");

// A tool that will not run, and the tool's name.
inline constexpr const char* kRaceNoData = KORIMET_TR("Korimet", "データ未読込み");
inline constexpr const char* kCompareNoData = KORIMET_TR("Korimet", "比較元データ未読込み");
inline constexpr const char* kCompareNoLaps =
    KORIMET_TR("Korimet", "比較データのラップ数が0のため比較できません");
inline constexpr const char* kRaceTitle = KORIMET_TR("Korimet", "レース模擬");
inline constexpr const char* kCompareTitle = KORIMET_TR("Korimet", "データ比較");

}  // namespace korimet::messagetexts
