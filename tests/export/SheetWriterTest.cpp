#include "SheetWriter.h"
#include "ExportTexts.h"
#include "TestDatabase.h"
#include "XlsxContent.h"
#include "app/ConnectDatabase.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A table with one column of every kind the sheet treats differently.
const char *const kKindsTable =
    "CREATE TABLE KINDS (N INTEGER, CODE VARCHAR(10), NOTE VARCHAR(60), "
    "MEMO BLOB SUB_TYPE TEXT, BIN BLOB SUB_TYPE 0, RAW CHAR(4) CHARACTER SET OCTETS, "
    "FLAG BOOLEAN, D DATE, TS TIMESTAMP, AMOUNT NUMERIC(9,2), TM TIME)";

class SheetWriterTest : public ::testing::Test
{
protected:
    SheetWriterTest()
    {
        ConnectDatabaseTo(m_db, m_tr, m_file.path());
        execute(QString::fromLatin1(kKindsTable));
        m_options.trueText = QString::fromUtf16(ExportTexts::kTrueText);
        m_options.falseText = QString::fromUtf16(ExportTexts::kFalseText);
    }

    void execute(const QString &sql)
    {
        Transaction tr(&m_db);
        m_db.executeImmediate(tr, sql);
        tr.commit();
    }

    void insertKinds(int n, const QString &code, const QString &note, const QVariant &flag,
                     const QString &date)
    {
        Transaction tr(&m_db);
        Query q(m_db, tr);
        q.setSql(QStringLiteral(
            "INSERT INTO KINDS (N, CODE, NOTE, MEMO, BIN, RAW, FLAG, D, TS, AMOUNT, TM) VALUES "
            "(:N, :C, :NOTE, :NOTE, 'x', 'abcd', :F, CAST(:D AS DATE), "
            "CAST(:D AS TIMESTAMP) + 0.5, 12.5, '10:30:00')"));
        q.setParam(QStringLiteral("N"), n);
        const auto orNull = [](const QString &t) { return t.isEmpty() ? QVariant() : QVariant(t); };
        q.setParam(QStringLiteral("C"), orNull(code));
        q.setParam(QStringLiteral("NOTE"), orNull(note));
        // Booleans travel as the texts the engine converts.
        q.setParam(QStringLiteral("F"),
                   flag.isValid() ? QVariant(flag.toBool() ? "TRUE" : "FALSE") : QVariant());
        q.setParam(QStringLiteral("D"), orNull(date));
        q.execute();
        tr.commit();
    }

    // Opens the query on its first row and writes it.
    SheetOutcome writeQuery(const QString &sql, const QStringList *headers,
                            const QString &name = QStringLiteral("out.xlsx"),
                            SheetWriter::Existing existing = SheetWriter::Existing::Replace,
                            const SheetProgress &progress = {})
    {
        Query q(m_db, m_tr);
        q.setSql(sql);
        q.openFirst();
        const SheetOutcome outcome =
            SheetWriter::write(q, headers, m_options, m_dir.filePath(name), existing, progress);
        m_tr.commit();
        return outcome;
    }

    QStringList filesInDir() const
    {
        return QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    TestDatabase m_file;
    Database m_db;
    Transaction m_tr;
    QTemporaryDir m_dir;
    SheetOptions m_options;
};

} // namespace

TEST_F(SheetWriterTest, EveryKindOfColumnLandsInTheSheetAsItsKindAsks)
{
    insertKinds(12, QStringLiteral("0012"), QStringLiteral("一行目\r\n二行目\tタブ\r三\n四"), true,
                QStringLiteral("2006-07-25"));
    insertKinds(7, QStringLiteral("A-1"), QStringLiteral("x"), false, QStringLiteral("2006-07-01"));
    insertKinds(8, QString(), QString(), QVariant(), QString());
    const SheetOutcome outcome =
        writeQuery(QStringLiteral("SELECT * FROM KINDS ORDER BY N DESC"), nullptr);
    EXPECT_EQ(outcome.rows, 3);
    // BIN (binary blob) and RAW (byte string) have no column at all.
    EXPECT_EQ(outcome.columns, 9);
    EXPECT_EQ(outcome.calcColArray, (QVector<int>{-1, 1, 2, -1, -1, -1, -1, -1, -1}));

    const XlsxContent x(outcome.path);
    ASSERT_TRUE(x.ok()) << x.error().toStdString();
    EXPECT_EQ(x.rowTexts(1),
              (QStringList{"N", "CODE", "NOTE", "MEMO", "FLAG", "D", "TS", "AMOUNT", "TM"}));
    for (int col = 1; col <= 9; ++col)
        EXPECT_EQ(x.cell(XlsxContent::columnName(col) + "1").horizontal, "center") << col;

    const struct
    {
        const char *cell;
        QVariant value;
        const char *type;
        const char *format;
    } cases[] = {
        {"A2", 12, "n", "General"},
        {"B2", "0012", "s", "@"},
        {"C2", u"一行目 二行目 タブ 三 四"_qs, "s", "@"},
        {"D2", u"一行目 二行目 タブ 三 四"_qs, "s", "General"},
        {"E2", u"○"_qs, "s", "General"},
        {"F2", "2006-07-25T00:00:00", "d", "mm-dd-yy"},
        {"G2", "2006-07-25T12:00:00", "d", "m/d/yy h:mm"},
        {"H2", 12.5, "n", "General"},
        {"I2", "10:30:00", "d", "h:mm:ss"},
        {"A3", 8, "n", "General"},
        {"E3", QVariant(), "", ""}, // null is neither true nor false
        {"B3", QVariant(), "", ""},
        {"E4", u"×"_qs, "s", "General"},
        {"B4", "A-1", "s", "@"},
    };
    for (const auto &c : cases) {
        const XlsxCell cell = x.cell(QString::fromLatin1(c.cell));
        SCOPED_TRACE(c.cell);
        if (!c.value.isValid()) {
            EXPECT_FALSE(cell.exists && cell.value.isValid());
            continue;
        }
        if (c.value.typeId() == QMetaType::QString)
            EXPECT_EQ(cell.value.toString(), c.value.toString());
        else
            EXPECT_DOUBLE_EQ(cell.value.toDouble(), c.value.toDouble());
        EXPECT_EQ(cell.type, QString::fromLatin1(c.type));
        EXPECT_EQ(cell.format, QString::fromLatin1(c.format));
    }
    EXPECT_EQ(x.freezePanes(), "B2");
    EXPECT_EQ(x.maxRow(), 4);
}

