#include "TambrelOutForm.h"
#include "CommandFile.h"
#include "CupsPrinterPlatform.h"
#include "EditEx.h"
#include "FakePrinterPlatform.h"
#include "PdfWords.h"
#include "PrintTool.h"
#include "Printout.h"
#include "PrintoutTexts.h"
#include "QxPrinters.h"
#include "ScopedSettings.h"
#include "ScriptedMessages.h"
#include "SlipPrintData.h"
#include "StartPrintDlg.h"
#include "TestDatabase.h"
#include "VDBPrint.h"
#include "app/ConnectDatabase.h"
#include "db/IbFunc.h"
#include "db/Query.h"
#include "ui/ConnectedMainWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

const QString Ocr22 = QStringLiteral("ＯＣＲ用２型（２行印字）");
const QString Tr22 = QStringLiteral("ターンアラウンド用２型（２行印字）");

class TambrelOutFormTest : public ::testing::Test
{
protected:
    TambrelOutFormTest()
    {
        TambrelSettings s = settings();
        s.F_DbPath = file.path();
        s.ProgramFolder = QCoreApplication::applicationDirPath() + QLatin1Char('/');
        s.ComputerName = QStringLiteral("TESTPC");
        s.PrintCommandFilePath = dir.filePath(QStringLiteral("Prntmpp.tmp"));
        s.SettingsFilePath = dir.filePath(QStringLiteral("TAMBREL.ini"));
        m_settings = std::make_unique<ScopedSettings>(s);
        ConnectDatabaseTo(db, tr, file.path());
        fake.printers = {FakePlatform::Printer{"P1", 0, {{9, "A4"}, {12, "B4"}}, true, 9},
                         FakePlatform::Printer{"P2", 0, {{13, "B5"}, {12, "B4"}}, true, 13},
                         FakePlatform::Printer{"P3", 0, {{8, "A3"}}, true, 8}};
        fake.current = 0;
        fake.defaultIndex = 0;
        TPrintTool::resetSettings();
        ResetPrintoutState();
    }
    ~TambrelOutFormTest() override
    {
        TStartPrintDlg::setExecutor(nullptr);
        TVDBPrint::setPdfFolder(QString());
        VDBPrint().selectDefaultPrinter();
    }

    void execute(const QString &sql)
    {
        Transaction t(&db);
        db.executeImmediate(t, sql);
        t.commit();
    }
    QVariant scalar(const QString &sql)
    {
        Transaction t(&db);
        Query q(db, t);
        q.setSql(sql);
        const QVariant v = q.openFirst() ? q.value(0) : QVariant();
        t.commit();
        return v;
    }
    // The embedded engine serves one connection per file and process at a
    // time only for other processes; ours stays, and reads committed rows.
    std::unique_ptr<TTambrelOutForm> open(TQxPrinter &qx, const QString &name,
                                          const QString &defaultPrinter = QStringLiteral("P1"))
    {
        return std::make_unique<TTambrelOutForm>(qx, defaultPrinter, name);
    }

    QTemporaryDir dir;
    TestDatabase file;
    std::unique_ptr<ScopedSettings> m_settings;
    Database db;
    Transaction tr;
    FakePlatform fake;
    ScriptedMessages messages;
};

QStringList items(QComboBox *combo)
{
    QStringList out;
    for (int i = 0; i < combo->count(); ++i)
        out << combo->itemText(i);
    return out;
}

} // namespace

TEST_F(TambrelOutFormTest, StartsWithTheNamedSlipTypeOrTheFirst)
{
    SlipPrintData::insertSlip(db, 1);
    TQxPrinter qx(fake);
    const QStringList listed =
        GetValueList(db, "TAMBRELSET", "DENNAME", "ShowNo", "WHERE ((NotShow = 0) AND (Use = 1))",
                     "ASC", false, false);
    ASSERT_EQ(listed.size(), 10);
    const struct
    {
        QString argument;
        QString selected;
    } cases[] = {
        {Ocr22, Ocr22},
        {"  " + Ocr22 + " ", Ocr22},
        {QString(), listed.first()},
        {QStringLiteral("NoSuchSlip"), listed.first()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.argument.toStdString());
        const auto form = open(qx, c.argument);
        EXPECT_EQ(form->PaperCombo->currentText(), c.selected);
        EXPECT_EQ(items(form->PaperCombo), listed);
        EXPECT_EQ(items(form->ComboBox1), (QStringList{"P1", "P2", "P3"}));
        EXPECT_EQ(form->windowTitle(), ConnectedMainWindow::captionPrefix() + "．．．印刷");
        EXPECT_EQ(form->PaperCombo->toolTip(), "用紙を選択してください");
        EXPECT_EQ(form->ComboBox1->toolTip(), "プリンタを選択してください");
        EXPECT_EQ(form->ComboBox3->toolTip(), "印刷する用紙サイズを選択します");
        EXPECT_EQ(form->Label3->toolTip(), "印刷する用紙サイズを選択してください");
        EXPECT_EQ(form->BitBtn1->text(), "印 刷");
        EXPECT_EQ(form->BitBtn1->toolTip(), "印刷します");
        EXPECT_EQ(form->EditEx1->alignment(), Qt::AlignCenter);
    }
    EXPECT_TRUE(messages.shown().isEmpty()) << messages.texts().join('|').toStdString();
}

