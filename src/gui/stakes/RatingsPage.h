#pragma once

#include "gui/shell/Page.h"

#include <QList>
#include <QStringList>
#include <QWidget>

class QMenu;
class QTableView;

namespace lot {

class TFormGraph;
class TRatingsModel;
struct TStakeGraph;

/// The "Рейтинг" tab: one row per stake comment with its counts, overlaps,
/// profit and, per overlap count, the comparison with pure chance; the
/// ratings actions (refresh, exports, rows back to script lines, the
/// efficiency modes) and the graphs of stakes and ratings.
class TRatingsPage : public QWidget, public TPage {
    Q_OBJECT
public:
    static constexpr const char *ListName = "lvRatings";

    TRatingsPage(TWorkspace &workspace, TGuiHost &host, TActionList &actions, QWidget *parent = nullptr);

    QTableView *List() const { return m_list; }
    TRatingsModel *Model() const { return m_model; }
    QMenu *PopupMenu() const { return m_popup; }

    QString Caption() const override;
    TPageControl Control() const override { return TPageControl::Main; }
    QList<TMenuEntries> MenuEntries() const override;
    void LoadWindowSettings(const TWindowSettings &settings, const QString &section) override;
    void SaveWindowSettings(TWindowSettings &settings, const QString &section) const override;
    /// The overlap histogram of the first rows and the per-draw profit graph.
    QList<TScreenshotRender> ScreenshotRenders() const override;

    /// Selected rows, ascending.
    QList<int> SelectedRows() const;
    /// The comments of the selected rows.
    QStringList SelectedComments() const;
    /// The last graph window opened (tests).
    TFormGraph *LastGraph() const { return m_lastGraph; }

    void RatingsRefreshExecute();
    bool RatingsRefreshUpdate() const;
    void RatingsExportExecute();
    bool RatingsExportUpdate() const;
    void RatingsXlsExportExecute();
    bool RatingsXlsExportUpdate() const;
    void RatingsToScriptExecute();
    bool RatingsToScriptUpdate() const;
    void RatingsGraphOverlapExecute();
    bool RatingsGraphOverlapUpdate() const;
    void StakesGraphDrawsExecute();
    bool StakesGraphDrawsUpdate() const;
    void StakesGraphOverlapExecute();
    bool StakesGraphOverlapUpdate() const;
    void StakesGraphProfitsExecute();
    bool StakesGraphProfitsUpdate() const;

private:
    void CreateActions();
    void CreateList();
    /// The list follows the controller: rows, sort mark, selection kept by comment.
    void Reload();
    void OnHeaderClicked(int column);
    void ShowGraph(const TStakeGraph &graph);
    bool HasRowSelected() const;

    TWorkspace &m_ws;
    TGuiHost &m_host;
    TActionList &m_actions;
    TRatingsModel *m_model = nullptr;
    QTableView *m_list = nullptr;
    QMenu *m_popup = nullptr;
    TFormGraph *m_lastGraph = nullptr;
};

} // namespace lot
