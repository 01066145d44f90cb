#include "PrintJob.h"
#include "NowPrintingdlg.h"
#include "PdfWords.h"
#include "PrintCommandFile.h"
#include "PrintTool.h"
#include "Printout.h"
#include "ScriptedMessages.h"
#include "StartPrintDlg.h"
#include "TestFiles.h"
#include "VDBPrint.h"
#include "text/ShiftJis.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <functional>

#include <gtest/gtest.h>

namespace {

// Finds the progress dialog once it is up and hands it to the test.
class DialogWatcher
{
public:
    explicit DialogWatcher(std::function<void(TNowPrintingdlg *)> onFound)
        : m_onFound(std::move(onFound))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto *dlg = qobject_cast<TNowPrintingdlg *>(QApplication::activeModalWidget());
            if (!dlg || dlg == m_seen)
                return;
            m_seen = dlg;
            m_onFound(dlg);
        });
        m_timer.start(5);
    }

private:
    QTimer m_timer;
    TNowPrintingdlg *m_seen = nullptr;
    std::function<void(TNowPrintingdlg *)> m_onFound;
};

QByteArray sjis(const QString &text)
{
    return ShiftJis::encode(text);
}

// A page of one word at a place of its own per page.
QByteArray pages(const QString &prefix, int count, int y)
{
    QByteArray out;
    for (int i = 1; i <= count; ++i) {
        if (i > 1)
            out += "E\r\n";
        out += "T100;" + QByteArray::number(y) + ";" + sjis(prefix + QString::number(i)) +
               ";;10;;0;1;\r\n\r\n";
    }
    return out;
}

class PrintJobTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetPrintoutState();
        TStartPrintDlg::setExecutor(nullptr);
        out = dir.filePath("out.pdf");
        VDBPrint().selectPdf(out);
        VDBPrint().printer().setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Point);
        ASSERT_TRUE(VDBPrint().SetPaperSize(9));
        VDBPrint().setLandscape(false);
    }
    void TearDown() override
    {
        TStartPrintDlg::setExecutor(nullptr);
        ResetPrintoutState();
    }

    QString file(const QString &name, const QByteArray &bytes)
    {
        return WriteTestFile(dir, name, bytes);
    }

    qint16 print(const QString &form, const QString &data, quint8 printForm, int paper = 9,
                 int top = 0, int left = 0, quint8 showDialog = 0)
    {
        return PrintCommandFile(form, data, QStringLiteral("只今、印刷中"), paper, 0, top, left,
                                printForm, showDialog);
    }

    QTemporaryDir dir;
    QString out;
    ScriptedMessages messages;
};

} // namespace

TEST_F(PrintJobTest, TextLandsWhereTheTransformPutsIt)
{
    // The PDF printer: 1200 dpi, A4, margins of 10 pt, printable 202.9 x 289.9 mm,
    // which counts as 203 x 290 whole millimetres.
    ASSERT_EQ(VDBPrint().dpiX(), 1200);
    ASSERT_EQ(VDBPrint().printableWidthMm(), 203);
    ASSERT_EQ(VDBPrint().printableHeightMm(), 290);
    const QString data =
        file("d.tmp", "T480;600;ABC;;10;;0;1;\r\n\r\n"
                      "T1000;2000;" +
                          sjis(QStringLiteral("日本語")) +
                          ";;12;B;0;1;\r\n\r\n"
                          "T480;1000;" +
                          sjis(QStringLiteral("ゴシック")) + ";ＭＳ Ｐゴシック;9;;0;1;\r\n\r\n");
    EXPECT_EQ(print({}, data, 0, 9, 30, 50), -1);
    EXPECT_TRUE(messages.shown().isEmpty()) << messages.texts().join(' ').toStdString();
    const PdfContent pdf = readPdf(out);
    EXPECT_EQ(pdf.pages, 1);
    // Page offset x = 50 - rnd((210 - 203) / 2) * 10 = 10, y = 30 - 40 = -10 (0.1 mm).
    // x: rnd(480 * 1200 / 254) + 1 + rnd(10 * 1200 / 254) = 2268 + 1 + 47 = 2316 dots,
    // 138.96 pt from the printable area's edge, which is 10 pt into the paper.
    // y: 2835 + 1 - 47 = 2789 dots = 167.34 pt, + 10.
    const double tolerance = 0.1 * PointsPerMm;
    const PdfWord *abc = pdf.find(QStringLiteral("ABC"));
    ASSERT_NE(abc, nullptr);
    EXPECT_NEAR(abc->xMin, 148.96, tolerance);
    EXPECT_NEAR(abc->yMin, 177.34, tolerance);
    // x: rnd(4724.41) + 1 + 47 = 4772 dots = 286.32 pt; y: rnd(9448.82) + 1 - 47 = 9403 dots
    // = 564.18 pt.
    const PdfWord *jp = pdf.find(QStringLiteral("日本語"));
    ASSERT_NE(jp, nullptr);
    EXPECT_NEAR(jp->xMin, 296.32, tolerance);
    EXPECT_NEAR(jp->yMin, 574.18, tolerance);
    // Another face: the same x. (Its top is where the face's own ascent puts it,
    // which the PDF's font descriptor and the font engine measure differently.)
    const PdfWord *gothic = pdf.find(QStringLiteral("ゴシック"));
    ASSERT_NE(gothic, nullptr);
    EXPECT_NEAR(gothic->xMin, abc->xMin, tolerance);
    EXPECT_GT(gothic->yMin, abc->yMin + 100 * PointsPerMm * 0.4);
}

