#include "PrintJob.h"

#include "CommandFile.h"
#include "PrintoutTexts.h"
#include "VDBPrint.h"
#include "app/Messages.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>

namespace {

bool fileMissing(const QString &path)
{
    if (QFileInfo(path).isFile())
        return false;
    Messages::show(MsgType::Error, PrintoutTexts::notFound(path), MsgButton::Ok);
    return true;
}

} // namespace

PrintJob::PrintJob(TVDBPrint &printer, const PrintRange &range, PrintProgress *progress)
    : m_printer(printer), m_range(range), m_progress(progress)
{
}

void PrintJob::cancel()
{
    InterpreterState &s = PrintoutState();
    if (!m_printing || s.cancelled)
        return;
    m_printer.printer().abort();
    s.cancelled = true;
}

PrintOutcome PrintJob::run()
{
    try {
        return print();
    } catch (const CommandFileError &e) {
        // A file that exists but cannot be read (permissions, a disk error).
        m_printing = false;
        Messages::show(MsgType::Error,
                       PrintoutTexts::quotedPath(e.path(), PrintoutTexts::UnreadableSuffix),
                       MsgButton::Ok);
        return PrintOutcome::Failed;
    }
}

PrintOutcome PrintJob::print()
{
    InterpreterState &s = PrintoutState();
    QPrinter &device = m_printer.printer();
    const double sx = m_printer.dpiX() / 254.0;
    const double sy = m_printer.dpiY() / 254.0;

    const bool withForm = s.printForm == 1 && !s.formPath.isEmpty();
    if (!s.formPath.isEmpty() && fileMissing(s.formPath))
        return PrintOutcome::NotStarted;
    if (s.dataPath.isEmpty()) {
        Messages::show(MsgType::Error, PrintoutTexts::NoDataFile, MsgButton::Ok);
        return PrintOutcome::NotStarted;
    }
    if (fileMissing(s.dataPath))
        return PrintOutcome::NotStarted;

    CommandFile data(s.dataPath);
    RunGeometry(m_printer, false);

    s.rangeMode = m_range.rangeMode;
    int n = s.rangeMode ? m_range.last - m_range.first + 1 : m_range.maxPage;

    m_printer.SetTrueType(1);
    // Spoolers name the job (and cups-pdf its file) after the document.
    device.setDocName(QFileInfo(s.dataPath).completeBaseName());
    m_printer.prepareOutput(device.docName());
    QPainter canvas;
    if (!canvas.begin(&device)) {
        Messages::show(MsgType::Error, PrintoutTexts::CannotStart, MsgButton::Ok);
        return PrintOutcome::NotStarted;
    }
    m_printing = true;
    m_pages = 1;
    if (m_progress)
        m_progress->pageStarted(1);

    CanvasState state;
    CommandFile form;
    bool formEnded = true;
    if (withForm) {
        form.open(s.formPath);
        if (s.rangeMode)
            SkipToPage(form, m_range.first, true);
        formEnded = RenderPage(form, canvas, state, 10, sx, sy);
    }
    if (s.rangeMode)
        SkipToPage(data, m_range.first, false);

    while (!s.cancelled) {
        if (data.atEnd() || n <= 0)
            break;
        --n;
        const bool dataEnded = RenderPage(data, canvas, state, 10, sx, sy);
        if (m_progress)
            m_progress->pump();
        if (s.cancelled)
            break;
        if (!dataEnded && n > 0) {
            device.newPage();
            ++m_pages;
            if (m_progress)
                m_progress->pageStarted(m_pages);
            if (withForm) {
                if (formEnded)
                    form.rewind();
                formEnded = RenderPage(form, canvas, state, 10, sx, sy);
            }
        }
    }

    if (withForm && !s.cancelled && !s.rangeMode && !formEnded) {
        while (!formEnded && !s.cancelled) {
            device.newPage();
            ++m_pages;
            if (m_progress)
                m_progress->pageStarted(m_pages);
            formEnded = RenderPage(form, canvas, state, 10, sx, sy);
            if (m_progress)
                m_progress->pump();
        }
    }

    canvas.end();
    m_printing = false;
    if (s.cancelled) {
        // Qt cannot withdraw a job once begun; a file of our own is at least
        // not left half written.
        const QString out = device.outputFileName();
        if (device.outputFormat() == QPrinter::PdfFormat && !out.isEmpty())
            QFile::remove(out);
        return PrintOutcome::Cancelled;
    }
    return PrintOutcome::Printed;
}

PrintOutcome PrintWithoutDialogs(TVDBPrint &printer, const QString &formPath,
                                 const QString &dataPath, int paperSize, int orientation,
                                 int topOffset, int leftOffset, quint8 printForm)
{
    PrintoutState().cancelled = false;
    SetJobSources(formPath, dataPath, topOffset, leftOffset, printForm);
    if (paperSize > 0)
        printer.SetPaperSize(paperSize);
    printer.setLandscape(orientation == 1);
    PrintRange range;
    range.maxPage = CountPages(dataPath);
    PrintJob job(printer, range);
    const PrintOutcome outcome = job.run();
    SetLastPrintOutcome(outcome);
    return outcome;
}
