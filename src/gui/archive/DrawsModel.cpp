#include "gui/archive/DrawsModel.h"

#include "archive/DrawsArchive.h"
#include "core/CoreHelpers.h"

#include "gui/shell/SheetExport.h"

#include <QBrush>
#include <QColor>

namespace lot {

TDrawsModel::TDrawsModel(const TDrawsArchive &archive, QObject *parent)
    : QAbstractTableModel(parent), m_archive(archive), m_sheet(archive), m_rows(archive.Count()) {
    m_sheet.Colored = true;
}

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
    if (m_sheet.Sorted == sorted) return;
    m_sheet.Sorted = sorted;
    Repaint();
}

void TDrawsModel::SetColored(bool colored) {
    if (m_sheet.Colored == colored) return;
    m_sheet.Colored = colored;
    Repaint();
}

void TDrawsModel::SetChannelSize(int size) {
    if (size < 1 || m_sheet.ChannelSize == size) return;
    m_sheet.ChannelSize = size;
    Repaint();
}

const TDrawRec *TDrawsModel::DrawAtRow(int row) const {
    if (row < 0 || row >= m_rows) return nullptr;
    return m_archive.DrawAtPosition(row);
}

TComb TDrawsModel::ShownNumbers(const TDrawRec &draw) const {
    return m_sheet.ShownNumbers(draw);
}

int TDrawsModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int TDrawsModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TDrawsModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= m_rows || index.column() >= ColumnCount) return {};
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return m_sheet.Cell(index.row(), column).Value;
    case Qt::TextAlignmentRole:
        return column == colDate ? QVariant(Qt::AlignLeft | Qt::AlignVCenter) : QVariant(Qt::AlignCenter);
    case Qt::BackgroundRole:
        return FillBackground(m_sheet.Cell(index.row(), column).Fill);
    case Qt::ForegroundRole:
        // Tinted cells keep dark text even under a dark palette.
        if (m_sheet.Colored || index.row() == m_archive.Offset()) return QBrush(Qt::black);
        return {};
    default:
        return {};
    }
}

QVariant TDrawsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount) return {};
    if (role == Qt::TextAlignmentRole)
        return section == colDate ? QVariant(Qt::AlignLeft | Qt::AlignVCenter) : QVariant(Qt::AlignCenter);
    if (role != Qt::DisplayRole) return {};
    return m_sheet.ColumnCaption(section);
}

Qt::ItemFlags TDrawsModel::flags(const QModelIndex &index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

} // namespace lot
