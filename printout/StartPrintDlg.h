#pragma once

#include <functional>

class QPrinter;

// Holds the printer dialog of a print job, with page-number selection.
class TStartPrintDlg
{
public:
    explicit TStartPrintDlg(QPrinter &printer);

    // Pages offered, and the range preset from 1 to maxPage.
    void setPageRange(int minPage, int maxPage);
    int maxPage() const { return m_maxPage; }
    // Shows the dialog; false when the user cancelled it.
    bool PrintDialog();

    // Replaces the system dialog (scripts and tests): gets the printer with
    // its range preset and the pages offered, returns false for cancel.
    using Executor = std::function<bool(QPrinter &printer, int minPage, int maxPage)>;
    static void setExecutor(Executor executor);

private:
    QPrinter &m_printer;
    int m_minPage = 1;
    int m_maxPage = 1;
};