TEST_F(PrintJobTest, ThreeSlipsMakeThreePagesWithTheirPageMessages)
{
    const QString data = file("d.tmp", pages(QStringLiteral("D"), 3, 500));
    QStringList pageMessages;
    QString jobMessage;
    DialogWatcher watcher([&](TNowPrintingdlg *dlg) {
        jobMessage = dlg->PrintMessage->text();
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("印刷"));
        EXPECT_EQ(dlg->CancelButton->text(), QStringLiteral("中止"));
        QObject::connect(dlg, &TNowPrintingdlg::pageShown,
                         [&, dlg] { pageMessages << dlg->PageMessage->text(); });
    });
    EXPECT_EQ(print({}, data, 0), -1);
    EXPECT_EQ(LastPrintOutcome(), PrintOutcome::Printed);
    EXPECT_EQ(jobMessage, QStringLiteral("只今、印刷中"));
    EXPECT_EQ(pageMessages,
              (QStringList{QStringLiteral("(1ﾍﾟｰｼﾞ印刷中)"), QStringLiteral("(2ﾍﾟｰｼﾞ印刷中)"),
                           QStringLiteral("(3ﾍﾟｰｼﾞ印刷中)")}));
    const PdfContent pdf = readPdf(out);
    ASSERT_EQ(pdf.pages, 3);
    for (int p = 1; p <= 3; ++p)
        EXPECT_EQ(pdf.wordsOnPage(p), QStringList{QStringLiteral("D%1").arg(p)});
}

