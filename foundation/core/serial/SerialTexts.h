#pragma once

// Texts of slip numbering and check digits shown to users.

inline constexpr const char *kDigitCountError = "桁数が不正です。";
inline constexpr const char *kDigitCount7DR = "7DR 方式の CD 計算には 6桁必要です。";
inline constexpr const char *kDigitCountModulus11 = "モジュラス11 の CD 計算には 10桁必要です。";
inline constexpr const char *kMissingNumber = "：この番号は欠番です。";
inline constexpr const char *kSerialNumberError = "連番取得エラー．．．";
