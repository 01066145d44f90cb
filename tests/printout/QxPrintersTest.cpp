#include "QxPrinters.h"
#include "CupsPrinterPlatform.h"
#include "FakePrinterPlatform.h"
#include "PrintoutTexts.h"
#include "VDBPrint.h"

#include <QCoreApplication>
#include <QPrinterInfo>
#include <QProcess>
#include <QSignalSpy>

#include <functional>

#include <gtest/gtest.h>

namespace {

const QList<PrinterPlatform::Paper> A4B4{{9, "A4"}, {12, "B4"}};

FakePlatform::Printer printer(const QString &name, quint32 attributes = 0,
                              QList<PrinterPlatform::Paper> papers = A4B4)
{
    return FakePlatform::Printer{name, attributes, papers, true, 9};
}

// The message of the error an operation raises; empty when it raises none.
template <typename E = EQxPrinter> QString raised(const std::function<void()> &operation)
{
    try {
        operation();
    } catch (const E &e) {
        return e.message();
    }
    return QString();
}

} // namespace

TEST(QxPrinter, OnlyHiddenPrintersMeansNoPrinterForEveryOperation)
{
    FakePlatform platform;
    platform.printers = {printer("H1", TQxPrinter::HiddenAttribute),
                         printer("H2", TQxPrinter::HiddenAttribute | 0x40)};
    TQxPrinter qx(platform);
    const QString noPrinter = QStringLiteral("TQxPrinter.CheckNoPrinter: No Printer");
    const std::pair<const char *, std::function<void()>> operations[] = {
        {"CheckNoPrinter", [&] { qx.CheckNoPrinter(); }},
        {"GetPrinterNames", [&] { qx.GetPrinterNames(); }},
        {"GetIndex", [&] { qx.GetIndex(); }},
        {"SetIndex", [&] { qx.SetIndex(0); }},
        {"GetNumPaperSizes", [&] { qx.GetNumPaperSizes(); }},
        {"GetPaperNumbers", [&] { qx.GetPaperNumbers(0); }},
        {"GetPaperSizeNames", [&] { qx.GetPaperSizeNames(); }},
        {"GetPaperSizeNumber", [&] { qx.GetPaperSizeNumber(); }},
        {"SetPaperSizeNumber", [&] { qx.SetPaperSizeNumber(9); }},
        {"GetPaperSizeIndex", [&] { qx.GetPaperSizeIndex(); }},
        {"SetPaperSizeIndex", [&] { qx.SetPaperSizeIndex(0); }},
    };
    for (const auto &[name, op] : operations)
        EXPECT_EQ(raised<EQxPrinterNoPrinter>(op), noPrinter) << name;
    // The two that do not check.
    EXPECT_EQ(raised(std::function<void()>([&] { qx.ApplySettings(); })), QString());
    EXPECT_EQ(raised(std::function<void()>([&] { qx.DiscardSettings(); })), QString());
}

TEST(QxPrinter, HiddenPrintersAreSkippedInNamesAndIndices)
{
    FakePlatform platform;
    platform.printers = {printer("P1"), printer("Hidden", TQxPrinter::HiddenAttribute),
                         printer("P2")};
    TQxPrinter qx(platform);
    EXPECT_EQ(qx.GetPrinterNames(), (QStringList{"P1", "P2"}));
    qx.SetIndex(1);
    EXPECT_EQ(platform.selected, QStringList{"P2"});
    EXPECT_EQ(platform.current, 2);
    EXPECT_EQ(qx.GetIndex(), 1);
    // -1: the system default printer.
    qx.SetIndex(-1);
    EXPECT_EQ(platform.selected.last(), QString());
    EXPECT_EQ(qx.GetIndex(), 0);
    // The current printer hidden: the index is illegal.
    platform.current = 1;
    EXPECT_EQ(raised<EQxPrinterIllegalIndex>([&] { qx.GetIndex(); }),
              "TQxPrinter.GetIndex: Printers.PrinterIndex is Illegal");
    platform.current = -1;
    EXPECT_EQ(qx.GetIndex(), -1);
}

