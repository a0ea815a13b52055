#pragma once

#include <QAbstractTableModel>
#include <QIcon>

namespace lot {

class TCatalogueController;

/// The rows of the online scripts list: the catalogue controller's entries, their cells as the
/// controller writes them, an icon telling public from private scripts.
class TOnlineScriptsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TOnlineScriptsModel(TCatalogueController &catalogue, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    /// The entries changed: rows read anew.
    void Refresh();

private:
    TCatalogueController &m_catalogue;
    QIcon m_public, m_private;
};

} // namespace lot
