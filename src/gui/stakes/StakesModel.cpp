#include "gui/stakes/StakesModel.h"

#include "stakes/StakesController.h"

#include <limits>
#include <QBrush>
#include <QColor>

namespace lot {

TStakesModel::TStakesModel(TStakesController &stakes, QObject *parent)
    : QAbstractTableModel(parent), m_stakes(stakes), m_rows(FileRows()) {}

int TStakesModel::FileRows() const {
    // A view counts rows in int; a file beyond that shows its first rows.
    return int(std::min<qint64>(m_stakes.Count(), std::numeric_limits<int>::max()));
}

bool TStakesModel::Refresh(bool refresh, bool jump) {
    const int n = FileRows();
    if (n == 0) {
        if (m_rows == 0) return false;
        beginResetModel();
        m_rows = 0;
        endResetModel();
        return true;
    }
    if ((refresh || jump) && n != m_rows) {
        // Rows come and go at the end, so the view keeps its place.
        if (n > m_rows) {
            beginInsertRows({}, m_rows, n - 1);
            m_rows = n;
            endInsertRows();
        } else {
            beginRemoveRows({}, n, m_rows - 1);
            m_rows = n;
            endRemoveRows();
        }
        // A delete changes the records under the rows that stay.
        Repaint();
        return true;
    }
    if (refresh) Repaint();
    return false;
}

void TStakesModel::Repaint() {
    if (m_rows > 0) emit dataChanged(index(0, 0), index(m_rows - 1, ColumnCount - 1));
}

bool TStakesModel::Record(int row, TStakeRec &rec) const {
    if (row < 0 || row >= m_rows) return false;
    return m_stakes.ViewRecord(row, rec);
}

QRgb TStakesModel::KindColour(int kind) {
    switch (kind) {
    case skManual:
        return ManualColour;
    case skRegular:
        return RegularColour;
    case skScript:
        return ScriptColour;
    case skSystem:
        return SystemColour;
    default:
        return 0;
    }
}

int TStakesModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int TStakesModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TStakesModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.column() >= ColumnCount) return {};
    const int column = index.column();
    if (role == Qt::TextAlignmentRole) {
        if (column == scProfit) return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        if (column == scComment) return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
        return QVariant(Qt::AlignCenter);
    }
    if (role != Qt::DisplayRole && role != Qt::BackgroundRole && role != Qt::ForegroundRole) return {};
    TStakeRec rec;
    if (!Record(index.row(), rec)) return {};
    switch (role) {
    case Qt::DisplayRole:
        return StakeCellText(rec, column);
    case Qt::BackgroundRole: {
        const QRgb colour = IsEmptyRow(rec) ? 0 : KindColour(rec.Kind);
        return colour ? QVariant(QBrush(QColor::fromRgb(colour))) : QVariant();
    }
    case Qt::ForegroundRole:
        if (IsEmptyRow(rec)) return {};
        if (rec.Checked && (column == scOverlapCount || column == scOverlaps || column == scProfit))
            return QBrush(QColor::fromRgb(rec.Profit > 0 ? WinColour : LossColour));
        // Tinted rows keep dark text even under a dark palette.
        return KindColour(rec.Kind) ? QVariant(QBrush(Qt::black)) : QVariant();
    default:
        return {};
    }
}

QVariant TStakesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount) return {};
    if (role == Qt::DisplayRole) return StakeColumnHeader(section);
    return {};
}

Qt::ItemFlags TStakesModel::flags(const QModelIndex &index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

} // namespace lot
