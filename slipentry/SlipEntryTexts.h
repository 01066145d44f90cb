#pragma once

// Every text the slip entry programs show to the user, in one place.
namespace SlipEntryTexts {

// Slip form
inline constexpr const char16_t *kCompanyRequired = u"【社名】 は必ず入力してください。";
inline constexpr const char16_t *kNoPrintData = u"印刷対象のデータがありません。";
inline constexpr const char16_t *kHelpPanel = u"F1ヘルプ";
inline constexpr const char16_t *kPrintTargetCheck = u"印刷対象";
inline constexpr const char16_t *kSelDataButton = u"登録済データ";
inline constexpr const char16_t *kSelDataHint = u"登録済みのデータを選択します";
inline constexpr const char16_t *kPrintButton = u"印 刷";
inline constexpr const char16_t *kPrintHint = u"印刷します";
inline constexpr const char16_t *kExitButton = u"終了(&X)";
inline constexpr const char16_t *kNaviInsert = u"新規";
inline constexpr const char16_t *kNaviDelete = u"削除";
inline constexpr const char16_t *kNaviPost = u"登録";
inline constexpr const char16_t *kNaviCancel = u"取消";
inline constexpr const char16_t *kNaviPrior = u"前";
inline constexpr const char16_t *kNaviNext = u"次";
inline constexpr const char16_t *kMenuPost = u"登録";
inline constexpr const char16_t *kMenuAppend = u"追加";
// Hints of the slip edits: the pickers' fields and the slip number.
inline constexpr const char16_t *kHintPick =
    u"右クリックで処理選択メニュー表示．．．ダブルクリックで一覧から選択";
inline constexpr const char16_t *kHintCheckDigit =
    u"右クリックでポップアップメニュー表示．．．ダブルクリックでチェックデジット計算実行";

// Saved-slip list
inline constexpr const char16_t *kSelDataCaption = u"．．．登録データ選択";
inline constexpr const char16_t *kSelDataHelpPanel = u"F1 ヘルプ";
inline constexpr const char16_t *kGridHint =
    u"右クリックで設定メニュー．．．ダブルクリックで印刷対象選択／解除．．．"
    u"印刷対象は赤で表示．．．タイトルクリックで並べ替え";
inline constexpr const char16_t *kTitlePrintout = u"印刷対象";
inline constexpr const char16_t *kTitleDenno = u"伝票番号";
inline constexpr const char16_t *kTitleCheckDigit = u" "; // drawn invisible
inline constexpr const char16_t *kTitleCompany = u"社名";
inline constexpr const char16_t *kTitleStore = u"店名";
inline constexpr const char16_t *kTitlePartnerCode = u"取引先ｺｰﾄﾞ";
inline constexpr const char16_t *kTitlePartnerName1 = u"取引先名１";
inline constexpr const char16_t *kTitlePartnerName2 = u"取引先名２";
inline constexpr const char16_t *kTitleItem = u"品名";
inline constexpr const char16_t *kMarkOn = u"○";
inline constexpr const char16_t *kMarkOff = u"×";
inline constexpr const char16_t *kSortAscending = u"昇順ソート";
inline constexpr const char16_t *kSortAscendingHint = u"昇順にソートします";
inline constexpr const char16_t *kSortDescending = u"降順ソート";
inline constexpr const char16_t *kSortDescendingHint = u"降順にソートします";
inline constexpr const char16_t *kToggleButton = u"印刷対象";
inline constexpr const char16_t *kToggleHint = u"印刷対象の設定／解除を行います";
inline constexpr const char16_t *kCancelButton = u"キャンセル";
inline constexpr const char16_t *kCancelHint = u"中止";
inline constexpr const char16_t *kOkButton = u"OK";
inline constexpr const char16_t *kOkHint = u"印刷実行";
inline constexpr const char16_t *kCloseButton = u"閉じる";
inline constexpr const char16_t *kCloseHint = u"画面を閉じる";
inline constexpr const char16_t *kMenuSetMark = u"印刷対象設定";
inline constexpr const char16_t *kMenuSetMarkHint = u"印刷対象に設定します";
inline constexpr const char16_t *kMenuClearMark = u"印刷対象解除";
inline constexpr const char16_t *kMenuClearMarkHint = u"印刷対象を解除します";
inline constexpr const char16_t *kMenuSetAll = u"全て印刷対象に設定";
inline constexpr const char16_t *kMenuSetAllHint = u"全て印刷対象に設定します";
inline constexpr const char16_t *kMenuClearAll = u"全ての印刷対象を解除";
inline constexpr const char16_t *kMenuClearAllHint = u"印刷対象を全て解除します";
inline constexpr const char16_t *kMenuClose = u"閉じる";
inline constexpr const char16_t *kMenuCloseHint = u"現在のデータを選択して画面を閉じます";
inline constexpr const char16_t *kPrintMarkError = u"印刷設定エラー";
inline constexpr const char16_t *kSortError = u"Sort Error";

// The slip edit table beside the programs could not be read.
inline constexpr const char16_t *kEditTableError = u"Form Edit Table Error";

} // namespace SlipEntryTexts
