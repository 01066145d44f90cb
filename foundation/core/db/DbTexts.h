#pragma once

// Texts of the database helpers and result sets shown to users.

inline constexpr const char *kDataGetError = "データ取得中にエラーが発生しました。";
inline constexpr const char *kDataUpdateError = "データ更新中にエラーが発生しました。";
inline constexpr const char *kCannotConnectError = "データベースに接続できません。";
inline constexpr const char *kUpdateSqlSetError = "UpdateSQL Set Error";
inline constexpr const char *kTableOpenError = "Table Open Error";
inline constexpr const char *kUnsavedDataQuestion1 = "未登録のデータがあります。";
inline constexpr const char *kUnsavedDataQuestion2 = "登録しますか？";
inline constexpr const char *kUpdateQuestion1 = "データを更新します。";
inline constexpr const char *kUpdateQuestion2 = "実行しますか？";
inline constexpr const char *kGeneratorGetError = "Generator:%1 Get Error";
inline constexpr const char *kNotAnInteger = "'%1' is not a valid integer value";
