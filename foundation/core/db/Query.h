#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <memory>

class Database;
class Transaction;

// Description of one result column.
struct ColumnInfo
{
    QString name;     // alias (or field name), upper-case as the engine gives it
    QString field;    // field name in its table
    QString relation; // table name, empty for expressions
    int sqlType = 0;  // Firebird SQL type without the null bit
    int subType = 0;
    int scale = 0;
    int length = 0; // bytes in the message
    int charSet = 0;
    bool nullable = true;
    // Characters the column holds (text columns), from the byte length and
    // the character set's bytes per character.
    int charLength() const;
    bool isText() const;
    bool isInteger() const;
};

// A statement with named parameters (":P0", ":OLD_ID"), rewritten to
// positional ones; result columns by name; text converted from and to
// Shift-JIS at this boundary, NULL kept as a null QVariant.
class Query
{
public:
    Query(Database &database, Transaction &transaction);
    explicit Query(Transaction &transaction);
    ~Query();
    Query(const Query &) = delete;
    Query &operator=(const Query &) = delete;

    void setSql(const QString &sql);
    void setSql(const QStringList &lines) { setSql(lines.join(QLatin1Char('\n'))); }
    const QString &sql() const { return m_sql; }
    // Prepares now (otherwise the first open or execute does).
    void prepare();
    bool prepared() const;

    // Parameter names in order of appearance, each name once, upper-case.
    QStringList parameterNames() const;
    void setParam(const QString &name, const QVariant &value);
    void setParam(int index, const QVariant &value);
    void clearParams();

    // Runs a statement that returns no rows (or one row, for EXECUTE PROCEDURE).
    void execute();
    // Opens the cursor of a SELECT; next() moves to the first row.
    void open();
    bool next();
    void close();
    bool isOpen() const;
    // Opens, fetches the first row and keeps it; false when there is none.
    bool openFirst();

    int columnCount() const;
    const ColumnInfo &column(int index) const;
    QVector<ColumnInfo> columns() const;
    int columnIndex(const QString &name) const; // -1 when absent
    QVariant value(int index) const;
    QVariant value(const QString &name) const;
    bool isNull(int index) const;
    // Rows changed by the last execute (insert, update, delete).
    int rowsAffected() const { return m_rowsAffected; }

    Transaction &transaction() const { return *m_transaction; }

    // Turns ":NAME" parameters into "?" outside strings, quoted names and
    // comments; names gets one entry per "?" in order.
    static QString rewriteNamedParameters(const QString &sql, QStringList *names);

private:
    friend class Transaction;
    struct Impl;
    void closeCursorSilently();
    void releaseStatement();
    void bindInput();

    Database *m_database;
    Transaction *m_transaction;
    QString m_sql;
    QStringList m_positionalNames;
    QVector<QVariant> m_values; // by unique name index
    QStringList m_uniqueNames;
    std::unique_ptr<Impl> m_impl;
    int m_rowsAffected = 0;
};
