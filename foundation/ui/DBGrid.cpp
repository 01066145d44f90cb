#include "DBGrid.h"

#include "db/EditableResultSet.h"

#include <QHeaderView>

DBGrid::DBGrid(QWidget *parent) : QTableView(parent)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setModel(&m_columns);
    setReadOnly(false);
    horizontalHeader()->setSectionsClickable(true);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int section) { emit titleClicked(fieldAt(section)); });
    // The view moves its current row itself when rows go or come; the set
    // decides the current row, so those moves are not passed on.
    for (auto before :
         {&QAbstractItemModel::rowsAboutToBeRemoved, &QAbstractItemModel::rowsAboutToBeInserted}) {
        connect(&m_columns, before, this, [this] { m_syncing = true; });
    }
    for (auto after : {&QAbstractItemModel::rowsRemoved, &QAbstractItemModel::rowsInserted}) {
        connect(&m_columns, after, this, [this] {
            m_syncing = false;
            followDataSet();
        });
    }
    connect(&m_columns, &QAbstractItemModel::modelReset, this, [this] {
        applyWidths();
        followDataSet();
    });
}

void DBGrid::setDataSet(EditableResultSet *dataSet)
{
    if (m_dataSet)
        disconnect(m_dataSet, nullptr, this, nullptr);
    m_dataSet = dataSet;
    m_columns.setSourceModel(dataSet);
    if (m_dataSet) {
        connect(m_dataSet, &EditableResultSet::recordDataChanged, this, [this](const QString &f) {
            if (f.isEmpty())
                followDataSet();
        });
        // Frozen while the set reloads: no painting of half-loaded rows.
        connect(m_dataSet, &EditableResultSet::controlsFrozen, this,
                [this](bool frozen) { setUpdatesEnabled(!frozen); });
    }
    followDataSet();
}

void DBGrid::setColumns(const QVector<GridColumn> &columns)
{
    m_columns.setColumns(columns);
    applyWidths();
}

void DBGrid::applyWidths()
{
    const QVector<GridColumn> &cols = m_columns.columns();
    for (int c = 0; c < m_columns.columnCount(); ++c) {
        for (const GridColumn &g : cols) {
            if (g.width >= 0 && g.field.compare(fieldAt(c), Qt::CaseInsensitive) == 0)
                setColumnWidth(c, g.width);
        }
    }
}

void DBGrid::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    setEditTriggers(readOnly
                        ? QAbstractItemView::NoEditTriggers
                        : QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::AnyKeyPressed);
}

void DBGrid::followDataSet()
{
    if (!m_dataSet || m_dataSet->controlsDisabled() || m_syncing)
        return;
    const int row = m_dataSet->currentRow();
    if (row < 0 || row >= m_columns.rowCount())
        return;
    if (currentIndex().row() == row)
        return;
    m_syncing = true;
    const int column = qMax(0, currentIndex().column());
    setCurrentIndex(m_columns.index(row, qMin(column, m_columns.columnCount() - 1)));
    m_syncing = false;
}

void DBGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (m_syncing || !m_dataSet || !current.isValid() || current.row() == m_dataSet->currentRow())
        return;
    m_syncing = true;
    const bool moved = m_dataSet->moveTo(current.row());
    m_syncing = false;
    if (!moved)
        followDataSet(); // the pending row could not be posted: stay on it
}
