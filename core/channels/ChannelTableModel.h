#pragma once
// The channel table as an item model for the grid: model row r - 1 is table
// row r (1..1623), model column c - 1 is table column c (1..12); the row
// labels are the vertical header, the column headers the horizontal one.
// The model holds nothing of its own and cannot be edited through.

#include <QAbstractTableModel>
#include <QPointer>

namespace kpr5 {

class ChannelTable;

class ChannelTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ChannelTableModel(ChannelTable &table, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // Table row/column (1-based) <-> model index.
    QModelIndex cell(int row, int column) const { return index(row - 1, column - 1); }
    static int tableRow(const QModelIndex &index) { return index.row() + 1; }
    static int tableColumn(const QModelIndex &index) { return index.column() + 1; }

private:
    // The table may go before the view does (the window's document is
    // destroyed before its widgets): the model is then empty.
    QPointer<ChannelTable> m_table;
};

} // namespace kpr5
