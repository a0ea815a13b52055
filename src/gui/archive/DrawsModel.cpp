#include "gui/archive/DrawsModel.h"

#include "archive/DrawsArchive.h"
#include "core/CoreHelpers.h"

#include <QBrush>
#include <QColor>

namespace lot {

TDrawsModel::TDrawsModel(const TDrawsArchive &archive, QObject *parent)
    : QAbstractTableModel(parent), m_archive(archive), m_rows(archive.Count()) {}

void TDrawsModel::Refresh(bool force) {
    if (m_rows != m_archive.Count()) {
        beginResetModel();
        m_rows = m_archive.Count();
        endResetModel();
    } else if (force) {
        Repaint();
    }
}

void TDrawsModel::Repaint() {
    if (m_rows > 0) emit dataChanged(index(0, 0), index(m_rows - 1, ColumnCount - 1));
}

void TDrawsModel::SetSorted(bool sorted) {
    if (m_sorted == sorted) return;
    m_sorted = sorted;
    Repaint();
}

void TDrawsModel::SetColored(bool colored) {
    if (m_colored == colored) return;
    m_colored = colored;
    Repaint();
}

void TDrawsModel::SetChannelSize(int size) {
    if (size < 1 || m_channelSize == size) return;
    m_channelSize = size;
    Repaint();
}

const TDrawRec *TDrawsModel::DrawAtRow(int row) const {
    if (row < 0 || row >= m_rows) return nullptr;
    return m_archive.DrawAtPosition(row);
}

TComb TDrawsModel::ShownNumbers(const TDrawRec &draw) const {
    return m_sorted ? DrawToComb(SortDrawNumbers(draw)) : DrawToComb(draw);
}

int TDrawsModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int TDrawsModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TDrawsModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.column() >= ColumnCount) return {};
    const TDrawRec *draw = DrawAtRow(index.row());
    if (!draw) return {};
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole: {
        if (column == colNumber) return draw->DrawNumber;
        if (column >= colFirst && column <= colLast) return int(ShownNumbers(*draw)[column - colFirst]);
        if (column == colExtra1 || column == colExtra2) return int(draw->Extra[column - colExtra1]);
        if (column == colSum) {
            int sum = 0;
            for (uint8_t n : draw->Numbers)
                sum += n;
            return sum;
        }
        return DrawDateText(*draw);
    }
    case Qt::TextAlignmentRole:
        return column == colDate ? QVariant(Qt::AlignLeft | Qt::AlignVCenter) : QVariant(Qt::AlignCenter);
    case Qt::BackgroundRole:
        return Background(index.row(), column, *draw);
    case Qt::ForegroundRole:
        // Tinted cells keep dark text even under a dark palette.
        if (m_colored || index.row() == m_archive.Offset()) return QBrush(Qt::black);
        return {};
    default:
        return {};
    }
}

QVariant TDrawsModel::Background(int row, int column, const TDrawRec &draw) const {
    if (m_colored && column >= colFirst && column <= colLast)
        return QBrush(QColor::fromRgb(GroupColourRgb(ShownNumbers(draw)[column - colFirst], m_channelSize)));
    if (row == m_archive.Offset()) return QBrush(QColor::fromRgb(OffsetRowColour));
    if (m_colored) return QBrush(Qt::white);
    return {};
}

QVariant TDrawsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount) return {};
    if (role == Qt::TextAlignmentRole)
        return section == colDate ? QVariant(Qt::AlignLeft | Qt::AlignVCenter) : QVariant(Qt::AlignCenter);
    if (role != Qt::DisplayRole) return {};
    switch (section) {
    case colNumber:
        return QStringLiteral("Тираж");
    case colExtra1:
        return QStringLiteral("E1");
    case colExtra2:
        return QStringLiteral("E2");
    case colSum:
        return QStringLiteral("S");
    case colDate:
        return QStringLiteral("Дата тиража");
    default:
        return QString::number(section);
    }
}

Qt::ItemFlags TDrawsModel::flags(const QModelIndex &index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

} // namespace lot
