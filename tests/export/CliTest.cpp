#include "ExportColumns.h"
#include "ExportFixture.h"
#include "TestFiles.h"
#include "XlsxContent.h"

#include <QFile>
#include <QProcess>

namespace {

struct ToolRun
{
    int exitCode = -1;
    QString out;
    QStringList errLines;
};

// The tool copied into a folder of its own, beside a settings file that names
// the test database: it finds both beside itself, as in the program folder.
class ExportCliTest : public ExportFixture
{
protected:
    ExportCliTest()
    {
        m_tool = m_programDir.filePath(QStringLiteral("tambrel-export"));
        QFile::copy(QStringLiteral(TAMBREL_EXPORT_TOOL), m_tool);
        QFile::setPermissions(m_tool, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        WriteTestFile(m_programDir, QStringLiteral("TAMBREL.ini"),
                      "[TAMBREL]\r\nF_DbPath=" + m_file.path().toLocal8Bit() + "\r\n");
    }

    ToolRun runTool(const QStringList &args)
    {
        QProcess p;
        p.start(m_tool, args);
        ToolRun r;
        if (!p.waitForFinished(120000))
            return r;
        r.exitCode = p.exitCode();
        r.out = QString::fromUtf8(p.readAllStandardOutput());
        const QString err = QString::fromUtf8(p.readAllStandardError()).trimmed();
        if (!err.isEmpty())
            r.errLines = err.split(QLatin1Char('\n'));
        return r;
    }

    QString out(const char *name) const { return m_out.filePath(QLatin1String(name)); }

    QTemporaryDir m_programDir;
    QString m_tool;
};

} // namespace

TEST_F(ExportCliTest, SlipsAndMastersAreWrittenSilently)
{
    insertSlip({{"CONAME", u"丸井"_qs},
                {"TENPONAME", u"本店"_qs},
                {"COCODE", "0012"},
                {"NOUHIN_DATE2", "060715"}});
    insertSlip({{"CONAME", u"丸井"_qs}, {"TENPONAME", u"支店"_qs}, {"NOUHIN_DATE2", "060815"}});
    run("INSERT INTO CSITEM (HINMEI1, CODE1) VALUES ('Item', '000123')");

    const ToolRun all = runTool({"slips", out("all.xlsx")});
    EXPECT_EQ(all.exitCode, 0);
    EXPECT_EQ(all.errLines, QStringList{});
    EXPECT_EQ(all.out, "");
    const XlsxContent a(out("all.xlsx"));
    ASSERT_TRUE(a.ok()) << a.error().toStdString();
    EXPECT_EQ(a.rowTexts(1), ExportHeaders(0));
    EXPECT_EQ(a.maxRow(), 3);

    const ToolRun chosen =
        runTool({"slips", "--format", "1", "--date-kind", "1", "--from", "060701", "--to", "060731",
                 "--company", u"丸井"_qs, "--store", u"本店"_qs, "--verbose", out("july.xlsx")});
    EXPECT_EQ(chosen.exitCode, 0);
    EXPECT_EQ(chosen.errLines, QStringList{});
    EXPECT_TRUE(chosen.out.startsWith("1 rows: ")) << chosen.out.toStdString();
    const XlsxContent j(out("july.xlsx"));
    ASSERT_TRUE(j.ok()) << j.error().toStdString();
    EXPECT_EQ(j.rowTexts(1), ExportHeaders(1));
    EXPECT_EQ(j.maxRow(), 2);
    EXPECT_EQ(j.cell("C2").value.toString(), "0012");
    EXPECT_EQ(j.cell("C2").format, "@");

    const ToolRun items = runTool({"masters", "2", out("items.xlsx")});
    EXPECT_EQ(items.exitCode, 0);
    const XlsxContent i(out("items.xlsx"));
    ASSERT_TRUE(i.ok()) << i.error().toStdString();
    EXPECT_EQ(i.rowTexts(1), MasterExportOf(2).headers);
    EXPECT_EQ(i.cell("C2").value.toString(), "000123");
}

TEST_F(ExportCliTest, FailuresExitWithOneLineAndLeaveNoFile)
{
    insertSlip({{"CONAME", "A"}, {"NOUHIN_DATE1", "060701"}});
    const struct
    {
        QStringList args;
        QString line; // the start of the one line
    } cases[] = {
        {{"slips", "--date-kind", "1", "--from", "070101", "--to", "071231", out("a.xlsx")},
         u"tambrel-export: 該当データ無し。"_qs},
        {{"masters", "1", out("a.xlsx")}, u"tambrel-export: 該当データ無し。"_qs},
        {{"slips", "--date-kind", "1", "--from", "0607", "--to", "060731", out("a.xlsx")},
         "tambrel-export: bad date: 0607"},
        {{"slips", "--date-kind", "1", "--from", "060701", "--to", "061301", out("a.xlsx")},
         "tambrel-export: bad date: 061301"},
        {{"slips", out("no/such/folder/a.xlsx")},
         u"tambrel-export: 出力中にエラーが発生しました。"_qs},
    };
    for (const auto &c : cases) {
        const ToolRun r = runTool(c.args);
        SCOPED_TRACE(c.args.join(' ').toStdString());
        EXPECT_EQ(r.exitCode, 1);
        ASSERT_EQ(r.errLines.size(), 1) << r.errLines.join('\n').toStdString();
        EXPECT_TRUE(r.errLines.first().startsWith(c.line)) << r.errLines.first().toStdString();
        EXPECT_FALSE(QFile::exists(out("a.xlsx")));
    }
    EXPECT_EQ(QDir(m_out.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{});
}

TEST_F(ExportCliTest, WithoutTheDatabaseItSaysSo)
{
    const struct
    {
        QByteArray dbPath;
        QString line;
    } cases[] = {
        // A missing file: the settings load says so and the tool stops there.
        {m_out.filePath("gone.fdb").toLocal8Bit(),
         u"tambrel-export: データベース位置を設定してください。"_qs},
        // A server that does not answer: the connection fails.
        {"localhost/1:/nowhere/TAMBREL.FDB",
         "tambrel-export: Err...Table Open: Database Connect Error"},
    };
    for (const auto &c : cases) {
        WriteTestFile(m_programDir, QStringLiteral("TAMBREL.ini"),
                      "[TAMBREL]\r\nF_DbPath=" + c.dbPath + "\r\n");
        const ToolRun r = runTool({"slips", out("a.xlsx")});
        EXPECT_EQ(r.exitCode, 1);
        ASSERT_EQ(r.errLines.size(), 1) << r.errLines.join('\n').toStdString();
        EXPECT_TRUE(r.errLines.first().startsWith(c.line)) << r.errLines.first().toStdString();
        EXPECT_FALSE(QFile::exists(out("a.xlsx")));
    }
}

TEST_F(ExportCliTest, BadArgumentsGiveTheUsage)
{
    const QStringList cases[] = {
        {},
        {"everything", out("a.xlsx")},
        {"slips"},
        {"slips", "--format", "2", out("a.xlsx")},
        {"slips", "--format", "1", "--date-kind", "2", "--from", "060701", "--to", "060731",
         out("a.xlsx")},
        {"slips", "--date-kind", "1", out("a.xlsx")},
        {"slips", "--from", "060701", "--to", "060731", out("a.xlsx")},
        {"slips", "--colour", "red", out("a.xlsx")},
        {"masters", "3", out("a.xlsx")},
        {"masters", "0"},
    };
    for (const QStringList &args : cases) {
        const ToolRun r = runTool(args);
        SCOPED_TRACE(args.join(' ').toStdString());
        EXPECT_EQ(r.exitCode, 2);
        ASSERT_GE(r.errLines.size(), 2);
        EXPECT_TRUE(r.errLines.at(1).startsWith("usage: tambrel-export"))
            << r.errLines.at(1).toStdString();
    }
}
