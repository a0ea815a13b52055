#pragma once

#include "gui/shell/Page.h"

#include <QAbstractTableModel>
#include <QList>
#include <QWidget>

class QMenu;
class QSortFilterProxyModel;
class QTableView;

namespace lot {

class TSystemsController;

/// The systems list "lvSystems" over the controller's rows; the icon tells
/// the six states (loaded or not, own, another user's or anonymous).
class TSystemsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    /// Sort role: numbers for the numeric columns, the text otherwise.
    static constexpr int SortRole = Qt::UserRole + 1;

    explicit TSystemsModel(const TSystemsController &systems, QObject *parent = nullptr);
    void Reload();
    /// The id of a row as the model last read it (the rows the view still
    /// shows while the controller's rows change); 0 outside.
    int IdAt(int row) const { return row >= 0 && row < m_ids.size() ? m_ids[row] : 0; }
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    const TSystemsController &m_systems;
    int m_rows = 0;
    QList<int> m_ids;
};

/// The "Системы" tab: the catalogue's systems with download, publishing,
/// properties and deletion, and system play over the combination list.
class TSystemsPage : public QWidget, public TPage {
    Q_OBJECT
public:
    static constexpr const char *ListName = "lvSystems";

    TSystemsPage(TWorkspace &workspace, TGuiHost &host, TActionList &actions, QWidget *parent = nullptr);

    QTableView *List() const { return m_list; }
    TSystemsModel *Model() const { return m_model; }

    QString Caption() const override;
    TPageControl Control() const override { return TPageControl::Main; }
    QList<TMenuEntries> MenuEntries() const override;
    void LoadWindowSettings(const TWindowSettings &settings, const QString &section) override;
    void SaveWindowSettings(TWindowSettings &settings, const QString &section) const override;
    /// The system dialog.
    QList<TScreenshotRender> ScreenshotRenders() const override;

    /// Selected rows of the controller, in the order the list shows them.
    QList<int> SelectedRows() const;
    /// The controller's row of the focused item, -1 without one.
    int FocusedRow() const;
    /// Focuses the item of the controller's row.
    void FocusRow(int row);

    void SystemsRefreshExecute();
    bool SystemsRefreshUpdate() const;
    void SystemsDownloadExecute();
    bool SystemsDownloadUpdate() const;
    void SystemsAddExecute();
    bool SystemsAddUpdate() const;
    void SystemsPropExecute();
    bool SystemsPropUpdate() const;
    void SystemsDelExecute();
    bool SystemsDelUpdate() const;
    void SystemStakeAllExecute();
    bool SystemStakeAllUpdate() const;
    void SystemStakeFilterExecute();
    bool SystemStakeFilterUpdate() const;

private:
    void CreateActions();
    void CreateList();
    bool TabShown() const;
    /// The list again, the selection and the focus following the ids.
    void Reload();
    bool PlayUpdate(const char *action) const;
    void Play(bool whole);

    TWorkspace &m_ws;
    TGuiHost &m_host;
    TActionList &m_actions;
    TSystemsModel *m_model = nullptr;
    QSortFilterProxyModel *m_proxy = nullptr;
    QTableView *m_list = nullptr;
    QMenu *m_popup = nullptr;
};

} // namespace lot
