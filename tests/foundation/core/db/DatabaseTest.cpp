#include "db/Database.h"
#include "ScopedSettings.h"
#include "ScriptedMessages.h"
#include "TestDatabase.h"
#include "app/AppError.h"
#include "app/ConnectDatabase.h"
#include "db/DbError.h"
#include "db/EditableResultSet.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "text/ShiftJis.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

qlonglong generatorValue(Database &db, const char *name)
{
    Transaction tr(&db);
    Query q(db, tr);
    q.setSql(QStringLiteral("SELECT GEN_ID(%1, 0) FROM RDB$DATABASE").arg(QLatin1String(name)));
    EXPECT_TRUE(q.openFirst());
    const qlonglong v = q.value(0).toLongLong();
    tr.commit();
    return v;
}

class SlipDatabase : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TambrelSettings s;
        s.F_DbPath = m_file.path();
        m_settings = std::make_unique<ScopedSettings>(s);
        ConnectDatabase(m_db, m_tr);
    }

    TestDatabase m_file;
    std::unique_ptr<ScopedSettings> m_settings;
    Database m_db;
    Transaction m_tr;
};

} // namespace

TEST_F(SlipDatabase, InsertedIdIsTheGeneratorValuePlusOne)
{
    const qlonglong predicted = generatorValue(m_db, "IDNO_INC0") + 1;
    Query ins(m_db, m_tr);
    ins.setSql(QStringLiteral("INSERT INTO TAMBREL (ID, PRINTOUT) VALUES (:ID, 1)"));
    ins.setParam(QStringLiteral("ID"), predicted);
    ins.execute();
    m_tr.commit();

    Query sel(m_db, m_tr);
    sel.setSql(QStringLiteral("SELECT ID FROM TAMBREL"));
    ASSERT_TRUE(sel.openFirst());
    EXPECT_EQ(sel.value(QStringLiteral("ID")).toLongLong(), predicted);
    EXPECT_EQ(generatorValue(m_db, "IDNO_INC0"), predicted);
}

TEST_F(SlipDatabase, TextAndNumbersRoundTripWithNullsKept)
{
    const QString name = QStringLiteral("株式会社　丸井ｶﾅ商店①");
    Query ins(m_db, m_tr);
    ins.setSql(QStringLiteral("INSERT INTO TAMBREL (CONAME, GENKA_12, KAZU_11, KAZU_12, TENPONAME) "
                              "VALUES (:CONAME, :GENKA_12, :KAZU_11, :KAZU_12, :TENPONAME)"));
    ins.setParam(QStringLiteral("CONAME"), name);
    ins.setParam(QStringLiteral("GENKA_12"), QStringLiteral("05"));
    ins.setParam(QStringLiteral("KAZU_11"), QStringLiteral("12")); // text into an integer column
    ins.setParam(QStringLiteral("KAZU_12"), QStringLiteral("5"));
    ins.setParam(QStringLiteral("TENPONAME"), QVariant());
    ins.execute();
    EXPECT_EQ(ins.rowsAffected(), 1);
    m_tr.commit();

    Query sel(m_db, m_tr);
    sel.setSql(QStringLiteral("SELECT CONAME, GENKA_12, KAZU_11, KAZU_12, TENPONAME, GENKAKEI_1 "
                              "FROM TAMBREL WHERE CONAME = :P0"));
    sel.setParam(QStringLiteral("P0"), name);
    ASSERT_TRUE(sel.openFirst());
    EXPECT_EQ(sel.value(QStringLiteral("coname")).toString(), name);
    EXPECT_EQ(sel.value(QStringLiteral("GENKA_12")).toString(), QStringLiteral("05"));
    EXPECT_EQ(sel.value(QStringLiteral("KAZU_11")).toInt(), 12);
    EXPECT_EQ(sel.value(QStringLiteral("KAZU_11")).typeId(), QMetaType::Int);
    EXPECT_EQ(sel.value(QStringLiteral("KAZU_12")).toString(), QStringLiteral("5"));
    EXPECT_TRUE(sel.value(QStringLiteral("TENPONAME")).isNull());
    EXPECT_TRUE(sel.value(QStringLiteral("GENKAKEI_1")).isNull());
    EXPECT_FALSE(sel.next());
}

TEST_F(SlipDatabase, CharacterOutsideShiftJisIsRefusedAndNothingWritten)
{
    Query ins(m_db, m_tr);
    ins.setSql(QStringLiteral("INSERT INTO TAMBREL (CONAME) VALUES (:CONAME)"));
    ins.setParam(QStringLiteral("CONAME"), QStringLiteral("店\U0001F600"));
    try {
        ins.execute();
        FAIL() << "an emoji must not be stored";
    } catch (const ShiftJisError &e) {
        EXPECT_EQ(e.field(), QStringLiteral("CONAME"));
        EXPECT_EQ(e.badCharacter(), QStringLiteral("\U0001F600"));
        EXPECT_TRUE(e.userMessage().contains(QStringLiteral("CONAME")));
    }
    m_tr.commit();
    Query count(m_db, m_tr);
    count.setSql(QStringLiteral("SELECT COUNT(*) FROM TAMBREL"));
    ASSERT_TRUE(count.openFirst());
    EXPECT_EQ(count.value(0).toLongLong(), 0);
}

