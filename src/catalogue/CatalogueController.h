#pragma once
/// @file TCatalogueController: the catalogue area. It owns the catalogue settings (section
/// CATALOGUE of the game settings file), the client, and the online scripts list of the
/// "Сценарий" tab with its filter and focused entry; each user-level operation shows its status,
/// is the error boundary with the catalogue's own error text, and tells views through signals.

#include "catalogue/CatalogueClient.h"
#include "catalogue/CatalogueSettings.h"
#include "catalogue/CatalogueTypes.h"
#include "catalogue/SystemCatalogueStatus.h"
#include "core/OpResult.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

namespace lot {

class IHost;
class TDataFolder;
class TScriptsController;
class TWindowSettings;

class TCatalogueController : public QObject {
    Q_OBJECT
public:
    /// Columns of the online scripts list.
    enum TColumn {
        colType,
        colTitle,
        colAuthor,
        colApp,
        colVersion,
        colLanguage,
        colCreated,
        colRating,
        colRatings,
        colYours,
        colDownloads,
        colLast,
        colDescription,
        ColumnCount
    };
    /// Columns of the ratings window.
    enum TRateColumn { rcName, rcRate, rcDate, rcApp, rcVersion, rcNotes, RateColumnCount };

    TCatalogueController(IHost &host, const TDataFolder &files, TWindowSettings &settings,
                         TScriptsController &scripts, QObject *parent = nullptr);
    ~TCatalogueController() override;

    // ---- settings and identity ----------------------------------------------------------------
    /// Section CATALOGUE (start-up, and again before a call when not loaded yet). Error box
    /// "Ошибка чтения файла конфигурации!\r\r%s".
    TOpResult LoadSettings();
    const TCatalogueSettings &Settings() const { return m_catalogue; }
    /// A catalogue address is set.
    bool HasCatalogue() const { return !m_catalogue.Url.isEmpty(); }
    bool HasIdentity() const { return m_catalogue.HasIdentity(); }
    /// The user's name and e-mail (the dialog asked for them): stored in the settings file. Error
    /// box "Ошибка записи в файл конфигурации!\r\r%s".
    TOpResult SetIdentity(const QString &name, const QString &mail);
    /// The client; nullptr without a catalogue address.
    TCatalogueClient *Client() { return m_client.get(); }
    /// The systems area's view of the client, with the status texts of the system calls
    /// (nullptr without a catalogue address).
    /// It lives until the settings are read again: ask for it per operation.
    ISystemCatalogue *SystemCatalogue() { return m_systems.get(); }

    // ---- the online scripts list ---------------------------------------------------------------
    /// The filter box's items; "fltid" is the item index minus 1.
    static QStringList FilterCaptions();
    /// The item of the filter box (window setting ScriptLibraryFilter, 0..7).
    int FilterItem() const;
    /// Stores the item and reloads the list.
    TOpResult SetFilterItem(int item);
    /// The list's entries in reply order.
    const QList<tScriptInfo> &Scripts() const { return m_scripts; }
    /// The focused entry's index, -1 for none.
    int Focused() const { return m_focused; }
    void SetFocused(int index);
    const tScriptInfo *FocusedScript() const;
    /// ScriptLibraryRefresh: status "Загрузка online-каталога сценариев..."; the focused id is
    /// kept. A failure shows "Ошибка загрузки каталога online-сценариев!\r\r%s" and leaves the
    /// list empty.
    TOpResult RefreshScripts();
    /// Clears the list (the panel was hidden).
    void ClearScripts();

    static QString ColumnCaption(int column);
    static QString CellText(const tScriptInfo &script, int column);
    static QString RateColumnCaption(int column);
    static QString RateCellText(const tScriptRate &rate, int column);

    // ---- operations on entries -------------------------------------------------------------
    /// ScriptLibraryDownload: status "Скачивание сценария из online-каталога..."; a non-empty text
    /// replaces the current script, which is stored. Error "Ошибка загрузки online-сценария!\r\r%s".
    TOpResult DownloadScript(int32_t id);
    /// The title check of the publish dialog; free receives the answer. Error "Ошибка проверки
    /// уникальности online-сценария!\r\r%s".
    TOpResult CheckTitle(int32_t id, const QString &title, bool *free);
    /// A new entry for ScriptLibraryUpload: id -1, the user's name, the interface language,
    /// universal off, public on.
    tScriptData NewScriptData() const;
    /// The dialog's data of an entry.
    static tScriptData ScriptDataOf(const tScriptInfo &script);
    /// ScriptLibraryUpload (data.Id -1) and ScriptLibraryReplace (the entry's id) after the
    /// dialog: status "Сохранение сценария в базе данных..."; the current script's text is sent;
    /// an id above 0 adds (or updates) the item, focused. Error "Ошибка публикации
    /// online-сценария!\r\r%s". id receives the catalogue's id.
    TOpResult PublishScript(const tScriptData &data, int32_t *id = nullptr);
    /// ScriptLibraryDelete after its question: status "Удаление сценария из базы данных...";
    /// result 0 removes the item. Error "Ошибка публикации online-сценария!\r\r%s".
    TOpResult DeleteScript(int32_t id);
    /// ScriptLibraryRate0..5 and ScriptLibraryHide: status "Отправка оценки на сервер..."; after a
    /// success the list is reloaded. Error "Ошибка сохранения оценки online-сценария!\r\r%s".
    TOpResult RateScript(int32_t id, int32_t value, const QString &comment);
    /// ScriptLibraryRates: status "Загрузка списка оценок..."; error "Ошибка просмотра оценок
    /// online-сценария!\r\r%s".
    TOpResult LoadRates(int32_t id, QList<tScriptRate> &rates);

    /// The question of ScriptLibraryDelete.
    static QString DeleteQuestion(const QString &title);
    /// What the publish dialog and the command line say of a title another script has.
    static QString TitleTakenText();
    /// The captions of ScriptLibraryRate1..5.
    static QString RateCaption(int value);

signals:
    /// The list, its entries or the focus changed.
    void ScriptsChanged();
    /// The user's name and e-mail were stored.
    void IdentityChanged(const QString &name, const QString &mail);

private:
    /// The client, settings loaded first; raises when there is no catalogue address.
    TCatalogueClient &RequireClient();
    /// The client (and its systems view) of the settings just read.
    void MakeClient();
    int IndexOf(int32_t id) const;

    IHost &m_host;
    const TDataFolder &m_files;
    TWindowSettings &m_settings;
    TScriptsController &m_scriptsArea;
    TCatalogueSettings m_catalogue;
    bool m_loaded = false;
    std::unique_ptr<TCatalogueClient> m_client;
    std::unique_ptr<TSystemCatalogueStatus> m_systems;
    QList<tScriptInfo> m_scripts;
    int m_focused = -1;
};

} // namespace lot
