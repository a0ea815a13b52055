#pragma once

#include "core/Lottery.h"

#include <QAbstractTableModel>
#include <QRgb>

namespace lot {

class TDrawsArchive;

/// The draws list as a virtual table: one row per draw, newest first (row r
/// shows the draw at position r). The row count follows the archive only on
/// Refresh, so views never see it change without a model signal.
class TDrawsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        colNumber = 0,
        colFirst = 1,
        colLast = 6,
        colExtra1 = 7,
        colExtra2 = 8,
        colSum = 9,
        colDate = 10
    };
    static constexpr int ColumnCount = 11;
    static constexpr QRgb OffsetRowColour = 0xFFFFAAAA;

    explicit TDrawsModel(const TDrawsArchive &archive, QObject *parent = nullptr);

    /// Takes over the archive's row count when forced or when it changed, and
    /// repaints every row.
    void Refresh(bool force);
    /// Repaints every cell (offset, sorting or colours changed).
    void Repaint();

    void SetSorted(bool sorted);
    bool Sorted() const { return m_sorted; }
    void SetColored(bool colored);
    bool Colored() const { return m_colored; }
    void SetChannelSize(int size);
    int ChannelSize() const { return m_channelSize; }

    /// The draw shown in a row (sorted view not applied), or nullptr.
    const TDrawRec *DrawAtRow(int row) const;
    /// The six main numbers as the row shows them.
    TComb ShownNumbers(const TDrawRec &draw) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    QVariant Background(int row, int column, const TDrawRec &draw) const;

    const TDrawsArchive &m_archive;
    int m_rows = 0;
    bool m_sorted = false;
    bool m_colored = true;
    int m_channelSize = 5;
};

} // namespace lot
