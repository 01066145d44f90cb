#pragma once

#include "Query.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <memory>

class Database;
class Transaction;
class UpdateSql;

// The cached-update query of the forms: rows are fetched on demand, edited,
// inserted and deleted in memory, and written with the statements of its
// UpdateSql in one transaction when applied. A table model, so grids show it;
// the data-aware controls follow its current row.
class EditableResultSet : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum class State
    {
        Inactive,
        Browse,
        Edit,
        Insert,
    };
    Q_ENUM(State)

    explicit EditableResultSet(QObject *parent = nullptr);
    ~EditableResultSet() override;

    // The connection and transaction the rows are read through.
    void setTransaction(Transaction *transaction);
    Transaction *transaction() const { return m_transaction; }
    Database *database() const;

    void setSql(const QStringList &lines);
    void setSql(const QString &sql) { setSql(QStringList{sql}); }
    QStringList sql() const { return m_sql; }
    void setParam(const QString &name, const QVariant &value);
    void clearParams();

    void setUpdateObject(UpdateSql *updateSql) { m_updateSql = updateSql; }
    UpdateSql *updateObject() const { return m_updateSql; }
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }
    bool readOnly() const { return m_readOnly; }
    bool canModify() const { return active() && !m_readOnly; }

    // Opening reads the first row only; the rest come as they are needed.
    void open();
    void close();
    bool active() const { return m_state != State::Inactive; }
    void fetchAll();
    // Rows fetched so far (all rows once the end was reached).
    int recordCount() const { return static_cast<int>(m_rows.size()); }
    bool allFetched() const { return !m_query || !m_query->isOpen(); }
    bool isEmpty() const { return m_rows.isEmpty(); }

    State state() const { return m_state; }
    bool editing() const { return m_state == State::Edit || m_state == State::Insert; }
    int currentRow() const { return m_current; }
    bool bof() const { return m_bof; }
    bool eof() const { return m_eof; }

    // Navigation posts a pending edit first; false when that was refused.
    bool First();
    bool Prior();
    bool Next();
    bool Last();
    bool moveTo(int row);
    // Moves to the first row whose column equals the value; false (and the
    // position unchanged) when there is none.
    bool Locate(const QString &column, const QVariant &value);

    bool Insert();
    bool Append();
    bool Edit();
    // Fires beforePost (which may abort); false when aborted.
    bool Post();
    bool Cancel();
    bool Delete();
    // Handlers of beforePost, beforeCancel, beforeDelete and beforeInsert
    // call this to refuse the action.
    void abort() { m_aborted = true; }
    // Posts a pending edit; false when the post was refused.
    bool checkBrowseMode();

    // The current row's columns by name.
    QVariant value(const QString &column) const;
    bool isNull(const QString &column) const { return value(column).isNull(); }
    // Enters edit state from browsing; empty text is stored as null and text
    // for a numeric column as its number.
    void setValue(const QString &column, const QVariant &value);
    QVariant valueAt(int row, const QString &column) const;

    QVector<ColumnInfo> columns() const { return m_columns; }
    QStringList columnNames() const;
    int columnIndex(const QString &column) const;
    bool hasColumn(const QString &column) const { return columnIndex(column) >= 0; }

    // Pending inserts, edits and deletes.
    bool updatesPending() const;
    // Posts a pending edit, then runs the statements of the update object in
    // a transaction of their own and commits; on failure that transaction is
    // rolled back, the pending changes stay and the error is rethrown. False
    // when the pending edit could not be posted (nothing was written).
    bool applyUpdates();
    // Forgets every pending change and restores the rows as read.
    void cancelUpdates();

    // Freezing of the bound controls while the set is reloaded; nests.
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return m_disableCount > 0; }

    // QAbstractItemModel
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

    static constexpr int kFetchBatch = 64;

signals:
    void stateChanged(EditableResultSet::State state);
    // A new row was started; handlers fill its defaults.
    void newRecord();
    void beforeInsert();
    void beforePost();
    void beforeCancel();
    void beforeDelete();
    // A column of the current row changed (field set), or the whole current
    // record did (field empty: moved, reopened, cancelled).
    void recordDataChanged(const QString &field);
    // Bound controls write what the user typed before a post.
    void updateRecord();
    void controlsFrozen(bool frozen);

private:
    enum class RowStatus
    {
        Unmodified,
        Modified,
        Inserted,
    };
    struct Row
    {
        QVector<QVariant> values;
        QVector<QVariant> original; // as read, once changed; for the OLD_ parameters
        RowStatus status = RowStatus::Unmodified;
    };

    bool fetchRows(int count, bool notify);
    Row readRow() const;
    void endReset();
    void setState(State state);
    void setCurrent(int row, bool bof, bool eof);
    bool fire(void (EditableResultSet::*signal)());
    QVariant convertForColumn(int column, const QVariant &value) const;
    bool insertAt(int position);
    void runStatement(Transaction &transaction, const QStringList &sql, const Row &row,
                      QVariant *returnedId);

    Transaction *m_transaction = nullptr;
    QStringList m_sql;
    QHash<QString, QVariant> m_params;
    UpdateSql *m_updateSql = nullptr;
    bool m_readOnly = false;

    std::unique_ptr<Query> m_query;
    QVector<ColumnInfo> m_columns;
    QHash<QString, int> m_columnByName;
    QVector<Row> m_rows;
    QVector<Row> m_deleted;
    Row m_beforeEdit;
    State m_state = State::Inactive;
    int m_current = -1;
    bool m_bof = true;
    bool m_eof = true;
    bool m_aborted = false;
    int m_disableCount = 0;
    bool m_busy = false; // a structural change is being announced
};
