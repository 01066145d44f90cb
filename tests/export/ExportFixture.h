#pragma once

#include "ScopedSettings.h"
#include "TestDatabase.h"
#include "app/ConnectDatabase.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"

#include <QMap>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// A fresh slip database named by the settings, as the export finds it, with
// helpers that store slips and master rows.
class ExportFixture : public ::testing::Test
{
protected:
    ExportFixture() : m_settings(settingsFor(m_file.path())) {}

    static TambrelSettings settingsFor(const QString &path)
    {
        TambrelSettings s = settings();
        s.F_DbPath = path;
        return s;
    }

    // Runs one statement with parameters in a transaction of its own.
    void run(const QString &sql, const QVariantMap &params = {})
    {
        Database db;
        Transaction tr;
        ConnectDatabaseTo(db, tr, m_file.path());
        Query q(db, tr);
        q.setSql(sql);
        for (auto it = params.begin(); it != params.end(); ++it)
            q.setParam(it.key(), it.value());
        q.execute();
        tr.commit();
    }

    // Stores a slip with the given columns.
    void insertSlip(const QVariantMap &columns)
    {
        QStringList names{QStringLiteral("ID")};
        QStringList values{QStringLiteral("0")};
        for (auto it = columns.begin(); it != columns.end(); ++it) {
            names.append(it.key());
            values.append(QLatin1Char(':') + it.key());
        }
        run(QStringLiteral("INSERT INTO TAMBREL (%1) VALUES (%2)")
                .arg(names.join(QLatin1Char(',')), values.join(QLatin1Char(','))),
            columns);
    }

    TestDatabase m_file;
    ScopedSettings m_settings;
    QTemporaryDir m_out;
};
