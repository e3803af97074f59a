#pragma once

#include "common/text_mark.h"
#include "files/file_texts.h"
#include "tools/tool_texts.h"

// The words of the core's messages, written in Japanese, the source language; the English
// ones the command-line tool prints are in message_words.cpp, the window's come from its
// translations. "%1", "%2" stand for what the message puts in: a translation may move them.
// A text the window also shows on its own is the same constant, marked where it was written.
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
inline constexpr const char* kTooLarge = filetexts::kTooLarge;
inline constexpr const char* kNotAFile =
    KORIMET_TR("Korimet", "ファイルを開けません（通常のファイルではありません）");
// Saving over a pipe, a device or a folder.
inline constexpr const char* kNotReplaced =
    KORIMET_TR("Korimet", "通常のファイルではないため、そのままにしました");
inline constexpr const char* kEndsEarly = filetexts::kEndsEarly;
inline constexpr const char* kEmptyField = filetexts::kEmptyField;
inline constexpr const char* kNotANumber = filetexts::kNotANumber;
inline constexpr const char* kNumberOutOfRange = filetexts::kNumberOutOfRange;
inline constexpr const char* kNotAByte = filetexts::kNotAByte;
inline constexpr const char* kUnclosedQuote = filetexts::kUnclosedQuote;
inline constexpr const char* kMemoUnreadable = filetexts::kMemoUnreadable;
inline constexpr const char* kMemoShownWithMarks = filetexts::kMemoShownWithMarks;
// %1: the reading taken.
inline constexpr const char* kMemoDoubtfulRead = KORIMET_TR(
    "Korimet", "メモは CP932 (Shift_JIS) としても UTF-8 としても読めるため、%1 として読みました。");
inline constexpr const char* kMemoDoubtfulCheck = filetexts::kMemoDoubtfulCheck;
inline constexpr const char* kValueNotFinite = filetexts::kValueNotFinite;
inline constexpr const char* kNoEncoder = filetexts::kNoEncoder;
inline constexpr const char* kNoFreeName = filetexts::kNoFreeName;
// %1: the character.
inline constexpr const char* kMemoUnencodable =
    KORIMET_TR("Korimet", "メモにファイルへ保存できない文字が含まれています: %1");
inline constexpr const char* kMemoUnencodableHint = filetexts::kMemoUnencodableHint;
inline constexpr const char* kMemoWouldChange = filetexts::kMemoWouldChange;
inline constexpr const char* kMemoWouldChangeHint = filetexts::kMemoWouldChangeHint;

// What the system refused.
inline constexpr const char* kCannotOpen = filetexts::kCannotOpen;
// The Japanese says "cannot open" for a failed read too, as the window always has; other
// languages say what happened. The part before "|" tells the two apart and is never shown.
inline constexpr const char* kCannotReadOpened =
    KORIMET_TR("Korimet", "読み込み中の失敗|ファイルを開けません");
inline constexpr const char* kCannotCreate = filetexts::kCannotCreate;
inline constexpr const char* kCannotWrite = filetexts::kCannotWrite;
inline constexpr const char* kCannotCheckName =
    KORIMET_TR("Korimet", "ファイル名を確認できません: %1");
inline constexpr const char* kCannotMakeFolder =
    KORIMET_TR("Korimet", "フォルダーを作成できません");
inline constexpr const char* kCannotReadFolder = KORIMET_TR("Korimet", "フォルダーを開けません");

// The system's reasons that have the user's words.
inline constexpr const char* kNoSuchFile = filetexts::kNoSuchFile;
inline constexpr const char* kNoPermission = filetexts::kNoPermission;
inline constexpr const char* kIsFolder = filetexts::kIsFolder;
inline constexpr const char* kNotAFolder = filetexts::kNotAFolder;
inline constexpr const char* kDiskFull = filetexts::kDiskFull;
inline constexpr const char* kFileTooBig = filetexts::kFileTooBig;
inline constexpr const char* kReadOnly = filetexts::kReadOnly;
inline constexpr const char* kNameTooLong = filetexts::kNameTooLong;

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
inline constexpr const char* kCorrectionsBusy =
    KORIMET_TR("Korimet", "別のプログラムが修正中です。しばらくしてからやり直してください");
inline constexpr const char* kCorrectionsChanged =
    KORIMET_TR("Korimet", "読み込んだ後に別のプログラムが変更しました");
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
inline constexpr const char* kRaceNoData = ::korimet::kRaceNoDataMessage;
inline constexpr const char* kCompareNoData = ::korimet::kCompareNoDataMessage;
inline constexpr const char* kCompareNoLaps = ::korimet::kCompareNoLapsMessage;
inline constexpr const char* kRaceTitle = ::korimet::kRaceTitle;
inline constexpr const char* kCompareTitle = ::korimet::kCompareTitle;

}  // namespace korimet::messagetexts
