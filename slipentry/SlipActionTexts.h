#pragma once

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
