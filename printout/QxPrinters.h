#pragma once

#include "app/AppError.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <memory>
#include <optional>

// Failures of the printer information; the texts are fixed and shown as they are.
class EQxPrinter : public AppError
{
public:
    explicit EQxPrinter(const QString &message) : AppError(message) {}
};
class EQxPrinterNoPrinter : public EQxPrinter
{
public:
    using EQxPrinter::EQxPrinter;
};
class EQxPrinterNotSupported : public EQxPrinter
{
public:
    using EQxPrinter::EQxPrinter;
};
class EQxPrinterIllegalIndex : public EQxPrinter
{
public:
    using EQxPrinter::EQxPrinter;
};
class EQXPrinterRangeError : public EQxPrinter
{
public:
    using EQxPrinter::EQxPrinter;
};
class EQXPrinterPaperSizeError : public EQxPrinter
{
public:
    using EQxPrinter::EQxPrinter;
};
class EQxPrinterNoInfo : public EQxPrinter
{
public:
    using EQxPrinter::EQxPrinter;
};

// The printing system under TQxPrinter: its list of printers, its current
// printer and that printer's device settings.
class PrinterPlatform
{
public:
    struct Entry
    {
        QString name;
        quint32 attributes = 0;
    };
    struct Paper
    {
        int code = 0; // Windows paper size number
        QString name;
    };
    // The part of a printer's settings that the program changes.
    struct DeviceSettings
    {
        bool paperSupported = true;
        int paperCode = 0;
        bool customSet = false; // custom length and width hold a size
        int customLength = 0;   // 0.1 mm
        int customWidth = 0;
    };

    virtual ~PrinterPlatform() = default;
    // The installed printers in the system's order.
    virtual QList<Entry> enumerate() = 0;
    // Position of the current printer in enumerate(); -1 when there is none.
    virtual int currentIndex() = 0;
    virtual QString currentDeviceName() = 0;
    // Makes the named printer current (an empty name: the system default),
    // with the printer's own default settings.
    virtual void selectPrinter(const QString &name) = 0;
    // The papers the current printer offers, in the driver's order.
    virtual QList<Paper> papers() = 0;
    virtual DeviceSettings settings() = 0;
    virtual void applySettings(const DeviceSettings &settings) = 0;
    // The set of printers changed: the printer object is made anew.
    virtual void recreate() = 0;
};

// A snapshot of the installed printers.
class TQxAllPrintersInfo
{
public:
    explicit TQxAllPrintersInfo(PrinterPlatform &platform);

    int count() const { return static_cast<int>(m_entries.size()); }
    QString name(int i) const { return m_entries.at(i).name; }
    quint32 attributes(int i) const { return m_entries.at(i).attributes; }
    bool SameAs(const TQxAllPrintersInfo &other) const;

private:
    QList<PrinterPlatform::Entry> m_entries;
};

// What the print-out program knows of the printers: the list, the current
// printer, its papers and the paper size set on it. One per program.
class TQxPrinter : public QObject
{
    Q_OBJECT
public:
    static constexpr quint32 HiddenAttribute = 0x20;
    static constexpr int UserDefinedPaper = 256;

    explicit TQxPrinter(PrinterPlatform &platform, QObject *parent = nullptr);
    ~TQxPrinter() override;

    void CheckNoPrinter();
    QStringList GetPrinterNames();
    int GetIndex();
    void SetIndex(int index);
    int GetNumPaperSizes();
    int GetPaperNumbers(int index);
    const QStringList &GetPaperSizeNames();
    int GetPaperSizeNumber();
    void SetPaperSizeNumber(int code);
    int GetPaperSizeIndex();
    void SetPaperSizeIndex(int index);
    void ApplySettings();
    void DiscardSettings();

    bool modified() const { return m_modified; }
    const TQxAllPrintersInfo &printers() const { return *m_printers; }

    // Takes a fresh snapshot; when the printers changed, the platform's
    // printer object is made anew and printersChanged is emitted. True then.
    bool CheckPrintersChanged();
    // Looks for changes every interval while the program runs; 0 stops.
    void watchPrinterChanges(int intervalMs);

signals:
    void printersChanged();

private:
    bool hidden(int position) const;
    int usableCount() const;
    void refreshPaperInfo();
    void ensureWorkingSettings();
    void requirePaperSupport(const char *notSupported);
    void requirePaperInfo(const char *noInfo);

    PrinterPlatform &m_platform;
    std::unique_ptr<TQxAllPrintersInfo> m_printers;
    int m_cachedIndex = -1;
    QList<int> m_paperCodes;
    QStringList m_paperNames;
    bool m_paperInfo = false;
    std::optional<PrinterPlatform::DeviceSettings> m_working;
    bool m_modified = false;
    QTimer m_watch;
};
