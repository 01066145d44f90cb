#include "TestDatabase.h"
#include "app/AppError.h"
#include "app/ConnectDatabase.h"
#include "db/Database.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Transaction.h"

#include <gtest/gtest.h>

// These run against the Firebird server on loopback that the test command
// starts; several clients share one database through it.

#define REQUIRE_SERVER()                                                                           \
    if (testServerPrefix().isEmpty())                                                              \
    GTEST_SKIP() << "no Firebird server for tests (TAMBREL_TEST_FB_PORT unset)"

TEST(Server, TwoClientsShareOneDatabase)
{
    REQUIRE_SERVER();
    ServerTestDatabase file;
    ASSERT_TRUE(file.available());

    Database first, second;
    Transaction firstTr, secondTr;
    ConnectDatabaseTo(first, firstTr, file.path());
    ConnectDatabaseTo(second, secondTr, file.path());

    Query ins(first, firstTr);
    ins.setSql(QStringLiteral("INSERT INTO COMPANY (KUBUN, CONAME1) VALUES (0, :NAME)"));
    ins.setParam(QStringLiteral("NAME"), QStringLiteral("株式会社サーバ"));
    ins.execute();
    firstTr.commit();

    Query sel(second, secondTr);
    sel.setSql(QStringLiteral("SELECT CONAME1 FROM COMPANY WHERE KUBUN = :K"));
    sel.setParam(QStringLiteral("K"), 0);
    ASSERT_TRUE(sel.openFirst());
    EXPECT_EQ(sel.value(0).toString(), QStringLiteral("株式会社サーバ"));
}

TEST(Server, WrongPasswordIsRefused)
{
    REQUIRE_SERVER();
    ServerTestDatabase file;
    ASSERT_TRUE(file.available());
    Database db;
    ConnectParams p;
    p.path = file.path();
    p.user = QStringLiteral("sysdba");
    p.password = QStringLiteral("not-the-password");
    db.setParams(p);
    EXPECT_THROW(db.connect(), DbError);
    EXPECT_FALSE(db.connected());
}

TEST(Server, MissingDatabaseGivesDatabaseConnectError)
{
    REQUIRE_SERVER();
    Database db;
    Transaction tr;
    try {
        ConnectDatabaseTo(db, tr, testServerPrefix() + QStringLiteral("/nonexistent/NONE.FDB"));
        FAIL() << "must not connect";
    } catch (const AppError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Database Connect Error"));
    }
}
