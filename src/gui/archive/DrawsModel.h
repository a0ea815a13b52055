#pragma once

#include "core/Lottery.h"
#include "export/ListSheets.h"

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
        colNumber = TDrawsSheet::colNumber,
        colFirst = TDrawsSheet::colFirst,
        colLast = TDrawsSheet::colLast,
        colExtra1 = TDrawsSheet::colExtra1,
        colExtra2 = TDrawsSheet::colExtra2,
        colSum = TDrawsSheet::colSum,
        colDate = TDrawsSheet::colDate
    };
    static constexpr int ColumnCount = TDrawsSheet::Columns;
    static constexpr QRgb OffsetRowColour = 0xFF000000 | TDrawsSheet::OffsetRowFill;

    explicit TDrawsModel(const TDrawsArchive &archive, QObject *parent = nullptr);

    /// Takes over the archive's row count when forced or when it changed, and
    /// repaints every row.
    void Refresh(bool force);
    /// Repaints every cell (offset, sorting or colours changed).
    void Repaint();

    void SetSorted(bool sorted);
    bool Sorted() const { return m_sheet.Sorted; }
    void SetColored(bool colored);
    bool Colored() const { return m_sheet.Colored; }
    void SetChannelSize(int size);
    int ChannelSize() const { return m_sheet.ChannelSize; }
    /// The cells as a sheet, for the spreadsheet export.
    const TDrawsSheet &Sheet() const { return m_sheet; }

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
    const TDrawsArchive &m_archive;
    /// The cells' values and fills.
    TDrawsSheet m_sheet;
    int m_rows = 0;
};

} // namespace lot
