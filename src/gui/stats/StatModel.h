#pragma once

#include <QAbstractTableModel>

namespace lot {

class TStatTable;

/// The statistics table as an item model: the engine's rows and cell texts,
/// the column captions and the alignments of the statistics tab. The table
/// itself sorts; the model resets whenever the table says it changed.
class TStatModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TStatModel(TStatTable &table, QObject *parent = nullptr);

    TStatTable &Table() const { return m_table; }
    /// "Значение" left, "Посл. тираж" and "Ожд. ПРД".."+/- КРН" centred, the rest right.
    static Qt::Alignment ColumnAlignment(int column);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    TStatTable &m_table;
    int m_rows = 0;
};

} // namespace lot
