#pragma once

// Texts of the settings file shown to users.

inline constexpr const char *kMsgSetDatabase = "データベース位置を設定してください。";
inline constexpr const char *kMsgIniError = "INI ファイルエラー";
