#pragma once

#include <QString>
#include <QStringList>

class Database;

// A script of SQL statements as isql reads it: statements end with the
// terminator (";" until a "SET TERM x ;" line changes it); "--" comments and
// blank lines are skipped. Used to create the database from data/.
namespace SqlScript {

QStringList split(const QString &script);
// Runs every statement of the script, each in a transaction of its own that
// is committed (DDL must be committed before the next statement uses it).
// Throws DbError naming the statement that failed.
void run(Database &database, const QString &script);

} // namespace SqlScript
