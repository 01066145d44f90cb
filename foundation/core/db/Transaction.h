#pragma once

#include <set>

namespace Firebird {
class ITransaction;
}

class Database;
class Query;

// A transaction on one database, with the server's default parameters
// (concurrency, wait, read-write). Ending it closes the cursors of its queries.
class Transaction
{
public:
    explicit Transaction(Database *database = nullptr);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    // Detaches from the current database (rolling back an active
    // transaction) and binds to the given one.
    void setDatabase(Database *database);
    Database *database() const { return m_database; }

    // Seconds a statement waits for a row another transaction holds before
    // it fails with a lock conflict; 0 waits as long as it takes. Applies
    // from the next start.
    void setLockTimeout(int seconds) { m_lockTimeout = seconds; }
    void start();
    void commit();
    void rollback();
    // Starts the transaction when it is not active.
    void ensureStarted();
    bool active() const { return m_transaction != nullptr; }

    Firebird::ITransaction *handle() const { return m_transaction; }

private:
    friend class Query;
    friend class Database;
    void registerQuery(Query *q) { m_queries.insert(q); }
    void unregisterQuery(Query *q) { m_queries.erase(q); }
    void closeCursors();
    void releaseStatements();
    void forgetDatabase();

    Database *m_database = nullptr;
    Firebird::ITransaction *m_transaction = nullptr;
    int m_lockTimeout = 0;
    std::set<Query *> m_queries;
};
