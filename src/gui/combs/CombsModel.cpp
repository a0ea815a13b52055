#include "gui/combs/CombsModel.h"

#include "combs/CombsController.h"
#include "core/CoreHelpers.h"

#include <QBrush>
#include <QColor>

namespace lot {

TCombsModel::TCombsModel(const TCombsController &combs, QObject *parent)
    : QAbstractTableModel(parent), m_combs(combs), m_rows(combs.Count()) {}

void TCombsModel::Refresh() {
    if (m_rows != m_combs.Count()) {
        beginResetModel();
        m_rows = m_combs.Count();
        endResetModel();
    } else {
        Repaint();
    }
}

void TCombsModel::Repaint() {
    if (m_rows > 0) emit dataChanged(index(0, 0), index(m_rows - 1, ColumnCount - 1));
}

void TCombsModel::SetColored(bool colored) {
    if (m_colored == colored) return;
    m_colored = colored;
    Repaint();
}

void TCombsModel::SetChannelSize(int size) {
    if (size < 1 || m_channelSize == size) return;
    m_channelSize = size;
    Repaint();
}

int TCombsModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int TCombsModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TCombsModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= m_rows || index.column() >= ColumnCount) return {};
    const int row = index.row();
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole: {
        if (column == colRow) return row + 1;
        const TComb comb = m_combs.At(row);
        if (column >= colFirst && column <= colLast) return int(comb[column - colFirst]);
        int sum = 0;
        for (uint8_t n : comb.N)
            sum += n;
        return sum;
    }
    case Qt::TextAlignmentRole:
        return column == colRow ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant(Qt::AlignCenter);
    case Qt::BackgroundRole:
        if (!m_colored) return {};
        if (column >= colFirst && column <= colLast)
            return QBrush(QColor::fromRgb(GroupColourRgb(m_combs.At(row)[column - colFirst], m_channelSize)));
        return QBrush(Qt::white);
    case Qt::ForegroundRole:
        // Tinted cells keep dark text even under a dark palette.
        if (m_colored) return QBrush(Qt::black);
        return {};
    default:
        return {};
    }
}

QVariant TCombsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount) return {};
    if (role == Qt::TextAlignmentRole) return QVariant(Qt::AlignCenter);
    if (role != Qt::DisplayRole) return {};
    switch (section) {
    case colRow:
        return QStringLiteral("№ п.п.");
    case colSum:
        return QStringLiteral("S");
    default:
        return QString::number(section);
    }
}

Qt::ItemFlags TCombsModel::flags(const QModelIndex &index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

} // namespace lot
