#pragma once

#include "common/text_mark.h"

// The pit view's window texts, in the window's language.
namespace korimet::pittexts {

inline constexpr const char* kMenuItem = KORIMET_TR("Korimet", "ピットビュー");
inline constexpr const char* kMenuItemName = "mnuPitView";
inline constexpr const char* kWindowTitle = KORIMET_TR("Korimet", "ピットビュー");
inline constexpr const char* kJoinWifiFirst =
    KORIMET_TR("Korimet",
               "スマートフォンを先にこのパソコンと同じ Wi-Fi に接続してから、QR コードを読み取るか"
               "アドレスを入力してください。");
inline constexpr const char* kAddress = KORIMET_TR("Korimet", "アドレス");
inline constexpr const char* kAccessCode = KORIMET_TR("Korimet", "アクセスコード");
inline constexpr const char* kPages = KORIMET_TR("Korimet", "接続中のページ: %1");
inline constexpr const char* kCannotServe = KORIMET_TR(
    "Korimet", "ピットビューを開始できません: ポート %1 も、空いている別のポートも使えません。");

}  // namespace korimet::pittexts
