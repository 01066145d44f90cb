#include "CommandFile.h"
#include "PageIndex.h"
#include "Printout.h"
#include "ScriptedMessages.h"
#include "TestFiles.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QList<QByteArray> allLines(const QString &path)
{
    CommandFile f(path);
    QList<QByteArray> lines;
    while (!f.atEnd())
        lines << f.readLine();
    return lines;
}

} // namespace

TEST(CommandRecord, FieldsDefaultsAndLetters)
{
    struct Case
    {
        QByteArray line;
        QChar letter;
        QStringList texts;  // the first fields as text
        QList<int> numbers; // the same fields as numbers, default 7
    };
    const Case cases[] = {
        // No trailing separator: read as if one were there.
        {"t100;200;abc", QLatin1Char('T'), {"100", "200", "abc", ""}, {100, 200, 7, 7}},
        {"T480;60;ABC;;10;B;0;1;",
         QLatin1Char('T'),
         {"480", "60", "ABC", "", "10"},
         {480, 60, 7, 7, 10}},
        // Letters and empty fields take the default; signs and spaces are numbers.
        {"Lx;;-5; 12 ;+3",
         QLatin1Char('L'),
         {"x", "", "-5", " 12 ", "+3", ""},
         {7, 7, -5, 12, 3, 7}},
        // Beyond the int range is not a number.
        {"B99999999999;1", QLatin1Char('B'), {"99999999999", "1"}, {7, 1}},
        {"e", QLatin1Char('E'), {""}, {7}},
        {";T1", QLatin1Char(';'), {"T1"}, {7}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        CommandRecord text(c.line);
        CommandRecord num(c.line);
        EXPECT_EQ(text.letter(), c.letter);
        for (const QString &expected : c.texts)
            EXPECT_EQ(text.text(), expected);
        for (int expected : c.numbers)
            EXPECT_EQ(num.number(7), expected);
    }
}

TEST(CommandRecord, ShiftJisTextIsDecoded)
{
    // T1;2;日本;ＭＳ 明朝;
    CommandRecord rec(QByteArray("T1;2;\x93\xfa\x96\x7b;\x82\x6c\x82\x72 \x96\xbe\x92\xa9;"));
    EXPECT_EQ(rec.number(), 1);
    EXPECT_EQ(rec.number(), 2);
    EXPECT_EQ(rec.text(), QStringLiteral("日本"));
    EXPECT_EQ(rec.text(), QStringLiteral("ＭＳ 明朝"));
}

TEST(NextField, MovesPastTheSeparatorAndStopsAtTheEnd)
{
    const QString line = QStringLiteral("Ta;;bc;");
    qsizetype pos = 1;
    EXPECT_EQ(NextField(line, pos), QStringLiteral("a"));
    EXPECT_EQ(pos, 3);
    EXPECT_EQ(NextField(line, pos), QString());
    EXPECT_EQ(NextField(line, pos), QStringLiteral("bc"));
    EXPECT_EQ(pos, line.size());
    EXPECT_EQ(NextField(line, pos), QString());
    EXPECT_EQ(pos, line.size());
}

TEST(CommandFile, LineBreaksAndPositions)
{
    QTemporaryDir dir;
    // CR LF, a lone LF, a lone CR, an empty line, and no break at the end.
    const QString path = WriteTestFile(dir, "a.tmp", "T1;\r\nL2;\nB3;\rE\r\n\r\nF4;");
    const QList<QByteArray> expected{"T1;", "L2;", "B3;", "E", "", "F4;"};
    EXPECT_EQ(allLines(path), expected);

    CommandFile f(path);
    f.readLine();
    const qint64 second = f.pos();
    f.readLine();
    f.readLine();
    f.seek(second);
    EXPECT_EQ(f.readLine(), QByteArray("L2;"));
    f.rewind();
    EXPECT_EQ(f.readLine(), QByteArray("T1;"));
}

TEST(CommandFile, LinesLongerThanTheReadChunk)
{
    QTemporaryDir dir;
    // A CR LF pair split across two reads must still count as one break.
    QByteArray big(64 * 1024 - 1, 'x');
    big.prepend('T');
    const QString path = WriteTestFile(dir, "b.tmp", big + "\r\nE\r\n" + QByteArray(100000, 'y'));
    const QList<QByteArray> lines = allLines(path);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0].size(), 64 * 1024);
    EXPECT_EQ(lines[1], QByteArray("E"));
    EXPECT_EQ(lines[2].size(), 100000);
}

