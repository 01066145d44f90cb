#include "ConnectDatabase.h"

#include "app/AppError.h"
#include "db/Database.h"
#include "db/DbError.h"
#include "db/Transaction.h"
#include "settings/Settings.h"

void ConnectDatabase(Database &database, Transaction &transaction)
{
    ConnectDatabaseTo(database, transaction, settings().F_DbPath);
}

ConnectParams SuiteConnectParams(const QString &path)
{
    ConnectParams params;
    if (Database::isServerPath(path)) {
        params.user = settings().ServerUser;
        params.password = settings().ServerPassword;
    } else {
        params.user = QString::fromLatin1(DbParams::kUser);
        params.password = QString::fromLatin1(DbParams::kPassword);
    }
    params.charset = QString::fromLatin1(DbParams::kCharset);
    params.dialect = DbParams::kDialect;
    params.path = path;
    return params;
}

void ConnectDatabaseTo(Database &database, Transaction &transaction, const QString &path)
{
    try {
        // 1. The transaction belongs to this database alone.
        transaction.setDatabase(&database);
        // 2. Start from a closed connection.
        if (database.connected())
            database.disconnect();
        // 3, 4. Fixed parameters and the database path.
        database.setParams(SuiteConnectParams(path));
        // 5. The default transaction of the database.
        database.setDefaultTransaction(&transaction);
        // 6. Connect.
        database.connect();
    } catch (const DbError &e) {
        throw AppError(QString::fromLatin1(kDatabaseConnectError), e.text());
    }
}
