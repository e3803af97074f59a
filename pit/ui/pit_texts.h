#pragma once

// The pit view's window texts, in the window's language.
namespace korimet::pittexts {

inline constexpr const char* kMenuItem = "ピットビュー";
inline constexpr const char* kMenuItemName = "mnuPitView";
inline constexpr const char* kWindowTitle = "ピットビュー";
inline constexpr const char* kJoinWifiFirst =
    "スマートフォンを先にこのパソコンと同じ Wi-Fi に接続してから、QR コードを読み取るか"
    "アドレスを入力してください。";
inline constexpr const char* kAddress = "アドレス";
inline constexpr const char* kAccessCode = "アクセスコード";
inline constexpr const char* kPages = "接続中のページ: %1";
inline constexpr const char* kCannotServe =
    "ピットビューを開始できません: ポート %1 も、空いている別のポートも使えません。";

}  // namespace korimet::pittexts
