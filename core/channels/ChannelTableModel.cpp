#include "core/channels/ChannelTableModel.h"

#include "core/channels/ChannelTable.h"

namespace kpr5 {

ChannelTableModel::ChannelTableModel(ChannelTable &table, QObject *parent)
    : QAbstractTableModel(parent), m_table(&table) {
    connect(&table, &QObject::destroyed, this, [this] {
        beginResetModel();
        m_table = nullptr;
        endResetModel();
    });
    connect(&table, &ChannelTable::rowsChanged, this, [this](int first, int last) {
        first = qBound(1, first, ChannelTable::kRows);
        last = qBound(first, last, ChannelTable::kRows);
        Q_EMIT dataChanged(cell(first, 1), cell(last, ChannelTable::kColumns), {Qt::DisplayRole});
    });
    connect(&table, &ChannelTable::labelsChanged, this,
            [this] { Q_EMIT headerDataChanged(Qt::Vertical, 0, ChannelTable::kRows - 1); });
}

int ChannelTableModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() || !m_table ? 0 : ChannelTable::kRows;
}

int ChannelTableModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() || !m_table ? 0 : ChannelTable::kColumns;
}

QVariant ChannelTableModel::data(const QModelIndex &index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return QVariant();
    if (role == Qt::DisplayRole) return m_table->text(tableRow(index), tableColumn(index));
    return QVariant();
}

QVariant ChannelTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || section < 0 || !m_table) return QVariant();
    if (orientation == Qt::Horizontal)
        return section < ChannelTable::kColumns ? QVariant(ChannelTable::columnHeader(section + 1))
                                                : QVariant();
    return section < ChannelTable::kRows ? QVariant(m_table->rowLabel(section + 1)) : QVariant();
}

Qt::ItemFlags ChannelTableModel::flags(const QModelIndex &index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

} // namespace kpr5
