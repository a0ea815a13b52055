#pragma once

#include "gui/shell/Page.h"

#include <QList>
#include <QPointer>
#include <QWidget>

class QMenu;
class QTableView;

namespace lot {

class TCombsPage;
class TStakesModel;
struct TComb;
struct TNumberSet;

/// The "Ставки" tab: the stakes grid over the stakes file and the stake
/// actions with their handlers and enabled tests. Stakes are made from the
/// combination list of the "Комбинации" tab.
class TStakesPage : public QWidget, public TPage {
    Q_OBJECT
public:
    static constexpr const char *GridName = "sgStakes";
    /// Column widths of the initial layout.
    static const QList<int> &DefaultColumnWidths();

    TStakesPage(TWorkspace &workspace, TGuiHost &host, TActionList &actions, QWidget *parent = nullptr);

    QTableView *Grid() const { return m_grid; }
    TStakesModel *Model() const { return m_model; }
    QMenu *PopupMenu() const { return m_popup; }

    QString Caption() const override;
    TPageControl Control() const override { return TPageControl::Main; }
    QList<TMenuEntries> MenuEntries() const override;
    /// The grid's column widths.
    void LoadWindowSettings(const TWindowSettings &settings, const QString &section) override;
    void SaveWindowSettings(TWindowSettings &settings, const QString &section) const override;
    /// The stake dialog, the multi-stake dialog and the delete condition dialog.
    QList<TScreenshotRender> ScreenshotRenders() const override;

    /// The selected grid rows: one contiguous range (the grid selects no
    /// other); false without a selection.
    bool SelectedRange(int &top, int &bottom) const;
    /// The initial layout: the nine columns at their first widths.
    void ResetLayout();

    void StakeAddExecute();
    bool StakeAddUpdate() const;
    void StakeAddRandomExecute();
    bool StakeAddRandomUpdate() const;
    void StakeAddSelectedExecute();
    bool StakeAddSelectedUpdate() const;
    void StakeAddAllExecute();
    bool StakeAddAllUpdate() const;
    void StakeDelExecute();
    bool StakeDelUpdate() const;
    void StakeFilterExecute();
    bool StakeFilterUpdate() const;
    void StakeClearExecute();
    bool StakeClearUpdate() const;
    void StakesCheckManualExecute();
    bool StakesCheckManualUpdate() const;
    void LogStakesExecute();
    bool LogStakesUpdate() const;
    void StakesScrollExecute();
    bool StakesScrollUpdate() const;
    void StakesCheckLineExecute();
    bool StakesCheckLineUpdate() const;
    void LogStakesDeleteExecute();
    bool LogStakesDeleteUpdate() const { return true; }
    /// The spreadsheet export is not in this build.
    void StakesXlsExportExecute();
    bool StakesXlsExportUpdate() const;

protected:
    /// Alt+F4 in the combination list: StakeAddSelected when it can run,
    /// else what Alt+F4 does everywhere else (ExitProgram).
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CreateActions();
    void CreateGrid();
    void WireCombsList();
    TCombsPage *CombsPage() const;
    bool FileOpen() const;
    bool FileEmpty() const;
    /// The stake dialog for numbers, then AddStake.
    void MakeManualStake(const TNumberSet &numbers);
    /// The multi-stake dialog, then a stake per combination.
    bool MakeStakes(const QList<TComb> &selected, bool all);
    void OnViewChanged(bool refresh, bool jump);

    TWorkspace &m_ws;
    TGuiHost &m_host;
    TActionList &m_actions;
    TStakesModel *m_model = nullptr;
    QTableView *m_grid = nullptr;
    QMenu *m_popup = nullptr;
    QPointer<TCombsPage> m_combsPage;
    QWidget *m_combsList = nullptr;
};

} // namespace lot