TEST(QxPrinter, SetIndexOutOfRange)
{
    FakePlatform platform;
    platform.printers = {printer("P1"), printer("H", TQxPrinter::HiddenAttribute), printer("P2")};
    TQxPrinter qx(platform);
    for (int index : {-2, 2, 3, -100}) {
        EXPECT_EQ(raised<EQXPrinterRangeError>([&] { qx.SetIndex(index); }),
                  "TQxPrinter.SetIndex: Index is out of Range")
            << index;
    }
    EXPECT_TRUE(platform.selected.isEmpty());
    // The index already current changes nothing.
    qx.SetIndex(0);
    EXPECT_TRUE(platform.selected.isEmpty());
}

TEST(QxPrinter, PaperCodesNamesAndIndex)
{
    FakePlatform platform;
    platform.printers = {printer("P1", 0, {{9, "A4"}, {12, "B4"}, {256, "User"}}),
                         printer("P2", 0, {{13, "B5"}, {12, "B4"}})};
    platform.device = {true, 12};
    TQxPrinter qx(platform);
    EXPECT_EQ(qx.GetNumPaperSizes(), 3);
    EXPECT_EQ(qx.GetPaperSizeNames(), (QStringList{"A4", "B4", "User"}));
    EXPECT_EQ(qx.GetPaperNumbers(2), 256);
    EXPECT_EQ(qx.GetPaperSizeNumber(), 12);
    EXPECT_EQ(qx.GetPaperSizeIndex(), 1);
    for (int index : {-1, 3}) {
        EXPECT_EQ(raised<EQXPrinterRangeError>([&] { qx.GetPaperNumbers(index); }),
                  "TQxPrinter.GetPaperNumbers: Index is our of range");
        EXPECT_EQ(raised<EQXPrinterPaperSizeError>([&] { qx.SetPaperSizeIndex(index); }),
                  "TQxPrinter:SetPaperSizeIndex: No such PaperSize Index");
    }
    // The paper list is read once per printer.
    EXPECT_EQ(platform.paperReads, 1);
    qx.SetPaperSizeIndex(0);
    EXPECT_EQ(qx.GetPaperSizeNumber(), 9);
    EXPECT_TRUE(qx.modified());
    qx.ApplySettings();
    ASSERT_EQ(platform.applied.size(), 1);
    EXPECT_EQ(platform.applied.first().paperCode, 9);
    EXPECT_FALSE(qx.modified());

    // Another printer: its papers; a code it does not have has no index.
    qx.SetIndex(1);
    EXPECT_EQ(qx.GetPaperSizeNames(), (QStringList{"B5", "B4"}));
    qx.SetPaperSizeNumber(9);
    EXPECT_EQ(raised<EQXPrinterPaperSizeError>([&] { qx.GetPaperSizeIndex(); }),
              "TQxPrinter.GetPaperSizeIndex: Cannot Get Paper Index");
}

TEST(QxPrinter, SettingTheHeldCodeChangesNothing)
{
    FakePlatform platform;
    platform.printers = {printer("P1")};
    platform.device = {true, 9, true, 1500, 1000};
    TQxPrinter qx(platform);
    qx.SetPaperSizeNumber(9);
    EXPECT_FALSE(qx.modified());
    qx.ApplySettings();
    EXPECT_TRUE(platform.applied.isEmpty());

    // 256 keeps the custom length and width; any other code forgets them.
    qx.SetPaperSizeNumber(256);
    qx.ApplySettings();
    ASSERT_EQ(platform.applied.size(), 1);
    EXPECT_TRUE(platform.applied.last().customSet);
    EXPECT_EQ(platform.applied.last().customLength, 1500);
    EXPECT_EQ(platform.applied.last().customWidth, 1000);
    qx.SetPaperSizeNumber(12);
    qx.ApplySettings();
    ASSERT_EQ(platform.applied.size(), 2);
    EXPECT_EQ(platform.applied.last().paperCode, 12);
    EXPECT_FALSE(platform.applied.last().customSet);

    // Discarded settings are not applied.
    qx.SetPaperSizeNumber(9);
    qx.DiscardSettings();
    qx.ApplySettings();
    EXPECT_EQ(platform.applied.size(), 2);
}

