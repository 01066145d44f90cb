#include "Query.h"

#include "Database.h"
#include "FbStatus.h"
#include "Transaction.h"
#include "text/ShiftJis.h"

#include <QDateTime>

#include <cmath>
#include <cstring>
#include <vector>

using namespace Firebird;

namespace {

// Firebird character set ids that matter here.
constexpr int kCsNone = 0;
constexpr int kCsOctets = 1;
constexpr int kCsUnicodeFss = 3;
constexpr int kCsUtf8 = 4;
constexpr unsigned kCsSjis = 5; // SJIS_0208, the connection's character set

int bytesPerChar(int charSet)
{
    switch (charSet) {
    case kCsNone:
    case kCsOctets:
    case 2: // ASCII
        return 1;
    case kCsUnicodeFss:
        return 3;
    case kCsUtf8:
        return 4;
    default:
        return 2; // SJIS_0208 and the other double-byte sets
    }
}

QString decodeText(const char *data, qsizetype size, int charSet)
{
    if (charSet == kCsUnicodeFss || charSet == kCsUtf8)
        return QString::fromUtf8(data, size);
    return ShiftJis::decode(data, size);
}

// A text parameter travels with a 16-bit length; a longer one would arrive
// cut to its length modulo 65536.
void checkLength(const QByteArray &bytes, const QString &name)
{
    if (bytes.size() > 0xFFFF)
        throw DbError(QStringLiteral("parameter :%1 is %2 bytes long, more than 65535")
                          .arg(name)
                          .arg(bytes.size()));
}

ShiftJis::Charset connectionCharset(const Database &database)
{
    return database.params().charset.compare(QLatin1String("SJIS_0208"), Qt::CaseInsensitive) == 0
               ? ShiftJis::Charset::Sjis0208
               : ShiftJis::Charset::Cp932;
}

} // namespace

int ColumnInfo::charLength() const
{
    // The message length of a VARCHAR excludes its two length bytes.
    return length / bytesPerChar(charSet);
}

bool ColumnInfo::isText() const
{
    return sqlType == SQL_TEXT || sqlType == SQL_VARYING;
}

bool ColumnInfo::isInteger() const
{
    return (sqlType == SQL_SHORT || sqlType == SQL_LONG || sqlType == SQL_INT64) && scale == 0;
}

struct Query::Impl
{
    IStatement *statement = nullptr;
    IMessageMetadata *outMeta = nullptr;
    IResultSet *cursor = nullptr;
    std::vector<unsigned char> outBuffer;
    QVector<ColumnInfo> columns;
    std::vector<unsigned> outOffsets;
    std::vector<unsigned> outNullOffsets;
    bool hasRow = false;
    unsigned statementType = 0;
    int inputCount = 0;
    std::vector<unsigned char> inBuffer;
    IMessageMetadata *inMeta = nullptr;

    void releaseInput()
    {
        if (inMeta) {
            inMeta->release();
            inMeta = nullptr;
        }
    }
};

Query::Query(Database &database, Transaction &transaction)
    : m_database(&database), m_transaction(&transaction), m_impl(std::make_unique<Impl>())
{
    m_transaction->registerQuery(this);
}

Query::Query(Transaction &transaction)
    : m_database(transaction.database()), m_transaction(&transaction),
      m_impl(std::make_unique<Impl>())
{
    m_transaction->registerQuery(this);
}

Query::~Query()
{
    releaseStatement();
    m_transaction->unregisterQuery(this);
}