TEST_F(TambrelOutFormTest, PrintButtonNeedsMarkedSlipsAndTheOverlayFile)
{
    TQxPrinter qx(fake);
    const struct
    {
        const char *formName;
        bool marked;
        bool enabled;
    } cases[] = {
        {"FormTR2.prn", true, true},
        {"FormTR2.prn", false, false},
        {"NoSuchOverlay.prn", true, false},
        {"", true, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.formName);
        execute("DELETE FROM TAMBREL");
        if (c.marked)
            SlipPrintData::insertSlip(db, 1);
        else
            SlipPrintData::insertSlip(db, 1, {}, 0);
        SlipPrintData::updateLayout(db, Tr22, {{"FORMNAME", QString::fromLatin1(c.formName)}});
        const auto form = open(qx, Tr22);
        EXPECT_EQ(form->BitBtn1->isEnabled(), c.enabled);
    }
}

TEST_F(TambrelOutFormTest, LayoutRowDefaultsAndPrinterFallback)
{
    SlipPrintData::insertSlip(db, 1);
    const struct
    {
        const char *stored;
        const char *defaultPrinter;
        QString printer;
        int currentOnPlatform;
    } cases[] = {
        {"p2", "P1", "P2", 1},    // letter case ignored
        {"Gone", "P3", "P3", 2},  // the printer of program start
        {"Gone", "Gone2", "", 0}, // none: the system default printer
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.stored);
        SlipPrintData::updateLayout(db, Tr22,
                                    {{"LEFT_M", 12},
                                     {"TOP_M", -7},
                                     {"PRINTERNAME", QString::fromLatin1(c.stored)},
                                     {"PAPERNAME", "B4"}});
        fake.current = 0;
        TQxPrinter qx(fake);
        const auto form = open(qx, Tr22, QString::fromLatin1(c.defaultPrinter));
        EXPECT_EQ(form->LeftUD->position(), 12);
        EXPECT_EQ(form->TopUD->position(), -7);
        EXPECT_EQ(form->EditEx2->text(), "-7");
        EXPECT_EQ(form->ComboBox1->currentText(), c.printer);
        EXPECT_EQ(fake.current, c.currentOnPlatform);
        // B4 where the printer has it, else its own paper.
        const QString paper = fake.printers.at(fake.current).papers.size() > 1 ? "B4" : "A3";
        EXPECT_EQ(form->ComboBox3->currentText(), paper);
        EXPECT_EQ(fake.device.paperCode, paper == "B4" ? 12 : 8);
    }
    EXPECT_TRUE(messages.shown().isEmpty()) << messages.texts().join('|').toStdString();
}

TEST_F(TambrelOutFormTest, PrinterChangeKeepsThePaperByItsCode)
{
    SlipPrintData::insertSlip(db, 1);
    SlipPrintData::updateLayout(db, Tr22, {{"PRINTERNAME", "P1"}, {"PAPERNAME", "B4"}});
    TQxPrinter qx(fake);
    const auto form = open(qx, Tr22);
    ASSERT_EQ(form->ComboBox3->currentText(), "B4");
    const struct
    {
        int printer;
        QStringList papers;
        QString paper;
        int code;
    } cases[] = {
        {1, {"B5", "B4"}, "B4", 12}, // P2 has B4 as well
        {2, {"A3"}, "A3", 8},        // P3 has not: its current paper
        {0, {"A4", "B4"}, "A4", 9},  // back on P1 from A3: P1's own paper
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.printer);
        form->ComboBox1->setCurrentIndex(c.printer);
        form->ComboBox1Change();
        EXPECT_EQ(items(form->ComboBox3), c.papers);
        EXPECT_EQ(form->ComboBox3->currentText(), c.paper);
        EXPECT_EQ(fake.device.paperCode, c.code);
    }
    // The paper change goes to the printer at once.
    form->ComboBox3->setCurrentIndex(1);
    form->ComboBox3Change();
    EXPECT_EQ(fake.device.paperCode, 12);
}

