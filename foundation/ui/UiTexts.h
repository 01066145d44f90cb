#pragma once

// Texts of the shared windows and controls shown to users.

// Every form's caption starts with it.
inline constexpr const char *kCaptionPrefix = "チェーンストア統一伝票印刷";
inline constexpr const char *kHelpWindowTitle = "ヘルプ";
inline constexpr const char *kNotOnForm = "TForm に配置してください";
inline constexpr const char *kDeleteQuestion = "レコードを削除しますか？";
inline constexpr const char *kUnknownError = "Unknown Error";
