#pragma once

#include <QAbstractTableModel>

namespace lot {

class TStakesController;

/// The ratings list as a virtual table over the rating rows: the 20 cells
/// in the current efficiency mode, the row's chance as its tooltip. The
/// rows follow the controller on RatingsChanged.
class TRatingsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TRatingsModel(const TStakesController &stakes, QObject *parent = nullptr);

    /// Rows and cells again (after a load, a sort, a check, a mode change).
    void Reload();

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    const TStakesController &m_stakes;
    int m_rows = 0;
};

} // namespace lot
