#pragma once

#include "common/text_mark.h"

// Texts the device link shows, written exactly as the user sees them.
namespace korimet::device_texts {

inline constexpr char kAppTitle[] = "Korimet";
inline constexpr char kLineBreak[] = "\r\n";

// The combo box before a port is chosen, and the settings menu's port submenu.
inline constexpr char kPortCaption[] = KORIMET_TR("Korimet", "通信ポート");

// First line of the failure message; a menu pick adds "(COMn)".
inline constexpr char kCannotOpenPort[] = KORIMET_TR("Korimet", "ポートが開けません");
inline constexpr char kTryAnotherPort[] = KORIMET_TR("Korimet", "他のポートをお試しください");

// An open port that went away (USB cable pulled); followed by "(COMn)" and the hint.
inline constexpr char kPortDisconnected[] = KORIMET_TR("Korimet", "通信ポートが切断されました");
inline constexpr char kReconnectHint[] =
    KORIMET_TR("Korimet", "ケーブルを確かめてから、もう一度ポートを選んでください");

}  // namespace korimet::device_texts
