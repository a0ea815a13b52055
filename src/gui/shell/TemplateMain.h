#pragma once

#include "gui/shell/GuiHost.h"
#include "gui/shell/Page.h"
#include "shell/Workspace.h"
#include "stats/ConfigData.h"
#include "stats/StatList.h"

#include <memory>
#include <QMainWindow>
#include <QStringList>

class QLabel;
class QMenu;
class QSplitter;
class QTabWidget;
class QTimer;

namespace lot {

class TActionList;
class TCombsPage;
class TDrawsPage;
class TStatsPage;

/// The main window with all its behaviour: the page controls with the tab
/// pages of PageFactories(), the menu and action list, the status bar, the
/// busy state, window settings, start-up and shutdown. The game's own window
/// class derives from it.
class TTemplateMain : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int StatusPanelCount = TWorkspace::StatusPanelCount;

    /// Window creation (start-up steps 2 to 7 without showing the window):
    /// dataDir holds every data file, args are the program's arguments.
    TTemplateMain(const QString &dataDir, const QStringList &args, QWidget *parent = nullptr);
    /// Writes the window settings and shuts the workspace down.
    ~TTemplateMain() override;

    TWorkspace &Workspace() { return *m_ws; }
    TGuiHost &Host() { return m_host; }
    TActionList &Actions() { return *m_actions; }
    /// The tab pages in registration order.
    const QList<TPage *> &Pages() const { return m_pages; }
    /// The page of the tab with that object name, or nullptr.
    TPage *Page(const QString &name) const;
    TDrawsPage *DrawsPage() const;
    TCombsPage *CombsPage() const;
    TStatsPage *StatsPage() const;
    QTabWidget *ListsTabs() const { return m_pcLists; }
    QTabWidget *MainTabs() const { return m_pcMain; }
    QLabel *StatusPanel(int i) const;
    QMenu *Menu(const QString &objectName) const;
    /// Entries of the menus, popup menus and tool buttons that name an
    /// action (or a menu) that does not exist; empty when all are wired.
    QStringList MissingMenuActions() const;

    /// The game settings in use (channel size, matrix columns ...).
    const TConfigData &GameSettings() const { return m_ws->Stats().Registry().Config(); }

    /// No modal dialog is opened by start-up (screenshots, batch runs):
    /// confirmations are answered No, other messages go to stderr.
    void SetNonInteractive(bool on);
    /// True when the "restart" wait found the previous instance still running.
    bool TerminateRequested() const { return m_terminate; }

    /// Shows the window and arms the one-shot start timer.
    void Start();
    /// The start timer's work (steps 8 to 19); runs once.
    TStartupResult RunStartup();
    bool StartupRan() const { return m_startupRan; }

    /// Renders the window with each visible tab of both page controls
    /// active to dir/<tab objectName>.png, and the pages' and the window's
    /// dialogs beside them (Screenshots.cpp).
    bool SaveScreenshots(const QString &dir);

    /// Makes the tab pages follow their visibility switches.
    void ApplyTabVisibility();
    /// The help file found at start; empty when there is none.
    QString HelpFileName() const { return m_helpFile; }

    // ---- actions of the window ----
    void ExitProgramExecute();
    void EditConfigExecute();
    void EditProxyExecute();
    /// EditShredding: the shredding formulas dialog; OK runs ApplyShredding.
    void EditShreddingExecute();
    /// The shredding formulas in use from now on (TStatsController::ApplyShredding),
    /// then the pages' selectors refilled.
    void ApplyShredding(const TShreddingData &data);
    /// What OK in the settings dialog does: the workspace saves and applies
    /// the settings and rebuilds the changed prefetch groups, then every
    /// page follows them.
    void ApplyGameSettings(const TConfigData &config, const QList<int> &changedGroups);
    bool EditConfigUpdate() const { return true; }
    void AutoUpdateExecute();
    bool AutoUpdateUpdate() const;

signals:
    void StartupFinished(lot::TStartupResult result);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;

private:
    struct TTabSwitch {
        const char *ActionName;
        const char *Caption;
        const char *TabName;
        bool (TWindowSettings::*Get)() const;
        void (TWindowSettings::*Set)(bool);
    };
    static const QList<TTabSwitch> &TabSwitches();

    template <class T> T *FindPage() const {
        for (TPage *page : m_pages)
            if (auto *found = dynamic_cast<T *>(page)) return found;
        return nullptr;
    }
    /// The window's own dialogs for the screenshot run.
    QList<TScreenshotRender> ScreenshotRenders();

    void CreateStatusBar();
    void CreatePages();
    void CreateActions();
    void CreateMenus();
    void UpdateMenus();
    void ApplyWindowSettings();
    void ApplySplitterSizes();
    void StoreWindowSettings();
    void UpdateStatusPanels();
    void ToggleTab(const TTabSwitch &sw);
    void ShowFirstRun();
    QString FindHelpFile() const;
    void OnStartTimer();

    TGuiHost m_host;
    std::unique_ptr<TWorkspace> m_ws;
    QStringList m_args;
    TActionList *m_actions = nullptr;
    QSplitter *m_splitter = nullptr;
    QTabWidget *m_pcLists = nullptr;
    QTabWidget *m_pcMain = nullptr;
    QList<TPage *> m_pages;
    QList<QLabel *> m_panels;
    QStringList m_missingMenus;
    QTimer *m_startTimer = nullptr;
    QString m_helpFile;
    TStartupResult m_startupResult = TStartupResult::Running;
    bool m_startupRan = false;
    bool m_nonInteractive = false;
    bool m_terminate = false;
    bool m_settingsLoaded = false;
    bool m_wasShown = false;
    bool m_closeAfterRun = false;
    int m_leftWidth = 335;
};

} // namespace lot
