#include "GridColumnsModel.h"

#include "ui/EditFieldSetup.h"

GridColumnsModel::GridColumnsModel(QObject *parent) : QAbstractProxyModel(parent) {}

void GridColumnsModel::setSourceModel(QAbstractItemModel *source)
{
    beginResetModel();
    if (sourceModel())
        disconnect(sourceModel(), nullptr, this, nullptr);
    QAbstractProxyModel::setSourceModel(source);
    if (source) {
        connect(source, &QAbstractItemModel::modelAboutToBeReset, this,
                [this] { beginResetModel(); });
        connect(source, &QAbstractItemModel::modelReset, this, [this] {
            rebuildMap();
            endReset();
        });
        connect(source, &QAbstractItemModel::rowsAboutToBeInserted, this,
                [this](const QModelIndex &, int first, int last) {
                    beginInsertRows(QModelIndex(), first, last);
                });
        connect(source, &QAbstractItemModel::rowsInserted, this, [this] {
            m_busy = true;
            endInsertRows();
            m_busy = false;
        });
        connect(source, &QAbstractItemModel::rowsAboutToBeRemoved, this,
                [this](const QModelIndex &, int first, int last) {
                    beginRemoveRows(QModelIndex(), first, last);
                });
        connect(source, &QAbstractItemModel::rowsRemoved, this, [this] {
            m_busy = true;
            endRemoveRows();
            m_busy = false;
        });
        connect(source, &QAbstractItemModel::dataChanged, this,
                &GridColumnsModel::onSourceDataChanged);
        connect(source, &QAbstractItemModel::layoutAboutToBeChanged, this,
                [this] { emit layoutAboutToBeChanged(); });
        connect(source, &QAbstractItemModel::layoutChanged, this, [this] {
            rebuildMap();
            emit layoutChanged();
        });
    }
    rebuildMap();
    endReset();
}

void GridColumnsModel::endReset()
{
    // A listener fetching rows while the change is announced would start a
    // second change inside this one.
    m_busy = true;
    endResetModel();
    m_busy = false;
}

void GridColumnsModel::setColumns(const QVector<GridColumn> &columns)
{
    beginResetModel();
    m_columns = columns;
    rebuildMap();
    endReset();
}

void GridColumnsModel::rebuildMap()
{
    m_map.clear();
    m_columnOfEach.clear();
    const QAbstractItemModel *src = sourceModel();
    if (!src)
        return;
    const int count = src->columnCount();
    if (m_columns.isEmpty()) {
        for (int c = 0; c < count; ++c) {
            m_map.append(c);
            m_columnOfEach.append(-1);
        }
        return;
    }
    for (int i = 0; i < m_columns.size(); ++i) {
        for (int c = 0; c < count; ++c) {
            const QString name = src->headerData(c, Qt::Horizontal, kFieldNameRole).toString();
            if (name.compare(m_columns.at(i).field, Qt::CaseInsensitive) == 0) {
                m_map.append(c);
                m_columnOfEach.append(i);
                break;
            }
        }
    }
}

QString GridColumnsModel::fieldAt(int column) const
{
    if (column < 0 || column >= m_map.size() || !sourceModel())
        return QString();
    return sourceModel()->headerData(m_map.at(column), Qt::Horizontal, kFieldNameRole).toString();
}

QModelIndex GridColumnsModel::index(int row, int column, const QModelIndex &parent) const
{
    if (parent.isValid() || row < 0 || column < 0 || row >= rowCount() || column >= columnCount())
        return QModelIndex();
    return createIndex(row, column);
}

QModelIndex GridColumnsModel::parent(const QModelIndex &) const
{
    return QModelIndex();
}

int GridColumnsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !sourceModel() ? 0 : sourceModel()->rowCount();
}

int GridColumnsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_map.size());
}

bool GridColumnsModel::hasChildren(const QModelIndex &parent) const
{
    return !parent.isValid() && rowCount() > 0 && columnCount() > 0;
}

QModelIndex GridColumnsModel::mapToSource(const QModelIndex &proxyIndex) const
{
    if (!proxyIndex.isValid() || !sourceModel() || proxyIndex.column() >= m_map.size())
        return QModelIndex();
    return sourceModel()->index(proxyIndex.row(), m_map.at(proxyIndex.column()));
}

QModelIndex GridColumnsModel::mapFromSource(const QModelIndex &sourceIndex) const
{
    if (!sourceIndex.isValid())
        return QModelIndex();
    const int column = static_cast<int>(m_map.indexOf(sourceIndex.column()));
    if (column < 0)
        return QModelIndex();
    return index(sourceIndex.row(), column);
}

QVariant GridColumnsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    if (role == Qt::TextAlignmentRole) {
        const int i = m_columnOfEach.value(index.column(), -1);
        if (i >= 0)
            return QVariant::fromValue(m_columns.at(i).alignment);
    }
    return QAbstractProxyModel::data(index, role);
}

QVariant GridColumnsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= m_map.size())
            return QVariant();
        const int i = m_columnOfEach.at(section);
        if (role == Qt::DisplayRole && i >= 0 && !m_columns.at(i).title.isEmpty())
            return m_columns.at(i).title;
        if (role == Qt::DisplayRole || role == kFieldNameRole)
            return fieldAt(section);
        return QVariant();
    }
    return sourceModel() ? sourceModel()->headerData(section, orientation, role) : QVariant();
}

bool GridColumnsModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && !m_busy && sourceModel() &&
           sourceModel()->canFetchMore(QModelIndex());
}

void GridColumnsModel::fetchMore(const QModelIndex &parent)
{
    if (!parent.isValid() && !m_busy && sourceModel())
        sourceModel()->fetchMore(QModelIndex());
}

void GridColumnsModel::onSourceDataChanged(const QModelIndex &topLeft,
                                           const QModelIndex &bottomRight, const QList<int> &roles)
{
    if (m_map.isEmpty())
        return;
    int first = -1;
    int last = -1;
    for (int c = 0; c < m_map.size(); ++c) {
        if (m_map.at(c) >= topLeft.column() && m_map.at(c) <= bottomRight.column()) {
            if (first < 0)
                first = c;
            last = c;
        }
    }
    if (first >= 0)
        emit dataChanged(index(topLeft.row(), first), index(bottomRight.row(), last), roles);
}
