#pragma once

#include "Printout.h"

class TVDBPrint;

// What the job tells whoever watches it, and asks of it.
class PrintProgress
{
public:
    virtual ~PrintProgress() = default;
    // The page now being printed (1 at the start of the job).
    virtual void pageStarted(int page) = 0;
    // Lets the user interface run between pages (cancel is handled then).
    virtual void pump() = 0;
};

// The page range the printer dialog returned.
struct PrintRange
{
    bool rangeMode = false;
    int first = 1;
    int last = 1;
    int maxPage = 1; // the highest page number offered (the data file's pages)
};

// One print job over the interpreter state's files: form pages paired with
// data pages, a page range, trailing form pages. No widgets; the progress
// dialog and the command-line tool both drive it.
class PrintJob
{
public:
    PrintJob(TVDBPrint &printer, const PrintRange &range, PrintProgress *progress = nullptr);

    PrintOutcome run();
    // Aborts the printer job at once; the job stops after the page in hand.
    void cancel();
    bool printing() const { return m_printing; }
    int pagesOutput() const { return m_pages; }

private:
    PrintOutcome print();

    TVDBPrint &m_printer;
    PrintRange m_range;
    PrintProgress *m_progress;
    bool m_printing = false;
    int m_pages = 0;
};

// Prints a command file at once on the printer as it is set: no printer
// dialog, no progress dialog (scripts and unattended runs). A paper size of
// 0 keeps the printer's paper. Problems are told through the message service.
PrintOutcome PrintWithoutDialogs(TVDBPrint &printer, const QString &formPath,
                                 const QString &dataPath, int paperSize, int orientation,
                                 int topOffset, int leftOffset, quint8 printForm);
