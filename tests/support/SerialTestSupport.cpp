#include "SerialTestSupport.h"

#include "app/ConnectDatabase.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"

CounterRow readCounter(const QString &databasePath, int kind)
{
    Database db;
    Transaction tr;
    ConnectDatabaseTo(db, tr, databasePath);
    Query q(db, tr);
    q.setSql(QStringLiteral("SELECT RENBAN, SCOUNT FROM RENBAN WHERE KUBUN = :K"));
    q.setParam(QStringLiteral("K"), kind);
    CounterRow row;
    if (q.openFirst()) {
        row.exists = true;
        row.renban = q.value(QStringLiteral("RENBAN")).toLongLong();
        row.scount = q.value(QStringLiteral("SCOUNT")).toLongLong();
    }
    tr.commit();
    return row;
}

void writeCounter(const QString &databasePath, qint64 renban, qint64 scount, int kind)
{
    Database db;
    Transaction tr;
    ConnectDatabaseTo(db, tr, databasePath);
    Query q(db, tr);
    q.setSql(QStringLiteral("UPDATE OR INSERT INTO RENBAN (KUBUN, RENBAN, SCOUNT) "
                            "VALUES (:K, :R, :S) MATCHING (KUBUN)"));
    q.setParam(QStringLiteral("K"), kind);
    q.setParam(QStringLiteral("R"), renban);
    q.setParam(QStringLiteral("S"), scount);
    q.execute();
    tr.commit();
}

void executeSql(const QString &databasePath, const QString &sql)
{
    Database db;
    Transaction tr;
    ConnectDatabaseTo(db, tr, databasePath);
    db.executeImmediate(tr, sql);
    tr.commit();
}
