#include "IbFunc.h"

#include "Database.h"
#include "DbError.h"
#include "EditableResultSet.h"
#include "OneShotWaitCursor.h"
#include "Query.h"
#include "Transaction.h"
#include "UpdateSql.h"
#include "app/AppError.h"
#include "app/Messages.h"
#include "text/KivFunc.h"
#include "text/ShiftJis.h"

#include <QCollator>
#include <QRegularExpression>

#include <algorithm>
#include <exception>
#include <optional>

namespace {

class FreezeControls
{
public:
    explicit FreezeControls(EditableResultSet &set) : m_set(set) { m_set.disableControls(); }
    ~FreezeControls() { m_set.enableControls(); }
    FreezeControls(const FreezeControls &) = delete;
    FreezeControls &operator=(const FreezeControls &) = delete;

private:
    EditableResultSet &m_set;
};

void ensureConnected(Database &database)
{
    if (!database.connected())
        database.connect();
}

QString describe(const std::exception &e)
{
    if (const auto *db = dynamic_cast<const DbError *>(&e))
        return db->text();
    if (const auto *sj = dynamic_cast<const ShiftJisError *>(&e))
        return sj->userMessage();
    return QString::fromLocal8Bit(e.what());
}

// Runs a one-shot operation in a transaction of its own; any failure rolls it
// back and becomes an AppError with the operation's text.
template <typename Fn>
auto oneShot(Database &database, const QString &failure, Fn &&fn, bool showWaitCursor = true)
{
    std::optional<OneShotWaitCursor> cursor;
    if (showWaitCursor)
        cursor.emplace();
    Transaction tr;
    try {
        ensureConnected(database);
        tr.setDatabase(&database);
        if constexpr (std::is_void_v<decltype(fn(tr))>) {
            fn(tr);
            tr.commit();
        } else {
            auto result = fn(tr);
            tr.commit();
            return result;
        }
    } catch (const std::exception &e) {
        try {
            tr.rollback();
        } catch (const DbError &) {
            // The first failure is the one worth reporting.
        }
        throw AppError(failure, describe(e));
    }
}

// The increment of GEN_ID is written into the statement; only an integer
// may go there.
void checkIncrement(const QString &increment)
{
    static const QRegularExpression re(QStringLiteral("^\\s*[-+]?\\d+\\s*$"));
    if (!re.match(increment).hasMatch())
        throw DbError(QStringLiteral("generator increment '%1' is not an integer").arg(increment));
}

// Reconnects the set's connection and reopens the set, so it shows what
// other programs committed.
void cycleConnection(EditableResultSet &dataSet)
{
    Database *db = dataSet.database();
    if (!db)
        throw DbError(QStringLiteral("result set has no connection"));
    dataSet.close();
    db->disconnect();
    db->connect();
    dataSet.open();
}

// A message already meant for the user passes through; anything else gets
// the operation's own text.
[[noreturn]] void rethrowAs(const QString &failure)
{
    try {
        throw;
    } catch (const AppError &) {
        throw;
    } catch (const std::exception &e) {
        throw AppError(failure, describe(e));
    }
}

} // namespace

qint64 CountRecords(Database &database, const QString &table, const QString &condition)
{
    return oneShot(database, QString::fromUtf8(kDataGetError), [&](Transaction &tr) {
        Query q(database, tr);
        q.setSql(QStringList{QStringLiteral("SELECT COUNT(*) FROM ") + table, condition});
        if (!q.openFirst())
            throw DbError(QStringLiteral("COUNT returned no row"));
        return q.value(0).toLongLong();
    });
}

qint64 GetGeneratorValue(Database &database, const QString &generator, const QString &increment)
{
    const QString failure = QString::fromUtf8(kGeneratorGetError).arg(generator);
    return oneShot(database, failure, [&](Transaction &tr) {
        checkIncrement(increment);
        Query q(database, tr);
        q.setSql(QStringList{QStringLiteral("SELECT GEN_ID(") + generator + QLatin1Char(',') +
                                 increment + QLatin1Char(')'),
                             QStringLiteral("FROM RDB$DATABASE")});
        if (!q.openFirst())
            throw DbError(QStringLiteral("GEN_ID returned no row"));
        return q.value(0).toLongLong();
    });
}

