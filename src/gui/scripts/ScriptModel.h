#pragma once

#include <QAbstractTableModel>

namespace lot {

class TScriptsController;

/// The script list as an item model: one row per line, the nine columns of
/// TScriptsController::CellText. The rows are read again on every change of
/// the script.
class TScriptModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TScriptModel(TScriptsController &scripts, QObject *parent = nullptr);

    /// The script changed: the row count and every row again.
    void Refresh();

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    TScriptsController &m_scripts;
    int m_rows = 0;
};

} // namespace lot
