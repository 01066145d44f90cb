#pragma once

// Texts of the item and company masters shown to users.

inline constexpr const char *kItemCodeLengthError = "商品コードの桁数不正です。";
inline constexpr const char *kItemCodeLengthIs = "商品コードの桁数は、";
inline constexpr const char *kItemCodeLengthUnit = " 桁です。";
inline constexpr const char *kItemLookupError = "商品データを取得できません。";
inline constexpr const char *kDataUpdated = "データを更新しました。";
inline constexpr const char *kNewlyRegistered = "新規に登録しました。";
inline constexpr const char *kAlreadyRegistered = "既に登録済みです。";
inline constexpr const char *kRecordCountError = "Record Count Error";
inline constexpr const char *kUpdateError = "Update Error";
inline constexpr const char *kInsertError = "Insert Error";
