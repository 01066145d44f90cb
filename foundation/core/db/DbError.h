#pragma once

#include <QString>

#include <stdexcept>

// A failure reported by the database engine, with its formatted status text.
class DbError : public std::runtime_error
{
public:
    explicit DbError(const QString &text, long sqlCode = 0, long engineCode = 0);

    const QString &text() const { return m_text; }
    long sqlCode() const { return m_sqlCode; }
    // The first ISC error code of the status vector (isc_lock_conflict, ...).
    long engineCode() const { return m_engineCode; }
    // An update conflict or lock conflict with another transaction.
    bool isLockConflict() const;
    // The connection to the database is gone (server stopped, network lost,
    // attachment shut down): the handle is dead and must be replaced.
    bool isConnectionLost() const;

private:
    QString m_text;
    long m_sqlCode;
    long m_engineCode;
};