TEST_F(TambrelOutFormTest, OffsetUpDownsWrapBothWays)
{
    SlipPrintData::insertSlip(db, 1);
    TQxPrinter qx(fake);
    const auto form = open(qx, Tr22);
    form->show();
    const struct
    {
        int start;
        Qt::Key key;
        QString after;
    } cases[] = {
        {500, Qt::Key_Up, "-500"},
        {-500, Qt::Key_Down, "500"},
        {0, Qt::Key_Up, "1"},
        {-3, Qt::Key_Down, "-4"},
    };
    for (TEditEx *edit : {form->EditEx1, form->EditEx2}) {
        TUpDown *ud = edit == form->EditEx1 ? form->LeftUD : form->TopUD;
        for (const auto &c : cases) {
            ud->setPosition(c.start);
            edit->setFocus();
            QTest::keyClick(edit, c.key);
            EXPECT_EQ(edit->text(), c.after) << c.start;
        }
        ud->setPosition(500);
        QTest::mouseClick(ud->upButton(), Qt::LeftButton);
        EXPECT_EQ(ud->position(), -500);
        // Enter does nothing in the edit.
        QTest::keyClick(edit, Qt::Key_Return);
        EXPECT_EQ(edit->text(), "-500");
        edit->setText("9999");
        EXPECT_EQ(ud->position(), 500);
    }
    form->close();
}

namespace {

// Runs of the print button, then the close: what was asked and what stayed.
struct CloseCase
{
    int runs;
    MsgResult answer;
    bool asked;
    int marksAfter;
};

} // namespace

