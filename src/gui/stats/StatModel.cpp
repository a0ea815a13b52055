#include "gui/stats/StatModel.h"

#include "stats/StatTable.h"

namespace lot {

TStatModel::TStatModel(TStatTable &table, QObject *parent) : QAbstractTableModel(parent), m_table(table) {
    m_rows = m_table.RowCount();
    // Rows are replaced or reordered wholesale: a reset is the honest signal,
    // and the row count the view sees changes only inside it.
    connect(&m_table, &TStatTable::TableChanged, this, [this] {
        beginResetModel();
        m_rows = m_table.RowCount();
        endResetModel();
    });
}

Qt::Alignment TStatModel::ColumnAlignment(int column) {
    if (column == scValue) return Qt::AlignLeft | Qt::AlignVCenter;
    if (column == scLastDraw || (column >= scExpectPrd && column <= scDiffKrn)) return Qt::AlignCenter;
    return Qt::AlignRight | Qt::AlignVCenter;
}

int TStatModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int TStatModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : StatColumnCount;
}

QVariant TStatModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= m_rows || index.column() >= StatColumnCount) return {};
    switch (role) {
    case Qt::DisplayRole:
        return m_table.Cell(index.row(), index.column());
    case Qt::TextAlignmentRole:
        return int(ColumnAlignment(index.column()));
    default:
        return {};
    }
}

QVariant TStatModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= StatColumnCount) return {};
    switch (role) {
    case Qt::DisplayRole:
        return TStatTable::ColumnCaption(section);
    case Qt::TextAlignmentRole:
        // Captions wider than their 80 pixels lose their end, not their start.
        return int(ColumnAlignment(section) == Qt::AlignCenter ? Qt::AlignCenter
                                                               : Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

Qt::ItemFlags TStatModel::flags(const QModelIndex &index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

} // namespace lot