// The columns are SJIS_0208, which holds less than code page 932: what it
// cannot hold is refused when typed, naming the field, and again at the
// connection, naming the parameter; nothing reaches the table.
TEST_F(SlipDatabase, TextTheColumnCannotHoldIsRefusedWhereItIsTyped)
{
    EditableResultSet set;
    set.setTransaction(&m_tr);
    set.setSql(QStringLiteral("SELECT * FROM TAMBREL"));
    set.open();
    ASSERT_TRUE(set.Append());
    try {
        set.setValue(QStringLiteral("CONAME"), QStringLiteral("髙島屋"));
        FAIL() << "FB FC is outside the column's character set";
    } catch (const AppError &e) {
        EXPECT_EQ(e.message(),
                  QStringLiteral("CONAME に使用できない文字「髙」（U+9AD9）が含まれています。"));
    }
    EXPECT_TRUE(set.value(QStringLiteral("CONAME")).isNull());
    // A look-alike is held as the character that comes back.
    set.setValue(QStringLiteral("TENPONAME"), QStringLiteral("東京〜大阪"));
    EXPECT_EQ(set.value(QStringLiteral("TENPONAME")).toString(), QStringLiteral("東京～大阪"));
    set.Cancel();

    Query ins(m_db, m_tr);
    ins.setSql(QStringLiteral("INSERT INTO TAMBREL (CONAME, TENPONAME) VALUES (:CONAME, :T)"));
    ins.setParam(QStringLiteral("CONAME"), QStringLiteral("①"));
    ins.setParam(QStringLiteral("T"), QStringLiteral("髙"));
    try {
        ins.execute();
        FAIL() << "FB FC must not reach the server";
    } catch (const ShiftJisError &e) {
        EXPECT_EQ(e.field(), QStringLiteral("T"));
    }
    // What the column holds comes back as typed, the NEC row included.
    ins.setParam(QStringLiteral("T"), QStringLiteral("～∥－￥"));
    ins.execute();
    Query sel(m_db, m_tr);
    sel.setSql(QStringLiteral("SELECT CONAME, TENPONAME FROM TAMBREL"));
    ASSERT_TRUE(sel.openFirst());
    EXPECT_EQ(sel.value(0).toString(), QStringLiteral("①"));
    EXPECT_EQ(sel.value(1).toString(), QStringLiteral("～∥－￥"));
}

// A text parameter travels with a 16-bit length; one byte more must not
// arrive as a text of length 0.
TEST_F(SlipDatabase, TextParameterOverSixtyFiveThousandBytesIsRefused)
{
    Query q(m_db, m_tr);
    q.setSql(
        QStringLiteral("SELECT CHAR_LENGTH(CAST(:P0 AS BLOB SUB_TYPE TEXT)) FROM RDB$DATABASE"));
    for (const QVariant &value :
         {QVariant(QString(65536, QLatin1Char('x'))), QVariant(QByteArray(65536, 'x')),
          QVariant(QString(32768, QChar(0x4E9C)))}) {
        q.setParam(QStringLiteral("P0"), value);
        try {
            q.openFirst();
            FAIL() << "65,536 bytes must be refused, got " << q.value(0).toLongLong();
        } catch (const DbError &e) {
            EXPECT_TRUE(e.text().contains(QStringLiteral(":P0"))) << qPrintable(e.text());
        }
    }
}

TEST_F(SlipDatabase, RepeatedNamedParameterAndLiteralsWithColons)
{
    Query ins(m_db, m_tr);
    ins.setSql(QStringLiteral("INSERT INTO COMPANY (KUBUN, CONAME1, CONAME2, CODE1) "
                              "VALUES (0, :N, :N, 'a:b -- :X')"));
    EXPECT_EQ(ins.parameterNames(), QStringList{QStringLiteral("N")});
    ins.setParam(QStringLiteral("n"), QStringLiteral("O'Hara"));
    ins.execute();
    Query sel(m_db, m_tr);
    sel.setSql(QStringLiteral("SELECT CONAME1, CONAME2, CODE1 FROM COMPANY"));
    ASSERT_TRUE(sel.openFirst());
    EXPECT_EQ(sel.value(0).toString(), QStringLiteral("O'Hara"));
    EXPECT_EQ(sel.value(1).toString(), QStringLiteral("O'Hara"));
    EXPECT_EQ(sel.value(2).toString(), QStringLiteral("a:b -- :X"));
}

TEST_F(SlipDatabase, FailedStatementLeavesTheConnectionUsable)
{
    Query bad(m_db, m_tr);
    bad.setSql(QStringLiteral("SELECT NO_SUCH_COLUMN FROM TAMBREL"));
    EXPECT_THROW(bad.open(), DbError);
    m_tr.rollback();
    Query good(m_db, m_tr);
    good.setSql(QStringLiteral("SELECT COUNT(*) FROM TAMBRELSET"));
    ASSERT_TRUE(good.openFirst());
    EXPECT_EQ(good.value(0).toLongLong(), 10);
}

