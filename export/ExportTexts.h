#pragma once

// Every text the export program and its command-line tool show.
namespace ExportTexts {

// Window and picker captions (after the suite's caption prefix).
inline constexpr const char16_t *kMainCaption = u"．．．エクスポート";
inline constexpr const char16_t *kPickerCaption = u"．．．選択";
inline constexpr const char16_t *kProgramTitle = u"エクスポート";

// Status bars.
inline constexpr const char16_t *kStatusHelp = u"F1ヘルプ";
inline constexpr const char16_t *kPickerStatusHelp = u"F1 ヘルプ";

// Pages.
inline constexpr const char16_t *kPageSlips = u"印刷データ";
inline constexpr const char16_t *kPageMasters = u"社名・店名、取引先、商品";

// Slip page.
inline constexpr const char16_t *kRadioGroup1 = u" 伝票形式 ";
inline constexpr const char16_t *kRadioGroup1Hint = u"伝票形式を指定します";
inline constexpr const char16_t *kFormatTurnaroundText = u"ターンアラウンド用1、2型";
inline constexpr const char16_t *kFormatTypewriterText = u"タイプ用1型";
inline constexpr const char16_t *kGroupBox1 = u" 日付 ";
inline constexpr const char16_t *kGroupBox1Hint = u"出力する日付の範囲を指定します";
inline constexpr const char16_t *kYearHint = u"年";
inline constexpr const char16_t *kMonthHint = u"月";
inline constexpr const char16_t *kDayHint = u"日";
inline constexpr const char16_t *kDateSeparator = u"～";
inline constexpr const char16_t *kGroupBox2 = u"社名・店名";
inline constexpr const char16_t *kGroupBox2Hint =
    u"出力する社名・店名を指定します．．．空白は全てのデータを出力します";
inline constexpr const char16_t *kSelectButton = u"選択";
inline constexpr const char16_t *kSelectButtonHint = u"出力する社名・店名を選択します";
inline constexpr const char16_t *kClearButton = u"解除";
inline constexpr const char16_t *kClearButtonHint = u"社名・店名の選択を解除します";
inline constexpr const char16_t *kCompanyLabel = u"社名";
inline constexpr const char16_t *kStoreLabel = u"店名";
inline constexpr const char16_t *kOutputButton = u"出力(&O)";
inline constexpr const char16_t *kOutputButtonHint = u"出力します";

// Date kinds of the two slip formats.
inline constexpr const char16_t *kDateNone = u"条件から除外";
inline constexpr const char16_t *kDateActualDelivery = u"実納品日";
inline constexpr const char16_t *kDateOrder = u"発注日";
inline constexpr const char16_t *kDateDelivery = u"納品日";
inline constexpr const char16_t *kDateYmd = u"年月日";

// Master page.
inline constexpr const char16_t *kRadioGroup2 = u" 出力対象選択 ";
inline constexpr const char16_t *kMasterCompanies = u"社名・店名";
inline constexpr const char16_t *kMasterPartners = u"取引先";
inline constexpr const char16_t *kMasterItems = u"商品";
inline constexpr const char16_t *kMemoLine2 = u"出力対象を選択して";
inline constexpr const char16_t *kMemoLine4 = u"『出力』ボタンをクリックしてください。";

// Menu.
inline constexpr const char16_t *kMenuFile = u"ファイル(&F)";
inline constexpr const char16_t *kMenuExit = u"終了(&X)";
inline constexpr const char16_t *kMenuExitHint = u"終了します";
inline constexpr const char16_t *kMenuHelp = u"ヘルプ(&H)";
inline constexpr const char16_t *kMenuHelpItem = u"ヘルプ";
inline constexpr const char16_t *kMenuHelpItemHint = u"ヘルプを表示します";

// Picker.
inline constexpr const char16_t *kPickerGridHint =
    u"ダブルクリックで選択．．．Esc Key で中止．．．タイトルクリックで並べ替え";
inline constexpr const char16_t *kPickerOk = u"OK";
inline constexpr const char16_t *kPickerOkHint = u"選択";
inline constexpr const char16_t *kPickerCancel = u"キャンセル";
inline constexpr const char16_t *kPickerCancelHint = u"中止";
inline constexpr const char16_t *kSortAscending = u"昇順ソート";
inline constexpr const char16_t *kSortAscendingHint = u"昇順にソートします";
inline constexpr const char16_t *kSortDescending = u"降順ソート";
inline constexpr const char16_t *kSortDescendingHint = u"降順にソートします";

// Messages.
inline constexpr const char16_t *kNoData = u"該当データ無し。";
inline constexpr const char *kTableOpenError = "Err...Table Open";
inline constexpr const char *kCreateSqlError = "Err...Create SQL";
inline constexpr const char *kExcelOutError = "Err...Excel Out";
inline constexpr const char *kDataOpenError = "Data Open Error";
inline constexpr const char16_t *kOutputError = u"出力中にエラーが発生しました。";
inline constexpr const char16_t *kConfirm1 = u"Excel 形式のファイルへデータを出力します。";
inline constexpr const char16_t *kConfirm2 = u"実行しますか？";
inline constexpr const char16_t *kSaved1 = u"ファイルを保存しました。";
// %1: the rows written so far.
inline constexpr const char16_t *kProgressRows = u"%1 件出力しました．．．";
inline constexpr const char16_t *kProgressCancel = u"中止";

// Cell texts of Boolean values.
inline constexpr const char16_t *kTrueText = u"○";
inline constexpr const char16_t *kFalseText = u"×";

// Command line (stderr).
inline constexpr const char *kUsage =
    "usage: tambrel-export slips [--format 0|1] [--date-kind N --from YYMMDD --to YYMMDD] "
    "[--company NAME] [--store NAME] [--verbose] OUT.xlsx\n"
    "       tambrel-export masters 0|1|2 [--verbose] OUT.xlsx";

} // namespace ExportTexts
