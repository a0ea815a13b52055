#pragma once

#include "stakes/StakeRec.h"

#include <QAbstractTableModel>
#include <QRgb>

namespace lot {

class TStakesController;

/// The stakes grid as a virtual table over the stakes file: row r shows
/// record r, read on demand through the controller's one-record cache, so
/// the nine cells of a row cost one read and the file is never held in
/// memory. The row count follows the file only on Refresh.
class TStakesModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int ColumnCount = StakeColumnCount;
    static constexpr QRgb ManualColour = 0xFFEAFFEA;  ///< RGB(234, 255, 234)
    static constexpr QRgb RegularColour = 0xFFFFEAEA; ///< RGB(255, 234, 234)
    static constexpr QRgb ScriptColour = 0xFFEAFFFF;  ///< RGB(234, 255, 255)
    static constexpr QRgb SystemColour = 0xFFFCFDD9;  ///< RGB(252, 253, 217)
    static constexpr QRgb WinColour = 0xFF008000;     ///< a checked stake that won: RGB(0, 128, 0)
    static constexpr QRgb LossColour = 0xFFFF0000;    ///< one that did not: RGB(255, 0, 0)
    static constexpr QRgb MatchColour = 0xFF0000FF;   ///< matched numbers: RGB(0, 0, 255)

    explicit TStakesModel(TStakesController &stakes, QObject *parent = nullptr);

    /// The grid's part of RefreshStakesView: with refresh or jump the row
    /// count follows the file; with refresh and no change of the count every
    /// row is repainted. An empty file always empties the grid. Returns
    /// whether the row count changed.
    bool Refresh(bool refresh, bool jump);
    /// Every cell again.
    void Repaint();

    /// The record a row shows; false past the file or when it cannot be read.
    bool Record(int row, TStakeRec &rec) const;
    /// Row background of a stake kind; 0 (the window's colour) for a
    /// separator or an unknown kind.
    static QRgb KindColour(int kind);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    int FileRows() const;

    TStakesController &m_stakes;
    int m_rows = 0;
};

} // namespace lot
