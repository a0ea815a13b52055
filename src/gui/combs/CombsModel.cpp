#include "gui/combs/CombsModel.h"

#include "combs/CombsController.h"
#include "core/CoreHelpers.h"

#include "gui/shell/SheetExport.h"

#include <QBrush>
#include <QColor>

namespace lot {

TCombsModel::TCombsModel(const TCombsController &combs, QObject *parent)
    : QAbstractTableModel(parent), m_combs(combs), m_rows(combs.Count()) {
    m_sheet.Colored = true;
}

const TCombsSheet &TCombsModel::Sheet() const {
    m_sheet.Combs = m_combs.Combs();
    return m_sheet;
}

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
    if (m_sheet.Colored == colored) return;
    m_sheet.Colored = colored;
    Repaint();
}

void TCombsModel::SetChannelSize(int size) {
    if (size < 1 || m_sheet.ChannelSize == size) return;
    m_sheet.ChannelSize = size;
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
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return Sheet().Cell(index.row(), column).Value;
    case Qt::TextAlignmentRole:
        return column == colRow ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant(Qt::AlignCenter);
    case Qt::BackgroundRole:
        return FillBackground(Sheet().Cell(index.row(), column).Fill);
    case Qt::ForegroundRole:
        // Tinted cells keep dark text even under a dark palette.
        if (m_sheet.Colored) return QBrush(Qt::black);
        return {};
    default:
        return {};
    }
}

QVariant TCombsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount) return {};
    if (role == Qt::TextAlignmentRole) return QVariant(Qt::AlignCenter);
    if (role != Qt::DisplayRole) return {};
    return m_sheet.ColumnCaption(section);
}

Qt::ItemFlags TCombsModel::flags(const QModelIndex &index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

} // namespace lot
