#include "InstalledSuite.h"
#include "XlsxContent.h"
#include "settings/IniFile.h"

#include "TestDatabase.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <thread>

#include <gtest/gtest.h>

// The road of a slip through the real programs, each a process of its own:
// entered in a slip entry program, printed by TambrelOut (started by the
// entry program), its mark cleared, exported by Kestrav. A failing step is
// named by the script line "step ..." it belongs to.

namespace {

const QString kTurnaround22 = QStringLiteral("ターンアラウンド用２型（２行印字）");

// The masters the slip is filled from.
const char *const kMasters = "INSERT INTO COMPANY (ID, KUBUN, CONAME1, CONAME2, CODE1) "
                             "VALUES (1, 0, '株式会社ロード商事', '本町店', '123456');\n"
                             "INSERT INTO CSITEM (ID, HINMEI1, CODE1, KAZU1, GENKA1, URITANKA) "
                             "VALUES (1, 'りんごジュース', '4901234', 0, 150, 198);\n"
                             "INSERT INTO CSITEM (ID, HINMEI1, CODE1, KAZU1, GENKA1, URITANKA) "
                             "VALUES (2, 'みかん缶詰', '4905678', 0, 320, 398);\n";

// The clerk chooses the company and two items from the lists, types the
// quantities and the flight number; the amounts compute themselves.
const char *const kEntry = "step enter a new slip\n"
                           "click CaptionDBNavi1/nbInsert\n"
                           "step choose the company from the list\n"
                           "dblclick CONA\n"
                           "pick DBGrid1 社名 株式会社ロード商事\n"
                           "check CONA 株式会社ロード商事\n"
                           "check TENP 本町店\n"
                           "check COCO 123456\n"
                           "type BINN 7\n"
                           "step choose two items from the list\n"
                           "dblclick HINMEI_11\n"
                           "pick DBGrid1 品名・規格 りんごジュース\n"
                           "check CODE_11 4901234\n"
                           "dblclick HINMEI_21\n"
                           "pick DBGrid1 品名・規格 みかん缶詰\n"
                           "check GTAN_21 320\n"
                           "step quantities compute the amounts and the total\n"
                           "type KAZU_11 12\n"
                           "type KAZU_21 5\n"
                           "type COLOR_2 赤\n"
                           "check GKEI_1 1800\n"
                           "check GKEI_2 1600\n"
                           "check GOUKEI_GENKA9 3400\n"
                           "check BIKOU_1 2376\n"
                           "check BIKOU_2 1990\n"
                           "check GOUKEI_URI9 4366\n";

// What the slip holds afterwards, and where each value is printed.
const QStringList kValues = {
    QStringLiteral("株式会社ロード商事"),
    QStringLiteral("本町店"),
    QStringLiteral("123456"),
    QStringLiteral("りんごジュース"),
    QStringLiteral("4901234"),
    QStringLiteral("みかん缶詰"),
    QStringLiteral("4905678"),
    QStringLiteral("赤"),
};

void expectNoFailure(const InstalledSuite::Run &run, const char *program)
{
    for (const QString &f : run.failures)
        ADD_FAILURE() << f.toStdString();
    EXPECT_EQ(run.exitCode, 0) << program << " ended with " << run.exitCode << "\n"
                               << run.log.toStdString() << run.output.toStdString();
}

QString newestFile(const QString &folder, const QString &pattern)
{
    const QFileInfoList files = QDir(folder).entryInfoList({pattern}, QDir::Files, QDir::Time);
    return files.isEmpty() ? QString() : files.first().filePath();
}

} // namespace

