#pragma once

#include "GridColumnsModel.h"

#include <QPointer>
#include <QTableView>

#include "db/EditableResultSet.h"

// A grid over a result set: one row per row of the set, the selected row is
// the set's current row. Read-only or editing in place; a click on a title
// reports the column's field.
class DBGrid : public QTableView
{
    Q_OBJECT
public:
    explicit DBGrid(QWidget *parent = nullptr);

    void setDataSet(EditableResultSet *dataSet);
    EditableResultSet *dataSet() const { return m_dataSet; }
    void setColumns(const QVector<GridColumn> &columns);
    GridColumnsModel *columnsModel() { return &m_columns; }
    void setReadOnly(bool readOnly);
    bool readOnly() const { return m_readOnly; }
    // The field of the grid column, as titleClicked reports it.
    QString fieldAt(int column) const { return m_columns.fieldAt(column); }

signals:
    void titleClicked(const QString &field);

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;

private:
    void followDataSet();
    void applyWidths();

    QPointer<EditableResultSet> m_dataSet;
    GridColumnsModel m_columns;
    bool m_readOnly = false;
    bool m_syncing = false;
};