TEST(QxPrinter, NoPaperInformationAndNoPaperSupport)
{
    FakePlatform platform;
    platform.printers = {printer("NoPapers", 0, {}), printer("Fixed")};
    platform.printers[1].paperSupported = false;
    TQxPrinter qx(platform);
    const std::pair<std::function<void()>, const char *> noInfo[] = {
        {[&] { qx.GetNumPaperSizes(); },
         "TQxPrinter.GetNumPaperSizes: No Papersize Info Available"},
        {[&] { qx.GetPaperNumbers(0); },
         "TQxPrinter.GetNumPaperSizeNumbers: No Papersize Info Available"},
        {[&] { qx.GetPaperSizeNames(); },
         "TQxPrinter.GetPaperSizeNames: No Papersize Info Available"},
        {[&] { qx.GetPaperSizeIndex(); },
         "TQxPrinter.GetPaperSizeIndex: No Papersize Info Available"},
        {[&] { qx.SetPaperSizeIndex(0); },
         "TQxPrinter.SetPaperSizeIndex: No Papersize Info Available"},
    };
    for (const auto &[op, message] : noInfo)
        EXPECT_EQ(raised<EQxPrinterNoInfo>(op), QString::fromLatin1(message));

    qx.SetIndex(1);
    const std::pair<std::function<void()>, const char *> notSupported[] = {
        {[&] { qx.GetPaperSizeNumber(); },
         "TQxPrinter.GetPaperSizeNumber: PaperSize is not Supported"},
        {[&] { qx.SetPaperSizeNumber(9); },
         "TQxPrinter.SetPaperSizeNumber: PaperSize is not Supported"},
        {[&] { qx.GetNumPaperSizes(); }, "TQxPrinter.GetNumPaperSize: PaperSize is not Supported"},
        {[&] { qx.GetPaperNumbers(0); },
         "TQxPrinter.GetPaperSizeNumber: PaperSize is not Supported"},
        {[&] { qx.GetPaperSizeNames(); },
         "TQxPrinter.GetPaperSizeNames: PaperSize is not Supported"},
        {[&] { qx.GetPaperSizeIndex(); },
         "TQxPrinter.GetPaperSizeIndex: PaperSize is not Supported"},
        {[&] { qx.SetPaperSizeIndex(0); },
         "TQxPrinter.SetPaperSizeIndex: PaperSize is not Supported"},
    };
    for (const auto &[op, message] : notSupported)
        EXPECT_EQ(raised<EQxPrinterNotSupported>(op), QString::fromLatin1(message));
}

TEST(QxPrinter, PrinterChangesReplaceTheSnapshot)
{
    FakePlatform platform;
    platform.printers = {printer("P1"), printer("P2")};
    TQxPrinter qx(platform);
    QSignalSpy changed(&qx, &TQxPrinter::printersChanged);
    EXPECT_FALSE(qx.CheckPrintersChanged());
    EXPECT_EQ(platform.recreated, 0);

    qx.SetPaperSizeNumber(12); // pending, and dropped by the change
    const struct
    {
        const char *what;
        std::function<void()> change;
        QStringList names;
    } cases[] = {
        {"added", [&] { platform.printers << printer("P3"); }, {"P1", "P2", "P3"}},
        {"removed", [&] { platform.printers.removeAt(1); }, {"P1", "P3"}},
        {"hidden", [&] { platform.printers[0].attributes = TQxPrinter::HiddenAttribute; }, {"P3"}},
        {"renamed", [&] { platform.printers[1].name = "P4"; }, {"P4"}},
    };
    int expected = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        c.change();
        EXPECT_TRUE(qx.CheckPrintersChanged());
        EXPECT_EQ(changed.size(), ++expected);
        EXPECT_EQ(platform.recreated, expected);
        EXPECT_EQ(qx.GetPrinterNames(), c.names);
        EXPECT_FALSE(qx.modified());
    }
    qx.ApplySettings();
    EXPECT_TRUE(platform.applied.isEmpty());
}

namespace {

bool cupsRunning()
{
    return !qEnvironmentVariable("TAMBREL_TEST_PRINTER").isEmpty();
}

int run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000))
        return -1;
    return p.exitCode();
}

} // namespace

