#include "Transaction.h"

#include "Database.h"
#include "FbStatus.h"
#include "Query.h"

#include <ibase.h>

using namespace Firebird;

Transaction::Transaction(Database *database)
{
    setDatabase(database);
}

Transaction::~Transaction()
{
    try {
        if (active())
            rollback();
    } catch (...) {
        // A rollback that fails while destroying leaves nothing to recover.
    }
    for (Query *q : std::set<Query *>(m_queries))
        q->releaseStatement();
    if (m_database)
        m_database->unregisterTransaction(this);
}

void Transaction::setDatabase(Database *database)
{
    if (database == m_database)
        return;
    if (active())
        rollback();
    releaseStatements();
    if (m_database)
        m_database->unregisterTransaction(this);
    m_database = database;
    if (m_database)
        m_database->registerTransaction(this);
}

void Transaction::forgetDatabase()
{
    if (m_transaction) {
        m_transaction->release();
        m_transaction = nullptr;
    }
    m_database = nullptr;
}

void Transaction::start()
{
    if (!m_database || !m_database->connected())
        throw DbError(QStringLiteral("transaction has no connected database"));
    if (m_transaction)
        throw DbError(QStringLiteral("transaction already active"));
    IAttachment *att = m_database->attachment();
    if (m_lockTimeout <= 0) {
        m_transaction = FbStatus::call(
            [&](ThrowStatusWrapper *st) { return att->startTransaction(st, 0, nullptr); });
        return;
    }
    // The server's defaults (read-write, concurrency, wait), the wait bounded.
    const unsigned char seconds = static_cast<unsigned char>(qMin(m_lockTimeout, 255));
    const unsigned char tpb[] = {isc_tpb_version3, isc_tpb_write,        isc_tpb_concurrency,
                                 isc_tpb_wait,     isc_tpb_lock_timeout, 1,
                                 seconds};
    m_transaction = FbStatus::call(
        [&](ThrowStatusWrapper *st) { return att->startTransaction(st, sizeof tpb, tpb); });
}

void Transaction::ensureStarted()
{
    if (!active())
        start();
}

void Transaction::closeCursors()
{
    for (Query *q : m_queries)
        q->closeCursorSilently();
}

void Transaction::releaseStatements()
{
    for (Query *q : std::set<Query *>(m_queries))
        q->releaseStatement();
}

void Transaction::commit()
{
    if (!m_transaction)
        return;
    closeCursors();
    FbStatus::call([&](ThrowStatusWrapper *st) { m_transaction->commit(st); });
    m_transaction = nullptr; // commit released the interface
}

void Transaction::rollback()
{
    if (!m_transaction)
        return;
    closeCursors();
    ITransaction *t = m_transaction;
    m_transaction = nullptr;
    try {
        FbStatus::call([&](ThrowStatusWrapper *st) { t->rollback(st); });
    } catch (const DbError &) {
        t->release();
        throw;
    }
}
