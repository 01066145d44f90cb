#include "db/IbFunc.h"
#include "ScriptedMessages.h"
#include "SlipFixture.h"
#include "app/AppError.h"

#include <QApplication>
#include <QCursor>

#include <functional>

namespace {

class OneShot : public SlipFixture
{
protected:
    void addCompanies()
    {
        // Names chosen so that database order, case and width differ.
        const char *names[] = {"beta", "Alpha", "gamma", "Alpha", "Delta"};
        int code = 5;
        for (const char *n : names) {
            Transaction tr(&m_db);
            Query q(m_db, tr);
            q.setSql(QStringLiteral("INSERT INTO COMPANY (ID, KUBUN, CONAME1, CODE1) "
                                    "VALUES (0, 0, :N, :C)"));
            q.setParam(QStringLiteral("N"), QStringLiteral("　%1 ").arg(QLatin1String(n)));
            q.setParam(QStringLiteral("C"), QString::number(code--));
            q.execute();
            tr.commit();
        }
    }

    qint64 generator()
    {
        Transaction tr(&m_db);
        Query q(m_db, tr);
        q.setSql(QStringLiteral("SELECT GEN_ID(IDNO_INC0, 0) FROM RDB$DATABASE"));
        q.openFirst();
        const qint64 v = q.value(0).toLongLong();
        tr.commit();
        return v;
    }

    // Runs a failing operation and returns its message; the wait cursor of
    // the operation is gone afterwards and the cursor set before is back.
    QString failureOf(const std::function<void()> &operation)
    {
        QApplication::setOverrideCursor(Qt::IBeamCursor);
        QString message;
        try {
            operation();
            ADD_FAILURE() << "the operation was expected to fail";
        } catch (const AppError &e) {
            message = e.message();
        }
        EXPECT_NE(QApplication::overrideCursor(), nullptr);
        if (QApplication::overrideCursor()) {
            EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::IBeamCursor);
        }
        QApplication::restoreOverrideCursor();
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        return message;
    }
};

} // namespace

TEST_F(OneShot, CountRecordsCountsTheSelection)
{
    EXPECT_EQ(CountRecords(m_db, QStringLiteral("TAMBREL"), QStringLiteral("WHERE (PRINTOUT = 1)")),
              0);
    insertSlip(QStringLiteral("甲"), 0, QStringLiteral("1"));
    EXPECT_EQ(CountRecords(m_db, QStringLiteral("TAMBREL"), QStringLiteral("WHERE (PRINTOUT = 1)")),
              0);
    insertSlip(QStringLiteral("乙"), 1, QStringLiteral("2"));
    insertSlip(QStringLiteral("丙"), 1, QStringLiteral("3"));
    EXPECT_EQ(CountRecords(m_db, QStringLiteral("TAMBREL"), QStringLiteral("WHERE (PRINTOUT = 1)")),
              2);
    EXPECT_EQ(CountRecords(m_db, QStringLiteral("TAMBREL"), QString()), 3);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(failureOf([&] { CountRecords(m_db, QStringLiteral("NO_TABLE"), QString()); }),
              QStringLiteral("データ取得中にエラーが発生しました。"));
}

TEST_F(OneShot, GeneratorWithZeroReadsWithoutAdvancing)
{
    insertSlip(QStringLiteral("甲"), 1, QStringLiteral("1"));
    const qint64 before = generator();
    EXPECT_EQ(GetGeneratorValue(m_db, QStringLiteral("IDNO_INC0"), QStringLiteral("0")), before);
    EXPECT_EQ(generator(), before);
    EXPECT_EQ(GetGeneratorValue(m_db, QStringLiteral("IDNO_INC0"), QStringLiteral("1")),
              before + 1);
    EXPECT_EQ(generator(), before + 1); // committed

    EXPECT_EQ(
        failureOf([&] { GetGeneratorValue(m_db, QStringLiteral("NO_GEN"), QStringLiteral("0")); }),
        QStringLiteral("Generator:NO_GEN Get Error"));
    // Only a number goes into the statement as the increment.
    EXPECT_EQ(failureOf([&] {
                  GetGeneratorValue(m_db, QStringLiteral("IDNO_INC0"),
                                    QStringLiteral("0) FROM RDB$DATABASE --"));
              }),
              QStringLiteral("Generator:IDNO_INC0 Get Error"));
    EXPECT_EQ(generator(), before + 1);
}

TEST_F(OneShot, ValueListOrders)
{
    addCompanies();
    const QString table = QStringLiteral("COMPANY");
    const QString name = QStringLiteral("CONAME1");
    struct Case
    {
        const char *label;
        QString order;
        QString direction;
        bool distinct;
        bool trim;
        QStringList expected;
    } cases[] = {
        {"no order, DESC: sorted descending, distinct",
         {},
         QStringLiteral("DESC"),
         false,
         true,
         {QStringLiteral("gamma"), QStringLiteral("Delta"), QStringLiteral("beta"),
          QStringLiteral("Alpha")}},
        {"no order, ASC: sorted ignoring case",
         {},
         QStringLiteral("ASC"),
         false,
         true,
         {QStringLiteral("Alpha"), QStringLiteral("beta"), QStringLiteral("Delta"),
          QStringLiteral("gamma")}},
        {"order column, ASC: the database's order of that column",
         QStringLiteral("CODE1"),
         QStringLiteral("ASC"),
         false,
         true,
         {QStringLiteral("Delta"), QStringLiteral("Alpha"), QStringLiteral("gamma"),
          QStringLiteral("Alpha"), QStringLiteral("beta")}},
        {"order column, DESC, untrimmed",
         QStringLiteral("CODE1"),
         QStringLiteral("DESC"),
         false,
         false,
         {QStringLiteral("　beta "), QStringLiteral("　Alpha "), QStringLiteral("　gamma "),
          QStringLiteral("　Alpha "), QStringLiteral("　Delta ")}},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(
            GetValueList(m_db, table, name, c.order, QString(), c.direction, c.distinct, c.trim),
            c.expected)
            << c.label;
    }
    // An alias after ") AS" names the result field.
    EXPECT_EQ(GetValueList(m_db, table, QStringLiteral("UPPER(CODE1) AS UC"), {},
                           QStringLiteral("WHERE (CODE1 < '3')"), QStringLiteral("ASC"), false,
                           true),
              (QStringList{QStringLiteral("1"), QStringLiteral("2")}));
    EXPECT_EQ(failureOf([&] {
                  GetValueList(m_db, table, QStringLiteral("NOPE"), {}, {}, {}, false, false);
              }),
              QStringLiteral("データ取得中にエラーが発生しました。"));
}