TEST_F(TambrelOutFormTest, PrintRunsSaveThisComputersRowAndTheCloseAsksAboutTheMarks)
{
    const CloseCase cases[] = {
        {0, MsgResult::Yes, false, 2},
        {2, MsgResult::Yes, true, 0},
        {1, MsgResult::No, true, 2},
    };
    CupsPrinterPlatform platform(VDBPrint());
    TVDBPrint::setPdfFolder(dir.filePath("pdf"));
    for (const auto &c : cases) {
        SCOPED_TRACE(c.runs);
        execute("DELETE FROM TAMBREL");
        execute("DELETE FROM TAMBRELSET WHERE NOTSHOW = 1");
        SlipPrintData::insertSlip(db, 1);
        SlipPrintData::insertSlip(db, 2);
        SlipPrintData::updateLayout(db, Tr22, {{"SHOWPD", 0}, {"PR_FORM", 1}});
        const qint64 generator = GetGeneratorValue(db, "IDNO_INC1", "0");
        TQxPrinter qx(platform);
        messages.clear();
        {
            const auto form = open(qx, Tr22, QString());
            const int pdf =
                static_cast<int>(items(form->ComboBox1).indexOf(PrintoutTexts::PdfPrinterName));
            ASSERT_GE(pdf, 0);
            form->ComboBox1->setCurrentIndex(pdf);
            form->ComboBox1Change();
            form->TopUD->setPosition(-5);
            form->LeftUD->setPosition(7);
            for (int run = 0; run < c.runs; ++run) {
                messages.answer(MsgResult::Yes);
                form->BitBtn1Click();
            }
            if (c.runs > 0) {
                ASSERT_GE(messages.shown().size(), 1);
                EXPECT_EQ(messages.shown().first().text, "『 " + Tr22 +
                                                             " 』  を印刷します。\r\rプリンタ ： " +
                                                             PrintoutTexts::PdfPrinterName +
                                                             "  に\r\rA4  の用紙をセットしてく"
                                                             "ださい。\r\r印刷を実行しますか？");
                EXPECT_EQ(messages.shown().first().buttons, MsgButton::Yes | MsgButton::No);
                EXPECT_TRUE(form->printed());
            }
            messages.clear();
            // Unasked, a box would get Yes: the marks would go.
            if (c.asked)
                messages.answer(c.answer);
            form->close();
            EXPECT_EQ(!messages.shown().isEmpty(), c.asked);
            if (c.asked) {
                EXPECT_EQ(messages.texts(),
                          QStringList{"印刷対象を全て解除します。\r\r実行しますか？"});
            }
        }
        // The command file goes with the program.
        EXPECT_FALSE(QFile::exists(settings().PrintCommandFilePath));
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM TAMBREL WHERE PRINTOUT = 1").toInt(), c.marksAfter);
        const QString key = "TESTPC" + Tr22;
        Transaction t(&db);
        Query row(db, t);
        row.setSql("SELECT ID, NOTSHOW, PRINTERNAME, PAPERNAME, PAPERTYPE, LEFT_M, TOP_M "
                   "FROM TAMBRELSET WHERE DENNAME = :K");
        row.setParam("K", key);
        if (c.runs == 0) {
            EXPECT_FALSE(row.openFirst());
            continue;
        }
        ASSERT_TRUE(row.openFirst());
        EXPECT_EQ(row.value("ID").toLongLong(), generator + 1);
        EXPECT_EQ(row.value("NOTSHOW").toInt(), 1);
        EXPECT_EQ(row.value("PRINTERNAME").toString(), PrintoutTexts::PdfPrinterName);
        EXPECT_EQ(row.value("PAPERNAME").toString(), "A4");
        EXPECT_EQ(row.value("PAPERTYPE").toInt(), 9);
        EXPECT_EQ(row.value("LEFT_M").toInt(), 7);
        EXPECT_EQ(row.value("TOP_M").toInt(), -5);
        EXPECT_FALSE(row.next());
        t.commit();
        EXPECT_FALSE(GetValueList(db, "TAMBRELSET", "DENNAME", "ShowNo",
                                  "WHERE ((NotShow = 0) AND (Use = 1))", "ASC", false, false)
                         .contains(key));
        // A second start takes this computer's row.
        TQxPrinter again(platform);
        const auto form = open(again, Tr22, QString());
        EXPECT_EQ(form->ComboBox1->currentText(), PrintoutTexts::PdfPrinterName);
        EXPECT_EQ(form->TopUD->position(), -5);
        EXPECT_EQ(form->LeftUD->position(), 7);
    }
}

namespace {

struct Box
{
    int x1, y1, x2, y2;
};

// The boxes (B records) of an overlay file, in 0.1 mm.
QList<Box> overlayBoxes(const QString &path)
{
    QList<Box> boxes;
    CommandFile file(path);
    while (!file.atEnd()) {
        const QByteArray line = file.readLine();
        if (line.isEmpty())
            continue;
        CommandRecord rec(line);
        if (rec.letter() != QLatin1Char('B'))
            continue;
        Box b{rec.number(), rec.number(), rec.number(), rec.number()};
        boxes << Box{std::min(b.x1, b.x2), std::min(b.y1, b.y2), std::max(b.x1, b.x2),
                     std::max(b.y1, b.y2)};
    }
    return boxes;
}

// The paper of an overlay file (its P record), in 0.1 mm.
Box paperOf(const QString &path)
{
    CommandFile file(path);
    while (!file.atEnd()) {
        const QByteArray line = file.readLine();
        if (line.isEmpty())
            continue;
        CommandRecord rec(line);
        if (rec.letter() == QLatin1Char('P'))
            return Box{0, 0, rec.number(), rec.number()};
    }
    return Box{0, 0, 0, 0};
}

struct PrintedText
{
    int page;
    int x, y; // 0.1 mm
    QString text;
};

// The non-blank T records of a command file with their pages.
QList<PrintedText> printedTexts(const QString &path)
{
    QList<PrintedText> out;
    CommandFile file(path);
    int page = 1;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine();
        if (line.isEmpty())
            continue;
        CommandRecord rec(line);
        if (rec.letter() == QLatin1Char('E')) {
            ++page;
        } else if (rec.letter() == QLatin1Char('T')) {
            PrintedText t{page, rec.number(), rec.number(), rec.text()};
            if (!t.text.trimmed().isEmpty())
                out << t;
        }
    }
    return out;
}

double mm(double points)
{
    return points / PointsPerMm;
}

} // namespace