TEST(Road, SlipFromEntryToPaperAndSpreadsheetOnTheEmbeddedDatabase)
{
    InstalledSuite suite;
    ASSERT_TRUE(suite.error().isEmpty()) << suite.error().toStdString();
    // Slip numbers from the shared counter with their 7DR check digit.
    const QString tambrel = QStringLiteral("TAMBREL");
    ASSERT_TRUE(WriteIniInteger(suite.settingsFile(), tambrel, QStringLiteral("AutoRenban"), 1));
    ASSERT_TRUE(WriteIniInteger(suite.settingsFile(), tambrel, QStringLiteral("DenKetaCD"), 2));
    // This computer prints type 22 without dialogs, the form included.
    suite.sql(QStringLiteral("UPDATE TAMBRELSET SET SHOWPD = 0, PR_FORM = 1 WHERE DENNAME = '%1';")
                  .arg(kTurnaround22));

    suite.sql(QString::fromUtf8(kMasters));

    const QString entry = QString::fromUtf8(kEntry) +
                          QStringLiteral("step post the slip\n"
                                         "click CaptionDBNavi1/nbPost\n"
                                         "check DBCheckBox1 1\n"
                                         "step mark it in the list and start the printing\n"
                                         "click PrintBtn\n"
                                         "click SelDataForm/BitBtn1\n"
                                         "step back from printing on the same slip, mark cleared\n"
                                         "check CONA 株式会社ロード商事\n"
                                         "check DBCheckBox1 0\n"
                                         "step close the entry program\n"
                                         "click TTambrel22Form/BitBtn1\n");
    const QString print = QStringLiteral("step choose the PDF printer and the form's paper\n"
                                         "choose ComboBox1 PDF ファイル\n"
                                         "choose ComboBox3 ユーザー定義サイズ\n"
                                         "step print the marked slips\n"
                                         "answer Yes\n"
                                         "click BitBtn1\n"
                                         "step close and clear the marks\n"
                                         "answer Yes\n"
                                         "close TambrelOutForm\n");
    const InstalledSuite::Run entered = suite.run(
        QStringLiteral("Tambrel22"), {QStringLiteral("FormImages/CS_TR2.jpg")}, suite.folder(),
        {{QStringLiteral("Tambrel22"), entry}, {QStringLiteral("TambrelOut"), print}});
    expectNoFailure(entered, "Tambrel22 and TambrelOut");
    ASSERT_TRUE(entered.log.contains(QStringLiteral("TambrelOut: done")))
        << "TambrelOut did not run its script\n"
        << entered.log.toStdString();

    {
        SCOPED_TRACE("step: the slip is stored once, its mark cleared");
        const QStringList rows = suite.sql(QStringLiteral(
            "SELECT COALESCE(PRINTOUT, 0) || '|' || CONAME || '|' || HINMEI_11 || '|' || "
            "GENKAKEI_1 || '|' || GENKAKEI_2 || '|' || GOUKEI_GENKA9 || '|' || "
            "COALESCE(DENNO_1, '') || '|' || COALESCE(DENNO_2, '') FROM TAMBREL;"));
        ASSERT_EQ(rows.size(), 1) << rows.join(u'\n').toStdString();
        const QStringList row = rows.first().split(u'|');
        ASSERT_EQ(row.size(), 8) << rows.first().toStdString();
        EXPECT_EQ(row.mid(0, 6).join(u'|'),
                  QStringLiteral("0|株式会社ロード商事|りんごジュース|1800|1600|3400"));
        SCOPED_TRACE("step: the reserved number carries its 7DR digit");
        EXPECT_EQ(row[6], QStringLiteral("000001"));
        EXPECT_EQ(row[7], QString::number(row[6].toLongLong() % 7));
    }
    {
        SCOPED_TRACE("step: the PDF holds every value inside its box of the form");
        const QString pdf =
            newestFile(suite.documents() + QStringLiteral("/TambrelPDF"), QStringLiteral("*.pdf"));
        ASSERT_FALSE(pdf.isEmpty()) << "no PDF was printed";
        int pages = 0;
        const QStringList outside = valuesOutsideBoxes(
            pdf, suite.folder() + QStringLiteral("/FormTR2.prn"), kValues, &pages);
        EXPECT_EQ(pages, 1);
        EXPECT_TRUE(outside.isEmpty()) << outside.join(u' ').toStdString();
    }

    const QString exportScript = QStringLiteral("step export every slip\n"
                                                "choose ComboSelDate 条件から除外\n"
                                                "answer Ok\n"
                                                "click SpeedButton2\n"
                                                "step close the export program\n"
                                                "close KestravForm\n");
    const InstalledSuite::Run exported = suite.run(QStringLiteral("Kestrav"), {}, suite.folder(),
                                                   {{QStringLiteral("Kestrav"), exportScript}});
    expectNoFailure(exported, "Kestrav");
    {
        SCOPED_TRACE("step: the spreadsheet holds the slip's values");
        const QString xlsx = newestFile(suite.documents(), QStringLiteral("*.xlsx"));
        ASSERT_FALSE(xlsx.isEmpty()) << "no spreadsheet was written\n"
                                     << exported.log.toStdString();
        const XlsxContent sheet(xlsx);
        ASSERT_TRUE(sheet.ok()) << sheet.error().toStdString();
        ASSERT_EQ(sheet.maxRow(), 2);
        const QStringList row = sheet.rowTexts(2);
        for (const QString &v : kValues)
            EXPECT_TRUE(row.contains(v)) << v.toStdString() << " not in the exported row";
    }
}

