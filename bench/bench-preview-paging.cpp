// Time to show the last page of a long command file in the preview against
// the time to show its first page.
#include "ImageDispForm.h"
#include "PrintTool.h"
#include "Printout.h"
#include "VDBPrint.h"
#include "ui/ProgramStart.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

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
        for (int line = 0; line < 40; ++line)
            tool.WriteText(180 + (line % 4) * 400, 120 + line * 60,
                           QStringLiteral("品名%1-%2").arg(p).arg(line),
                           QStringLiteral("ＭＳ 明朝"), 10, {}, {}, QStringLiteral("1"));
    }
    tool.CloseFile();

    VDBPrint().selectPdf(dir.filePath(QStringLiteral("unused.pdf")));
    VDBPrint().SetPaperSize(9);
    PrintoutState().dataPath = data;
    TImageDispForm form;
    form.resize(1000, 800);
    QElapsedTimer t;
    t.start();
    form.show(); // counts the pages and indexes them once
    const double open = t.nsecsElapsed() / 1e9;

    const int rounds = 20;
    double first = 0;
    double last = 0;
    for (int i = 0; i < rounds; ++i) {
        t.restart();
        form.Top_PageClick();
        first += t.nsecsElapsed() / 1e9;
        t.restart();
        form.Bottom_PageClick();
        last += t.nsecsElapsed() / 1e9;
    }
    std::printf("pages: %d pages\n", form.pageTotal());
    std::printf("open-and-index: %.3f ms\n", open * 1000);
    std::printf("show-page-1: %.3f ms\n", first / rounds * 1000);
    std::printf("show-page-%d: %.3f ms\n", form.pageTotal(), last / rounds * 1000);
    std::printf("ratio page-1000: %.3f\n", last / first);
    return 0;
}
