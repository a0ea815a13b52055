#pragma once

#include "export/ListSheets.h"

#include <QAbstractTableModel>

namespace lot {

class TCombsController;

/// The combination list as a virtual table: row number, the six numbers in
/// list order and their sum. The row count follows the list only on
/// Refresh, so views never see it change without a model signal.
class TCombsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        colRow = TCombsSheet::colRow,
        colFirst = TCombsSheet::colFirst,
        colLast = TCombsSheet::colLast,
        colSum = TCombsSheet::colSum
    };
    static constexpr int ColumnCount = TCombsSheet::Columns;

    explicit TCombsModel(const TCombsController &combs, QObject *parent = nullptr);

    /// Takes over the list's count when it differs (a reset: the selection
    /// goes with it), else repaints every row, since equal counts may still
    /// hold other combinations.
    void Refresh();
    void SetColored(bool colored);
    bool Colored() const { return m_sheet.Colored; }
    void SetChannelSize(int size);
    int ChannelSize() const { return m_sheet.ChannelSize; }
    /// The cells as a sheet over the current list, for the spreadsheet export.
    const TCombsSheet &Sheet() const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    void Repaint();

    const TCombsController &m_combs;
    /// The cells' values and fills; its list is taken from the controller
    /// at each read, since the list's storage moves.
    mutable TCombsSheet m_sheet;
    int m_rows = 0;
};

} // namespace lot