namespace {

// A clerk entering count slips in a slip entry program, then meeting the
// other clerk before printing.
QString enterSlips(const QString &who, int count)
{
    QString s;
    for (int n = 1; n <= count; ++n) {
        s += QStringLiteral("step %1 enters slip %2\n").arg(who).arg(n);
        s += QStringLiteral("click CaptionDBNavi1/nbInsert\n");
        s += QStringLiteral("type CONA 株式会社%1の%2\n").arg(who).arg(n);
        s += QStringLiteral("type HINMEI_11 品物%1\n").arg(n);
        s += QStringLiteral("type KAZU_11 %1\n").arg(n);
        s += QStringLiteral("click CaptionDBNavi1/nbPost\n");
        s += QStringLiteral("check DBCheckBox1 1\n");
    }
    return s;
}

} // namespace

TEST(Road, TwoSlipTypesAndThePrintOutProgramShareOneDatabaseOnTheServer)
{
    ServerTestDatabase file;
    if (!file.available())
        GTEST_SKIP() << "no Firebird server for tests (TAMBREL_TEST_FB_PORT unset)";
    InstalledSuite suite;
    ASSERT_TRUE(suite.error().isEmpty()) << suite.error().toStdString();
    const QString tambrel = QStringLiteral("TAMBREL");
    ASSERT_TRUE(
        WriteIniString(suite.settingsFile(), tambrel, QStringLiteral("F_DbPath"), file.path()));
    ASSERT_TRUE(WriteIniInteger(suite.settingsFile(), tambrel, QStringLiteral("AutoRenban"), 1));
    ASSERT_TRUE(WriteIniInteger(suite.settingsFile(), tambrel, QStringLiteral("DenKetaCD"), 2));
    suite.sql(QStringLiteral("UPDATE TAMBRELSET SET SHOWPD = 0, PR_FORM = 1 WHERE DENNAME IN "
                             "('ターンアラウンド用１型（２行印字）', 'タイプ用１型（１行印字）');"),
              file.path());

    const QString meet = suite.home() + QStringLiteral("/");
    const int perClerk = 3;
    const QString print = QStringLiteral("step choose the PDF printer and the form's paper\n"
                                         "choose ComboBox1 PDF ファイル\n"
                                         "choose ComboBox3 ユーザー定義サイズ\n"
                                         "step print every marked slip\n"
                                         "answer Yes\n"
                                         "click BitBtn1\n"
                                         "step close, keeping the marks\n"
                                         "answer No\n"
                                         "close TambrelOutForm\n");
    // Both clerks enter at the same time; then type 12 prints, then T11.
    const QString type12 = enterSlips(QStringLiteral("一型"), perClerk) +
                           QStringLiteral("touch %1entered12\n"
                                          "step wait for the other clerk\n"
                                          "waitfile %1enteredT11\n"
                                          "step print from type 12\n"
                                          "click PrintBtn\n"
                                          "click SelDataForm/BitBtn1\n"
                                          "check DBCheckBox1 1\n"
                                          "touch %1printed12\n"
                                          "step close type 12\n"
                                          "click TTambrel12Form/BitBtn1\n")
                               .arg(meet);
    const QString typeT11 = enterSlips(QStringLiteral("タイプ"), perClerk) +
                            QStringLiteral("touch %1enteredT11\n"
                                           "step wait for type 12 to print\n"
                                           "waitfile %1printed12\n"
                                           "step print from type T11\n"
                                           "click PrintBtn\n"
                                           "click SelDataForm/BitBtn1\n"
                                           "check DBCheckBox1 1\n"
                                           "step close type T11\n"
                                           "click TTambrelT11Form/BitBtn1\n")
                                .arg(meet);

    // The two entry programs run as processes at once.
    InstalledSuite::Run runT11;
    std::thread other([&] {
        runT11 = suite.run(
            QStringLiteral("TambrelT11"), {QStringLiteral("FormImages/CS_TY1.jpg")}, suite.folder(),
            {{QStringLiteral("TambrelT11"), typeT11}, {QStringLiteral("TambrelOut"), print}}, 240,
            {}, QStringLiteral("t11"));
    });
    const InstalledSuite::Run run12 = suite.run(
        QStringLiteral("Tambrel12"), {QStringLiteral("FormImages/CS_TR1.jpg")}, suite.folder(),
        {{QStringLiteral("Tambrel12"), type12}, {QStringLiteral("TambrelOut"), print}}, 240, {},
        QStringLiteral("12"));
    other.join();
    expectNoFailure(run12, "Tambrel12");
    expectNoFailure(runT11, "TambrelT11");

    {
        SCOPED_TRACE("step: every slip stored once, no number given twice");
        const QStringList numbers = suite.sql(
            QStringLiteral("SELECT DENNO_1 || '|' || DENNO_2 || '|' || PRINTOUT FROM TAMBREL;"),
            file.path());
        EXPECT_EQ(numbers.size(), 2 * perClerk) << numbers.join(u' ').toStdString();
        QSet<QString> distinct;
        for (const QString &row : numbers) {
            const QStringList f = row.split(u'|');
            ASSERT_EQ(f.size(), 3) << row.toStdString();
            distinct.insert(f[0]);
            EXPECT_EQ(f[1], QString::number(f[0].toLongLong() % 7)) << row.toStdString();
            EXPECT_EQ(f[2], QStringLiteral("1")) << row.toStdString();
        }
        EXPECT_EQ(distinct.size(), 2 * perClerk);
    }
    {
        SCOPED_TRACE("step: one print run of each display name, every slip on its page");
        // Type 12 prints the slips saved by then (its own: the other clerk's
        // are still in his program's cache); T11 saves its own first and
        // prints every marked slip, both types, since the marks were kept.
        const QFileInfoList pdfs =
            QDir(suite.documents() + QStringLiteral("/TambrelPDF"))
                .entryInfoList({"*.pdf"}, QDir::Files, QDir::Time | QDir::Reversed);
        ASSERT_EQ(pdfs.size(), 2);
        QList<int> pages;
        for (const QFileInfo &pdf : pdfs) {
            int n = 0;
            valuesOutsideBoxes(pdf.filePath(), suite.folder() + QStringLiteral("/FormTR1.prn"), {},
                               &n);
            pages << n;
        }
        EXPECT_EQ(pages, QList<int>({perClerk, 2 * perClerk}));
    }
}
