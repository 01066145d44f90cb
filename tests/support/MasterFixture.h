#pragma once

#include "ScopedSettings.h"
#include "ScriptedMessages.h"
#include "TestDatabase.h"
#include "app/ConnectDatabase.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

#include <gtest/gtest.h>

#include <memory>

// A fresh database with the settings pointing at it and a settings file of
// its own, for the windows that open connections of their own; helpers that
// fill and read the master tables behind their backs.
class MasterFixture : public ::testing::Test
{
protected:
    MasterFixture() { ConnectDatabaseTo(m_db, m_tr, m_file.path()); }

    // Settings with the database and settings file of this test.
    TambrelSettings baseSettings() const
    {
        TambrelSettings s;
        s.F_DbPath = m_file.path();
        s.SettingsFilePath = m_dir.filePath(QStringLiteral("TAMBREL.ini"));
        s.AutoCalc = true;
        return s;
    }
    void useSettings(const TambrelSettings &s)
    {
        m_settings.reset();
        m_settings = std::make_unique<ScopedSettings>(s);
    }

    void execute(const QString &sql, const QVariantList &params = {})
    {
        Transaction tr(&m_db);
        Query q(m_db, tr);
        q.setSql(sql);
        for (int i = 0; i < params.size(); ++i)
            q.setParam(i, params.at(i));
        q.execute();
        tr.commit();
    }

    void addCompany(int kind, const QString &name1, const QString &name2, const QString &code1,
                    const QString &code2 = {})
    {
        execute(QStringLiteral("INSERT INTO COMPANY (ID, KUBUN, CONAME1, CONAME2, CODE1, CODE2) "
                               "VALUES (0, ?, ?, ?, ?, ?)"),
                {kind, name1, name2, code1, code2});
    }

    // name1, name2, code1, code2, colour, pieces, size, cases, unit, quantity,
    // quantity digit, cost, cost decimals, selling price, company code.
    void addItem(const QVariantList &values)
    {
        execute(QStringLiteral("INSERT INTO CSITEM (ID, HINMEI1, HINMEI2, CODE1, CODE2, IRO, "
                               "IRIKAZU, SIZEE, CASEE, TANI, KAZU1, KAZU2, GENKA1, GENKA2, "
                               "URITANKA, COCODE) VALUES (0, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                               "?, ?, ?)"),
                values);
    }

    // The rows of a query, each as its columns' texts joined by "|".
    QStringList rows(const QString &sql)
    {
        Transaction tr(&m_db);
        Query q(m_db, tr);
        q.setSql(sql);
        q.open();
        QStringList out;
        while (q.next()) {
            QStringList cols;
            for (int i = 0; i < q.columnCount(); ++i)
                cols << (q.isNull(i) ? QStringLiteral("<null>") : q.value(i).toString());
            out << cols.join(QLatin1Char('|'));
        }
        tr.commit();
        return out;
    }

    TestDatabase m_file;
    QTemporaryDir m_dir;
    Database m_db;
    Transaction m_tr;
    ScriptedMessages m_messages;
    std::unique_ptr<ScopedSettings> m_settings;
};
