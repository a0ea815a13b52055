#pragma once
/// @file TCatalogueClient: the calls of the online catalogue of systems and scripts. Every call
/// is a form POSTed to the catalogue's address plus the call's path, without a proxy, and its
/// reply is read by ReadReply. Every failure (transport, reply format, an error row, a
/// conversion) raises EError with the reason; the caller adds its own error text.

#include "catalogue/CatalogueCodec.h"
#include "catalogue/CatalogueSettings.h"
#include "catalogue/CatalogueTypes.h"
#include "download/HttpClient.h"
#include "systems/SystemInfo.h"

#include <QList>
#include <QString>

#include <memory>

namespace lot {

class IHost;
class TDataFolder;
class TReplyRow;

class TCatalogueClient : public ISystemCatalogue {
public:
    /// This program's application identifier ("appid").
    static QString AppId();
    /// The program's file name without extension, the application name of its scripts.
    static QString AppName();
    /// The program's version ("appver").
    static QString AppVersion();
    /// The interface language: the program speaks Russian only.
    static constexpr int32_t InterfaceLcid = 1049;

    explicit TCatalogueClient(TCatalogueSettings settings);

    const TCatalogueSettings &Settings() const { return m_settings; }
    /// The identity sent from now on (the dialog asked for it).
    void SetIdentity(const QString &name, const QString &mail);
    THttpClient &Http() { return m_http; }

    // ---- systems ----------------------------------------------------------------------------
    QList<tSystemInfo> ListSystems() override;
    QString SystemContent(int32_t id) override;
    int32_t SaveSystem(const tSystemData &data, bool deletion) override;

    // ---- scripts ----------------------------------------------------------------------------
    /// The script list of filter fltid (-1..6).
    QList<tScriptInfo> ListScripts(int fltid);
    /// The text of a script; empty when the catalogue gives none.
    QString ScriptText(int32_t id);
    /// Rates a script: value 1..5, 0 takes the user's rating back, -1 hides the script. Returns
    /// the reply code; a negative one raises "Код возврата: %d".
    int32_t RateScript(int32_t id, int32_t value, const QString &comment);
    /// The title is free for the script id (-1 for a new one).
    bool TitleIsFree(int32_t id, const QString &title);
    /// Saves a script with its text; returns the id the catalogue answers (above 0: success).
    int32_t SaveScript(const tScriptData &data, const QString &text);
    /// Deletes a script; returns the id the catalogue answers (0: deleted).
    int32_t DeleteScript(const tScriptData &data);
    /// The ratings of a script.
    QList<tScriptRate> ScriptRates(int32_t id);

    /// The form of the last call (tests check what was sent).
    const TFormFields &LastForm() const { return m_lastForm; }

private:
    QList<TReplyRow> Call(const QString &path, const TFormFields &fields);
    /// appid, appver, cl_name, cl_mail, cl_lcid (values already E where they need it), then the
    /// installation key.
    TFormFields Identity(const QByteArray &name, const QByteArray &mail, int32_t lcid) const;
    TFormFields UserIdentity() const;
    tScriptInfo ReadScriptRow(const TReplyRow &row) const;

    TCatalogueSettings m_settings;
    THttpClient m_http;
    bool m_caLoaded = false;
    TFormFields m_lastForm;
};

/// A catalogue client on the data folder's settings (section CATALOGUE of
/// "Brantlee_6x45.ini"), or nullptr when no catalogue address is set. Raises EError when the
/// settings cannot be read or the installation key cannot be stored.
std::unique_ptr<TCatalogueClient> MakeCatalogueClient(const TDataFolder &files);
/// The same as the systems area sees it; with a host, each system call shows its status text
/// (TSystemCatalogueStatus).
std::unique_ptr<ISystemCatalogue> MakeSystemCatalogue(const TDataFolder &files, IHost *host = nullptr);

} // namespace lot
