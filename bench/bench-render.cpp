// Renders a command file of many slip pages to PDF through the print job and
// compares the time per page with a bare QPainter drawing the same texts.
#include "PrintJob.h"
#include "PrintTool.h"
#include "Printout.h"
#include "VDBPrint.h"
#include "ui/ProgramStart.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>

#include <cstdio>

namespace {

struct Text
{
    int x, y;
    QString text;
};

// One slip: header lines and item lines, as the composition writes them.
QList<Text> slip(int page)
{
    QList<Text> out;
    out.append({180, 120, QStringLiteral("株式会社テスト商事　御中")});
    out.append({1500, 120, QStringLiteral("伝票番号 %1").arg(100000 + page)});
    for (int line = 0; line < 6; ++line) {
        const int y = 600 + line * 85;
        out.append({180, y, QStringLiteral("品名ＡＢＣ%1").arg(line)});
        out.append({900, y, QStringLiteral("%1").arg(4900000 + page * 10 + line)});
        out.append({1300, y, QStringLiteral("%1").arg((line + 1) * 12)});
        out.append({1500, y, QStringLiteral("%1").arg((line + 1) * 980)});
        out.append({1800, y, QStringLiteral("%1").arg((line + 1) * 12 * 980)});
    }
    out.append({1800, 1200, QStringLiteral("%1").arg(page * 7 + 123456)});
    return out;
}

double seconds(const QElapsedTimer &t)
{
    return t.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ProgramStart::installFontSubstitutions();
    int pages = 1000;
    const QStringList args = QApplication::arguments();
    const qsizetype at = args.indexOf(QStringLiteral("--size"));
    if (at >= 0 && at + 1 < args.size())
        pages = std::max(1, args.at(at + 1).toInt());

    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("Prntmpp.tmp"));
    TPrintTool tool;
    tool.SetDataFile(data);
    tool.OpenFile();
    for (int p = 1; p <= pages; ++p) {
        if (p > 1)
            tool.EndPage();
        for (const Text &t : slip(p))
            tool.WriteText(t.x, t.y, t.text, QStringLiteral("ＭＳ 明朝"), 10, {}, {},
                           QStringLiteral("1"));
    }
    tool.CloseFile();

    TVDBPrint &printer = VDBPrint();
    printer.SetPaperSize(9);

    // Floor: the same texts, fonts and places straight onto a QPainter.
    auto drawBare = [&](const QString &file, int count) {
        QPrinter bare(QPrinter::HighResolution);
        bare.setOutputFormat(QPrinter::PdfFormat);
        bare.setOutputFileName(file);
        bare.setPageLayout(printer.printer().pageLayout());
        QPainter p(&bare);
        QFont font(QStringLiteral("ＭＳ 明朝"));
        font.setPixelSize((10 * bare.logicalDpiX() + 36) / 72);
        p.setFont(font);
        const double scale = bare.logicalDpiX() / 254.0;
        const double ascent = QFontMetricsF(font, &bare).ascent();
        for (int page = 1; page <= count; ++page) {
            if (page > 1)
                bare.newPage();
            for (const Text &text : slip(page))
                p.drawText(QPointF(text.x * scale, text.y * scale + ascent), text.text);
        }
    };
    printer.selectPdf(dir.filePath(QStringLiteral("ours.pdf")));
    // A short warm-up loads the fonts and glyph caches both sides then share.
    drawBare(dir.filePath(QStringLiteral("warm.pdf")), 20);
    QElapsedTimer t;
    t.start();
    drawBare(dir.filePath(QStringLiteral("bare.pdf")), pages);
    const double floor = seconds(t);

    // Ours: the print job over the command file.
    InterpreterState &s = PrintoutState();
    s.dataPath = data;
    s.printForm = 0;
    PrintRange range;
    range.maxPage = pages;
    t.restart();
    PrintJob job(printer, range);
    job.run();
    const double ours = seconds(t);

    std::printf("pages: %d pages\n", pages);
    std::printf("render-per-page: %.3f ms\n", ours / pages * 1000);
    std::printf("bare-qpainter-per-page: %.3f ms\n", floor / pages * 1000);
    std::printf("ratio per-page: %.3f\n", ours / floor);
    return 0;
}