QStringList GetValueList(Database &database, const QString &table, const QString &column,
                         const QString &orderColumn, const QString &condition,
                         const QString &direction, bool distinct, bool trim)
{
    QString field = column.toUpper().trimmed();
    const qsizetype as = column.indexOf(QLatin1String(") AS"));
    if (as >= 0)
        field = column.mid(as + 5).trimmed();

    QStringList sql;
    if (orderColumn.isEmpty() || distinct) {
        sql << QStringLiteral("SELECT DISTINCT ") + column << QStringLiteral("FROM ") + table
            << condition;
    } else {
        sql << QStringLiteral("SELECT ") + column + QLatin1Char(',') + orderColumn
            << QStringLiteral("FROM ") + table << condition;
    }
    if (!orderColumn.isEmpty())
        sql << QStringLiteral("ORDER BY ") + orderColumn + QLatin1Char(' ') + direction;

    QStringList list = oneShot(database, QString::fromUtf8(kDataGetError), [&](Transaction &tr) {
        Query q(database, tr);
        q.setSql(sql);
        QStringList values;
        q.open();
        while (q.next()) {
            const QString v = q.value(field).toString();
            values << (trim ? TrimWide(v) : v);
        }
        return values;
    });

    if (orderColumn.isEmpty()) {
        const QString dir = direction.trimmed();
        const bool asc = dir.startsWith(QLatin1String("ASC"), Qt::CaseInsensitive);
        const bool desc = dir.startsWith(QLatin1String("DESC"), Qt::CaseInsensitive);
        if (asc || desc) {
            QCollator collator{QLocale::system()};
            collator.setCaseSensitivity(Qt::CaseInsensitive);
            std::stable_sort(list.begin(), list.end(), [&](const QString &a, const QString &b) {
                return collator.compare(a, b) < 0;
            });
            if (desc)
                std::reverse(list.begin(), list.end());
        }
    }
    return list;
}

QStringList GetUserTables(Database &database)
{
    return GetValueList(
        database, QStringLiteral("RDB$RELATIONS"), QStringLiteral("RDB$RELATION_NAME"), QString(),
        QStringLiteral("WHERE (RDB$SYSTEM_FLAG = 0)"), QStringLiteral("ASC"), false, true);
}

bool IsUserTable(Database &database, const QString &table)
{
    return GetUserTables(database).contains(table, Qt::CaseInsensitive);
}

FieldValueList GetFieldValues(Database &database, const QString &table, const QString &columns,
                              const QString &condition)
{
    // A lookup of one row that leaves the mouse pointer alone.
    return oneShot(
        database, QString::fromUtf8(kDataGetError),
        [&](Transaction &tr) {
            Query q(database, tr);
            q.setSql(QStringList{QStringLiteral("SELECT ") + columns,
                                 QStringLiteral("FROM ") + table, condition});
            FieldValueList out;
            if (q.openFirst()) {
                for (int i = 0; i < q.columnCount(); ++i) {
                    const QVariant v = q.value(i);
                    const QString text = v.isNull() ? QString() : v.toString();
                    if (!text.isEmpty())
                        out.append({q.column(i).name, text});
                }
            }
            return out;
        },
        false);
}

bool BuildUpdateStatements(EditableResultSet &dataSet, UpdateSql &updateSql, const QString &table)
{
    updateSql.clear();
    const QStringList names = dataSet.columnNames();
    if (!dataSet.active() || names.isEmpty() || table.trimmed().isEmpty())
        throw AppError(QString::fromLatin1(kUpdateSqlSetError),
                       QStringLiteral("result set is not open"));
    const QString comma = QStringLiteral(",");

    updateSql.deleteSql << QStringLiteral("DELETE FROM ") + table
                        << QStringLiteral("WHERE (ID=:OLD_ID)");

    QStringList &ins = updateSql.insertSql;
    ins << QStringLiteral("INSERT INTO ") + table << QStringLiteral("(");
    for (int i = 0; i < names.size(); ++i) {
        if (i > 0)
            ins << comma;
        ins << names.at(i);
    }
    ins << QStringLiteral(")") << QStringLiteral("VALUES (");
    for (int i = 0; i < names.size(); ++i) {
        if (i > 0)
            ins << comma;
        ins << QLatin1Char(':') + names.at(i);
    }
    ins << QStringLiteral(")");

    QStringList &mod = updateSql.modifySql;
    mod << QStringLiteral("UPDATE ") + table << QStringLiteral("SET");
    for (int i = 0; i < names.size(); ++i) {
        if (i > 0)
            mod << comma;
        mod << names.at(i) + QStringLiteral("=:") + names.at(i);
    }
    mod << QStringLiteral("WHERE (ID=:OLD_ID)");

    updateSql.refreshSql << QStringLiteral("SELECT * FROM ") + table
                         << QStringLiteral("WHERE (ID=:OLD_ID)");
    return true;
}

