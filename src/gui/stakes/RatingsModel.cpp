#include "gui/stakes/RatingsModel.h"

#include "stakes/RatingChance.h"
#include "stakes/Ratings.h"
#include "stakes/StakesController.h"

namespace lot {

TRatingsModel::TRatingsModel(const TStakesController &stakes, QObject *parent)
    : QAbstractTableModel(parent), m_stakes(stakes), m_rows(stakes.Ratings().Count()) {}

void TRatingsModel::Reload() {
    beginResetModel();
    m_rows = m_stakes.Ratings().Count();
    endResetModel();
}

int TRatingsModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int TRatingsModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : RatingColumnCount;
}

QVariant TRatingsModel::data(const QModelIndex &index, int role) const {
    const int row = index.row();
    if (!index.isValid() || row < 0 || row >= m_stakes.Ratings().Count()) return {};
    const TRatingRec &rec = m_stakes.Ratings().At(row);
    switch (role) {
    case Qt::DisplayRole:
        return RatingCellText(rec, index.column(), m_stakes.RatingsEffMode());
    case Qt::ToolTipRole:
        return RatingChanceHint(rec);
    case Qt::TextAlignmentRole:
        return index.column() == rcComment ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                           : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant TRatingsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return RatingColumnHeader(section);
}

Qt::ItemFlags TRatingsModel::flags(const QModelIndex &index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

} // namespace lot