TEST(CupsPrinters, ThePdfPrinterComesLastWithItsPapers)
{
    CupsPrinterPlatform platform(VDBPrint());
    TQxPrinter qx(platform);
    const QStringList names = qx.GetPrinterNames();
    ASSERT_FALSE(names.isEmpty());
    EXPECT_EQ(names.last(), PrintoutTexts::PdfPrinterName);
    EXPECT_EQ(names.mid(0, names.size() - 1), QPrinterInfo::availablePrinterNames());
    qx.SetIndex(static_cast<int>(names.size()) - 1);
    EXPECT_TRUE(VDBPrint().pdfPrinterSelected());
    EXPECT_EQ(qx.GetIndex(), names.size() - 1);
    QList<int> codes;
    for (int i = 0; i < qx.GetNumPaperSizes(); ++i)
        codes << qx.GetPaperNumbers(i);
    EXPECT_EQ(codes, (QList<int>{8, 9, 11, 12, 13, 1, 5, 256}));
    EXPECT_EQ(qx.GetPaperSizeNames().at(1), QStringLiteral("A4"));
    EXPECT_EQ(qx.GetPaperSizeNames().last(), PrintoutTexts::UserDefinedPaperName);
    // A new printer starts on A4; B4 goes to the printer object.
    EXPECT_EQ(qx.GetPaperSizeNumber(), 9);
    qx.SetPaperSizeIndex(3);
    qx.ApplySettings();
    EXPECT_EQ(VDBPrint().GetPaperSize(), 12);
    EXPECT_EQ(qx.GetPaperSizeIndex(), 3);
    qx.SetIndex(-1);
    VDBPrint().selectDefaultPrinter();
}

TEST(CupsPrinters, QueueAndItsPapersAsCupsListsThem)
{
    if (!cupsRunning())
        GTEST_SKIP() << "TAMBREL_TEST_PRINTER is not set";
    const QString queue = qEnvironmentVariable("TAMBREL_TEST_PRINTER");
    CupsPrinterPlatform platform(VDBPrint());
    TQxPrinter qx(platform);
    const QStringList names = qx.GetPrinterNames();
    const int index = static_cast<int>(names.indexOf(queue));
    ASSERT_GE(index, 0);
    qx.SetIndex(index);
    EXPECT_EQ(qx.GetIndex(), index);
    EXPECT_EQ(VDBPrint().currentPrinterName(), queue);
    const QPrinterInfo info = QPrinterInfo::printerInfo(queue);
    QList<int> expected;
    for (const QPageSize &size : info.supportedPageSizes()) {
        if (size.windowsId() > 0 && size.windowsId() != 256)
            expected << size.windowsId();
    }
    if (info.supportsCustomPageSizes())
        expected << 256;
    QList<int> codes;
    for (int i = 0; i < qx.GetNumPaperSizes(); ++i)
        codes << qx.GetPaperNumbers(i);
    EXPECT_EQ(codes, expected);
    ASSERT_TRUE(codes.contains(9));
    qx.SetPaperSizeNumber(9);
    qx.ApplySettings();
    EXPECT_EQ(VDBPrint().GetPaperSize(), 9);
    VDBPrint().selectDefaultPrinter();
}

TEST(CupsPrinters, PrintersAddedAndRemovedWhileRunningAreNoticed)
{
    if (!cupsRunning())
        GTEST_SKIP() << "TAMBREL_TEST_PRINTER is not set";
    const QString extra = QStringLiteral("TambrelExtra%1").arg(QCoreApplication::applicationPid());
    CupsPrinterPlatform platform(VDBPrint());
    TQxPrinter qx(platform);
    QSignalSpy changed(&qx, &TQxPrinter::printersChanged);
    ASSERT_FALSE(qx.GetPrinterNames().contains(extra));
    ASSERT_EQ(run("lpadmin", {"-p", extra, "-E", "-v", "cups-pdf:/", "-m",
                              "lsb/usr/cups-pdf/CUPS-PDF_opt.ppd"}),
              0);
    const bool added = qx.CheckPrintersChanged();
    const QStringList withExtra = qx.GetPrinterNames();
    // The printer in use is the new one; then it goes away.
    qx.SetIndex(static_cast<int>(withExtra.indexOf(extra)));
    const QString inUse = VDBPrint().currentPrinterName();
    run("lpadmin", {"-x", extra});
    const bool removed = qx.CheckPrintersChanged();
    EXPECT_TRUE(added);
    EXPECT_TRUE(withExtra.contains(extra));
    EXPECT_EQ(inUse, extra);
    EXPECT_TRUE(removed);
    EXPECT_FALSE(qx.GetPrinterNames().contains(extra));
    EXPECT_EQ(changed.size(), 2);
    // The printer object fell back to a printer that exists.
    EXPECT_NE(VDBPrint().currentPrinterName(), extra);
    EXPECT_GE(qx.GetIndex(), 0);
    EXPECT_FALSE(qx.CheckPrintersChanged());
    VDBPrint().selectDefaultPrinter();
}
