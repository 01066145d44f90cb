#include "PdfWords.h"
#include "PrintTool.h"
#include "SlipComposition.h"
#include "SlipPrintData.h"
#include "TestDatabase.h"
#include "TestFiles.h"
#include "app/ConnectDatabase.h"
#include "db/EditableResultSet.h"
#include "text/KivFunc.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct ToolRun
{
    int exitCode = -1;
    QStringList stderrLines;
};

ToolRun runTool(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(TAMBREL_PRINT_TOOL), args);
    ToolRun r;
    if (!p.waitForFinished(120000))
        return r;
    r.exitCode = p.exitCode();
    const QString err = QString::fromUtf8(p.readAllStandardError()).trimmed();
    if (!err.isEmpty())
        r.stderrLines = err.split(QLatin1Char('\n'));
    return r;
}

class CliTest : public ::testing::Test
{
protected:
    QString file(const QString &name, const QByteArray &bytes)
    {
        return WriteTestFile(dir, name, bytes);
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(CliTest, PrintsToPdfWithFormAndOffsets)
{
    const QString data =
        file("d.tmp", "T100;500;D1;;10;;0;1;\r\n\r\nE\r\nT100;500;D2;;10;;0;1;\r\n");
    const QString form = file("f.tmp", "T100;100;F1;;10;;0;1;\r\n");
    const QString out = dir.filePath("o.pdf");
    const ToolRun r = runTool({data, "--form", form, "--print-form", "--left", "100", "--top",
                               "-50", "--paper", "9", "--pdf", out});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.stderrLines.isEmpty()) << r.stderrLines.join('\n').toStdString();
    const PdfContent pdf = readPdf(out);
    ASSERT_EQ(pdf.pages, 2);
    EXPECT_EQ(pdf.wordsOnPage(1), (QStringList{"F1", "D1"}));
    EXPECT_EQ(pdf.wordsOnPage(2), (QStringList{"F1", "D2"}));
    // x: 472 + 1 + rnd((100 - 40) * 1200 / 254 = 283.46) = 756 dots = 45.36 pt, + 10 margin.
    EXPECT_NEAR(pdf.find("D2")->xMin, 55.36, 0.1 * PointsPerMm);
    // Without --print-form the form is not printed.
    const ToolRun plain = runTool({data, "--form", form, "--pdf", out});
    EXPECT_EQ(plain.exitCode, 0);
    EXPECT_EQ(readPdf(out).wordsOnPage(1), QStringList{"D1"});
}

TEST_F(CliTest, FailuresExitNonZeroWithOneLine)
{
    const QString data = file("d.tmp", "T100;500;D1;;10;;0;1;\r\n");
    const QString out = dir.filePath("o.pdf");
    const QString missing = dir.filePath("missing.tmp");
    const struct
    {
        QStringList args;
        int exitCode;
        QString line;
    } cases[] = {
        {{missing, "--pdf", out}, 1, "tambrel-print: no such file: " + missing},
        {{data, "--form", missing, "--pdf", out}, 1, "tambrel-print: no such file: " + missing},
        {{data, "--printer", "NoSuchQueue"}, 1, "tambrel-print: unknown printer: NoSuchQueue"},
        {{data, "--paper", "7777", "--pdf", out}, 1, "tambrel-print: unknown paper code: 7777"},
        {{data, "--left", "x", "--pdf", out}, 2, "tambrel-print: --left needs an integer"},
        // The printer refuses the job: here an output folder that does not exist.
        {{data, "--pdf", dir.filePath("no/such/dir/o.pdf")},
         1,
         QStringLiteral("tambrel-print: 印刷を開始できません!")},
        {{data}, 2, "tambrel-print: give one of --pdf and --printer"},
        {{"--pdf", out}, 2, "tambrel-print: no data file"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        QFile::remove(out);
        const ToolRun r = runTool(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode);
        ASSERT_FALSE(r.stderrLines.isEmpty());
        EXPECT_EQ(r.stderrLines.first(), c.line);
        // A usage line follows usage errors only.
        EXPECT_EQ(r.stderrLines.size(), c.exitCode == 2 ? 2 : 1);
        EXPECT_FALSE(QFile::exists(out));
    }
}

namespace {

// tambrel-print in a program folder of its own, with its settings file
// naming a database on the test server and the overlay files beside it.
class CliMarkedTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!server.available())
            GTEST_SKIP() << "the test server is not running";
        tool = folder.filePath("tambrel-print");
        ASSERT_TRUE(QFile::copy(QStringLiteral(TAMBREL_PRINT_TOOL), tool));
        QFile::setPermissions(tool, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QString bin = QFileInfo(QStringLiteral(TAMBREL_PRINT_TOOL)).absolutePath();
        ASSERT_TRUE(QFile::copy(bin + "/FormTR2.prn", folder.filePath("FormTR2.prn")));
        writeIni(server.path());
        ConnectDatabaseTo(db, tr, server.path());
    }

    void writeIni(const QString &dbPath)
    {
        WriteTestFile(folder, "TAMBREL.ini", "[TAMBREL]\r\nF_DbPath=" + dbPath.toUtf8() + "\r\n");
    }

    ToolRun run(const QStringList &args)
    {
        QProcess p;
        p.start(tool, args);
        ToolRun r;
        if (!p.waitForFinished(120000))
            return r;
        r.exitCode = p.exitCode();
        const QString err = QString::fromUtf8(p.readAllStandardError()).trimmed();
        if (!err.isEmpty())
            r.stderrLines = err.split(QLatin1Char('\n'));
        return r;
    }

    int marked()
    {
        Transaction t(&db);
        Query q(db, t);
        q.setSql("SELECT COUNT(*) FROM TAMBREL WHERE PRINTOUT = 1");
        const int n = q.openFirst() ? q.value(0).toInt() : -1;
        t.commit();
        return n;
    }

    ServerTestDatabase server;
    QTemporaryDir folder;
    QTemporaryDir work;
    QString tool;
    Database db;
    Transaction tr;
};

const QString Tr22 = QStringLiteral("ターンアラウンド用２型（２行印字）");

} // namespace