TEST_F(PrintJobTest, FormPagesCycleUnderTheDataPages)
{
    const QString form = file("f.tmp", pages(QStringLiteral("F"), 2, 100));
    struct Case
    {
        int dataPages;
        QList<QStringList> expected;
    };
    const Case cases[] = {
        // Two form pages, five data pages: six pages, the last with form page 2 alone.
        {5, {{"F1", "D1"}, {"F2", "D2"}, {"F1", "D3"}, {"F2", "D4"}, {"F1", "D5"}, {"F2"}}},
        {2, {{"F1", "D1"}, {"F2", "D2"}}},
        {1, {{"F1", "D1"}, {"F2"}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.dataPages);
        const QString data = file("d.tmp", pages(QStringLiteral("D"), c.dataPages, 500));
        EXPECT_EQ(print(form, data, 1), -1);
        const PdfContent pdf = readPdf(out);
        ASSERT_EQ(pdf.pages, c.expected.size());
        for (int p = 1; p <= pdf.pages; ++p)
            EXPECT_EQ(pdf.wordsOnPage(p), c.expected[p - 1]) << p;
    }
}

TEST_F(PrintJobTest, PageRangePrintsThosePagesOverTheirFormPages)
{
    const QString data = file("d.tmp", pages(QStringLiteral("D"), 4, 500));
    struct Case
    {
        int formPages;
        QList<QStringList> expected;
    };
    const Case cases[] = {
        {1, {{"F1", "D2"}, {"F1", "D3"}}},
        {2, {{"F2", "D2"}, {"F1", "D3"}}},
        {0, {{"D2"}, {"D3"}}}, // no form
    };
    int offered = 0;
    TStartPrintDlg::setExecutor([&](QPrinter &printer, int minPage, int maxPage) {
        EXPECT_EQ(minPage, 1);
        offered = maxPage;
        EXPECT_EQ(printer.fromPage(), 1);
        EXPECT_EQ(printer.toPage(), maxPage);
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(2, 3);
        return true;
    });
    for (const Case &c : cases) {
        SCOPED_TRACE(c.formPages);
        const QString form =
            c.formPages ? file("f.tmp", pages(QStringLiteral("F"), c.formPages, 100)) : QString();
        EXPECT_EQ(print(form, data, 1, 9, 0, 0, 1), -1);
        EXPECT_EQ(offered, 4);
        const PdfContent pdf = readPdf(out);
        ASSERT_EQ(pdf.pages, c.expected.size());
        for (int p = 1; p <= pdf.pages; ++p)
            EXPECT_EQ(pdf.wordsOnPage(p), c.expected[p - 1]) << p;
    }
}

TEST_F(PrintJobTest, PrintFormZeroPrintsNoFormButItsMAndPRecordsAct)
{
    // M: top 200, left 300 replace the offsets; P: 200 x 150 mm custom paper.
    const QString form = file("f.tmp", "P2000;1500;\r\nM200;300;\r\nT10;10;FORM;;10;;0;1;\r\n"
                                       "M900;900;\r\n");
    const QString data = file("d.tmp", "T0;0;DATA;;10;;0;1;\r\n");
    EXPECT_EQ(print(form, data, 0, 256, 55, 66), -1);
    EXPECT_TRUE(messages.shown().isEmpty()) << messages.texts().join(' ').toStdString();
    const PdfContent pdf = readPdf(out);
    ASSERT_EQ(pdf.pages, 1);
    EXPECT_NEAR(pdf.pageWidth, 200 * PointsPerMm, 0.5);
    EXPECT_NEAR(pdf.pageHeight, 150 * PointsPerMm, 0.5);
    EXPECT_EQ(pdf.wordsOnPage(1), QStringList{QStringLiteral("DATA")});
    // Printable 200 - 7.06 = 192.9 -> 193 mm: offset x = 300 - rnd(3.5) * 10 = 260;
    // 150 - 7.06 = 142.9 -> 143: offset y = 200 - 40 = 160.
    // x = 0 + 1 + rnd(260 * 1200 / 254 = 1228.35) = 1229 dots = 73.74 pt, + 10.
    // y = 0 + 1 + rnd(755.9) = 757 dots = 45.42 pt, + 10.
    const PdfWord *w = pdf.find(QStringLiteral("DATA"));
    ASSERT_NE(w, nullptr);
    EXPECT_NEAR(w->xMin, 83.74, 0.1 * PointsPerMm);
    EXPECT_NEAR(w->yMin, 55.42, 0.1 * PointsPerMm);
}

TEST_F(PrintJobTest, CancelDuringTheSecondPage)
{
    const QString data = file("d.tmp", pages(QStringLiteral("D"), 4, 500));
    messages.answer(MsgResult::Yes);
    DialogWatcher watcher([&](TNowPrintingdlg *dlg) {
        QObject::connect(dlg, &TNowPrintingdlg::pageShown, [dlg](int page) {
            if (page == 2)
                dlg->CancelButton->click();
        });
    });
    EXPECT_EQ(print({}, data, 0), 0);
    EXPECT_EQ(LastPrintOutcome(), PrintOutcome::Cancelled);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("印刷を中止してよろしいですか?")});
    EXPECT_EQ(messages.shown().first().buttons, MsgButton::Yes | MsgButton::No);
    EXPECT_FALSE(QFile::exists(out));
}

TEST_F(PrintJobTest, AnsweringNoGoesOnPrinting)
{
    const QString data = file("d.tmp", pages(QStringLiteral("D"), 3, 500));
    messages.answer(MsgResult::No);
    DialogWatcher watcher([&](TNowPrintingdlg *dlg) {
        QObject::connect(dlg, &TNowPrintingdlg::pageShown, [dlg](int page) {
            if (page == 2) {
                QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                QApplication::sendEvent(dlg, &esc);
            }
        });
    });
    EXPECT_EQ(print({}, data, 0), -1);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("印刷を中止してよろしいですか?")});
    EXPECT_EQ(readPdf(out).pages, 3);
}

