#include "PdfWords.h"
#include "TestFiles.h"

#include <QFile>
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
