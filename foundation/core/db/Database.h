#pragma once

#include <QString>
#include <QStringList>

#include <set>

namespace Firebird {
class IAttachment;
class IMaster;
} // namespace Firebird

class Transaction;
class Query;

// Parameters of an attachment.
struct ConnectParams
{
    QString path;
    QString user;
    QString password;
    QString charset = QStringLiteral("SJIS_0208");
    int dialect = 3;
};

// One attachment to a Firebird database (embedded for a local path, through
// a server for "host:/path").
class Database
{
public:
    Database();
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    void setParams(const ConnectParams &params) { m_params = params; }
    const ConnectParams &params() const { return m_params; }

    // Throws DbError when the attachment fails.
    void connect();
    // Ends every transaction bound to it (rolling back what is still
    // active), releases their statements and detaches.
    void disconnect();
    bool connected() const { return m_attachment != nullptr; }

    void setDefaultTransaction(Transaction *transaction) { m_defaultTransaction = transaction; }
    Transaction *defaultTransaction() const { return m_defaultTransaction; }

    // Creates a new database file with the parameters' character set as the
    // default one and leaves this object attached to it.
    void create(int pageSize = 8192);

    // Runs a statement as written, without parameters (DDL, PSQL bodies
    // whose ":name" are variables); starts the transaction when needed.
    void executeImmediate(Transaction &transaction, const QString &sql);

    Firebird::IAttachment *attachment() const { return m_attachment; }
    int dialect() const { return m_params.dialect; }

    // Whether a path names a database on a server ("host:/path" or
    // "host/port:/path") rather than a local file.
    static bool isServerPath(const QString &path);
    // Whether Firebird's embedded engine is installed on this machine.
    static bool embeddedEngineInstalled();
    static Firebird::IMaster *master();
    // Stops the engine's threads; called once when a program ends.
    static void shutdownEngine();

private:
    friend class Transaction;
    void registerTransaction(Transaction *t) { m_transactions.insert(t); }
    void unregisterTransaction(Transaction *t) { m_transactions.erase(t); }
    QByteArray buildDpb(bool forCreate, int pageSize) const;

    ConnectParams m_params;
    Firebird::IAttachment *m_attachment = nullptr;
    Transaction *m_defaultTransaction = nullptr;
    std::set<Transaction *> m_transactions;
};
