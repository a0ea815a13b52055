#pragma once

#include "catalogue/CatalogueTypes.h"
#include "gui/shell/ActionList.h"

#include <functional>
#include <QWidget>

class QComboBox;
class QLabel;
class QMenu;
class QTableView;

namespace lot {

class TGuiHost;
class TOnlineScriptsModel;
class TWindowSettings;
class TWorkspace;

/// The online scripts panel of the "Сценарий" tab (pnlOnlineScripts): the filter box, the
/// catalogue's list and the ScriptLibrary... actions with their handlers and enabled tests.
class TOnlineScriptsPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr const char *ListName = "lvOnlineScripts";
    /// How the page adds an action of the panel to the window's list.
    using TAddAction =
        std::function<QAction *(const TActionList::TSpec &, TActionList::TExecute, TActionList::TUpdate)>;

    TOnlineScriptsPanel(TWorkspace &workspace, TGuiHost &host, TActionList &actions, const TAddAction &add,
                        QWidget *parent = nullptr);

    /// The names of the panel's actions for the "Сценарий" menu.
    static QStringList MenuNames();

    QTableView *List() const { return m_list; }
    TOnlineScriptsModel *Model() const { return m_model; }
    QComboBox *FilterBox() const { return m_filter; }
    /// Says where to set the catalogue's address while none is set.
    QLabel *Hint() const { return m_hint; }
    QMenu *PopupMenu() const { return m_popup; }

    /// The panel is switched on (ScriptLibraryOn).
    bool IsOn() const { return m_on; }
    void LoadWindowSettings(const TWindowSettings &settings, const QString &section);
    void SaveWindowSettings(TWindowSettings &settings, const QString &section) const;

    void ScriptLibraryExecute();
    bool ScriptLibraryUpdate() const;
    void ScriptLibraryRefreshExecute();
    bool ScriptLibraryRefreshUpdate() const;
    void ScriptLibraryDownloadExecute();
    bool ScriptLibraryDownloadUpdate() const;
    void ScriptLibraryUploadExecute();
    bool ScriptLibraryUploadUpdate() const;
    void ScriptLibraryReplaceExecute();
    bool ScriptLibraryReplaceUpdate() const;
    void ScriptLibraryDeleteExecute();
    bool ScriptLibraryDeleteUpdate() const;
    void ScriptLibraryViewExecute();
    bool ScriptLibraryViewUpdate() const;
    void ScriptLibraryRatesExecute();
    bool ScriptLibraryRatesUpdate() const;
    void ScriptLibraryRateExecute(int value);
    bool ScriptLibraryRateUpdate(int value) const;
    void ScriptLibraryHideExecute();
    bool ScriptLibraryHideUpdate() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void CreateActions(const TAddAction &add);
    void OnScriptsChanged();
    void OnFocusChanged();
    void UpdateHint();
    /// The user's name and e-mail, asked for when not known yet; false when cancelled.
    bool EnsureIdentity();
    /// The publish dialog over data; true with data changed on OK.
    bool EditScriptData(tScriptData &data, bool readOnly);
    bool Idle() const;

    TWorkspace &m_ws;
    TGuiHost &m_host;
    TActionList &m_actions;
    TOnlineScriptsModel *m_model = nullptr;
    QComboBox *m_filter = nullptr;
    QLabel *m_hint = nullptr;
    QTableView *m_list = nullptr;
    QMenu *m_popup = nullptr;
    bool m_on = true;
    bool m_loadedOnce = false;
    bool m_syncing = false;
};

} // namespace lot