TEST_F(TambrelOutFormTest, EverySlipTypePrintsItsValuesInsideTheOverlayBoxes)
{
    CupsPrinterPlatform platform(VDBPrint());
    const QString pdfFolder = dir.filePath("pdf");
    TVDBPrint::setPdfFolder(pdfFolder);
    const QStringList names =
        GetValueList(db, "TAMBRELSET", "DENNAME", "ShowNo", "WHERE ((NotShow = 0) AND (Use = 1))",
                     "ASC", false, false);
    ASSERT_EQ(names.size(), 10);
    for (const QString &name : names) {
        for (const int prForm : {1, 0}) {
            SCOPED_TRACE((name + QString(" Pr_Form %1").arg(prForm)).toStdString());
            execute("DELETE FROM TAMBREL");
            SlipPrintData::insertSlip(db, 1);
            SlipPrintData::insertSlip(db, 2);
            SlipPrintData::updateLayout(db, name, {{"SHOWPD", 0}, {"PR_FORM", prForm}});
            QDir(pdfFolder).removeRecursively();
            TQxPrinter qx(platform);
            messages.clear();
            const auto form = open(qx, name, QString());
            ASSERT_EQ(form->PaperCombo->currentText(), name);
            ASSERT_TRUE(form->BitBtn1->isEnabled());
            form->ComboBox1->setCurrentIndex(
                static_cast<int>(items(form->ComboBox1).indexOf(PrintoutTexts::PdfPrinterName)));
            form->ComboBox1Change();
            // The overlay's own paper size.
            form->ComboBox3->setCurrentIndex(static_cast<int>(
                items(form->ComboBox3).indexOf(PrintoutTexts::UserDefinedPaperName)));
            form->ComboBox3Change();
            messages.answer(MsgResult::Yes);
            form->BitBtn1Click();
            ASSERT_TRUE(form->printed()) << messages.texts().join('|').toStdString();
            EXPECT_EQ(messages.shown().size(), 1) << messages.texts().join('|').toStdString();
            const QStringList files = QDir(pdfFolder).entryList({"*.pdf"}, QDir::Files);
            ASSERT_EQ(files.size(), 1);
            const PdfContent pdf = readPdf(QDir(pdfFolder).filePath(files.first()));
            EXPECT_EQ(pdf.pages, 2);

            const QString formName =
                scalar("SELECT FORMNAME FROM TAMBRELSET WHERE DENNAME = '" + name + "'").toString();
            const QString overlay = settings().ProgramFolder + formName;
            const QList<Box> boxes = overlayBoxes(overlay);
            ASSERT_FALSE(boxes.isEmpty());
            const QList<PrintedText> texts = printedTexts(settings().PrintCommandFilePath);
            ASSERT_GT(texts.size(), 50);
            // Elements a slip type does not print are parked beyond the paper.
            const Box paper = paperOf(overlay);
            int checked = 0;
            int parked = 0;
            for (const PrintedText &t : texts) {
                if (t.x >= paper.x2 || t.y >= paper.y2) {
                    ++parked;
                    continue;
                }
                const QString word = t.text.trimmed();
                const int blanks = static_cast<int>(t.text.indexOf(word));
                // The value on its page, where its record puts it.
                bool found = false;
                for (const PdfWord &w : pdf.words) {
                    if (w.page != t.page || !w.text.contains(word))
                        continue;
                    const double dx = mm(w.xMin) - t.x / 10.0;
                    const double dy = mm(w.yMin) - t.y / 10.0;
                    // Boxes close together can run into one word.
                    const double joined = 2.5 * (w.text.size() - word.size());
                    if (dx > -2 - joined && dx < 2 + 2.5 * blanks && dy > -2 && dy < 3) {
                        found = true;
                        break;
                    }
                }
                EXPECT_TRUE(found)
                    << word.toStdString() << " at " << t.x << "," << t.y << " page " << t.page;
                // ... and its place inside a box of the overlay.
                const bool inBox = std::any_of(boxes.begin(), boxes.end(), [&](const Box &b) {
                    return t.x + 5 > b.x1 && t.x + 5 < b.x2 && t.y + 5 > b.y1 && t.y + 5 < b.y2;
                });
                EXPECT_TRUE(inBox) << word.toStdString() << " at " << t.x << "," << t.y;
                ++checked;
            }
            EXPECT_GT(checked, 100);
            EXPECT_EQ(checked + parked, texts.size());
            // The overlay's own words only with Pr_Form 1.
            const QList<PrintedText> captions = printedTexts(overlay);
            if (!captions.isEmpty()) {
                const QString caption = captions.first().text.trimmed();
                EXPECT_EQ(pdf.find(caption) != nullptr, prForm == 1) << caption.toStdString();
            }
        }
    }
}

