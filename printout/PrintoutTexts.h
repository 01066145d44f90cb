#pragma once

#include <QString>

// The user texts of the print-out library and its programs.
namespace PrintoutTexts {

inline const QString NoDataFile = QStringLiteral("印刷ﾃﾞｰﾀﾌｧｲﾙの指定がありません!");
inline const QString NotFoundSuffix = QStringLiteral("が見つかりません!");
// An image that exists but is not a bitmap this program can read.
inline const QString UnreadableSuffix = QStringLiteral("を読み込めません!");
// The printer refused to start the job (queue gone, output file not writable).
inline const QString CannotStart = QStringLiteral("印刷を開始できません!");
inline const QString ConfirmCancel = QStringLiteral("印刷を中止してよろしいですか?");
inline const QString PrintingCaption = QStringLiteral("印刷");
inline const QString CancelCaption = QStringLiteral("中止");
inline const QString PagePrefix = QStringLiteral("(");
inline const QString PageSuffix = QStringLiteral("ﾍﾟｰｼﾞ印刷中)");
// The progress dialog's text of a job from the writer.
inline const QString WriterPrintMessage = QStringLiteral("只今、印刷中");
inline const QString PreviewPrintMessage = QStringLiteral("只今印刷中...");
inline const QString DefaultFace = QStringLiteral("ＭＳ 明朝");

// The printer list's PDF printer, always offered: each job becomes a PDF
// file in the user's documents folder (TVDBPrint::pdfFolder()).
inline const QString PdfPrinterName = QStringLiteral("PDF ファイル");
// The user-defined paper size (code 256) in the paper lists.
inline const QString UserDefinedPaperName = QStringLiteral("ユーザー定義サイズ");

// The print-out program's window.
inline const QString AppTitle = QStringLiteral("伝票印刷");
inline const QString FormCaption = QStringLiteral("．．．印刷");
inline const QString FormFont = QStringLiteral("ＭＳ Ｐゴシック");
inline const QString SettingsGroup = QStringLiteral(" 印刷設定 ");
inline const QString OffsetGroup = QStringLiteral(" 印刷位置調整（1/10㎜） ");
inline const QString OffsetGroupHint = QStringLiteral("印刷開始位置を設定してください");
inline const QString SlipTypeLabel = QStringLiteral("伝票の種類");
inline const QString PrinterLabel = QStringLiteral("プリンタ");
inline const QString PaperSizeLabel = QStringLiteral("用紙サイズ");
inline const QString PaperComboHint = QStringLiteral("用紙を選択してください");
inline const QString PrinterHint = QStringLiteral("プリンタを選択してください");
inline const QString PaperSizeHint = QStringLiteral("印刷する用紙サイズを選択します");
inline const QString PaperSizeLabelHint = QStringLiteral("印刷する用紙サイズを選択してください");
inline const QString TopLabel = QStringLiteral("用紙の上端から");
inline const QString LeftLabel = QStringLiteral("用紙の左端から");
inline const QString PrintButton = QStringLiteral("印 刷");
inline const QString PrintHint = QStringLiteral("印刷します");
inline const QString CloseButton = QStringLiteral("閉じる");
inline const QString HelpButton = QStringLiteral("ヘルプ");
inline const QString StatusHelp = QStringLiteral("F1ヘルプ");
inline const QString DataReadError = QStringLiteral("DataRead Error");
inline const QString DataWriteError = QStringLiteral("Data Write Error");
inline const QString ClearMarks1 = QStringLiteral("印刷対象を全て解除します。");
inline const QString ClearMarks2 = QStringLiteral("実行しますか？");

// The confirmation of the print button.
inline QString printQuestion(const QString &slipType, const QString &printer, const QString &paper)
{
    const QString cr2 = QStringLiteral("\r\r");
    return QStringLiteral("『 ") + slipType + QStringLiteral(" 』  を印刷します。") + cr2 +
           QStringLiteral("プリンタ ： ") + printer + QStringLiteral("  に") + cr2 + paper +
           QStringLiteral("  の用紙をセットしてください。") + cr2 +
           QStringLiteral("印刷を実行しますか？");
}

// tambrel-print's lines on stderr (after "tambrel-print: ").
inline const QString CliUsage = QStringLiteral(
    "usage: tambrel-print (DATA [--form FILE] [--print-form] [--left N] [--top N] | "
    "--marked NAME [--command-file FILE]) [--paper CODE] (--pdf OUT | --printer NAME)");
inline const QString CliNeedsFile = QStringLiteral("%1 needs a file");
inline const QString CliNeedsName = QStringLiteral("%1 needs a name");
inline const QString CliNeedsInteger = QStringLiteral("%1 needs an integer");
inline const QString CliUnknownOption = QStringLiteral("unknown option ");
inline const QString CliTwoDataFiles = QStringLiteral("more than one data file");
inline const QString CliNoDataFile = QStringLiteral("no data file");
inline const QString CliPdfOrPrinter = QStringLiteral("give one of --pdf and --printer");
inline const QString CliNoSuchFile = QStringLiteral("no such file: ");
inline const QString CliUnknownPrinter = QStringLiteral("unknown printer: ");
inline const QString CliUnknownPaper = QStringLiteral("unknown paper code: ");
inline const QString CliDataAndMarked = QStringLiteral("give a data file or --marked, not both");
inline const QString CliCommandFileNeedsMarked =
    QStringLiteral("--command-file goes with --marked");
inline const QString CliNoDatabase = QStringLiteral("cannot open the database: ");
inline const QString CliUnknownSlipType = QStringLiteral("unknown slip type: ");
inline const QString CliNoMarkedSlip = QStringLiteral("no marked slip");

// The print preview's captions, menus and hints.
namespace Preview {
inline const QString Caption = QStringLiteral("印刷プレビュー");
inline const QString CloseCaption = QStringLiteral("閉じる");
inline const QString HintClose = QStringLiteral("終了");
inline const QString HintZoomIn = QStringLiteral("拡大表示");
inline const QString HintDispZoom = QStringLiteral("表示倍率");
inline const QString HintZoomOut = QStringLiteral("縮小表示");
inline const QString HintPrev = QStringLiteral("前のページ");
inline const QString HintWhere = QStringLiteral("ページ");
inline const QString HintNext = QStringLiteral("次のページ");
inline const QString HintSetup = QStringLiteral("プリンタ設定");
inline const QString HintPrint = QStringLiteral("印刷実行");
inline const QString HintPaintBox = QStringLiteral("印刷可能範囲");
inline const QString EscCaption = QStringLiteral("Esc：フルスクリーン解除");
inline const QString MenuFile = QStringLiteral("ファイル(&F)");
inline const QString MenuSetup = QStringLiteral("プリンター設定(&S)...");
inline const QString MenuSetupHint = QStringLiteral("プリンターの設定を行います");
inline const QString MenuPrint = QStringLiteral("印刷(&P)...");
inline const QString MenuPrintHint = QStringLiteral("印刷します");
inline const QString MenuClose = QStringLiteral("閉じる(&C)");
inline const QString MenuCloseHint = QStringLiteral("終了します");
inline const QString MenuView = QStringLiteral("表示(&V)");
inline const QString MenuZoomHint = QStringLiteral("表示倍率を指定します");
inline const QString MenuOption = QStringLiteral("オプション(&O)");
inline const QString MenuSpeedBar = QStringLiteral("スピードバー表示(&S)");
inline const QString MenuSpeedBarHint = QStringLiteral("スピードバーの表示を切り替えます");
inline const QString MenuFullScreen = QStringLiteral("フルスクリーン表示(&F)");
inline const QString MenuFullScreenHint = QStringLiteral("画面全体に表示します");
inline const QString MenuJump = QStringLiteral("ジャンプ(&J)");
inline const QString MenuTop = QStringLiteral("先頭ページ(&T)");
inline const QString MenuTopHint = QStringLiteral("先頭のページを表示します");
inline const QString MenuBottom = QStringLiteral("最終ページ(&B)");
inline const QString MenuBottomHint = QStringLiteral("最終のページを表示します");
inline const QString MenuSelected = QStringLiteral("指定ページ(&P)...");
inline const QString MenuSelectedHint = QStringLiteral("指定したページを表示します");
inline const QString JumpCaption = QStringLiteral("指定ﾍﾟｰｼﾞにｼﾞｬﾝﾌﾟ");
inline const QString JumpPrompt = QStringLiteral("表示したいﾍﾟｰｼﾞ番号を入力してください");
inline const QString PreviewFace = QStringLiteral("ＭＳ Ｐゴシック");
} // namespace Preview

// "path" quoted, then the suffix.
inline QString quotedPath(const QString &path, const QString &suffix)
{
    return QLatin1Char('"') + path + QLatin1Char('"') + suffix;
}
inline QString notFound(const QString &path)
{
    return quotedPath(path, NotFoundSuffix);
}
inline QString pageMessage(int page)
{
    return PagePrefix + QString::number(page) + PageSuffix;
}

} // namespace PrintoutTexts