TEST_F(OneShot, UserTablesAreSortedAndMatchedIgnoringCase)
{
    const QStringList tables = GetUserTables(m_db);
    EXPECT_EQ(tables, (QStringList{QStringLiteral("COMPANY"), QStringLiteral("CSITEM"),
                                   QStringLiteral("RENBAN"), QStringLiteral("TAMBREL"),
                                   QStringLiteral("TAMBRELSET")}));
    EXPECT_TRUE(IsUserTable(m_db, QStringLiteral("tambrel")));
    EXPECT_FALSE(IsUserTable(m_db, QStringLiteral("RDB$RELATIONS")));
    EXPECT_FALSE(IsUserTable(m_db, QStringLiteral("TAMB")));
}

TEST_F(OneShot, FieldValuesLeaveOutEmptyAndNullColumns)
{
    const int id = insertSlip(QStringLiteral("甲商店"), 1, QStringLiteral("000123"));
    const FieldValueList values = GetFieldValues(
        m_db, QStringLiteral("TAMBREL"), QStringLiteral("CONAME, TENPONAME, PRINTOUT, DENNO_1"),
        QStringLiteral("WHERE (ID = %1)").arg(id));
    EXPECT_EQ(values, (FieldValueList{{QStringLiteral("CONAME"), QStringLiteral("甲商店")},
                                      {QStringLiteral("PRINTOUT"), QStringLiteral("1")},
                                      {QStringLiteral("DENNO_1"), QStringLiteral("000123")}}));
    EXPECT_TRUE(GetFieldValues(m_db, QStringLiteral("TAMBREL"), QStringLiteral("CONAME"),
                               QStringLiteral("WHERE (ID = -1)"))
                    .isEmpty());
    EXPECT_EQ(failureOf([&] {
                  GetFieldValues(m_db, QStringLiteral("TAMBREL"), QStringLiteral("NO_COLUMN"), {});
              }),
              QStringLiteral("データ取得中にエラーが発生しました。"));
}

TEST_F(OneShot, UpdateColumnWhereAsksAndWritesWithParameters)
{
    const int a = insertSlip(QStringLiteral("甲"), 1, QStringLiteral("1"));
    const int b = insertSlip(QStringLiteral("O'Hara"), 1, QStringLiteral("2"));
    {
        ScriptedMessages messages;
        messages.answer(MsgResult::No);
        EXPECT_FALSE(UpdateColumnWhere(QStringLiteral("TAMBREL"), QStringLiteral("PRINTOUT"),
                                       QStringLiteral("PRINTOUT"), true, m_db, 1, 0));
        ASSERT_EQ(messages.shown().size(), 1);
        EXPECT_EQ(messages.shown().first().text,
                  QStringLiteral("データを更新します。\r\r実行しますか？"));
        EXPECT_EQ(messages.shown().first().buttons, MsgButton::Yes | MsgButton::No);
        EXPECT_EQ(countRows(QStringLiteral("WHERE PRINTOUT = 1")), 2);
    }
    {
        ScriptedMessages messages;
        messages.answer(MsgResult::Yes);
        EXPECT_TRUE(UpdateColumnWhere(QStringLiteral("TAMBREL"), QStringLiteral("PRINTOUT"),
                                      QStringLiteral("CONAME"), true, m_db,
                                      QStringLiteral("O'Hara"), 0));
        EXPECT_EQ(committedText(b, "PRINTOUT").toInt(), 0);
        EXPECT_EQ(committedText(a, "PRINTOUT").toInt(), 1);
    }
    ScriptedMessages messages;
    EXPECT_TRUE(UpdateColumnWhere(QStringLiteral("TAMBREL"), QStringLiteral("PRINTOUT"),
                                  QStringLiteral("PRINTOUT"), false, m_db, 1, 0));
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_EQ(countRows(QStringLiteral("WHERE PRINTOUT = 1")), 0);
    EXPECT_EQ(failureOf([&] {
                  UpdateColumnWhere(QStringLiteral("TAMBREL"), QStringLiteral("NO_COLUMN"),
                                    QStringLiteral("ID"), false, m_db, 1, 0);
              }),
              QStringLiteral("データ更新中にエラーが発生しました。"));
}

TEST_F(OneShot, ConnectsADisconnectedDatabaseFirst)
{
    insertSlip(QStringLiteral("甲"), 1, QStringLiteral("1"));
    m_db.disconnect();
    EXPECT_EQ(CountRecords(m_db, QStringLiteral("TAMBREL"), QString()), 1);
    EXPECT_TRUE(m_db.connected());
}
