#pragma once

#include "app/AppTexts.h"

#include <QString>

class Database;
class Transaction;

// The fixed parameters of every connection of the suite.
namespace DbParams {
inline constexpr const char *kUser = "sysdba";
inline constexpr const char *kPassword = "quillfern";
inline constexpr const char *kCharset = "SJIS_0208";
inline constexpr int kDialect = 3;
} // namespace DbParams

struct ConnectParams;

// The parameters of every connection of the suite to the database at path:
// the fixed user and password, or for a database on a server the
// ServerUser and ServerPassword of the settings.
ConnectParams SuiteConnectParams(const QString &path);

// Binds the transaction and the database to each other, applies the fixed
// parameters and connects to F_DbPath of the settings. Throws AppError
// "Database Connect Error" when anything fails.
void ConnectDatabase(Database &database, Transaction &transaction);
// The same with an explicit database path.
void ConnectDatabaseTo(Database &database, Transaction &transaction, const QString &path);