TEST_F(TambrelOutFormTest, OnePrintRunReachesTheCupsQueueWithOnePagePerSlip)
{
    const QString queue = qEnvironmentVariable("TAMBREL_TEST_PRINTER");
    if (queue.isEmpty())
        GTEST_SKIP() << "TAMBREL_TEST_PRINTER is not set";
    // cups-pdf names its file after the document: the command file's name.
    const QString docName = QStringLiteral("tambrelout%1").arg(QCoreApplication::applicationPid());
    TambrelSettings s = settings();
    s.PrintCommandFilePath = dir.filePath(docName + ".tmp");
    ScopedSettings jobSettings(s);
    const auto cupsFiles = [&] {
        QStringList found;
        for (const QString &folder :
             {QDir::homePath() + "/PDF", QStringLiteral("/var/spool/cups-pdf/ANONYMOUS")}) {
            const QDir d(folder);
            for (const QString &name : d.entryList({docName + "*.pdf"}, QDir::Files))
                found << d.filePath(name);
        }
        return found;
    };
    for (const QString &old : cupsFiles())
        QFile::remove(old);
    for (int slip = 1; slip <= 3; ++slip)
        SlipPrintData::insertSlip(db, slip);
    SlipPrintData::updateLayout(db, Tr22, {{"SHOWPD", 0}, {"PR_FORM", 1}});
    CupsPrinterPlatform platform(VDBPrint());
    TQxPrinter qx(platform);
    const auto form = open(qx, Tr22, QString());
    const int index = static_cast<int>(items(form->ComboBox1).indexOf(queue));
    ASSERT_GE(index, 0);
    form->ComboBox1->setCurrentIndex(index);
    form->ComboBox1Change();
    messages.answer(MsgResult::Yes);
    form->BitBtn1Click();
    EXPECT_TRUE(form->printed());
    EXPECT_EQ(messages.shown().size(), 1) << messages.texts().join('|').toStdString();

    QStringList files;
    QElapsedTimer waited;
    waited.start();
    while ((files = cupsFiles()).isEmpty() && waited.elapsed() < 60000)
        QThread::msleep(200);
    ASSERT_EQ(files.size(), 1) << "no job file from cups-pdf";
    qint64 size = -1;
    while (QFileInfo(files.first()).size() != size && waited.elapsed() < 60000) {
        size = QFileInfo(files.first()).size();
        QThread::msleep(300);
    }
    EXPECT_EQ(readPdf(files.first()).pages, 3);
    QFile::remove(files.first());
}

TEST_F(TambrelOutFormTest, PrinterListFollowsPrintersAddedAndRemoved)
{
    SlipPrintData::insertSlip(db, 1);
    TQxPrinter qx(fake);
    const auto form = open(qx, Tr22, QStringLiteral("P1"));
    form->ComboBox1->setCurrentIndex(2);
    form->ComboBox1Change();
    ASSERT_EQ(fake.current, 2);
    // Another printer goes: the list follows, and the entry still names P3.
    fake.printers.removeAt(1);
    fake.current = 1;
    ASSERT_TRUE(qx.CheckPrintersChanged());
    EXPECT_EQ(items(form->ComboBox1), (QStringList{"P1", "P3"}));
    EXPECT_EQ(form->ComboBox1->currentText(), "P3");
    form->ComboBox3Change();
    EXPECT_EQ(fake.current, 1);
    // The printer in use goes: the printer of program start takes its place.
    fake.printers.removeAt(1);
    fake.printers << FakePlatform::Printer{"P4", 0, {{9, "A4"}}, true, 9};
    fake.selectPrinter(QString()); // the system falls back to its default printer
    ASSERT_TRUE(qx.CheckPrintersChanged());
    QCoreApplication::processEvents();
    EXPECT_EQ(items(form->ComboBox1), (QStringList{"P1", "P4"}));
    EXPECT_EQ(form->ComboBox1->currentText(), "P1");
    EXPECT_EQ(items(form->ComboBox3), (QStringList{"A4", "B4"}));
    EXPECT_TRUE(messages.shown().isEmpty()) << messages.texts().join('|').toStdString();
}
