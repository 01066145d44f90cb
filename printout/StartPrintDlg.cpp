#include "StartPrintDlg.h"

#include <QApplication>
#include <QPrintDialog>
#include <QPrinter>

namespace {
TStartPrintDlg::Executor g_executor;
}

TStartPrintDlg::TStartPrintDlg(QPrinter &printer) : m_printer(printer)
{
    // Every job starts with all pages; a range lasts for its own job only.
    m_printer.setPrintRange(QPrinter::AllPages);
}

void TStartPrintDlg::setPageRange(int minPage, int maxPage)
{
    m_minPage = minPage;
    m_maxPage = maxPage;
    m_printer.setFromTo(minPage, maxPage);
}

void TStartPrintDlg::setExecutor(Executor executor)
{
    g_executor = std::move(executor);
}

bool TStartPrintDlg::PrintDialog()
{
    if (g_executor)
        return g_executor(m_printer, m_minPage, m_maxPage);
    QPrintDialog dialog(&m_printer, QApplication::activeWindow());
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setMinMax(m_minPage, m_maxPage);
    return dialog.exec() == QDialog::Accepted;
}