TEST_F(SheetWriterTest, WidthsFollowTheLongestTextWithFullWidthCountingTwo)
{
    insertKinds(1, QStringLiteral("0012"), QStringLiteral("ABCDEFGHIJKLMNOPQRST"), true,
                QStringLiteral("2006-07-25"));
    insertKinds(2, QStringLiteral("12345"), QStringLiteral("短い"), true,
                QStringLiteral("2006-07-25"));
    const QStringList headers{QStringLiteral("番号"), QStringLiteral("コード"),
                              QStringLiteral("備考")};
    const SheetOutcome outcome = writeQuery(
        QStringLiteral("SELECT N, CODE, NOTE, CODE || CODE || CODE FROM KINDS"), &headers);
    const XlsxContent x(outcome.path);
    ASSERT_TRUE(x.ok()) << x.error().toStdString();
    // "コード" (six) beats "12345"; twenty letters beat "短い"; "番号" is four.
    EXPECT_GT(x.width("B"), x.width("A"));
    EXPECT_GT(x.width("C"), x.width("B"));
    EXPECT_GE(x.width("C"), 20.0);
    EXPECT_GE(x.width("B"), 6.0);
    EXPECT_LT(x.width("B"), 8.0);
    EXPECT_GE(x.width("D"), 15.0); // no header: the data decides
    EXPECT_EQ(DisplayWidth(QStringLiteral("ｺｰﾄﾞ12")), 6);
    EXPECT_EQ(DisplayWidth(QStringLiteral("全角Ａ1")), 7);
}

TEST_F(SheetWriterTest, AShortHeaderListLeavesTheOtherHeadersEmpty)
{
    insertKinds(1, QStringLiteral("0012"), QStringLiteral("x"), true, QStringLiteral("2006-07-25"));
    const QStringList headers{QStringLiteral("番号")};
    const SheetOutcome outcome =
        writeQuery(QStringLiteral("SELECT N, CODE, NOTE FROM KINDS"), &headers);
    const XlsxContent x(outcome.path);
    ASSERT_TRUE(x.ok()) << x.error().toStdString();
    EXPECT_EQ(x.rowTexts(1), (QStringList{"番号", "", ""}));
    EXPECT_EQ(x.rowTexts(2), (QStringList{"1", "0012", "x"}));
}

TEST_F(SheetWriterTest, StartCellAndFreezeCellMoveTheTable)
{
    insertKinds(1, QStringLiteral("0012"), QStringLiteral("x"), true, QStringLiteral("2006-07-25"));
    m_options.startRow = 3;
    m_options.startColumn = 2;
    m_options.freezeRow = 4;
    m_options.freezeColumn = 3;
    const SheetOutcome outcome = writeQuery(QStringLiteral("SELECT N, CODE FROM KINDS"), nullptr);
    const XlsxContent x(outcome.path);
    ASSERT_TRUE(x.ok()) << x.error().toStdString();
    EXPECT_EQ(x.cell("B3").value.toString(), "N");
    EXPECT_EQ(x.cell("C4").value.toString(), "0012");
    EXPECT_EQ(x.cell("C4").format, "@");
    EXPECT_FALSE(x.cell("A1").value.isValid());
    EXPECT_EQ(x.freezePanes(), "C4");
}

