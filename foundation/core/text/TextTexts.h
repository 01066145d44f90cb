#pragma once

// Texts of the text helpers shown to users.

inline constexpr const char *kRefusedCharacter = "使用できない文字「%1」（%2）が含まれています。";
inline constexpr const char *kRefusedCharacterInField =
    "%1 に使用できない文字「%2」（%3）が含まれています。";
