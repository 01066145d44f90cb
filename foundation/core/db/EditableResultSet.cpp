#include "EditableResultSet.h"
#include "db/DbTexts.h"

#include "Database.h"
#include "DbError.h"
#include "Transaction.h"
#include "UpdateSql.h"
#include "app/AppError.h"
#include "app/Messages.h"
#include "db/FieldNameRole.h"
#include "text/KivFunc.h"
#include "text/ShiftJis.h"

#include <ibase.h>

namespace {

bool sameValue(const QVariant &a, const QVariant &b)
{
    const bool an = !a.isValid() || a.isNull();
    const bool bn = !b.isValid() || b.isNull();
    if (an || bn)
        return an == bn;
    return a == b;
}

bool isNumber(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

// Key comparison of Locate: numbers by value, everything else by its text,
// so an ID given as text still finds its row.
bool sameKey(const QVariant &a, const QVariant &b)
{
    const bool an = !a.isValid() || a.isNull();
    const bool bn = !b.isValid() || b.isNull();
    if (an || bn)
        return an == bn;
    if (isNumber(a) && isNumber(b))
        return a.toDouble() == b.toDouble();
    return a.toString() == b.toString();
}

const QString kIdColumn = QStringLiteral("ID");
// Firebird's id of the SJIS_0208 character set.
constexpr int kSjis0208CharSet = 5;

} // namespace

EditableResultSet::EditableResultSet(QObject *parent) : QAbstractTableModel(parent) {}

EditableResultSet::~EditableResultSet() = default;

void EditableResultSet::setTransaction(Transaction *transaction)
{
    if (transaction == m_transaction)
        return;
    close();
    m_transaction = transaction;
}

Database *EditableResultSet::database() const
{
    return m_transaction ? m_transaction->database() : nullptr;
}

void EditableResultSet::setSql(const QStringList &lines)
{
    m_sql = lines;
}

void EditableResultSet::setParam(const QString &name, const QVariant &value)
{
    m_params.insert(name.toUpper(), value);
}

void EditableResultSet::clearParams()
{
    m_params.clear();
}

void EditableResultSet::open()
{
    if (active())
        return;
    if (!m_transaction || !database())
        throw DbError(QStringLiteral("result set has no transaction"));
    auto query = std::make_unique<Query>(*m_transaction);
    query->setSql(m_sql);
    for (const QString &name : query->parameterNames())
        query->setParam(name, m_params.value(name));
    query->open();

    beginResetModel();
    m_query = std::move(query);
    m_columns = m_query->columns();
    m_columnByName.clear();
    for (int i = 0; i < m_columns.size(); ++i)
        m_columnByName.insert(m_columns.at(i).name.toUpper(), i);
    m_rows.clear();
    m_deleted.clear();
    try {
        fetchRows(1, false);
    } catch (...) {
        m_query.reset();
        m_columns.clear();
        m_columnByName.clear();
        m_rows.clear();
        endReset();
        throw;
    }
    m_current = m_rows.isEmpty() ? -1 : 0;
    m_bof = true;
    m_eof = m_rows.isEmpty();
    m_state = State::Browse;
    endReset();
    emit stateChanged(m_state);
    emit recordDataChanged(QString());
}

void EditableResultSet::close()
{
    if (!active() && !m_query)
        return;
    beginResetModel();
    m_query.reset();
    m_columns.clear();
    m_columnByName.clear();
    m_rows.clear();
    m_deleted.clear();
    m_current = -1;
    m_bof = m_eof = true;
    m_state = State::Inactive;
    endReset();
    emit stateChanged(m_state);
    emit recordDataChanged(QString());
}

void EditableResultSet::endReset()
{
    // Listeners of a change may ask for more rows; inserting them while the
    // change is still being announced would interleave two changes.
    m_busy = true;
    endResetModel();
    m_busy = false;
}

EditableResultSet::Row EditableResultSet::readRow() const
{
    Row row;
    row.values.reserve(m_columns.size());
    for (int i = 0; i < m_columns.size(); ++i)
        row.values.append(m_query->value(i));
    return row;
}

bool EditableResultSet::fetchRows(int count, bool notify)
{
    if (!m_query || !m_query->isOpen() || count <= 0)
        return false;
    QVector<Row> fetched;
    while (count-- > 0 && m_query->next())
        fetched.append(readRow());
    if (fetched.isEmpty())
        return false;
    const int first = static_cast<int>(m_rows.size());
    if (notify) {
        m_busy = true;
        beginInsertRows(QModelIndex(), first, first + static_cast<int>(fetched.size()) - 1);
        m_rows += fetched;
        endInsertRows();
        m_busy = false;
    } else {
        m_rows += fetched;
    }
    return true;
}

void EditableResultSet::fetchAll()
{
    while (fetchRows(1024, true)) {
    }
}

void EditableResultSet::setState(State state)
{
    if (state == m_state)
        return;
    m_state = state;
    emit stateChanged(state);
}

void EditableResultSet::setCurrent(int row, bool bof, bool eof)
{
    m_current = row;
    m_bof = bof;
    m_eof = eof;
    emit recordDataChanged(QString());
}

bool EditableResultSet::fire(void (EditableResultSet::*signal)())
{
    m_aborted = false;
    emit(this->*signal)();
    const bool ok = !m_aborted;
    m_aborted = false;
    return ok;
}

bool EditableResultSet::checkBrowseMode()
{
    if (!editing())
        return true;
    return Post();
}

bool EditableResultSet::First()
{
    if (m_busy)
        return false; // a view reacting to a change of rows
    if (!active() || !checkBrowseMode())
        return false;
    setCurrent(m_rows.isEmpty() ? -1 : 0, true, m_rows.isEmpty());
    return true;
}

bool EditableResultSet::Prior()
{
    if (m_busy)
        return false; // a view reacting to a change of rows
    if (!active() || !checkBrowseMode())
        return false;
    if (m_current > 0)
        setCurrent(m_current - 1, false, false);
    else
        setCurrent(m_current, true, m_eof);
    return true;
}

bool EditableResultSet::Next()
{
    if (m_busy)
        return false; // a view reacting to a change of rows
    if (!active() || !checkBrowseMode())
        return false;
    if (m_current + 1 < m_rows.size() || fetchRows(kFetchBatch, true))
        setCurrent(m_current + 1, false, false);
    else
        setCurrent(m_current, m_bof, true);
    return true;
}

bool EditableResultSet::Last()
{
    if (m_busy)
        return false; // a view reacting to a change of rows
    if (!active() || !checkBrowseMode())
        return false;
    fetchAll();
    setCurrent(static_cast<int>(m_rows.size()) - 1, m_rows.isEmpty(), true);
    return true;
}

bool EditableResultSet::moveTo(int row)
{
    if (m_busy)
        return false;
    if (!active() || row < 0)
        return false;
    while (row >= m_rows.size() && fetchRows(kFetchBatch, true)) {
    }
    if (row >= m_rows.size())
        return false;
    if (row == m_current)
        return true;
    if (!checkBrowseMode())
        return false;
    setCurrent(row, false, false);
    return true;
}

bool EditableResultSet::Locate(const QString &column, const QVariant &value)
{
    if (m_busy)
        return false;
    if (!active())
        return false;
    const int col = columnIndex(column);
    if (col < 0)
        throw DbError(QStringLiteral("unknown column %1").arg(column));
    if (!checkBrowseMode())
        return false;
    int i = 0;
    for (;;) {
        for (; i < m_rows.size(); ++i) {
            if (sameKey(m_rows.at(i).values.at(col), value)) {
                setCurrent(i, false, false);
                return true;
            }
        }
        if (!fetchRows(kFetchBatch, true))
            return false;
    }
}

bool EditableResultSet::insertAt(int position)
{
    m_busy = true;
    beginInsertRows(QModelIndex(), position, position);
    Row row;
    row.values = QVector<QVariant>(m_columns.size());
    row.status = RowStatus::Inserted;
    m_rows.insert(position, row);
    endInsertRows();
    m_busy = false;
    m_beforeEdit = Row();
    m_current = position;
    m_bof = m_eof = false;
    setState(State::Insert);
    try {
        emit newRecord();
    } catch (...) {
        // A failing default handler leaves no half-made row behind.
        m_busy = true;
        beginRemoveRows(QModelIndex(), position, position);
        m_rows.removeAt(position);
        endRemoveRows();
        m_busy = false;
        m_current = qMin(position, static_cast<int>(m_rows.size()) - 1);
        setState(State::Browse);
        emit recordDataChanged(QString());
        throw;
    }
    emit recordDataChanged(QString());
    return true;
}

bool EditableResultSet::Insert()
{
    if (m_busy)
        return false; // a view reacting to a change of rows
    if (!canModify() || !checkBrowseMode() || !fire(&EditableResultSet::beforeInsert))
        return false;
    return insertAt(m_current < 0 ? 0 : m_current);
}

bool EditableResultSet::Append()
{
    if (m_busy)
        return false; // a view reacting to a change of rows
    // The new row goes after the rows fetched so far; fetching a large table
    // to its end only to add a row would stall the form.
    if (!canModify() || !checkBrowseMode() || !fire(&EditableResultSet::beforeInsert))
        return false;
    return insertAt(static_cast<int>(m_rows.size()));
}

bool EditableResultSet::Edit()
{
    if (m_busy)
        return false; // a view reacting to a change of rows
    if (editing())
        return true;
    if (!canModify())
        return false;
    if (m_rows.isEmpty())
        return Insert();
    m_beforeEdit = m_rows.at(m_current);
    setState(State::Edit);
    return true;
}

bool EditableResultSet::Post()
{
    if (m_busy)
        return false; // a view reacting to a change of rows
    if (!editing())
        return true;
    emit updateRecord();
    if (!fire(&EditableResultSet::beforePost))
        return false;
    if (!editing())
        return true; // a handler already ended the edit
    Row &row = m_rows[m_current];
    if (m_state == State::Edit && row.status != RowStatus::Inserted) {
        const bool same = row.original.isEmpty() || row.values == row.original;
        row.status = same ? RowStatus::Unmodified : RowStatus::Modified;
        if (same)
            row.original.clear();
    }
    m_beforeEdit = Row();
    setState(State::Browse);
    return true;
}

bool EditableResultSet::Cancel()
{
    if (m_busy)
        return false; // a view reacting to a change of rows
    if (!editing())
        return true;
    if (!fire(&EditableResultSet::beforeCancel))
        return false;
    if (m_state == State::Insert) {
        const int row = m_current;
        m_busy = true;
        beginRemoveRows(QModelIndex(), row, row);
        m_rows.removeAt(row);
        endRemoveRows();
        m_busy = false;
        if (m_current >= m_rows.size())
            m_current = static_cast<int>(m_rows.size()) - 1;
    } else {
        m_rows[m_current] = m_beforeEdit;
        emit dataChanged(index(m_current, 0), index(m_current, columnCount() - 1));
    }
    m_beforeEdit = Row();
    m_eof = m_rows.isEmpty();
    setState(State::Browse);
    emit recordDataChanged(QString());
    return true;
}

bool EditableResultSet::Delete()
{
    if (m_busy)
        return false; // a view reacting to a change of rows
    if (m_state == State::Insert)
        return Cancel();
    if (!canModify() || m_rows.isEmpty())
        return false;
    if (!fire(&EditableResultSet::beforeDelete))
        return false;
    if (m_state == State::Edit) {
        m_rows[m_current] = m_beforeEdit;
        m_beforeEdit = Row();
    }
    const int at = m_current;
    m_busy = true;
    beginRemoveRows(QModelIndex(), at, at);
    Row row = m_rows.takeAt(at);
    endRemoveRows();
    m_busy = false;
    if (row.status != RowStatus::Inserted)
        m_deleted.append(row);
    if (m_current >= m_rows.size() && !fetchRows(kFetchBatch, true))
        m_current = static_cast<int>(m_rows.size()) - 1;
    m_eof = m_rows.isEmpty();
    m_bof = m_rows.isEmpty();
    setState(State::Browse);
    emit recordDataChanged(QString());
    return true;
}

int EditableResultSet::columnIndex(const QString &column) const
{
    return m_columnByName.value(column.toUpper(), -1);
}

QStringList EditableResultSet::columnNames() const
{
    QStringList names;
    for (const ColumnInfo &c : m_columns)
        names << c.name;
    return names;
}

QVariant EditableResultSet::value(const QString &column) const
{
    const int col = columnIndex(column);
    if (col < 0)
        throw DbError(QStringLiteral("unknown column %1").arg(column));
    if (m_current < 0 || m_current >= m_rows.size())
        return QVariant();
    return m_rows.at(m_current).values.at(col);
}

QVariant EditableResultSet::valueAt(int row, const QString &column) const
{
    const int col = columnIndex(column);
    if (col < 0)
        throw DbError(QStringLiteral("unknown column %1").arg(column));
    if (row < 0 || row >= m_rows.size())
        return QVariant();
    return m_rows.at(row).values.at(col);
}

QVariant EditableResultSet::convertForColumn(int column, const QVariant &value) const
{
    if (!value.isValid() || value.isNull())
        return QVariant();
    const ColumnInfo &c = m_columns.at(column);
    const bool text = value.typeId() == QMetaType::QString;
    if (text && value.toString().isEmpty())
        return QVariant(); // an empty box is stored as null
    if (value.typeId() == QMetaType::QByteArray)
        return value;
    if (c.isText()) {
        // Refused here, where the user still sees what was typed, rather
        // than when the pending changes are written: what the column's
        // character set cannot hold, and what would come back as another
        // character. Look-alikes are stored as the character that comes back.
        const QString t = ShiftJis::normalized(value.toString());
        const ShiftJis::Charset charset =
            c.charSet == kSjis0208CharSet ? ShiftJis::Charset::Sjis0208 : ShiftJis::Charset::Cp932;
        qsizetype bad = 0;
        if (!ShiftJis::tryEncode(t, nullptr, &bad, charset))
            throw AppError(ShiftJisError(t, bad, c.name).userMessage());
        return t;
    }
    const bool integer = c.isInteger();
    const bool real =
        !integer && (c.sqlType == SQL_SHORT || c.sqlType == SQL_LONG || c.sqlType == SQL_INT64 ||
                     c.sqlType == SQL_FLOAT || c.sqlType == SQL_DOUBLE);
    if (!integer && !real)
        return value;
    const QString t = ToHalfWidth(value.toString()).trimmed();
    bool ok = false;
    if (integer) {
        const qlonglong n = text ? t.toLongLong(&ok) : value.toLongLong(&ok);
        if (!ok)
            throw AppError(QString::fromUtf8(kNotAnInteger).arg(value.toString()));
        if (c.sqlType != SQL_INT64 && n >= INT_MIN && n <= INT_MAX)
            return int(n);
        return n;
    }
    const double d = text ? t.toDouble(&ok) : value.toDouble(&ok);
    if (!ok)
        throw AppError(
            QStringLiteral("'%1' is not a valid floating point value").arg(value.toString()));
    return d;
}

void EditableResultSet::setValue(const QString &column, const QVariant &value)
{
    const int col = columnIndex(column);
    if (col < 0)
        throw DbError(QStringLiteral("unknown column %1").arg(column));
    if (!editing() && !Edit())
        throw DbError(QStringLiteral("result set is not in edit or insert mode"));
    const QVariant v = convertForColumn(col, value);
    Row &row = m_rows[m_current];
    const QVariant &slot = row.values.at(col);
    if (sameValue(slot, v) && slot.typeId() == v.typeId())
        return;
    // The values as read are kept only for rows that change.
    if (row.original.isEmpty() && row.status != RowStatus::Inserted)
        row.original = row.values;
    row.values[col] = v;
    emit dataChanged(index(m_current, col), index(m_current, col));
    emit recordDataChanged(m_columns.at(col).name);
}

bool EditableResultSet::updatesPending() const
{
    if (!m_deleted.isEmpty())
        return true;
    for (const Row &r : m_rows) {
        if (r.status != RowStatus::Unmodified)
            return true;
    }
    return false;
}

void EditableResultSet::runStatement(Transaction &transaction, const QStringList &sql,
                                     const Row &row, QVariant *returnedId)
{
    if (sql.isEmpty())
        throw DbError(QStringLiteral("update statement missing"));
    QString text = sql.join(QLatin1Char('\n'));
    // The trigger may give the row another ID than the one predicted; learn
    // it so later edits of this row address the right one.
    const bool wantId = returnedId && hasColumn(kIdColumn) &&
                        !text.contains(QLatin1String("RETURNING"), Qt::CaseInsensitive);
    if (wantId)
        text += QStringLiteral("\nRETURNING ID");
    Query q(transaction);
    q.setSql(text);
    for (const QString &name : q.parameterNames()) {
        int col = -1;
        if (name.startsWith(QLatin1String("OLD_")) && (col = columnIndex(name.mid(4))) >= 0)
            q.setParam(name, (row.original.isEmpty() ? row.values : row.original).at(col));
        else if ((col = columnIndex(name)) >= 0)
            q.setParam(name, row.values.at(col));
        else
            throw DbError(QStringLiteral("no column for parameter :%1").arg(name));
    }
    q.execute();
    if (wantId)
        *returnedId = q.value(0);
}

bool EditableResultSet::applyUpdates()
{
    if (!active())
        return true;
    if (!checkBrowseMode())
        return false;
    if (!updatesPending())
        return true;
    if (!m_updateSql)
        throw DbError(QStringLiteral("result set has no update statements"));
    // A transaction of its own, so the read cursor of this set survives the
    // commit and a failure leaves the cache as it was.
    Transaction tr(database());
    QVector<QPair<int, QVariant>> newIds;
    try {
        for (const Row &row : std::as_const(m_deleted))
            runStatement(tr, m_updateSql->deleteSql, row, nullptr);
        for (int i = 0; i < m_rows.size(); ++i) {
            const Row &row = m_rows.at(i);
            if (row.status == RowStatus::Modified) {
                runStatement(tr, m_updateSql->modifySql, row, nullptr);
            } else if (row.status == RowStatus::Inserted) {
                QVariant id;
                runStatement(tr, m_updateSql->insertSql, row, &id);
                if (id.isValid())
                    newIds.append({i, id});
            }
        }
        tr.commit();
    } catch (...) {
        try {
            tr.rollback();
        } catch (const DbError &) {
            // The original failure is the one to report.
        }
        throw;
    }
    m_deleted.clear();
    const int idCol = columnIndex(kIdColumn);
    for (const auto &[row, id] : std::as_const(newIds)) {
        if (!sameKey(m_rows[row].values[idCol], id)) {
            m_rows[row].values[idCol] = id;
            emit dataChanged(index(row, idCol), index(row, idCol));
        }
    }
    for (Row &r : m_rows) {
        r.status = RowStatus::Unmodified;
        r.original.clear();
    }
    if (!newIds.isEmpty())
        emit recordDataChanged(QString());
    return true;
}

void EditableResultSet::cancelUpdates()
{
    if (!active())
        return;
    beginResetModel();
    m_state = State::Browse;
    QVector<Row> kept;
    auto restore = [&](Row &r) {
        if (!r.original.isEmpty())
            r.values = r.original;
        r.original.clear();
        r.status = RowStatus::Unmodified;
        kept.append(r);
    };
    for (Row &r : m_rows) {
        if (r.status != RowStatus::Inserted)
            restore(r);
    }
    for (Row &r : m_deleted)
        restore(r);
    m_deleted.clear();
    m_rows = kept;
    m_current = m_rows.isEmpty() ? -1 : qBound(0, m_current, static_cast<int>(m_rows.size()) - 1);
    endReset();
    emit stateChanged(m_state);
    emit recordDataChanged(QString());
}

void EditableResultSet::disableControls()
{
    if (m_disableCount++ == 0)
        emit controlsFrozen(true);
}

void EditableResultSet::enableControls()
{
    if (m_disableCount == 0)
        return;
    if (--m_disableCount == 0) {
        emit controlsFrozen(false);
        emit recordDataChanged(QString());
    }
}

int EditableResultSet::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int EditableResultSet::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant EditableResultSet::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size() || index.column() >= m_columns.size())
        return QVariant();
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return QVariant();
    return m_rows.at(index.row()).values.at(index.column());
}

bool EditableResultSet::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !checkIndex(index, CheckIndexOption::IndexIsValid) || !canModify())
        return false;
    try {
        if (!moveTo(index.row()))
            return false;
        setValue(m_columns.at(index.column()).name, value);
        return true;
    } catch (const AppError &e) {
        Messages::error(e.message());
    } catch (const DbError &e) {
        Messages::error(e.text());
    }
    return false;
}

Qt::ItemFlags EditableResultSet::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
    if (canModify())
        f |= Qt::ItemIsEditable;
    return f;
}

QVariant EditableResultSet::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= m_columns.size())
            return QVariant();
        if (role == Qt::DisplayRole || role == kFieldNameRole)
            return m_columns.at(section).name;
        return QVariant();
    }
    if (role == Qt::DisplayRole)
        return section + 1;
    return QVariant();
}

bool EditableResultSet::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && !m_busy && m_query && m_query->isOpen();
}

void EditableResultSet::fetchMore(const QModelIndex &parent)
{
    if (parent.isValid() || m_busy)
        return;
    try {
        fetchRows(kFetchBatch, true);
    } catch (const DbError &e) {
        // A view asked; the rows read so far stay and the error is shown once.
        m_query.reset();
        Messages::error(e.text());
    }
}