TEST_F(SheetWriterTest, CellTextReplacesBreaksAndTabsByOneSpaceEach)
{
    const struct
    {
        QString in;
        QString out;
    } cases[] = {
        {"a\r\nb", "a b"},  {"a\r\r\nb", "a  b"}, {"a\n\rb", "a  b"},
        {"a\tb\t", "a b "}, {"plain", "plain"},   {"", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(CellText(c.in), c.out) << c.in.toStdString();
}

TEST_F(SheetWriterTest, AFailureWhileReadingLeavesNoFileBehind)
{
    for (int n = 1; n <= 5; ++n)
        insertKinds(n, QStringLiteral("c"), QStringLiteral("x"), true,
                    QStringLiteral("2006-07-25"));
    try {
        // Row 3 divides by zero while it is fetched.
        writeQuery(QStringLiteral("SELECT N, 10 / (N - 3) FROM KINDS ORDER BY N"), nullptr);
        FAIL() << "no error";
    } catch (const SheetError &e) {
        EXPECT_EQ(e.message(), QString::fromUtf16(ExportTexts::kOutputError));
        EXPECT_FALSE(e.detail().isEmpty());
    }
    EXPECT_EQ(filesInDir(), QStringList{});
}

TEST_F(SheetWriterTest, AMissingFolderIsAnErrorNotASuccess)
{
    insertKinds(1, QStringLiteral("c"), QStringLiteral("x"), true, QStringLiteral("2006-07-25"));
    EXPECT_THROW(writeQuery(QStringLiteral("SELECT N FROM KINDS"), nullptr,
                            QStringLiteral("no/such/folder/out.xlsx")),
                 SheetError);
    EXPECT_EQ(filesInDir(), QStringList{});
}

TEST_F(SheetWriterTest, ATableWiderThanTheSheetIsAnErrorNotATruncation)
{
    insertKinds(1, QStringLiteral("c"), QStringLiteral("x"), true, QStringLiteral("2006-07-25"));
    m_options.startColumn = 16384; // the last column of a sheet: room for one
    EXPECT_NO_THROW(writeQuery(QStringLiteral("SELECT N FROM KINDS"), nullptr));
    EXPECT_THROW(writeQuery(QStringLiteral("SELECT N, CODE FROM KINDS"), nullptr,
                            QStringLiteral("wide.xlsx")),
                 SheetError);
    EXPECT_EQ(filesInDir(), QStringList{"out.xlsx"});
}

TEST_F(SheetWriterTest, CancelLeavesNoFile)
{
    execute(QStringLiteral("EXECUTE BLOCK AS DECLARE I INTEGER = 0; BEGIN "
                           "WHILE (I < 500) DO BEGIN INSERT INTO KINDS (N, CODE) VALUES (:I, 'c'); "
                           "I = I + 1; END END"));
    qint64 seen = 0;
    const SheetOutcome outcome =
        writeQuery(QStringLiteral("SELECT N, CODE FROM KINDS"), nullptr, QStringLiteral("out.xlsx"),
                   SheetWriter::Existing::Replace, [&seen](qint64 rows) {
                       seen = rows;
                       return rows < 2 * SheetWriter::kProgressEvery;
                   });
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_EQ(seen, 2 * SheetWriter::kProgressEvery);
    EXPECT_TRUE(outcome.path.isEmpty());
    EXPECT_EQ(filesInDir(), QStringList{});
}

TEST_F(SheetWriterTest, KeepNeverOverwritesAndReplaceDoes)
{
    insertKinds(1, QStringLiteral("first"), QStringLiteral("x"), true,
                QStringLiteral("2006-07-25"));
    const QString first = writeQuery(QStringLiteral("SELECT CODE FROM KINDS"), nullptr,
                                     QStringLiteral("out.xlsx"), SheetWriter::Existing::Keep)
                              .path;
    execute(QStringLiteral("UPDATE KINDS SET CODE = 'second'"));
    const QString second = writeQuery(QStringLiteral("SELECT CODE FROM KINDS"), nullptr,
                                      QStringLiteral("out.xlsx"), SheetWriter::Existing::Keep)
                               .path;
    EXPECT_EQ(first, m_dir.filePath("out.xlsx"));
    EXPECT_EQ(second, m_dir.filePath("out (2).xlsx"));
    EXPECT_EQ(XlsxContent(first).cell("A2").value.toString(), "first");
    EXPECT_EQ(XlsxContent(second).cell("A2").value.toString(), "second");

    execute(QStringLiteral("UPDATE KINDS SET CODE = 'third'"));
    const QString third = writeQuery(QStringLiteral("SELECT CODE FROM KINDS"), nullptr,
                                     QStringLiteral("out.xlsx"), SheetWriter::Existing::Replace)
                              .path;
    EXPECT_EQ(third, first);
    EXPECT_EQ(XlsxContent(first).cell("A2").value.toString(), "third");
    EXPECT_EQ(filesInDir(), (QStringList{"out (2).xlsx", "out.xlsx"}));
}

TEST_F(SheetWriterTest, NoRowsGivesTheHeaderRowOnly)
{
    const QStringList headers{QStringLiteral("番号")};
    const SheetOutcome outcome = writeQuery(QStringLiteral("SELECT N FROM KINDS"), &headers);
    EXPECT_EQ(outcome.rows, 0);
    const XlsxContent x(outcome.path);
    ASSERT_TRUE(x.ok()) << x.error().toStdString();
    EXPECT_EQ(x.maxRow(), 1);
    EXPECT_EQ(x.cell("A1").value.toString(), "番号");
}