TEST_F(PrintJobTest, StartFailuresAreToldAndPrintNothing)
{
    const QString data = file("d.tmp", pages(QStringLiteral("D"), 1, 500));
    const QString missing = dir.filePath("missing.tmp");
    const QString notFound = QLatin1Char('"') + missing + QStringLiteral("\"が見つかりません!");
    struct Case
    {
        QString form;
        QString data;
        QStringList texts;
    };
    const Case cases[] = {
        {missing, data, {notFound}},
        {{}, {}, {QStringLiteral("印刷ﾃﾞｰﾀﾌｧｲﾙの指定がありません!")}},
        // Counting the pages for the dialog tells it first.
        {{}, missing, {notFound, notFound}},
    };
    for (const Case &c : cases) {
        messages.clear();
        QFile::remove(out);
        bool stayedOpen = false;
        // The dialog stays until the user closes it; its abort button does.
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            auto *dlg = qobject_cast<TNowPrintingdlg *>(QApplication::activeModalWidget());
            if (dlg && dlg->jobDone() && dlg->isVisible()) {
                stayedOpen = true;
                dlg->CancelButton->click();
            }
        });
        closer.start(5);
        EXPECT_EQ(print(c.form, c.data, 1), -1);
        EXPECT_EQ(LastPrintOutcome(), PrintOutcome::NotStarted);
        EXPECT_TRUE(stayedOpen);
        EXPECT_EQ(messages.texts(), c.texts);
        EXPECT_FALSE(QFile::exists(out));
    }
}

TEST_F(PrintJobTest, CancellingThePrinterDialogPrintsNothing)
{
    const QString data = file("d.tmp", pages(QStringLiteral("D"), 2, 500));
    TStartPrintDlg::setExecutor([](QPrinter &, int, int) { return false; });
    EXPECT_EQ(print({}, data, 0, 9, 0, 0, 1), 0);
    EXPECT_EQ(LastPrintOutcome(), PrintOutcome::Cancelled);
    EXPECT_FALSE(QFile::exists(out));
}

namespace {

// The PDF files cups-pdf has written for documents of this name.
QStringList cupsPdfFiles(const QString &docName)
{
    QStringList found;
    for (const QString &folder : {QDir::homePath() + QStringLiteral("/PDF"),
                                  QStringLiteral("/var/spool/cups-pdf/ANONYMOUS")}) {
        const QDir d(folder);
        for (const QString &name : d.entryList({docName + QStringLiteral("*.pdf")}, QDir::Files))
            found << d.filePath(name);
    }
    return found;
}

} // namespace

TEST_F(PrintJobTest, PrintsThroughACupsQueue)
{
    const QString queue = qEnvironmentVariable("TAMBREL_TEST_PRINTER");
    if (queue.isEmpty())
        GTEST_SKIP() << "TAMBREL_TEST_PRINTER is not set";
    ASSERT_TRUE(VDBPrint().selectPrinter(queue)) << queue.toStdString();
    // cups-pdf names its file after the document, which is the data file's name.
    const QString docName = QStringLiteral("tambreljob%1").arg(QCoreApplication::applicationPid());
    for (const QString &old : cupsPdfFiles(docName))
        QFile::remove(old);
    const QString form = file("f.tmp", pages(QStringLiteral("F"), 1, 100));
    const QString data = file(docName + ".tmp", pages(QStringLiteral("D"), 3, 500));
    EXPECT_EQ(print(form, data, 1), -1);
    EXPECT_TRUE(messages.shown().isEmpty()) << messages.texts().join(' ').toStdString();

    // The queue works on its own time; wait for the file, within a bound.
    QStringList files;
    QElapsedTimer waited;
    waited.start();
    while ((files = cupsPdfFiles(docName)).isEmpty() && waited.elapsed() < 60000)
        QThread::msleep(200);
    ASSERT_EQ(files.size(), 1) << "no job file from cups-pdf";
    // The file may still be being written: read it once it stops growing.
    qint64 size = -1;
    while (QFileInfo(files.first()).size() != size && waited.elapsed() < 60000) {
        size = QFileInfo(files.first()).size();
        QThread::msleep(300);
    }
    const PdfContent pdf = readPdf(files.first());
    ASSERT_EQ(pdf.pages, 3);
    // The queue's filter re-encodes the fonts, so the words come back as
    // other characters; their number and places are kept.
    for (int p = 1; p <= 3; ++p) {
        QList<PdfWord> onPage;
        for (const PdfWord &w : pdf.words) {
            if (w.page == p)
                onPage << w;
        }
        ASSERT_EQ(onPage.size(), 2) << p;
        std::sort(onPage.begin(), onPage.end(),
                  [](const PdfWord &a, const PdfWord &b) { return a.yMin < b.yMin; });
        // x 100 on A4 with 3.5 mm margins: rnd(472.44) + 1 - rnd(188.98) = 284 dots = 17.04 pt.
        // (The data word; the form word's first glyph does not come back.)
        EXPECT_NEAR(onPage[1].xMin, 27.04, 0.3 * PointsPerMm) << p;
        // Form at y 100, data at 500: 2362 - 472 = 1890 dots = 113.4 pt apart.
        EXPECT_NEAR(onPage[1].yMin - onPage[0].yMin, 113.4, 0.1 * PointsPerMm) << p;
    }
    QFile::remove(files.first());
}