TEST(CommandFile, MissingFileIsAnError)
{
    EXPECT_THROW(CommandFile("/nonexistent/dir/file.tmp"), CommandFileError);
}

TEST(Pages, CountPagesAndSkipToPage)
{
    QTemporaryDir dir;
    ScriptedMessages messages;
    struct Case
    {
        QByteArray content;
        int pages;
    };
    const Case cases[] = {
        {"", 1},
        {"T1;\r\n\r\n", 1},
        {"T1;\r\n\r\nE\r\nT2;\r\n\r\n", 2},     // two slips, one E
        {"T1;\r\nE\r\nT2;\r\nE\r\n", 3},        // trailing E: empty last page
        {"T1;\r\ne\r\nT2;\r\nE\r\nT3;\r\n", 3}, // lower-case e counts
        {"E\r\nE\r\nE", 4},
        {"X\r\n\r\n;E\r\n", 1}, // no record letter, empty line
    };
    int n = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.content.toStdString());
        const QString path = WriteTestFile(dir, QStringLiteral("p%1.tmp").arg(n++), c.content);
        EXPECT_EQ(CountPages(path), c.pages);
        CommandFile f(path);
        for (int page = 1; page <= c.pages; ++page) {
            f.rewind();
            EXPECT_TRUE(SkipToPage(f, page, false)) << page;
        }
        f.rewind();
        EXPECT_FALSE(SkipToPage(f, c.pages + 1, false));
    }
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_EQ(CountPages(QString()), 1);
    EXPECT_EQ(CountPages(dir.filePath("missing.tmp")), 1);
    EXPECT_EQ(messages.texts(),
              QStringList{QLatin1Char('"') + dir.filePath("missing.tmp") + "\"が見つかりません!"});
}

TEST(Pages, SkipToPageWrapsTheFormOverlay)
{
    QTemporaryDir dir;
    // Two pages: page 3 is page 1 again, page 4 page 2.
    const QString path = WriteTestFile(dir, "f.tmp", "T1;A\r\nE\r\nT2;B\r\n");
    CommandFile f(path);
    for (int page : {1, 2, 3, 4, 5}) {
        f.rewind();
        ASSERT_TRUE(SkipToPage(f, page, true));
        EXPECT_EQ(f.readLine(), page % 2 == 1 ? QByteArray("T1;A") : QByteArray("T2;B")) << page;
    }
}

TEST(PageIndex, PositionsLikeSkipToPage)
{
    QTemporaryDir dir;
    const QByteArray files[] = {
        "",
        "T1;\r\n",
        "T1;\r\n\r\nE\r\nT2;\r\n\r\n",
        "T1;\r\nE\r\nT2;\r\nE\r\n",
        "E\r\nE\r\n",
        "E",
        "T1;\r\nE\r\nT2;\r\nE\r\nT3;",
        "\r\n",
        // Lone line breaks, and a page end split from its LF.
        "T1;\nE\nT2;\rE\rT3;",
        "E\r\r\nT2;\re\n\nE",
        "\n\rE\r",
    };
    int k = 0;
    for (const QByteArray &content : files) {
        SCOPED_TRACE(content.toStdString());
        const QString path = WriteTestFile(dir, QStringLiteral("i%1.tmp").arg(k++), content);
        PageIndex index;
        ASSERT_TRUE(index.update(path));
        EXPECT_EQ(index.pageCount(), CountPages(path));
        CommandFile a(path);
        CommandFile b(path);
        for (bool wrap : {false, true}) {
            for (int page = 1; page <= 7; ++page) {
                a.rewind();
                const bool expected = SkipToPage(a, page, wrap);
                EXPECT_EQ(index.seekToPage(b, page, wrap), expected) << page << wrap;
                if (expected) {
                    EXPECT_EQ(b.pos(), a.pos()) << page << wrap;
                }
            }
        }
    }
}

TEST(PageIndex, RebuildsWhenTheFileChanges)
{
    QTemporaryDir dir;
    const QString path = WriteTestFile(dir, "c.tmp", "T1;\r\nE\r\nT2;\r\n");
    PageIndex index;
    ASSERT_TRUE(index.update(path));
    EXPECT_EQ(index.pageCount(), 2);
    WriteTestFile(dir, "c.tmp", "T1;\r\nE\r\nT2;\r\nE\r\nT3;\r\nE\r\n");
    ASSERT_TRUE(index.update(path));
    EXPECT_EQ(index.pageCount(), 4);
    EXPECT_FALSE(index.update(dir.filePath("gone.tmp")));
}
