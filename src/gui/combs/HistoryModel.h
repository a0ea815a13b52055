#pragma once

#include <QAbstractTableModel>
#include <QIcon>

namespace lot {

class TCombsController;

/// The history of operations under the combination list: "Примененные
/// фильтры", "Значения", "Комбинаций", with the row's icon in the first
/// column. Rebuilt from the list on Refresh.
class THistoryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int ColumnCount = 3;

    explicit THistoryModel(const TCombsController &combs, QObject *parent = nullptr);

    /// Takes over the list's history rows.
    void Refresh();

    /// The images of history rows: 11 (undo), 12 (kept by a filter), 13
    /// (removed); a null icon for any other index.
    static QIcon HistoryIcon(int imageIndex);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    static constexpr int IconCount = 3;

    const TCombsController &m_combs;
    int m_rows = 0;
    QIcon m_icons[IconCount];
};

} // namespace lot