TEST_F(PrintJobTest, WriterPrintsWithItsSettings)
{
    TPrintTool::resetSettings();
    TPrintTool tool;
    tool.SetDataFile(dir.filePath("Prntmpp.tmp"));
    tool.SetShowDialog(0);
    tool.SetPaperSize(9);
    tool.SetFormFile(file("f.tmp", pages(QStringLiteral("F"), 1, 100)));
    tool.SetPrintForm(1);
    tool.SetLeftOffset(0);
    tool.SetTopOffset(0);
    tool.OpenFile();
    tool.WriteText(100, 500, QStringLiteral("S1"), {}, 10, {}, {}, QStringLiteral("1"));
    tool.EndPage();
    tool.WriteText(100, 500, QStringLiteral("S2"), {}, 10, {}, {}, QStringLiteral("1"));
    tool.CloseFile();
    QString jobMessage;
    DialogWatcher watcher([&](TNowPrintingdlg *dlg) { jobMessage = dlg->PrintMessage->text(); });
    EXPECT_TRUE(tool.Print());
    EXPECT_EQ(jobMessage, QStringLiteral("只今、印刷中"));
    const PdfContent pdf = readPdf(out);
    ASSERT_EQ(pdf.pages, 2);
    EXPECT_EQ(pdf.wordsOnPage(1), (QStringList{"F1", "S1"}));
    EXPECT_EQ(pdf.wordsOnPage(2), (QStringList{"F1", "S2"}));

    // The user cancels the printer dialog: false.
    tool.SetShowDialog(1);
    TStartPrintDlg::setExecutor([](QPrinter &, int, int) { return false; });
    EXPECT_FALSE(tool.Print());
    TPrintTool::resetSettings();
}

TEST_F(PrintJobTest, ReadErrorEndsTheJobWithAMessage)
{
    // Exists, opens, and fails on the first read.
    const QString unreadable = QStringLiteral("/proc/self/mem");
    PrintoutState().dataPath = unreadable;
    PrintRange range;
    PrintJob job(VDBPrint(), range);
    EXPECT_EQ(job.run(), PrintOutcome::Failed);
    EXPECT_FALSE(job.printing());
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("\"/proc/self/mem\"を読み込めません!")});
}

TEST_F(PrintJobTest, PaperClassAndOrientationMoveTheOffsets)
{
    const QString data = file("d.tmp", "T480;600;ABC;;10;;0;1;\r\n");
    const struct
    {
        const char *what;
        int paper, orientation;
        double pageWidth, x, y;
    } cases[] = {
        // Landscape A4: 297 x 210 paper, 290 x 203 printable: both offsets -40.
        // x: 2268 + 1 - 189 = 2080 dots = 124.80 pt; y: 2835 + 1 - 189 = 2647 = 158.82 pt.
        {"landscape", 9, 1, 842, 134.80, 168.82},
        // 256 without a P record: the paper counts as printable + 20 mm, offsets -100:
        // x: 2268 + 1 - 472 = 1797 dots = 107.82 pt; y: 2835 + 1 - 472 = 2364 = 141.84 pt.
        {"user-defined, no P", 256, 0, 595, 117.82, 151.84},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(VDBPrint().SetPaperSize(9));
        messages.clear();
        EXPECT_EQ(
            PrintCommandFile({}, data, QStringLiteral("m"), c.paper, c.orientation, 0, 0, 0, 0),
            -1);
        EXPECT_TRUE(messages.shown().isEmpty());
        const PdfContent pdf = readPdf(out);
        EXPECT_NEAR(pdf.pageWidth, c.pageWidth, 1);
        const PdfWord *w = pdf.find(QStringLiteral("ABC"));
        ASSERT_NE(w, nullptr);
        EXPECT_NEAR(w->xMin, c.x, 0.1 * PointsPerMm);
        EXPECT_NEAR(w->yMin, c.y, 0.1 * PointsPerMm);
    }
    VDBPrint().setLandscape(false);
}
