#include "VDBPrint.h"

#include "PrintoutTexts.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinterInfo>
#include <QStandardPaths>

#include <cmath>

namespace {
constexpr int UserDefinedPaper = 256;
QString g_pdfFolder;
} // namespace

TVDBPrint::TVDBPrint() : m_printer(QPrinter::HighResolution)
{
    selectDefaultPrinter();
    m_trueType = 1;
}

TVDBPrint &VDBPrint()
{
    // Created at program start: TrueType option 1, then 2 for the program.
    static TVDBPrint *printer = [] {
        auto *p = new TVDBPrint;
        p->SetTrueType(2);
        return p;
    }();
    return *printer;
}

int TVDBPrint::GetPaperSize() const
{
    if (m_customSelected)
        return UserDefinedPaper;
    return m_printer.pageLayout().pageSize().windowsId();
}

bool TVDBPrint::SetPaperSize(int code)
{
    if (code == UserDefinedPaper) {
        m_customSelected = true;
        return true;
    }
    const QPageSize::PageSizeId id = QPageSize::id(code);
    if (id == QPageSize::Custom)
        return false;
    m_customSelected = false;
    m_printer.setPageSize(QPageSize(id));
    return true;
}

void TVDBPrint::SetCustomPaper(int length, int width)
{
    m_customLength = length;
    m_customWidth = width;
    if (length <= 0 || width <= 0)
        return;
    m_printer.setPageSize(QPageSize(QSizeF(width / 10.0, length / 10.0), QPageSize::Millimeter,
                                    QString(), QPageSize::ExactMatch));
}

void TVDBPrint::ClearCustomPaper()
{
    m_customLength = 0;
    m_customWidth = 0;
}

bool TVDBPrint::landscape() const
{
    return m_printer.pageLayout().orientation() == QPageLayout::Landscape;
}

void TVDBPrint::setLandscape(bool landscape)
{
    m_printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

int TVDBPrint::printableWidthMm() const
{
    return static_cast<int>(std::lround(m_printer.pageRect(QPrinter::Millimeter).width()));
}

int TVDBPrint::printableHeightMm() const
{
    return static_cast<int>(std::lround(m_printer.pageRect(QPrinter::Millimeter).height()));
}

int TVDBPrint::dpiX() const
{
    return m_printer.logicalDpiX();
}

int TVDBPrint::dpiY() const
{
    return m_printer.logicalDpiY();
}

void TVDBPrint::selectDefaultPrinter()
{
    QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        const QList<QPrinterInfo> all = QPrinterInfo::availablePrinters();
        if (!all.isEmpty())
            info = all.first();
    }
    if (info.isNull()) {
        selectPdfPrinter();
        return;
    }
    m_pdfPrinter = false;
    m_printer.setOutputFileName(QString());
    m_printer.setOutputFormat(QPrinter::NativeFormat);
    m_printer.setPrinterName(info.printerName());
}

bool TVDBPrint::selectPrinter(const QString &name)
{
    const QPrinterInfo info = QPrinterInfo::printerInfo(name);
    if (info.isNull())
        return false;
    m_pdfPrinter = false;
    m_printer.setOutputFileName(QString());
    m_printer.setOutputFormat(QPrinter::NativeFormat);
    m_printer.setPrinterName(info.printerName());
    return true;
}

void TVDBPrint::selectPdf(const QString &path)
{
    m_pdfPrinter = false;
    m_printer.setOutputFormat(QPrinter::PdfFormat);
    m_printer.setOutputFileName(path);
}

void TVDBPrint::selectPdfPrinter()
{
    m_printer.setOutputFormat(QPrinter::PdfFormat);
    m_printer.setOutputFileName(QString());
    m_pdfPrinter = true;
}

void TVDBPrint::setPdfFolder(const QString &folder)
{
    g_pdfFolder = folder;
}

QString TVDBPrint::pdfFolder()
{
    if (!g_pdfFolder.isEmpty())
        return g_pdfFolder;
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty())
        documents = QDir::homePath();
    return documents + QStringLiteral("/TambrelPDF");
}

QString TVDBPrint::prepareOutput(const QString &docName)
{
    if (!m_pdfPrinter)
        return m_printer.outputFileName();
    const QString folder = pdfFolder();
    QDir().mkpath(folder);
    const QString stem =
        folder + QLatin1Char('/') + (docName.isEmpty() ? QStringLiteral("print") : docName) +
        QLatin1Char('-') + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    // A file of an earlier job is never overwritten.
    QString path = stem + QStringLiteral(".pdf");
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = stem + QLatin1Char('-') + QString::number(n) + QStringLiteral(".pdf");
    m_printer.setOutputFileName(path);
    return path;
}

QString TVDBPrint::currentPrinterName() const
{
    if (m_pdfPrinter)
        return PrintoutTexts::PdfPrinterName;
    if (m_printer.outputFormat() == QPrinter::PdfFormat)
        return QString();
    return m_printer.printerName();
}
