#pragma once

#include "gui/shell/Page.h"

#include <QAbstractTableModel>
#include <QList>
#include <QWidget>

class QMenu;
class QTableView;

namespace lot {

class TCombsPage;
class TTablesController;

/// The rules list "lvTables" as a virtual table over the rules.
class TTablesModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TTablesModel(const TTablesController &tables, QObject *parent = nullptr);
    void Reload();
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    const TTablesController &m_tables;
    int m_rows = 0;
};

/// The "Регуляры" tab: the regular stake rules with their actions (add
/// through the rule dialog, delete, the next stake of the focused rule, the
/// test of the selected rules over past draws).
class TTablesPage : public QWidget, public TPage {
    Q_OBJECT
public:
    static constexpr const char *ListName = "lvTables";

    TTablesPage(TWorkspace &workspace, TGuiHost &host, TActionList &actions, QWidget *parent = nullptr);

    QTableView *List() const { return m_list; }
    TTablesModel *Model() const { return m_model; }

    QString Caption() const override;
    TPageControl Control() const override { return TPageControl::Main; }
    QList<TMenuEntries> MenuEntries() const override;
    void LoadWindowSettings(const TWindowSettings &settings, const QString &section) override;
    void SaveWindowSettings(TWindowSettings &settings, const QString &section) const override;
    /// The rule dialog.
    QList<TScreenshotRender> ScreenshotRenders() const override;

    /// Selected rows, ascending.
    QList<int> SelectedRows() const;
    /// The focused row, -1 without one.
    int FocusedRow() const;

    void TablesAddExecute();
    bool TablesAddUpdate() const;
    void TablesDelExecute();
    bool TablesDelUpdate() const;
    void TablesStakeAddExecute();
    bool TablesStakeAddUpdate() const;
    void TablesStakeTestExecute();
    bool TablesStakeTestUpdate() const;

private:
    void CreateActions();
    void CreateList();
    TCombsPage *CombsPage() const;
    bool TabShown() const;

    TWorkspace &m_ws;
    TGuiHost &m_host;
    TActionList &m_actions;
    TTablesModel *m_model = nullptr;
    QTableView *m_list = nullptr;
    QMenu *m_popup = nullptr;
};

} // namespace lot
