#include "PrintTool.h"
#include "CommandFile.h"
#include "Printout.h"
#include "text/ShiftJis.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class PrintToolTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TPrintTool::resetSettings();
        path = dir.filePath("Prntmpp.tmp");
    }
    void TearDown() override { TPrintTool::resetSettings(); }

    QByteArray contents() const
    {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }

    QTemporaryDir dir;
    QString path;
};

} // namespace

TEST_F(PrintToolTest, InitialSettings)
{
    const TPrintTool::Settings &s = TPrintTool::settings();
    EXPECT_EQ(s.dataFile, QStringLiteral("pdbwork.tmp"));
    EXPECT_TRUE(s.formFile.isEmpty());
    EXPECT_TRUE(s.title.isEmpty());
    EXPECT_EQ(s.orientation, 0);
    EXPECT_EQ(s.paperSize, 0);
    EXPECT_EQ(s.leftOffset, 0);
    EXPECT_EQ(s.topOffset, 0);
    EXPECT_EQ(s.printForm, 0);
    EXPECT_EQ(s.showDialog, 1);
    EXPECT_EQ(s.message, QStringLiteral("只今、印刷中"));
}

TEST_F(PrintToolTest, SettingsOutliveTheWriter)
{
    {
        TPrintTool tool;
        tool.SetDataFile(path);
        tool.SetFormFile(QStringLiteral("form.tmp"));
        tool.SetTitle(QStringLiteral("題"));
        tool.SetOrientation(1);
        tool.SetPaperSize(12);
        tool.SetLeftOffset(-15);
        tool.SetTopOffset(25);
        tool.SetPrintForm(1);
        tool.SetShowDialog(0);
    }
    // A later writer writes to the file the earlier one was given.
    TPrintTool later;
    later.OpenFile();
    later.CloseFile();
    EXPECT_TRUE(QFile::exists(path));
    const TPrintTool::Settings &s = TPrintTool::settings();
    EXPECT_EQ(s.dataFile, path);
    EXPECT_EQ(s.formFile, QStringLiteral("form.tmp"));
    EXPECT_EQ(s.title, QStringLiteral("題"));
    EXPECT_EQ(s.orientation, 1);
    EXPECT_EQ(s.paperSize, 12);
    EXPECT_EQ(s.leftOffset, -15);
    EXPECT_EQ(s.topOffset, 25);
    EXPECT_EQ(s.printForm, 1);
    EXPECT_EQ(s.showDialog, 0);
}

TEST_F(PrintToolTest, WritesTheExactBytes)
{
    TPrintTool tool;
    tool.SetDataFile(path);
    tool.OpenFile();
    tool.WriteText(480, 60, QStringLiteral("ABC"), QStringLiteral("ＭＳ Ｐゴシック"), 10,
                   QStringLiteral("B"), QString(), QStringLiteral("1"));
    tool.EndPage();
    tool.WriteText(-3, 0, QStringLiteral("日本"), QString(), 0, QString(), QStringLiteral("rb*"),
                   QString());
    tool.CloseFile();
    const QByteArray expected = "T480;60;ABC;" +
                                ShiftJis::encode(QStringLiteral("ＭＳ Ｐゴシック")) +
                                ";10;B;0;1;\r\n\r\n"
                                "E\r\n"
                                "T-3;0;" +
                                ShiftJis::encode(QStringLiteral("日本")) + ";;0;;12;;\r\n\r\n";
    EXPECT_EQ(contents(), expected);

    // Two slips, one E: two pages.
    EXPECT_EQ(CountPages(path), 2);
}

TEST_F(PrintToolTest, OpenTruncatesAnEarlierRun)
{
    TPrintTool tool;
    tool.SetDataFile(path);
    tool.OpenFile();
    tool.WriteText(1, 1, QStringLiteral("old"), {}, 0, {}, {}, {});
    tool.CloseFile();
    tool.OpenFile();
    tool.EndPage();
    tool.CloseFile();
    EXPECT_EQ(contents(), QByteArray("E\r\n"));
}

TEST_F(PrintToolTest, ReadBackGivesTheFieldsWritten)
{
    TPrintTool tool;
    tool.SetDataFile(path);
    tool.OpenFile();
    // Separators and line breaks cannot travel in a field; they would shift
    // the record or start a new one (here even a page end).
    tool.WriteText(10, 20, QStringLiteral("A;B\r\nE\nC"), QStringLiteral("Face;X"), 9,
                   QStringLiteral("BI"), QStringLiteral("W+"), QStringLiteral("0"));
    tool.CloseFile();
    EXPECT_EQ(CountPages(path), 1);
    CommandFile f(path);
    CommandRecord rec(f.readLine());
    EXPECT_EQ(rec.letter(), QLatin1Char('T'));
    EXPECT_EQ(rec.number(), 10);
    EXPECT_EQ(rec.number(), 20);
    EXPECT_EQ(rec.text(), QStringLiteral("A；B  E C"));
    EXPECT_EQ(rec.text(), QStringLiteral("Face；X"));
    EXPECT_EQ(rec.number(), 9);
    EXPECT_EQ(rec.text(), QStringLiteral("BI"));
    EXPECT_EQ(rec.number(), 14);
    EXPECT_EQ(rec.number(), 0);
    EXPECT_EQ(f.readLine(), QByteArray()); // the empty line after every T record
    EXPECT_TRUE(f.atEnd());
}