QString Query::rewriteNamedParameters(const QString &sql, QStringList *names)
{
    QString out;
    out.reserve(sql.size());
    const qsizetype n = sql.size();
    qsizetype i = 0;
    auto isNameStart = [](QChar c) { return c.isLetter() || c == QLatin1Char('_'); };
    auto isNameChar = [](QChar c) {
        return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$');
    };
    while (i < n) {
        const QChar c = sql.at(i);
        if ((c == QLatin1Char('q') || c == QLatin1Char('Q')) && i + 2 < n &&
            sql.at(i + 1) == QLatin1Char('\'') && (i == 0 || !isNameChar(sql.at(i - 1)))) {
            // q'{...}': the text runs to the closing delimiter and a quote;
            // quotes and colons inside it are text.
            const QChar open = sql.at(i + 2);
            QChar close = open;
            if (open == QLatin1Char('('))
                close = QLatin1Char(')');
            else if (open == QLatin1Char('{'))
                close = QLatin1Char('}');
            else if (open == QLatin1Char('['))
                close = QLatin1Char(']');
            else if (open == QLatin1Char('<'))
                close = QLatin1Char('>');
            qsizetype j = i + 3;
            while (j + 1 < n && !(sql.at(j) == close && sql.at(j + 1) == QLatin1Char('\'')))
                ++j;
            j = j + 1 < n ? j + 2 : n;
            out += sql.mid(i, j - i);
            i = j;
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            // Copy a string literal or quoted name whole; doubled quotes stay inside.
            qsizetype j = i + 1;
            while (j < n) {
                if (sql.at(j) == c) {
                    if (j + 1 < n && sql.at(j + 1) == c) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            out += sql.mid(i, j - i + 1);
            i = j + 1;
        } else if (c == QLatin1Char('-') && i + 1 < n && sql.at(i + 1) == QLatin1Char('-')) {
            qsizetype j = sql.indexOf(QLatin1Char('\n'), i);
            if (j < 0)
                j = n;
            out += sql.mid(i, j - i);
            i = j;
        } else if (c == QLatin1Char('/') && i + 1 < n && sql.at(i + 1) == QLatin1Char('*')) {
            qsizetype j = sql.indexOf(QLatin1String("*/"), i + 2);
            j = j < 0 ? n : j + 2;
            out += sql.mid(i, j - i);
            i = j;
        } else if (c == QLatin1Char(':') && i + 1 < n && isNameStart(sql.at(i + 1))) {
            qsizetype j = i + 1;
            while (j < n && isNameChar(sql.at(j)))
                ++j;
            if (names)
                names->append(sql.mid(i + 1, j - i - 1).toUpper());
            out += QLatin1Char('?');
            i = j;
        } else if (c == QLatin1Char('?')) {
            if (names)
                names->append(QString::number(names->size()));
            out += c;
            ++i;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

void Query::setSql(const QString &sql)
{
    releaseStatement();
    m_sql = sql;
    m_positionalNames.clear();
    rewriteNamedParameters(sql, &m_positionalNames);
    m_uniqueNames.clear();
    for (const QString &name : m_positionalNames) {
        if (!m_uniqueNames.contains(name))
            m_uniqueNames.append(name);
    }
    m_values = QVector<QVariant>(m_uniqueNames.size());
}

QStringList Query::parameterNames() const
{
    return m_uniqueNames;
}

void Query::setParam(const QString &name, const QVariant &value)
{
    const qsizetype i = m_uniqueNames.indexOf(name.toUpper());
    if (i < 0)
        throw DbError(QStringLiteral("unknown parameter :%1").arg(name));
    m_values[i] = value;
}

void Query::setParam(int index, const QVariant &value)
{
    if (index < 0 || index >= m_values.size())
        throw DbError(QStringLiteral("parameter index %1 out of range").arg(index));
    m_values[index] = value;
}

void Query::clearParams()
{
    for (QVariant &v : m_values)
        v = QVariant();
}

bool Query::prepared() const
{
    return m_impl->statement != nullptr;
}

void Query::prepare()
{
    if (m_impl->statement)
        return;
    if (!m_database || !m_database->connected())
        throw DbError(QStringLiteral("database not connected"));
    m_transaction->ensureStarted();
    const QByteArray text = ShiftJis::encode(rewriteNamedParameters(m_sql, nullptr));
    IAttachment *att = m_database->attachment();
    Impl &d = *m_impl;
    FbStatus::call([&](ThrowStatusWrapper *st) {
        d.statement = att->prepare(st, m_transaction->handle(), 0, text.constData(),
                                   static_cast<unsigned>(m_database->dialect()),
                                   IStatement::PREPARE_PREFETCH_METADATA);
        d.statementType = d.statement->getType(st);
        IMessageMetadata *in = d.statement->getInputMetadata(st);
        d.inputCount = static_cast<int>(in->getCount(st));
        in->release();
        d.outMeta = d.statement->getOutputMetadata(st);
        const unsigned count = d.outMeta->getCount(st);
        d.columns.clear();
        d.outOffsets.assign(count, 0);
        d.outNullOffsets.assign(count, 0);
        for (unsigned i = 0; i < count; ++i) {
            ColumnInfo c;
            c.name = QString::fromUtf8(d.outMeta->getAlias(st, i));
            c.field = QString::fromUtf8(d.outMeta->getField(st, i));
            c.relation = QString::fromUtf8(d.outMeta->getRelation(st, i));
            if (c.name.isEmpty())
                c.name = c.field;
            c.sqlType = static_cast<int>(d.outMeta->getType(st, i) & ~1u);
            c.subType = d.outMeta->getSubType(st, i);
            c.scale = d.outMeta->getScale(st, i);
            c.length = static_cast<int>(d.outMeta->getLength(st, i));
            c.charSet = static_cast<int>(d.outMeta->getCharSet(st, i));
            c.nullable = d.outMeta->isNullable(st, i);
            d.columns.append(c);
            d.outOffsets[i] = d.outMeta->getOffset(st, i);
            d.outNullOffsets[i] = d.outMeta->getNullOffset(st, i);
        }
        d.outBuffer.assign(d.outMeta->getMessageLength(st), 0);
    });
    if (d.inputCount != m_positionalNames.size()) {
        const int expected = d.inputCount;
        releaseStatement();
        throw DbError(QStringLiteral("statement expects %1 parameters, %2 named")
                          .arg(expected)
                          .arg(m_positionalNames.size()));
    }
}

void Query::bindInput()
{
    Impl &d = *m_impl;
    d.releaseInput();
    d.inBuffer.clear();
    if (d.inputCount == 0)
        return;

    // Every parameter is sent in the type of its value; the engine converts
    // to the type the statement expects.
    struct Encoded
    {
        unsigned type = SQL_VARYING;
        unsigned length = 0;
        int charSet = kCsNone;
        QByteArray bytes;
        qint64 integer = 0;
        double real = 0;
        bool null = false;
    };
    std::vector<Encoded> enc(static_cast<size_t>(d.inputCount));
    IUtil *util = Database::master()->getUtilInterface();
    for (int i = 0; i < d.inputCount; ++i) {
        const QString &name = m_positionalNames.at(i);
        const QVariant &v = m_values.at(m_uniqueNames.indexOf(name));
        Encoded &e = enc[static_cast<size_t>(i)];
        if (!v.isValid() || v.isNull()) {
            e.null = true;
            e.type = SQL_VARYING;
            e.length = 1;
            continue;
        }
        switch (v.typeId()) {
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Long:
            e.type = SQL_INT64;
            e.length = 8;
            e.integer = v.toLongLong();
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            e.type = SQL_DOUBLE;
            e.length = 8;
            e.real = v.toDouble();
            break;
        case QMetaType::QByteArray:
            e.bytes = v.toByteArray();
            e.length = static_cast<unsigned>(qMax<qsizetype>(1, e.bytes.size()));
            checkLength(e.bytes, name);
            break;
        case QMetaType::QDate: {
            const QDate date = v.toDate();
            ISC_DATE dt = util->encodeDate(static_cast<unsigned>(date.year()),
                                           static_cast<unsigned>(date.month()),
                                           static_cast<unsigned>(date.day()));
            e.type = SQL_TYPE_DATE;
            e.length = sizeof(ISC_DATE);
            e.bytes = QByteArray(reinterpret_cast<const char *>(&dt), sizeof dt);
            break;
        }
        case QMetaType::QDateTime: {
            const QDateTime when = v.toDateTime();
            ISC_TIMESTAMP ts;
            ts.timestamp_date = util->encodeDate(static_cast<unsigned>(when.date().year()),
                                                 static_cast<unsigned>(when.date().month()),
                                                 static_cast<unsigned>(when.date().day()));
            const QTime t = when.time();
            ts.timestamp_time = util->encodeTime(
                static_cast<unsigned>(t.hour()), static_cast<unsigned>(t.minute()),
                static_cast<unsigned>(t.second()), static_cast<unsigned>(t.msec() * 10));
            e.type = SQL_TIMESTAMP;
            e.length = sizeof(ISC_TIMESTAMP);
            e.bytes = QByteArray(reinterpret_cast<const char *>(&ts), sizeof ts);
            break;
        }
        default: {
            // What the connection's character set cannot hold is refused
            // here, naming the parameter, rather than by the server.
            e.bytes = ShiftJis::encode(v.toString(), name, connectionCharset(*m_database));
            checkLength(e.bytes, name);
            e.charSet = -1; // the connection's character set
            e.length = static_cast<unsigned>(qMax<qsizetype>(1, e.bytes.size()));
            break;
        }
        }
    }

    FbStatus::call([&](ThrowStatusWrapper *st) {
        IMessageMetadata *described = d.statement->getInputMetadata(st);
        IMetadataBuilder *builder = described->getBuilder(st);
        described->release();
        struct Release
        {
            IMetadataBuilder *b;
            ~Release() { b->release(); }
        } release{builder};
        for (int i = 0; i < d.inputCount; ++i) {
            const Encoded &e = enc[static_cast<size_t>(i)];
            const unsigned idx = static_cast<unsigned>(i);
            builder->setType(st, idx, e.type + 1);
            builder->setSubType(st, idx, 0);
            builder->setScale(st, idx, 0);
            builder->setLength(st, idx, e.length);
            if (e.type == SQL_VARYING)
                builder->setCharSet(st, idx, e.charSet == -1 ? kCsSjis : 0u);
        }
        d.inMeta = builder->getMetadata(st);
        d.inBuffer.assign(d.inMeta->getMessageLength(st), 0);
        for (int i = 0; i < d.inputCount; ++i) {
            const Encoded &e = enc[static_cast<size_t>(i)];
            const unsigned idx = static_cast<unsigned>(i);
            unsigned char *data = d.inBuffer.data() + d.inMeta->getOffset(st, idx);
            auto *nullFlag =
                reinterpret_cast<short *>(d.inBuffer.data() + d.inMeta->getNullOffset(st, idx));
            *nullFlag = e.null ? -1 : 0;
            if (e.null)
                continue;
            switch (e.type) {
            case SQL_INT64:
                std::memcpy(data, &e.integer, 8);
                break;
            case SQL_DOUBLE:
                std::memcpy(data, &e.real, 8);
                break;
            case SQL_VARYING: {
                const auto len = static_cast<unsigned short>(e.bytes.size());
                std::memcpy(data, &len, 2);
                std::memcpy(data + 2, e.bytes.constData(), len);
                break;
            }
            default:
                std::memcpy(data, e.bytes.constData(), static_cast<size_t>(e.bytes.size()));
            }
        }
    });
}

void Query::execute()
{
    prepare();
    closeCursorSilently();
    m_transaction->ensureStarted();
    bindInput();
    Impl &d = *m_impl;
    const bool hasOutput = !d.columns.isEmpty();
    FbStatus::call([&](ThrowStatusWrapper *st) {
        if (d.statementType == isc_info_sql_stmt_select) {
            // A SELECT run through execute: open and fetch the first row.
            d.cursor = d.statement->openCursor(st, m_transaction->handle(), d.inMeta,
                                               d.inBuffer.empty() ? nullptr : d.inBuffer.data(),
                                               d.outMeta, 0);
            d.hasRow = d.cursor->fetchNext(st, d.outBuffer.data()) == IStatus::RESULT_OK;
            return;
        }
        d.statement->execute(
            st, m_transaction->handle(), d.inMeta, d.inBuffer.empty() ? nullptr : d.inBuffer.data(),
            hasOutput ? d.outMeta : nullptr, hasOutput ? d.outBuffer.data() : nullptr);
        d.hasRow = hasOutput;
        m_rowsAffected = static_cast<int>(d.statement->getAffectedRecords(st));
    });
}

void Query::open()
{
    prepare();
    closeCursorSilently();
    m_transaction->ensureStarted();
    bindInput();
    Impl &d = *m_impl;
    FbStatus::call([&](ThrowStatusWrapper *st) {
        d.cursor =
            d.statement->openCursor(st, m_transaction->handle(), d.inMeta,
                                    d.inBuffer.empty() ? nullptr : d.inBuffer.data(), d.outMeta, 0);
    });
    d.hasRow = false;
}

bool Query::openFirst()
{
    open();
    return next();
}

bool Query::next()
{
    Impl &d = *m_impl;
    if (!d.cursor) {
        d.hasRow = false;
        return false;
    }
    const int rc = FbStatus::call(
        [&](ThrowStatusWrapper *st) { return d.cursor->fetchNext(st, d.outBuffer.data()); });
    d.hasRow = rc == IStatus::RESULT_OK;
    if (!d.hasRow)
        close();
    return d.hasRow;
}

bool Query::isOpen() const
{
    return m_impl->cursor != nullptr;
}

void Query::close()
{
    Impl &d = *m_impl;
    if (!d.cursor)
        return;
    IResultSet *cursor = d.cursor;
    d.cursor = nullptr;
    try {
        FbStatus::call([&](ThrowStatusWrapper *st) { cursor->close(st); });
    } catch (const DbError &) {
        cursor->release();
        throw;
    }
}

void Query::closeCursorSilently()
{
    try {
        close();
    } catch (const DbError &) {
        // The cursor is gone with its transaction either way.
    }
}

void Query::releaseStatement()
{
    closeCursorSilently();
    Impl &d = *m_impl;
    d.releaseInput();
    if (d.outMeta) {
        d.outMeta->release();
        d.outMeta = nullptr;
    }
    if (d.statement) {
        d.statement->release();
        d.statement = nullptr;
    }
    d.columns.clear();
    d.hasRow = false;
}

int Query::columnCount() const
{
    return static_cast<int>(m_impl->columns.size());
}

const ColumnInfo &Query::column(int index) const
{
    return m_impl->columns.at(index);
}

QVector<ColumnInfo> Query::columns() const
{
    return m_impl->columns;
}

int Query::columnIndex(const QString &name) const
{
    const QVector<ColumnInfo> &cols = m_impl->columns;
    for (int i = 0; i < cols.size(); ++i) {
        if (cols.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool Query::isNull(int index) const
{
    const Impl &d = *m_impl;
    if (!d.hasRow || index < 0 || index >= d.columns.size())
        return true;
    return *reinterpret_cast<const short *>(d.outBuffer.data() +
                                            d.outNullOffsets[static_cast<size_t>(index)]) != 0;
}

QVariant Query::value(const QString &name) const
{
    const int i = columnIndex(name);
    if (i < 0)
        throw DbError(QStringLiteral("unknown column %1").arg(name));
    return value(i);
}

QVariant Query::value(int index) const
{
    const Impl &d = *m_impl;
    if (index < 0 || index >= d.columns.size())
        throw DbError(QStringLiteral("column index %1 out of range").arg(index));
    if (isNull(index))
        return QVariant();
    const ColumnInfo &c = d.columns.at(index);
    const unsigned char *p = d.outBuffer.data() + d.outOffsets[static_cast<size_t>(index)];
    auto scaled = [&](qint64 raw) -> QVariant {
        if (c.scale == 0)
            return QVariant(raw);
        return QVariant(static_cast<double>(raw) * std::pow(10.0, c.scale));
    };
    IUtil *util = Database::master()->getUtilInterface();
    switch (c.sqlType) {
    case SQL_VARYING: {
        unsigned short len;
        std::memcpy(&len, p, 2);
        if (c.charSet == kCsOctets)
            return QByteArray(reinterpret_cast<const char *>(p + 2), len);
        return decodeText(reinterpret_cast<const char *>(p + 2), len, c.charSet);
    }
    case SQL_TEXT:
        if (c.charSet == kCsOctets)
            return QByteArray(reinterpret_cast<const char *>(p), c.length);
        return decodeText(reinterpret_cast<const char *>(p), c.length, c.charSet);
    case SQL_SHORT: {
        qint16 v;
        std::memcpy(&v, p, 2);
        return c.scale == 0 ? QVariant(int(v)) : scaled(v);
    }
    case SQL_LONG: {
        qint32 v;
        std::memcpy(&v, p, 4);
        return c.scale == 0 ? QVariant(int(v)) : scaled(v);
    }
    case SQL_INT64: {
        qint64 v;
        std::memcpy(&v, p, 8);
        return scaled(v);
    }
    case SQL_FLOAT: {
        float v;
        std::memcpy(&v, p, 4);
        return double(v);
    }
    case SQL_DOUBLE:
    case SQL_D_FLOAT: {
        double v;
        std::memcpy(&v, p, 8);
        return v;
    }
    case SQL_BOOLEAN:
        return bool(*p);
    case SQL_TYPE_DATE: {
        ISC_DATE v;
        std::memcpy(&v, p, sizeof v);
        unsigned y, m, dd;
        util->decodeDate(v, &y, &m, &dd);
        return QDate(int(y), int(m), int(dd));
    }
    case SQL_TYPE_TIME: {
        ISC_TIME v;
        std::memcpy(&v, p, sizeof v);
        unsigned h, mi, s, frac;
        util->decodeTime(v, &h, &mi, &s, &frac);
        return QTime(int(h), int(mi), int(s), int(frac / 10));
    }
    case SQL_TIMESTAMP: {
        ISC_TIMESTAMP v;
        std::memcpy(&v, p, sizeof v);
        unsigned y, m, dd, h, mi, s, frac;
        util->decodeDate(v.timestamp_date, &y, &m, &dd);
        util->decodeTime(v.timestamp_time, &h, &mi, &s, &frac);
        return QDateTime(QDate(int(y), int(m), int(dd)),
                         QTime(int(h), int(mi), int(s), int(frac / 10)));
    }
    case SQL_BLOB: {
        ISC_QUAD id;
        std::memcpy(&id, p, sizeof id);
        QByteArray bytes;
        FbStatus::call([&](ThrowStatusWrapper *st) {
            IBlob *blob =
                m_database->attachment()->openBlob(st, m_transaction->handle(), &id, 0, nullptr);
            char buffer[8192];
            unsigned got = 0;
            for (;;) {
                const int rc = blob->getSegment(st, sizeof buffer, buffer, &got);
                if (rc != IStatus::RESULT_OK && rc != IStatus::RESULT_SEGMENT)
                    break;
                bytes.append(buffer, got);
            }
            blob->close(st);
        });
        if (c.subType == 1)
            return decodeText(bytes.constData(), bytes.size(), c.charSet);
        return bytes;
    }
    default:
        throw DbError(QStringLiteral("unsupported column type %1").arg(c.sqlType));
    }
}
