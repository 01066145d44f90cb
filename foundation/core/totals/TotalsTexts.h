#pragma once

// Texts of the slip calculation shown to users.

inline constexpr const char *kCannotCalculate = "計算できません。";
inline constexpr const char *kLineAmountTooLong = " 行目の金額が 9 桁を超えます。";
inline constexpr const char *kTotalAmountTooLong = "合計金額が 9 桁を超えます。";