TEST_F(PrintToolTest, RefusesTextShiftJisCannotHold)
{
    TPrintTool tool;
    tool.SetDataFile(path);
    tool.OpenFile();
    tool.WriteText(1, 1, QStringLiteral("前"), {}, 0, {}, {}, {});
    try {
        tool.WriteText(1, 2, QStringLiteral("a😀b"), {}, 0, {}, {}, {});
        FAIL() << "no error";
    } catch (const ShiftJisError &e) {
        EXPECT_EQ(e.badCharacter(), QStringLiteral("😀"));
    }
    tool.CloseFile();
    // Nothing of the refused record reached the file.
    EXPECT_EQ(contents(), "T1;1;" + ShiftJis::encode(QStringLiteral("前")) + ";;0;;0;;\r\n\r\n");
}

TEST_F(PrintToolTest, FileErrorsAreRaised)
{
    TPrintTool tool;
    tool.SetDataFile(dir.filePath("no/such/dir/file.tmp"));
    EXPECT_THROW(tool.OpenFile(), PrintToolError);
    EXPECT_THROW(tool.EndPage(), PrintToolError);
}

TEST(ColorCode, WholeTable)
{
    const struct
    {
        const char *name;
        int number;
    } cases[] = {
        {"N", 0},
        {"R", 1},
        {"G", 2},
        {"GR", 3},
        {"RG", 3},
        {"B", 4},
        {"BR", 5},
        {"RB", 5},
        {"BG", 6},
        {"GB", 6},
        {"N+", 7},
        {"N*", 7},
        {"W", 8},
        {"R+", 9},
        {"R*", 9},
        {"G+", 10},
        {"G*", 10},
        {"B+", 11},
        {"B*", 11},
        {"BR+", 12},
        {"BR*", 12},
        {"RB*", 12},
        {"BG+", 13},
        {"GB+", 13},
        {"BG*", 13},
        {"GB*", 13},
        {"W+", 14},
        {"W*", 14},
        {"GR+", 15},
        {"RG+", 15},
        // Case does not matter.
        {"rb*", 12},
        {"w+", 14},
        {"gR+", 15},
        // Anything else is black: other orders and suffixes, spaces, empty.
        {"", 0},
        {"X", 0},
        {"RB+", 0},
        {"GR*", 0},
        {"RGB", 0},
        {"W ", 0},
        {"N-", 0},
        {"BRG", 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TPrintTool::ColorCode(QString::fromLatin1(c.name)), c.number) << c.name;
}

// A colour given as its number writes the record its name writes.
TEST(TextRecordByColourNumber, WritesTheRecordOfTheColourName)
{
    const struct
    {
        const char *name;
        int number;
    } cases[] = {{"N", 0}, {"R", 1}, {"B", 4}, {"BG", 6}, {"W", 8}, {"GR+", 15}};
    const QString text = QStringLiteral("伝票番号");
    const QString face = QStringLiteral("ＭＳ ゴシック");
    for (const auto &c : cases) {
        const QByteArray byNumber = TPrintTool::TextRecord(120, -45, text, face, 8, QString(),
                                                           c.number, QStringLiteral("1"));
        EXPECT_EQ(byNumber,
                  TPrintTool::TextRecord(120, -45, text, face, 8, QString(),
                                         QString::fromLatin1(c.name), QStringLiteral("1")))
            << c.name;
        EXPECT_EQ(byNumber, "T120;-45;" + ShiftJis::encode(text) + ';' + ShiftJis::encode(face) +
                                ";8;;" + QByteArray::number(c.number) + ";1;\r\n\r\n")
            << c.name;
    }
}

TEST(TextRecordByColourNumber, EscapesSeparatorsAndRefusesWhatShiftJisCannotHold)
{
    // A separator or line break inside a field would shift or split the record.
    const QByteArray semicolon = ShiftJis::encode(QStringLiteral("；"));
    EXPECT_EQ(TPrintTool::TextRecord(10, 20, QStringLiteral("A;B\r\nE"), QStringLiteral("Face;X"),
                                     9, QStringLiteral("BI"), 6, QStringLiteral("0")),
              "T10;20;A" + semicolon + "B  E;Face" + semicolon + "X;9;BI;6;0;\r\n\r\n");
    try {
        TPrintTool::TextRecord(1, 1, QStringLiteral("a😀"), QString(), 0, QString(), 3, QString());
        FAIL() << "no error";
    } catch (const ShiftJisError &e) {
        EXPECT_EQ(e.badCharacter(), QStringLiteral("😀"));
    }
}
