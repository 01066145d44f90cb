#pragma once

#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"

#include <QMap>
#include <QStringList>
#include <QVariant>

// Print layouts and marked slips put straight into a test database.
namespace SlipPrintData {

// Sets every position, size and font of a layout row to a value of its own
// (positions 1000 + 7 × column number, sizes 5 + column number % 9, fonts
// "F" + column number), with the given line count and pitches. Returns the
// values by column name.
inline QMap<QString, QVariant> setLayout(Database &db, const QString &denName, int lines,
                                         int lineSkip, int genkaSkip = 51, int uriSkip = 50)
{
    QMap<QString, QVariant> values;
    Transaction tr(&db);
    QStringList columns;
    {
        Query q(db, tr);
        q.setSql(QStringLiteral("SELECT * FROM TAMBRELSET WHERE ID = -1"));
        q.open();
        for (const ColumnInfo &c : q.columns())
            columns << c.name;
    }
    int n = 0;
    for (const QString &c : columns) {
        ++n;
        if (c.endsWith(QLatin1String("_X")) || c.endsWith(QLatin1String("_Y")))
            values[c] = 1000 + 7 * n;
        else if (c.endsWith(QLatin1String("_S")))
            values[c] = 5 + n % 9;
        else if (c.endsWith(QLatin1String("_F")))
            values[c] = QStringLiteral("F%1").arg(n);
    }
    values[QStringLiteral("HINMEI_GYOU")] = lines;
    values[QStringLiteral("HINMEI_Y_SKIP")] = lineSkip;
    values[QStringLiteral("GOUKEI_GENKA_T_SKIP_X")] = genkaSkip;
    values[QStringLiteral("GOUKEI_URI_T_SKIP_X")] = uriSkip;
    QStringList sets;
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        sets << it.key() + QStringLiteral(" = :") + it.key();
    Query u(db, tr);
    u.setSql(QStringLiteral("UPDATE TAMBRELSET SET ") + sets.join(QStringLiteral(", ")) +
             QStringLiteral(" WHERE DENNAME = :DENKEY"));
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        u.setParam(it.key(), it.value());
    u.setParam(QStringLiteral("DENKEY"), denName);
    u.execute();
    tr.commit();
    return values;
}

// Sets columns of the layout row of a slip type.
inline void updateLayout(Database &db, const QString &denName, const QMap<QString, QVariant> &set)
{
    Transaction tr(&db);
    QStringList sets;
    for (auto it = set.cbegin(); it != set.cend(); ++it)
        sets << it.key() + QStringLiteral(" = :") + it.key();
    Query u(db, tr);
    u.setSql(QStringLiteral("UPDATE TAMBRELSET SET ") + sets.join(QStringLiteral(", ")) +
             QStringLiteral(" WHERE DENNAME = :DENKEY"));
    for (auto it = set.cbegin(); it != set.cend(); ++it)
        u.setParam(it.key(), it.value());
    u.setParam(QStringLiteral("DENKEY"), denName);
    u.execute();
    tr.commit();
}

// A marked slip with every column filled: text columns with a short token
// of the slip and column ("a" + column number in base 36, cut to the
// column's length, after a slip letter when there is room), numbers with
// slip × 100000 + column number. overrides replace single values (a null
// QVariant stores null). Returns the values stored.
inline QMap<QString, QVariant>
insertSlip(Database &db, int slip, const QMap<QString, QVariant> &overrides = {}, int printout = 1)
{
    QMap<QString, QVariant> values;
    Transaction tr(&db);
    QVector<ColumnInfo> columns;
    {
        Query q(db, tr);
        q.setSql(QStringLiteral("SELECT * FROM TAMBREL WHERE ID = -1"));
        q.open();
        columns = q.columns();
    }
    int n = 0;
    for (const ColumnInfo &c : columns) {
        ++n;
        if (c.name == QLatin1String("ID") || c.name == QLatin1String("PRINTOUT"))
            continue;
        if (c.isInteger()) {
            values[c.name] = slip * 100000 + n;
        } else {
            const QString token = QString(QChar(u'a' + slip % 26)) + QString::number(n, 36);
            values[c.name] = token.right(c.charLength());
        }
    }
    for (auto it = overrides.cbegin(); it != overrides.cend(); ++it)
        values[it.key()] = it.value();
    values[QStringLiteral("PRINTOUT")] = printout;
    values[QStringLiteral("ID")] = 0;
    QStringList names;
    QStringList params;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        names << it.key();
        params << QLatin1Char(':') + it.key();
    }
    Query ins(db, tr);
    ins.setSql(QStringLiteral("INSERT INTO TAMBREL (") + names.join(QLatin1Char(',')) +
               QStringLiteral(") VALUES (") + params.join(QLatin1Char(',')) + QLatin1Char(')'));
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        ins.setParam(it.key(), it.value());
    ins.execute();
    tr.commit();
    values.remove(QStringLiteral("ID"));
    return values;
}

} // namespace SlipPrintData