TEST_F(CliMarkedTest, ComposesTheMarkedSlipsAsTheLibraryDoesAndClearsNothing)
{
    SlipPrintData::insertSlip(db, 1, {{"CONAME", "ZQNAME"}});
    SlipPrintData::insertSlip(db, 2, {}, 0);
    SlipPrintData::insertSlip(db, 3);
    // This computer's offsets for the type; the computer is the host.
    {
        Transaction t(&db);
        Query q(db, t);
        q.setSql("INSERT INTO TAMBRELSET (ID, DENNAME, NOTSHOW, LEFT_M, TOP_M) "
                 "VALUES (0, :K, 1, 30, -20)");
        q.setParam("K", GetComputerNameText() + Tr22);
        q.execute();
        t.commit();
    }
    // What the library writes for the same slips.
    const QString expected = work.filePath("expected.tmp");
    {
        Transaction t(&db);
        EditableResultSet rows;
        rows.setTransaction(&t);
        rows.setSql("SELECT * FROM TAMBRELSET");
        rows.open();
        ASSERT_TRUE(rows.Locate("DENNAME", Tr22));
        const SlipLayout layout = SlipLayout::read(rows);
        EditableResultSet slips;
        slips.setTransaction(&t);
        slips.setSql("SELECT * FROM TAMBREL WHERE (PRINTOUT = 1)");
        slips.open();
        TPrintTool::resetSettings();
        TPrintTool writer;
        writer.SetDataFile(expected);
        writer.OpenFile();
        WriteSlipPages(layout, slips, writer);
        writer.CloseFile();
        TPrintTool::resetSettings();
    }
    const QString commandFile = work.filePath("kept.tmp");
    const QString out = work.filePath("slips.pdf");
    const ToolRun r = run({"--marked", Tr22, "--command-file", commandFile, "--pdf", out});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.stderrLines.isEmpty()) << r.stderrLines.join('\n').toStdString();
    QFile kept(commandFile);
    QFile wanted(expected);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    ASSERT_TRUE(wanted.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), wanted.readAll());
    const PdfContent pdf = readPdf(out);
    EXPECT_EQ(pdf.pages, 2);
    EXPECT_EQ(marked(), 2);
    // The offsets are this computer's: the company name sits 3 mm right of
    // and 2 mm above where it sits without the row.
    const PdfWord *withRow = pdf.find(QStringLiteral("ZQNAME"));
    ASSERT_NE(withRow, nullptr);
    {
        Transaction t(&db);
        Query q(db, t);
        q.setSql("DELETE FROM TAMBRELSET WHERE NOTSHOW = 1");
        q.execute();
        t.commit();
    }
    ASSERT_EQ(run({"--marked", Tr22, "--pdf", out}).exitCode, 0);
    const PdfContent plain = readPdf(out);
    const PdfWord *without = plain.find(QStringLiteral("ZQNAME"));
    ASSERT_NE(without, nullptr);
    EXPECT_NEAR(withRow->xMin - without->xMin, 3.0 * PointsPerMm, 0.2 * PointsPerMm);
    EXPECT_NEAR(withRow->yMin - without->yMin, -2.0 * PointsPerMm, 0.2 * PointsPerMm);
}

TEST_F(CliMarkedTest, FailuresExitNonZeroWithOneLine)
{
    const QString out = work.filePath("o.pdf");
    // No marked slip yet.
    SlipPrintData::insertSlip(db, 1, {}, 0);
    const struct
    {
        QStringList args;
        QString ini; // empty: the test server's database
        int exitCode;
        QString line;
    } cases[] = {
        {{"--marked", Tr22, "--pdf", out}, {}, 1, "tambrel-print: no marked slip"},
        {{"--marked", "NoSuchType", "--pdf", out},
         {},
         1,
         "tambrel-print: unknown slip type: NoSuchType"},
        {{"--marked", Tr22, "--pdf", out},
         testServerPrefix() + "/no/such/TAMBREL.FDB",
         1,
         "tambrel-print: cannot open the database: " + testServerPrefix() + "/no/such/TAMBREL.FDB"},
        {{"d.tmp", "--marked", Tr22, "--pdf", out},
         {},
         2,
         "tambrel-print: give a data file or --marked, not both"},
        {{"d.tmp", "--command-file", "c.tmp", "--pdf", out},
         {},
         2,
         "tambrel-print: --command-file goes with --marked"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        writeIni(c.ini.isEmpty() ? server.path() : c.ini);
        const ToolRun r = run(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode);
        ASSERT_FALSE(r.stderrLines.isEmpty());
        EXPECT_EQ(r.stderrLines.first(), c.line);
        EXPECT_EQ(r.stderrLines.size(), c.exitCode == 2 ? 2 : 1);
        EXPECT_FALSE(QFile::exists(out));
    }
}
