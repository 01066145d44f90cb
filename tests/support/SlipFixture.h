#pragma once

#include "TestDatabase.h"
#include "app/ConnectDatabase.h"
#include "db/Database.h"
#include "db/EditableResultSet.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "db/UpdateSql.h"

#include <QObject>

#include <gtest/gtest.h>

// A fresh slip database with the form's connection, transaction and result
// set, and helpers that read and write the table behind the set's back.
class SlipFixture : public ::testing::Test
{
protected:
    SlipFixture()
    {
        ConnectDatabaseTo(m_db, m_tr, m_file.path());
        m_set.setTransaction(&m_tr);
    }

    void execute(const QString &sql)
    {
        Transaction tr(&m_db);
        m_db.executeImmediate(tr, sql);
        tr.commit();
    }

    // Inserts and commits a slip; returns the ID the table gave it.
    int insertSlip(const QString &company, int printout, const QString &denno)
    {
        Transaction tr(&m_db);
        Query q(m_db, tr);
        q.setSql(QStringLiteral("INSERT INTO TAMBREL (ID, CONAME, PRINTOUT, DENNO_1, DENNO_2) "
                                "VALUES (0, :C, :P, :D, '0') RETURNING ID"));
        q.setParam(QStringLiteral("C"), company);
        q.setParam(QStringLiteral("P"), printout);
        q.setParam(QStringLiteral("D"), denno);
        q.execute();
        const int id = q.value(0).toInt();
        tr.commit();
        return id;
    }

    // A column of a slip as committed, read in a new transaction.
    QVariant committedText(int id, const char *column)
    {
        Transaction tr(&m_db);
        Query q(m_db, tr);
        q.setSql(
            QStringLiteral("SELECT %1 FROM TAMBREL WHERE ID = :ID").arg(QLatin1String(column)));
        q.setParam(QStringLiteral("ID"), id);
        const QVariant v = q.openFirst() ? q.value(0) : QVariant(QStringLiteral("<no row>"));
        tr.commit();
        return v;
    }

    qint64 countRows(const QString &condition)
    {
        Transaction tr(&m_db);
        Query q(m_db, tr);
        q.setSql(QStringLiteral("SELECT COUNT(*) FROM TAMBREL ") + condition);
        const qint64 n = q.openFirst() ? q.value(0).toLongLong() : -1;
        tr.commit();
        return n;
    }

    template <typename Signal, typename Fn> void connect(EditableResultSet *set, Signal s, Fn fn)
    {
        QObject::connect(set, s, &m_context, fn);
    }

    TestDatabase m_file;
    Database m_db;
    Transaction m_tr;
    UpdateSql m_update;
    QObject m_context;
    EditableResultSet m_set;
};
