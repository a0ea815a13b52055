#pragma once

#include "gui/shell/Page.h"

#include <QList>
#include <QWidget>

class QLabel;
class QMenu;
class QSplitter;
class QStatusBar;
class QTableView;

namespace lot {

class TOnlineScriptsPanel;
class TScriptModel;

/// The "Сценарий" tab: the script list, the tab's status bar and the script
/// actions (editing, files, forecast, test, stop, the script log) with their
/// handlers and enabled tests. While a script runs the archive, combination
/// and statistics tabs and the list are disabled.
class TScriptPage : public QWidget, public TPage {
    Q_OBJECT
public:
    static constexpr const char *ListName = "lvScript";
    /// Column widths of the first start.
    static const QList<int> &DefaultColumnWidths();

    TScriptPage(TWorkspace &workspace, TGuiHost &host, TActionList &actions, QWidget *parent = nullptr);

    QTableView *List() const { return m_list; }
    TScriptModel *Model() const { return m_model; }
    QMenu *PopupMenu() const { return m_popup; }
    QStatusBar *StatusBar() const { return m_statusBar; }
    QLabel *StatusPanel(int i) const { return m_panels.value(i, nullptr); }
    /// The online scripts panel below the list.
    TOnlineScriptsPanel *Library() const { return m_library; }

    QString Caption() const override;
    TPageControl Control() const override { return TPageControl::Main; }
    QList<TMenuEntries> MenuEntries() const override;
    void LoadWindowSettings(const TWindowSettings &settings, const QString &section) override;
    void SaveWindowSettings(TWindowSettings &settings, const QString &section) const override;
    /// The online scripts panel's height (ScriptLibraryHeight).
    void ApplyLayout(const QSize &windowSize) override;
    void SaveLayout(TWindowSettings &settings) const override;
    /// The line dialog and the test count dialog.
    QList<TScreenshotRender> ScreenshotRenders() const override;

    /// The selected rows in row order.
    QList<int> SelectedRows() const;
    /// The first selected row; -1 without a selection.
    int SelectedRow() const;
    /// Makes row the only selected row and scrolls to it.
    void SelectRow(int row);

    void ScriptOpenExecute();
    bool ScriptOpenUpdate() const { return true; }
    void ScriptSaveExecute();
    bool ScriptSaveUpdate() const;
    void ScriptAddExecute();
    bool ScriptAddUpdate() const { return true; }
    void ScriptEmptyExecute();
    bool ScriptEmptyUpdate() const;
    void ScriptLoadExecute();
    bool ScriptLoadUpdate() const { return true; }
    void ScriptCloneExecute();
    bool ScriptCloneUpdate() const;
    void ScriptEditExecute();
    bool ScriptEditUpdate() const;
    void ScriptDelExecute();
    bool ScriptDelUpdate() const;
    void ScriptClrExecute();
    bool ScriptClrUpdate() const;
    void ScriptUpExecute();
    bool ScriptUpUpdate() const;
    void ScriptDownExecute();
    bool ScriptDownUpdate() const;
    void ScriptRunExecute();
    bool ScriptRunUpdate() const;
    void ScriptTestExecute();
    bool ScriptTestUpdate() const;
    void ScriptStopExecute();
    bool ScriptStopUpdate() const;
    void LogToggleExecute();
    bool LogToggleUpdate() const;
    void LogsDeleteExecute();
    bool LogsDeleteUpdate() const;

private:
    void CreateActions();
    void CreateList();
    void CreateStatusBar();
    void OnScriptChanged();
    void OnRunningChanged(bool running);
    void OnLineSelected(int index);
    void UpdateStatusBar();
    /// The combination tab's number of excluded draws (0 without that tab).
    int ExcludedDraws() const;
    /// The line dialog; true with line changed on OK.
    bool EditLine(const QString &title, QString &line);

    TWorkspace &m_ws;
    TGuiHost &m_host;
    TActionList &m_actions;
    TScriptModel *m_model = nullptr;
    QTableView *m_list = nullptr;
    QSplitter *m_splitter = nullptr;
    TOnlineScriptsPanel *m_library = nullptr;
    int m_libraryHeight = 223;
    QMenu *m_popup = nullptr;
    QStatusBar *m_statusBar = nullptr;
    QList<QLabel *> m_panels;
};

} // namespace lot
