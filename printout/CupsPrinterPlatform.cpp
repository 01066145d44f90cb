#include "CupsPrinterPlatform.h"

#include "PrintoutTexts.h"
#include "VDBPrint.h"

#include <QPageSize>
#include <QPrinterInfo>

namespace {

PrinterPlatform::Paper paperOf(QPageSize::PageSizeId id)
{
    return {QPageSize::windowsId(id), QPageSize::name(id)};
}

void resetToDefaults(TVDBPrint &printer, const QPageSize &size)
{
    printer.ClearCustomPaper();
    if (size.isValid() && size.windowsId() > 0)
        printer.SetPaperSize(size.windowsId());
    else
        printer.SetPaperSize(9);
    printer.setLandscape(false);
}

} // namespace

CupsPrinterPlatform::CupsPrinterPlatform(TVDBPrint &printer) : m_printer(printer) {}

QList<PrinterPlatform::Entry> CupsPrinterPlatform::enumerate()
{
    QList<Entry> entries;
    for (const QString &name : QPrinterInfo::availablePrinterNames())
        entries.append(Entry{name, 0});
    // Always there, so a computer without printers still prints to a file.
    entries.append(Entry{PrintoutTexts::PdfPrinterName, 0});
    return entries;
}

int CupsPrinterPlatform::currentIndex()
{
    const QString current = m_printer.currentPrinterName();
    if (current.isEmpty())
        return -1;
    const QList<Entry> entries = enumerate();
    for (int i = 0; i < entries.size(); ++i) {
        if (entries.at(i).name == current)
            return i;
    }
    return -1;
}

QString CupsPrinterPlatform::currentDeviceName()
{
    return m_printer.currentPrinterName();
}

void CupsPrinterPlatform::selectPrinter(const QString &name)
{
    if (name.isEmpty()) {
        m_printer.selectDefaultPrinter();
    } else if (name == PrintoutTexts::PdfPrinterName) {
        m_printer.selectPdfPrinter();
    } else if (!m_printer.selectPrinter(name)) {
        m_printer.selectDefaultPrinter();
    }
    if (m_printer.pdfPrinterSelected())
        resetToDefaults(m_printer, QPageSize(QPageSize::A4));
    else
        resetToDefaults(
            m_printer, QPrinterInfo::printerInfo(m_printer.currentPrinterName()).defaultPageSize());
}

QList<PrinterPlatform::Paper> CupsPrinterPlatform::pdfPapers()
{
    QList<Paper> papers;
    for (QPageSize::PageSizeId id : {QPageSize::A3, QPageSize::A4, QPageSize::A5, QPageSize::JisB4,
                                     QPageSize::JisB5, QPageSize::Letter, QPageSize::Legal})
        papers << paperOf(id);
    papers << Paper{TQxPrinter::UserDefinedPaper, PrintoutTexts::UserDefinedPaperName};
    return papers;
}

QList<PrinterPlatform::Paper> CupsPrinterPlatform::papers()
{
    if (m_printer.pdfPrinterSelected())
        return pdfPapers();
    const QPrinterInfo info = QPrinterInfo::printerInfo(m_printer.currentPrinterName());
    QList<Paper> papers;
    for (const QPageSize &size : info.supportedPageSizes()) {
        // Sizes without a Windows number have no code to be stored under.
        if (size.windowsId() > 0 && size.windowsId() != TQxPrinter::UserDefinedPaper)
            papers << Paper{size.windowsId(), size.name()};
    }
    if (info.supportsCustomPageSizes())
        papers << Paper{TQxPrinter::UserDefinedPaper, PrintoutTexts::UserDefinedPaperName};
    return papers;
}

PrinterPlatform::DeviceSettings CupsPrinterPlatform::settings()
{
    DeviceSettings s;
    s.paperCode = m_printer.GetPaperSize();
    s.customLength = m_printer.customLength();
    s.customWidth = m_printer.customWidth();
    s.customSet = s.customLength > 0 && s.customWidth > 0;
    return s;
}

void CupsPrinterPlatform::applySettings(const DeviceSettings &settings)
{
    m_printer.SetPaperSize(settings.paperCode);
    if (settings.paperCode == TQxPrinter::UserDefinedPaper && settings.customSet)
        m_printer.SetCustomPaper(settings.customLength, settings.customWidth);
}

void CupsPrinterPlatform::recreate()
{
    // The printer in use stays when it is still installed.
    const QString current = m_printer.currentPrinterName();
    if (m_printer.pdfPrinterSelected())
        return;
    if (current.isEmpty() || !m_printer.selectPrinter(current))
        selectPrinter(QString());
}
