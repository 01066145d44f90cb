#include "QxPrinters.h"

namespace {

QString text(const char *message)
{
    return QString::fromLatin1(message);
}

} // namespace

TQxAllPrintersInfo::TQxAllPrintersInfo(PrinterPlatform &platform) : m_entries(platform.enumerate())
{
}

bool TQxAllPrintersInfo::SameAs(const TQxAllPrintersInfo &other) const
{
    if (count() != other.count())
        return false;
    for (int i = 0; i < count(); ++i) {
        if (m_entries.at(i).name != other.m_entries.at(i).name ||
            m_entries.at(i).attributes != other.m_entries.at(i).attributes)
            return false;
    }
    return true;
}

TQxPrinter::TQxPrinter(PrinterPlatform &platform, QObject *parent)
    : QObject(parent), m_platform(platform),
      m_printers(std::make_unique<TQxAllPrintersInfo>(platform))
{
    connect(&m_watch, &QTimer::timeout, this, [this] { CheckPrintersChanged(); });
}

TQxPrinter::~TQxPrinter() = default;

bool TQxPrinter::hidden(int position) const
{
    return (m_printers->attributes(position) & HiddenAttribute) != 0;
}

int TQxPrinter::usableCount() const
{
    int n = 0;
    for (int i = 0; i < m_printers->count(); ++i)
        n += hidden(i) ? 0 : 1;
    return n;
}

void TQxPrinter::CheckNoPrinter()
{
    if (usableCount() == 0) {
        m_cachedIndex = -1;
        throw EQxPrinterNoPrinter(text("TQxPrinter.CheckNoPrinter: No Printer"));
    }
}

QStringList TQxPrinter::GetPrinterNames()
{
    CheckNoPrinter();
    QStringList names;
    for (int i = 0; i < m_printers->count(); ++i) {
        if (!hidden(i))
            names << m_printers->name(i);
    }
    return names;
}

int TQxPrinter::GetIndex()
{
    CheckNoPrinter();
    const int current = m_platform.currentIndex();
    if (current == -1)
        return -1;
    if (current < m_printers->count() && hidden(current))
        throw EQxPrinterIllegalIndex(text("TQxPrinter.GetIndex: Printers.PrinterIndex is Illegal"));
    const QString device = m_platform.currentDeviceName();
    int position = current;
    for (int i = 0; i < m_printers->count(); ++i) {
        if (m_printers->name(i) == device) {
            position = i;
            break;
        }
    }
    int hiddenBefore = 0;
    for (int i = 0; i < position && i < m_printers->count(); ++i)
        hiddenBefore += hidden(i) ? 1 : 0;
    return position - hiddenBefore;
}

void TQxPrinter::SetIndex(int index)
{
    CheckNoPrinter();
    if (index < -1)
        throw EQXPrinterRangeError(text("TQxPrinter.SetIndex: Index is out of Range"));
    if (index == GetIndex())
        return;
    QString name;
    if (index >= 0) {
        int usable = -1;
        for (int i = 0; i < m_printers->count(); ++i) {
            if (!hidden(i) && ++usable == index) {
                name = m_printers->name(i);
                break;
            }
        }
        if (usable != index)
            throw EQXPrinterRangeError(text("TQxPrinter.SetIndex: Index is out of Range"));
    }
    m_platform.selectPrinter(name);
    m_cachedIndex = -1;
    refreshPaperInfo();
    DiscardSettings();
}

void TQxPrinter::refreshPaperInfo()
{
    const int current = m_platform.currentIndex();
    if (current == m_cachedIndex)
        return;
    m_cachedIndex = current;
    ensureWorkingSettings();
    m_paperCodes.clear();
    m_paperNames.clear();
    m_paperInfo = false;
    const QList<PrinterPlatform::Paper> papers = m_platform.papers();
    for (const PrinterPlatform::Paper &p : papers) {
        m_paperCodes << p.code;
        m_paperNames << p.name.left(64);
    }
    m_paperInfo = !papers.isEmpty();
}

void TQxPrinter::ensureWorkingSettings()
{
    if (!m_working)
        m_working = m_platform.settings();
}

void TQxPrinter::requirePaperSupport(const char *notSupported)
{
    ensureWorkingSettings();
    if (!m_working->paperSupported)
        throw EQxPrinterNotSupported(text(notSupported));
}