TEST_F(SlipDatabase, DisconnectClosesOpenCursorsAndReconnectWorks)
{
    Query sel(m_db, m_tr);
    sel.setSql(QStringLiteral("SELECT DenName FROM TAMBRELSET ORDER BY ShowNo"));
    ASSERT_TRUE(sel.openFirst());
    EXPECT_EQ(sel.value(0).toString(), QStringLiteral("ターンアラウンド用２型（２行印字）"));
    m_db.disconnect();
    EXPECT_FALSE(sel.isOpen());
    EXPECT_FALSE(m_tr.active());
    ConnectDatabase(m_db, m_tr);
    ASSERT_TRUE(sel.openFirst());
    EXPECT_EQ(sel.value(0).toString(), QStringLiteral("ターンアラウンド用２型（２行印字）"));
}

TEST(ConnectDatabase, MissingFileGivesDatabaseConnectError)
{
    Database db;
    Transaction tr;
    try {
        ConnectDatabaseTo(db, tr, QDir::temp().filePath(QStringLiteral("no-such-dir/NONE.FDB")));
        FAIL() << "connecting to a missing file must fail";
    } catch (const AppError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Database Connect Error"));
        EXPECT_FALSE(e.detail().isEmpty());
    }
    EXPECT_FALSE(db.connected());
}

TEST(ConnectDatabase, BindsTransactionAndUsesFixedParameters)
{
    TestDatabase file;
    Database db;
    Transaction tr;
    ConnectDatabaseTo(db, tr, file.path());
    EXPECT_TRUE(db.connected());
    EXPECT_EQ(db.defaultTransaction(), &tr);
    EXPECT_EQ(tr.database(), &db);
    EXPECT_EQ(db.params().user, QStringLiteral("sysdba"));
    EXPECT_EQ(db.params().password, QStringLiteral("quillfern"));
    EXPECT_EQ(db.params().charset, QStringLiteral("SJIS_0208"));
    EXPECT_EQ(db.params().dialect, 3);
    // Connecting again first disconnects.
    ConnectDatabaseTo(db, tr, file.path());
    EXPECT_TRUE(db.connected());
}

TEST(NamedParameters, RewrittenOutsideQuotesAndComments)
{
    struct Case
    {
        const char *sql;
        const char *rewritten;
        QStringList names;
    } cases[] = {
        {"WHERE (ID=:OLD_ID)", "WHERE (ID=?)", {QStringLiteral("OLD_ID")}},
        {"SET A=:a, B=:P0 WHERE X=':no'",
         "SET A=?, B=? WHERE X=':no'",
         {QStringLiteral("A"), QStringLiteral("P0")}},
        {"SELECT \":X\" FROM T -- :C\nWHERE Y=:Y /* :Z */",
         "SELECT \":X\" FROM T -- :C\nWHERE Y=? /* :Z */",
         {QStringLiteral("Y")}},
        {"SELECT GEN_ID(G,1) FROM RDB$DATABASE", "SELECT GEN_ID(G,1) FROM RDB$DATABASE", {}},
        {"VALUES ('it''s :A', :B)", "VALUES ('it''s :A', ?)", {QStringLiteral("B")}},
        // Quoted with q'…': neither the quote nor the colon inside ends it.
        {"VALUES (q'{it's :A}', :B)", "VALUES (q'{it's :A}', ?)", {QStringLiteral("B")}},
        {"VALUES (Q'(a:b)', q'!x'y:z!', :C)",
         "VALUES (Q'(a:b)', q'!x'y:z!', ?)",
         {QStringLiteral("C")}},
        {"WHERE SEQ=:Q AND q<>'x'", "WHERE SEQ=? AND q<>'x'", {QStringLiteral("Q")}},
    };
    for (const Case &c : cases) {
        QStringList names;
        EXPECT_EQ(Query::rewriteNamedParameters(QString::fromUtf8(c.sql), &names),
                  QString::fromUtf8(c.rewritten));
        EXPECT_EQ(names, c.names) << c.sql;
    }
}

TEST(DatabasePath, ServerPathsAreRecognised)
{
    EXPECT_TRUE(Database::isServerPath(QStringLiteral("localhost:/var/db/TAMBREL.FDB")));
    EXPECT_TRUE(Database::isServerPath(QStringLiteral("server/3050:/db/T.FDB")));
    EXPECT_TRUE(Database::isServerPath(QStringLiteral("192.168.0.5:C:\\DB\\T.FDB")));
    EXPECT_FALSE(Database::isServerPath(QStringLiteral("/home/clerk/Database/TAMBREL.FDB")));
    EXPECT_FALSE(Database::isServerPath(QStringLiteral("C:\\Tambrel\\TAMBREL.FDB")));
    EXPECT_FALSE(Database::isServerPath(QString()));
}
