#pragma once

#include "ExportSql.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"

#include <memory>

// The connection, transaction and query of one export. Each export connects
// anew (ConnectDatabase, the database of the settings) and reads in a
// transaction of its own; close() ends the transaction and disconnects, so
// the database file is not held between exports.
class ExportSession
{
public:
    ExportSession();
    ~ExportSession();
    ExportSession(const ExportSession &) = delete;
    ExportSession &operator=(const ExportSession &) = delete;

    // Opens the slip query on its first row; false when no slip matches.
    // Throws AppError "Err...Table Open" (the cause in its detail).
    bool openSlips(const ExportConditions &conditions);
    // Opens a master table's query on its first row; false when it is empty.
    // Throws AppError "Err...Excel Out".
    bool openMaster(int choice);

    Query &IBQuery1() { return *m_query; }
    Database &IBDatabase1() { return m_database; }
    // Closes the query and the connection; never throws.
    void close();

private:
    void connect();
    bool openLines(const QStringList &lines, const QList<QPair<QString, QVariant>> &params);

    Database m_database;
    Transaction m_transaction;
    std::unique_ptr<Query> m_query;
};
