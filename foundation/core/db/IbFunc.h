#pragma once

#include "db/DbTexts.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>

class Database;
class EditableResultSet;
class UpdateSql;

// The database operations every program uses on top of the connection layer.
// One-shot operations run in a transaction of their own on the given
// connection (connecting it first), commit at the end, roll back on failure
// and show the wait cursor meanwhile. Failures are raised as AppError with
// the texts below; the database's own text goes into the error's detail.

// The slip form's order: print targets first, then slip number and check
// digit, descending as one text.
inline constexpr const char *kSlipOrder = "PRINTOUT || DENNO_1 || DENNO_2 DESC";

// Name and value text of the columns of one row.
using FieldValueList = QList<QPair<QString, QString>>;

qint64 CountRecords(Database &database, const QString &table, const QString &condition);
qint64 GetGeneratorValue(Database &database, const QString &generator, const QString &increment);
QStringList GetValueList(Database &database, const QString &table, const QString &column,
                         const QString &orderColumn, const QString &condition,
                         const QString &direction, bool distinct, bool trim);
QStringList GetUserTables(Database &database);
bool IsUserTable(Database &database, const QString &table);
FieldValueList GetFieldValues(Database &database, const QString &table, const QString &columns,
                              const QString &condition);

// Fills the four statements from the open set's columns, addressed by ID.
bool BuildUpdateStatements(EditableResultSet &dataSet, UpdateSql &updateSql, const QString &table);
// True when the caller may go on; false when the user chose Cancel or the
// row being edited could not be posted (it stays being edited).
bool SavePendingChanges(EditableResultSet &dataSet, bool ask, bool allowCancel);
bool ReopenDataSet(EditableResultSet &dataSet, bool fetchAll);
bool ReopenAndLocate(EditableResultSet &dataSet, const QString &keyColumn, const QVariant &keyValue,
                     bool fetchAll);
bool OpenSlipTableOrdered(EditableResultSet &dataSet, const QString &order);
bool UpdateColumnWhere(const QString &table, const QString &column, const QString &matchColumn,
                       bool confirm, Database &database, const QVariant &matchValue,
                       const QVariant &newValue);
