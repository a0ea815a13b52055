#pragma once
/// @file The draws card "Карта": a row per draw, newest first, number n in
/// column n, coloured by channels, repeats and neighbours.

#include "export/ListSheets.h"
#include "gui/shell/Page.h"

#include <QAbstractTableModel>
#include <QWidget>

class QMenu;
class QTableView;

namespace lot {

/// The card as an item model over its sheet.
class TCardModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TCardModel(const TDrawsArchive &archive, QObject *parent = nullptr);
    TCardSheet &Sheet() { return m_sheet; }
    const TCardSheet &Sheet() const { return m_sheet; }
    /// Takes over the archive's row count and repaints.
    void Refresh();

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    TCardSheet m_sheet;
    int m_rows = 0;
};

class TCardPage : public QWidget, public TPage {
    Q_OBJECT
public:
    TCardPage(TWorkspace &workspace, TGuiHost &host, TActionList &actions, QWidget *parent = nullptr);

    QString Caption() const override;
    TPageControl Control() const override { return TPageControl::Main; }
    QList<TMenuEntries> MenuEntries() const override;
    void ApplyGameSettings(const TConfigData &config) override;

    QTableView *Grid() const { return m_grid; }
    TCardModel *Model() const { return m_model; }
    /// Fills the card again (shown, refreshed, or the archive changed).
    void Rebuild();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void CreateActions();
    bool FilterUpdate() const;

    TWorkspace &m_ws;
    TGuiHost &m_host;
    QTableView *m_grid = nullptr;
    TCardModel *m_model = nullptr;
    QMenu *m_popup = nullptr;
};

} // namespace lot
