#pragma once

#include <QAbstractProxyModel>
#include <QString>
#include <QVector>

// One column of a grid: the field it shows, its title, width and alignment.
struct GridColumn
{
    QString field;
    QString title;  // empty: the field name
    int width = -1; // -1: as the view decides
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
};

// The columns a grid shows of a result set, in the grid's order and with the
// grid's titles; rows are the set's rows. Without columns it shows them all.
class GridColumnsModel : public QAbstractProxyModel
{
    Q_OBJECT
public:
    explicit GridColumnsModel(QObject *parent = nullptr);

    void setSourceModel(QAbstractItemModel *source) override;
    void setColumns(const QVector<GridColumn> &columns);
    const QVector<GridColumn> &columns() const { return m_columns; }
    // The field shown in a grid column.
    QString fieldAt(int column) const;

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QModelIndex mapToSource(const QModelIndex &proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex &sourceIndex) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;
    bool hasChildren(const QModelIndex &parent = {}) const override;

private:
    void rebuildMap();
    void endReset();
    void onSourceDataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                             const QList<int> &roles);

    QVector<GridColumn> m_columns;
    QVector<int> m_map;          // grid column -> source column
    QVector<int> m_columnOfEach; // index into m_columns, per grid column
    bool m_busy = false;
};
