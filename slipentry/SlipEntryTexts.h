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

// Texts of the master pickers, the check digit dialog and the actions of the
// slip edits shown to users.
namespace SlipActionTexts {

// Both pickers
inline constexpr const char16_t *kHelpPanel = u"F1 ヘルプ";
inline constexpr const char16_t *kOkButton = u"OK";
inline constexpr const char16_t *kOkHint = u"選択";
inline constexpr const char16_t *kCancelButton = u"キャンセル";
inline constexpr const char16_t *kCancelHint = u"中止";
inline constexpr const char16_t *kSortAscending = u"昇順ソート";
inline constexpr const char16_t *kSortAscendingHint = u"昇順にソートします";
inline constexpr const char16_t *kSortDescending = u"降順ソート";
inline constexpr const char16_t *kSortDescendingHint = u"降順にソートします";
inline constexpr const char16_t *kGridHint =
    u"ダブルクリックで選択．．．Esc Key で中止．．．タイトルクリックで並べ替え";
inline constexpr const char16_t *kDataOpenError = u"Data Open Error";
// Navigator: captions of the nine buttons (refresh keeps its own) and hints.
inline constexpr const char16_t *kNaviCaptions[] = {u"最初", u"前",   u"次",   u"最後", u"追加",
                                                    u"削除", u"編集", u"登録", u"取消"};
inline constexpr const char16_t *kNaviHints[] = {
    u"最初のデータ", u"前のデータ",   u"次のデータ",   u"最後のデータ",   u"データの追加",
    u"データの削除", u"データの編集", u"データの登録", u"編集の取り消し", u"データ更新"};

// Company / trading partner picker
inline constexpr const char16_t *kCompanyCaption = u"．．．マスターから選択／編集";
inline constexpr const char16_t *kTitleCompany = u"社名";
inline constexpr const char16_t *kTitleStore = u"店名";
inline constexpr const char16_t *kTitleCompanyCode = u"社・店コード";
inline constexpr const char16_t *kTitlePartner1 = u"取引先名１";
inline constexpr const char16_t *kTitlePartner2 = u"取引先名２";
inline constexpr const char16_t *kTitlePartnerCode = u"取引先コード";
inline constexpr const char16_t *kTitleHidden = u" "; // drawn invisible

// Item picker
inline constexpr const char16_t *kItemCaption = u"．．．商品マスターから選択／編集";
inline constexpr const char16_t *kTitleSellingPrice = u"売単価";
inline constexpr const char16_t *kTitleItemName = u"品名・規格";
inline constexpr const char16_t *kTitleItemName2 = u"品名・規格２";
inline constexpr const char16_t *kTitleItemCode = u"商品コード";
inline constexpr const char16_t *kTitleItemCode2 = u"商品コード２";
inline constexpr const char16_t *kTitleColor = u"色";
inline constexpr const char16_t *kTitlePieces = u"入数";
inline constexpr const char16_t *kTitleSize = u"サイズ";
inline constexpr const char16_t *kTitleCases = u"ケース";
inline constexpr const char16_t *kTitleUnit = u"単位";
inline constexpr const char16_t *kTitleQuantity = u"数量";
inline constexpr const char16_t *kTitleCostPrice = u"原単価";
inline constexpr const char16_t *kCompanyLabel = u"社名・店名：";
inline constexpr const char16_t *kAllItems = u"全商品表示";
inline constexpr const char16_t *kAllItemsHint = u"全ての商品を表示します";
inline constexpr const char16_t *kChooseCompany = u"社名・店名選択";
inline constexpr const char16_t *kChooseCompanyHint = u"選択した社名向けの商品を表示します";

// Check digit dialog
inline constexpr const char16_t *kCheckDigitCaption = u"．．．チェックデジット計算";
inline constexpr const char16_t *kGroup7DR = u" 7DR方式 ";
inline constexpr const char16_t *kGroupModulus11 = u" モジュラス11 ウエイト 6,5,4,3,2 ";
inline constexpr const char16_t *kNumber6 = u"伝票番号（６桁）";
inline constexpr const char16_t *kNumber10 = u"伝票番号（10桁）";
inline constexpr const char16_t *kCheckDigit = u"チェックデジット";
inline constexpr const char16_t *kSample6 = u"123456";
inline constexpr const char16_t *kSample10 = u"1234567890";
inline constexpr const char16_t *kCompute = u"計算実行";
inline constexpr const char16_t *kComputeHint = u"計算します";
inline constexpr const char16_t *kNoMissing = u"欠番無し";
inline constexpr const char16_t *kUsage = u"＜使用例＞";
inline constexpr const char16_t *kUsage7DR = u"仕入伝票：タイプ用１型\n"
                                             u"　　　　　手書用１型\n"
                                             u"返品伝票：手書用１型";
inline constexpr const char16_t *kUsageModulus11 = u"仕入伝票：ﾀｰﾝｱﾗｳﾝﾄﾞ用\n"
                                                   u"　　　　　1, 2 ,3 ,4 型\n"
                                                   u"返品伝票：タイプ用\n"
                                                   u"　　　　　1, 2 ,3 型";
inline constexpr const char16_t *kApplyHint = u"計算結果を反映します";
inline constexpr const char16_t *kStopHint = u"中止します";

// Menus of the slip edits
inline constexpr const char16_t *kMenuItemChoose = u"商品マスターから選択";
inline constexpr const char16_t *kMenuItemChooseHint = u"商品マスターの一覧から選択します";
inline constexpr const char16_t *kMenuItemRegister = u"商品マスターへ登録";
inline constexpr const char16_t *kMenuItemRegisterHint = u"商品マスターへ登録します";
inline constexpr const char16_t *kMenuMasterChoose = u"マスターから選択";
inline constexpr const char16_t *kMenuMasterChooseHint = u"マスターの一覧から選択します";
inline constexpr const char16_t *kMenuMasterRegister = u"マスターへ登録";
inline constexpr const char16_t *kMenuMasterRegisterHint = u"マスターへ登録します";
inline constexpr const char16_t *kMenuCheckDigit = u"チェックデジット計算";
inline constexpr const char16_t *kMenuCheckDigitHint = u"伝票番号のチェックデジットを計算します";
inline constexpr const char16_t *kDataSetError = u"Data Set Error";

} // namespace SlipActionTexts
