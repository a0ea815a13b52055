#pragma once

#include "core/Lottery.h"
#include "gui/archive/FormDrawInfo.h"
#include "gui/shell/Page.h"

#include <QList>
#include <QWidget>

class QMenu;
class QSpinBox;
class QSplitter;
class QTableView;
class QTreeView;

namespace lot {

class TCombsModel;
class THistoryModel;

/// The "Комбинации" tab: the combination list, the history of operations
/// under it, the N field and the actions of the list with their handlers and
/// enabled tests.
class TCombsPage : public QWidget, public TPage {
    Q_OBJECT
public:
    static constexpr const char *ListName = "lvCombs";
    static constexpr const char *HistoryName = "lvFilters";

    TCombsPage(TWorkspace &workspace, TGuiHost &host, TActionList &actions, QWidget *parent = nullptr);

    QTableView *List() const { return m_list; }
    QTreeView *History() const { return m_history; }
    TCombsModel *Model() const { return m_model; }
    THistoryModel *HistoryModel() const { return m_historyModel; }
    QSpinBox *ExcludeEdit() const { return m_edExclude; }
    /// The splitter between the list and the history (FiltersHeight).
    QSplitter *Splitter() const { return m_splitter; }
    QMenu *PopupMenu() const { return m_popup; }

    QString Caption() const override;
    TPageControl Control() const override { return TPageControl::Lists; }
    QList<TMenuEntries> MenuEntries() const override;
    /// Column widths, the N field, the colour switch and the history height.
    void LoadWindowSettings(const TWindowSettings &settings, const QString &section) override;
    void SaveWindowSettings(TWindowSettings &settings, const QString &section) const override;
    /// The history under the list keeps its stored height (FiltersHeight).
    void ApplyLayout(const QSize &windowSize) override;
    void SaveLayout(TWindowSettings &settings) const override;
    /// Channel size for the group colours, matrix columns for the detail window.
    void ApplyGameSettings(const TConfigData &config) override;
    /// The generation dialog with the saved parameters.
    QList<TScreenshotRender> ScreenshotRenders() const override;

    /// Selected rows, ascending, each once.
    QList<int> SelectedRows() const;
    bool HasSelection() const;
    /// The row the single-combination actions work on: the current row when
    /// it is selected, else the first selected one; -1 without a selection.
    int FocusedRow() const;

    void CombsGenExecute();
    bool CombsGenUpdate() const { return true; }
    void CombsOpenExecute();
    bool CombsOpenUpdate() const { return true; }
    void CombsSaveExecute();
    bool CombsSaveUpdate() const;
    void CombsUndoExecute();
    bool CombsUndoUpdate() const;
    void CombsDelExistsExecute();
    bool CombsDelExistsUpdate() const;
    void CombsDelSelectedExecute();
    bool CombsDelSelectedUpdate() const;
    void CombsCopyExecute();
    bool CombsCopyUpdate() const;
    void CombsPasteExecute();
    bool CombsPasteUpdate() const;
    void CombsSelectAllExecute();
    bool CombsSelectAllUpdate() const;
    void CombsInfoExecute();
    bool CombsInfoUpdate() const;
    void CombsCheckNumsExecute();
    bool CombsCheckNumsUpdate() const { return true; }
    void CombsFindInDrawsExecute();
    bool CombsFindInDrawsUpdate() const;
    void CombsXlsExportExecute();
    bool CombsXlsExportUpdate() const;
    void ViewColorCombsExecute();
    bool ViewColorCombsUpdate() const;

    /// Combination file filter for the file dialogs: "Файлы комбинаций (*.lcv)".
    static QString CombsFileDialogFilter();

signals:
    void SelectionChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CreateActions();
    QWidget *CreateToolBar();
    void OnListChanged();
    void OnHistoryChanged();
    void OnBusyChanged(bool busy);
    bool ListEmpty() const;

    TWorkspace &m_ws;
    TGuiHost &m_host;
    TActionList &m_actions;
    TCombsModel *m_model = nullptr;
    THistoryModel *m_historyModel = nullptr;
    QTableView *m_list = nullptr;
    QTreeView *m_history = nullptr;
    QSplitter *m_splitter = nullptr;
    QSpinBox *m_edExclude = nullptr;
    QMenu *m_popup = nullptr;
    int m_matrixCols = 5;
    TDrawInfoWindows m_infoWindows;
    int m_filtersHeight = 127;
};

} // namespace lot
