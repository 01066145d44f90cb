#include "PrintCommandFile.h"

#include "NowPrintingdlg.h"
#include "Printout.h"
#include "StartPrintDlg.h"
#include "VDBPrint.h"

#include <QApplication>
#include <QLabel>

qint16 PrintCommandFile(const QString &formPath, const QString &dataPath, const QString &message,
                        int paperSize, int orientation, int topOffset, int leftOffset,
                        quint8 printForm, quint8 showDialog)
{
    InterpreterState &s = PrintoutState();
    s.cancelled = false;
    SetJobSources(formPath, dataPath, topOffset, leftOffset, printForm);

    TVDBPrint &printer = VDBPrint();
    if (paperSize > 0)
        printer.SetPaperSize(paperSize);
    printer.setLandscape(orientation == 1);

    TStartPrintDlg startDlg(printer.printer());
    if (!dataPath.isEmpty()) {
        const int pages = CountPages(dataPath);
        startDlg.setPageRange(1, pages);
    }
    if (showDialog == 1 && !startDlg.PrintDialog()) {
        printer.selectDefaultPrinter();
        SetLastPrintOutcome(PrintOutcome::Cancelled);
        return 0;
    }

    PrintRange range;
    range.maxPage = startDlg.maxPage();
    QPrinter &qp = printer.printer();
    if (qp.printRange() == QPrinter::PageRange && qp.fromPage() > 0) {
        range.rangeMode = true;
        range.first = qp.fromPage();
        range.last = std::max(qp.fromPage(), qp.toPage());
    }

    PrintOutcome outcome;
    {
        TNowPrintingdlg dlg(printer, range, QApplication::activeWindow());
        dlg.PrintMessage->setText(message);
        dlg.exec();
        // Closed before the job began: the user did not want it.
        outcome = dlg.jobDone() ? dlg.outcome() : PrintOutcome::Cancelled;
    }
    SetLastPrintOutcome(outcome);
    return s.cancelled || outcome == PrintOutcome::Cancelled ? 0 : -1;
}
