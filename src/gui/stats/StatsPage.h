#pragma once

#include "gui/shell/Page.h"

#include <QList>
#include <QWidget>

class QChart;
class QChartView;
class QComboBox;
class QMenu;
class QSpinBox;
class QSplitter;
class QTableView;
class QToolBar;

namespace lot {

class TStatModel;
class TStatTable;

/// The "Статистика" tab: the method selector, the sample length, the
/// statistics table with its row selection and the chart under it, and the
/// actions of the tab. It shows the workspace's TStatTable; every change the
/// engine makes (a script selecting a method or rows) reaches the widgets
/// through the table's signals.
class TStatsPage : public QWidget, public TPage {
    Q_OBJECT
public:
    static constexpr const char *ListName = "lvDrawsStat";
    static constexpr int ValueColumnWidth = 120;
    static constexpr int ColumnWidth = 80;
    static constexpr const char *ActualColour = "#008000";
    static constexpr const char *ActualMarkerColour = "#ff00ff";
    static constexpr const char *TotalColour = "#ff0000";
    static constexpr const char *TotalMarkerColour = "#800080";

    TStatsPage(TWorkspace &workspace, TGuiHost &host, TActionList &actions, QWidget *parent = nullptr);

    TStatTable &Table() const;
    QComboBox *MethodSelector() const { return m_cbMethod; }
    QSpinBox *LengthEdit() const { return m_edLen; }
    QTableView *List() const { return m_list; }
    TStatModel *Model() const { return m_model; }
    QChartView *ChartView() const { return m_chartView; }
    QChart *Chart() const { return m_chart; }
    QSplitter *Splitter() const { return m_splitter; }
    QToolBar *ToolBar() const { return m_toolBar; }
    /// The table's context menu; the filter actions join it.
    QMenu *PopupMenu() const { return m_popup; }

    QString Caption() const override;
    TPageControl Control() const override { return TPageControl::Main; }
    QList<TMenuEntries> MenuEntries() const override;
    /// Takes the prefetch switch, the chart height and the sample length
    /// from the window settings just loaded.
    void LoadWindowSettings(const TWindowSettings &settings, const QString &section) override;
    /// The method lists follow the settings: the selector is filled anew.
    void ApplyGameSettings(const TConfigData &config) override;
    /// The filter dialog with a sample filter over the number method.
    QList<TScreenshotRender> ScreenshotRenders() const override;
    /// Shows the three full-set columns 80 pixels wide, or hides them.
    void SetPrefetchColumns(bool visible);
    /// Height of the chart under the splitter (window setting DrawsStatHeight).
    void SetChartHeight(int height);
    int ChartHeight() const;

    /// Enter in the sample length: takes the typed length when it lies
    /// within the spin edit's bounds and recomputes without force.
    void ApplyLengthEdit();
    /// A method chosen in the selector: recomputes without force.
    void SelectMethod(int index);

    /// FiltersManager: the favourites manager; FiltersReset: every method
    /// listed again after a question; FiltersInfo: the description of the
    /// selector's method.
    void FiltersManagerExecute();
    void FiltersResetExecute();
    void FiltersInfoExecute();
    bool FiltersInfoUpdate() const;
    /// The registry entry the selector shows; -1 without one.
    int SelectedEntry() const;

    void StatRefreshExecute();
    bool StatRefreshUpdate() const;
    void DrawsStatePrefetchsEnabledExecute();
    bool DrawsStatePrefetchsEnabledUpdate() const;
    void DrawsStateShowTotalLineExecute();
    bool DrawsStateShowTotalLineUpdate() const;
    /// Keep (Include) or delete (Exclude) the combinations having the values
    /// of the selected rows.
    void StatFilter_IncludeExecute();
    bool StatFilter_IncludeUpdate() const;
    void StatFilter_ExcludeExecute();
    bool StatFilter_ExcludeUpdate() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CreateActions();
    void FillSelector();
    void OnTableChanged();
    void ApplySelectionToView();
    void TakeSelectionFromView();
    void UpdateSortIndicator();
    void UpdateChart();

    TWorkspace &m_ws;
    TGuiHost &m_host;
    TActionList &m_actions;
    QComboBox *m_cbMethod = nullptr;
    QSpinBox *m_edLen = nullptr;
    QToolBar *m_toolBar = nullptr;
    QSplitter *m_splitter = nullptr;
    QTableView *m_list = nullptr;
    TStatModel *m_model = nullptr;
    QChartView *m_chartView = nullptr;
    QChart *m_chart = nullptr;
    QMenu *m_popup = nullptr;
    bool m_syncing = false; ///< the page itself is moving the widgets to the engine's state
};

} // namespace lot