bool SavePendingChanges(EditableResultSet &dataSet, bool ask, bool allowCancel)
{
    try {
        bool goOn = true;
        if (ask) {
            MsgButtons buttons = MsgButton::Yes | MsgButton::No;
            if (allowCancel)
                buttons |= MsgButton::Cancel;
            const MsgResult answer =
                Messages::show(MsgType::Confirmation,
                               Messages::twoPart(QString::fromUtf8(kUnsavedDataQuestion1),
                                                 QString::fromUtf8(kUnsavedDataQuestion2)),
                               buttons);
            if (answer == MsgResult::Yes) {
                // A refused post keeps the row being edited rather than
                // reconnecting and losing it.
                if (!dataSet.Post())
                    return false;
            } else if (answer == MsgResult::No) {
                if (!dataSet.Cancel())
                    return false;
            } else {
                goOn = false; // Cancel, or the box closed without an answer
            }
        }
        if (!goOn)
            return false;
        if (dataSet.updatesPending() || dataSet.editing()) {
            if (!dataSet.applyUpdates())
                return false;
        }
        FreezeControls freeze(dataSet);
        cycleConnection(dataSet);
        return true;
    } catch (...) {
        rethrowAs(QString::fromUtf8(kDataUpdateError));
    }
}

bool ReopenDataSet(EditableResultSet &dataSet, bool fetchAll)
{
    try {
        FreezeControls freeze(dataSet);
        if (dataSet.active()) {
            // Saving already reconnects and reopens.
            if (!SavePendingChanges(dataSet, dataSet.editing(), true))
                return false;
        } else {
            cycleConnection(dataSet);
        }
        if (fetchAll)
            dataSet.fetchAll();
        return dataSet.active();
    } catch (...) {
        rethrowAs(QString::fromUtf8(kCannotConnectError));
    }
}

bool ReopenAndLocate(EditableResultSet &dataSet, const QString &keyColumn, const QVariant &keyValue,
                     bool fetchAll)
{
    try {
        if (!ReopenDataSet(dataSet, fetchAll))
            return false;
        if (!dataSet.Locate(keyColumn, keyValue))
            dataSet.First();
        return dataSet.active();
    } catch (...) {
        rethrowAs(QString::fromUtf8(kCannotConnectError));
    }
}

bool OpenSlipTableOrdered(EditableResultSet &dataSet, const QString &order)
{
    FreezeControls freeze(dataSet);
    try {
        QVariant id = 0;
        const bool wasOpen = dataSet.active();
        if (wasOpen) {
            id = dataSet.value(QStringLiteral("ID"));
            if (!ReopenAndLocate(dataSet, QStringLiteral("ID"), id, false))
                return false;
        }
        dataSet.close();
        dataSet.clearParams();
        dataSet.setSql(QStringList{QStringLiteral("SELECT * FROM TAMBREL"),
                                   QStringLiteral("ORDER BY ") + order});
        dataSet.open();
        // Without a slip to return to, the first row is the place; searching
        // for ID 0 would fetch the whole table.
        if (wasOpen && dataSet.active())
            dataSet.Locate(QStringLiteral("ID"), id);
        return dataSet.active();
    } catch (...) {
        rethrowAs(QString::fromLatin1(kTableOpenError));
    }
}

bool UpdateColumnWhere(const QString &table, const QString &column, const QString &matchColumn,
                       bool confirm, Database &database, const QVariant &matchValue,
                       const QVariant &newValue)
{
    if (confirm) {
        const MsgResult answer =
            Messages::show(MsgType::Confirmation,
                           Messages::twoPart(QString::fromUtf8(kUpdateQuestion1),
                                             QString::fromUtf8(kUpdateQuestion2)),
                           MsgButton::Yes | MsgButton::No);
        if (answer != MsgResult::Yes)
            return false;
    }
    oneShot(database, QString::fromUtf8(kDataUpdateError), [&](Transaction &tr) {
        Query q(database, tr);
        q.setSql(QStringList{QStringLiteral("UPDATE ") + table,
                             QStringLiteral("SET ") + column + QStringLiteral(" = :P0"),
                             QStringLiteral("WHERE (") + matchColumn + QStringLiteral(" = :P1)")});
        q.setParam(QStringLiteral("P0"), newValue);
        q.setParam(QStringLiteral("P1"), matchValue);
        q.execute();
    });
    return true;
}