void TQxPrinter::requirePaperInfo(const char *noInfo)
{
    if (!m_paperInfo)
        throw EQxPrinterNoInfo(text(noInfo));
}

int TQxPrinter::GetNumPaperSizes()
{
    CheckNoPrinter();
    refreshPaperInfo();
    requirePaperSupport("TQxPrinter.GetNumPaperSize: PaperSize is not Supported");
    requirePaperInfo("TQxPrinter.GetNumPaperSizes: No Papersize Info Available");
    return static_cast<int>(m_paperCodes.size());
}

int TQxPrinter::GetPaperNumbers(int index)
{
    CheckNoPrinter();
    refreshPaperInfo();
    requirePaperSupport("TQxPrinter.GetPaperSizeNumber: PaperSize is not Supported");
    requirePaperInfo("TQxPrinter.GetNumPaperSizeNumbers: No Papersize Info Available");
    if (index < 0 || index >= m_paperCodes.size())
        throw EQXPrinterRangeError(text("TQxPrinter.GetPaperNumbers: Index is our of range"));
    return m_paperCodes.at(index);
}

const QStringList &TQxPrinter::GetPaperSizeNames()
{
    CheckNoPrinter();
    refreshPaperInfo();
    requirePaperSupport("TQxPrinter.GetPaperSizeNames: PaperSize is not Supported");
    requirePaperInfo("TQxPrinter.GetPaperSizeNames: No Papersize Info Available");
    return m_paperNames;
}

int TQxPrinter::GetPaperSizeNumber()
{
    CheckNoPrinter();
    requirePaperSupport("TQxPrinter.GetPaperSizeNumber: PaperSize is not Supported");
    return m_working->paperCode;
}

void TQxPrinter::SetPaperSizeNumber(int code)
{
    CheckNoPrinter();
    refreshPaperInfo();
    requirePaperSupport("TQxPrinter.SetPaperSizeNumber: PaperSize is not Supported");
    if (m_working->paperCode == code)
        return;
    m_working->paperCode = code;
    if (code != UserDefinedPaper) {
        m_working->customSet = false;
        m_working->customLength = 0;
        m_working->customWidth = 0;
    }
    m_modified = true;
}

int TQxPrinter::GetPaperSizeIndex()
{
    CheckNoPrinter();
    refreshPaperInfo();
    requirePaperSupport("TQxPrinter.GetPaperSizeIndex: PaperSize is not Supported");
    requirePaperInfo("TQxPrinter.GetPaperSizeIndex: No Papersize Info Available");
    const qsizetype i = m_paperCodes.indexOf(GetPaperSizeNumber());
    if (i < 0)
        throw EQXPrinterPaperSizeError(
            text("TQxPrinter.GetPaperSizeIndex: Cannot Get Paper Index"));
    return static_cast<int>(i);
}

void TQxPrinter::SetPaperSizeIndex(int index)
{
    CheckNoPrinter();
    refreshPaperInfo();
    requirePaperSupport("TQxPrinter.SetPaperSizeIndex: PaperSize is not Supported");
    requirePaperInfo("TQxPrinter.SetPaperSizeIndex: No Papersize Info Available");
    if (index < 0 || index >= m_paperCodes.size())
        throw EQXPrinterPaperSizeError(
            text("TQxPrinter:SetPaperSizeIndex: No such PaperSize Index"));
    SetPaperSizeNumber(m_paperCodes.at(index));
}

void TQxPrinter::ApplySettings()
{
    if (!m_modified || !m_working)
        return;
    m_platform.applySettings(*m_working);
    DiscardSettings();
    m_cachedIndex = -1;
}

void TQxPrinter::DiscardSettings()
{
    m_working.reset();
    m_modified = false;
}

bool TQxPrinter::CheckPrintersChanged()
{
    auto fresh = std::make_unique<TQxAllPrintersInfo>(m_platform);
    if (fresh->SameAs(*m_printers))
        return false;
    m_platform.recreate();
    m_printers = std::move(fresh);
    m_cachedIndex = -1;
    DiscardSettings();
    emit printersChanged();
    return true;
}

void TQxPrinter::watchPrinterChanges(int intervalMs)
{
    if (intervalMs <= 0)
        m_watch.stop();
    else
        m_watch.start(intervalMs);
}
