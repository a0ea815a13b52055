#include "catalogue/CatalogueClient.h"

#include "catalogue/CatalogueReply.h"
#include "catalogue/SystemCatalogueStatus.h"
#include "core/Codec1251.h"
#include "core/DataFolder.h"
#include "core/Errors.h"
#include "core/Format.h"

#include <QHostAddress>
#include <QNetworkProxy>
#include <QUrl>

#ifndef BRANTLEE_VERSION
#define BRANTLEE_VERSION "0.0.0"
#endif

namespace lot {

namespace {

QByteArray Number(int64_t value) {
    return QByteArray::number(qlonglong(value));
}

/// A value sent "as typed": the text in the ANSI code page, not escaped.
QByteArray Plain(const QString &text) {
    return ToCp1251(text);
}

/// Tell a list row's number from an out-of-range one: a system over more than 45 numbers, or a
/// block past 5, would name files and index tables that do not exist.
int32_t InRange(const TReplyRow &row, const QString &name, int32_t low, int32_t high) {
    const int32_t value = row.Integer(name);
    if (value < low || value > high)
        throw EError(
            Format(QStringLiteral("Недопустимое значение \"%s\" в строке каталога: %d"), {name, value}));
    return value;
}

bool IsLoopbackHost(const QString &host) {
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0) return true;
    const QHostAddress address(host);
    return !address.isNull() && address.isLoopback();
}

} // namespace

QString TCatalogueClient::AppId() {
    return QStringLiteral("{6B3E0D45-B6A4-4F45-8C06-B45A6E45D645}");
}
QString TCatalogueClient::AppName() {
    return QStringLiteral("Brantlee_6x45");
}
QString TCatalogueClient::AppVersion() {
    return QStringLiteral(BRANTLEE_VERSION);
}

TCatalogueClient::TCatalogueClient(TCatalogueSettings settings) : m_settings(std::move(settings)) {}

void TCatalogueClient::SetIdentity(const QString &name, const QString &mail) {
    m_settings.UserName = name.trimmed();
    m_settings.UserMail = mail.trimmed();
}

TFormFields TCatalogueClient::Identity(const QByteArray &name, const QByteArray &mail, int32_t lcid) const {
    return {{"appid", Plain(AppId())}, {"appver", Plain(AppVersion())},
            {"cl_name", name},         {"cl_mail", mail},
            {"cl_lcid", Number(lcid)}, {"cl_key", Plain(m_settings.ClientKey)}};
}

TFormFields TCatalogueClient::UserIdentity() const {
    return Identity(CatalogueEscape(m_settings.UserName), CatalogueEscape(m_settings.UserMail),
                    InterfaceLcid);
}

QList<TReplyRow> TCatalogueClient::Call(const QString &path, const TFormFields &fields) {
    if (m_settings.Url.isEmpty())
        throw EError(QStringLiteral("Адрес online-каталога не указан (параметр Url раздела [CATALOGUE])"));
    if (!m_caLoaded) {
        m_http.SetCaFile(m_settings.CaFile);
        m_caLoaded = true;
    }
    QString base = m_settings.Url;
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    const QUrl url(base + path);
    if (!url.isValid() || url.host().isEmpty() ||
        (url.scheme() != QLatin1String("https") && url.scheme() != QLatin1String("http")))
        throw EError(Format(QStringLiteral("Неверный адрес online-каталога: \"%s\""), {m_settings.Url}));
    // The identity and the installation key travel in every change: in the clear only to this
    // machine.
    if (url.scheme() == QLatin1String("http") && !IsLoopbackHost(url.host()))
        throw EError(
            Format(QStringLiteral("Online-каталог на другом компьютере доступен только по HTTPS: \"%s\""),
                   {m_settings.Url}));
    m_lastForm = fields;
    return ReadReply(m_http.PostForm(url, FormBody(fields), QNetworkProxy(QNetworkProxy::NoProxy)));
}

// ---- systems --------------------------------------------------------------------------------------

QList<tSystemInfo> TCatalogueClient::ListSystems() {
    TFormFields fields{{"comblen", "6"}, {"maxnums", "45"}};
    fields += UserIdentity();
    QList<tSystemInfo> list;
    for (const TReplyRow &row : Call(QStringLiteral("/scripts/sys_getlist.php"), fields)) {
        tSystemInfo s;
        s.Id = row.Integer(QStringLiteral("id"));
        s.Nums = uint8_t(InRange(row, QStringLiteral("nums"), 0, 45));
        s.Block = uint8_t(InRange(row, QStringLiteral("olap"), 0, 5));
        s.CSize = InRange(row, QStringLiteral("csize"), 0, INT32_MAX);
        s.Title = row.Base64Utf8(QStringLiteral("title"));
        s.Description = row.Base64Utf8(QStringLiteral("descr"));
        s.Author = row.Utf8(QStringLiteral("author"));
        s.OwnerMail = row.Utf8(QStringLiteral("cl_mail"));
        s.Url = row.Utf8(QStringLiteral("url"));
        s.Created = row.Date(QStringLiteral("created"));
        s.LastDownload = row.Date(QStringLiteral("last_download"));
        s.Downloads = row.IntegerOr(QStringLiteral("downloads"), 0);
        list.append(s);
    }
    return list;
}

QString TCatalogueClient::SystemContent(int32_t id) {
    for (const TReplyRow &row : Call(QStringLiteral("/scripts/sys_getdata.php"), {{"sys_id", Number(id)}})) {
        const QString content = row.Base64Utf8(QStringLiteral("clist"));
        if (!content.isEmpty()) return content;
    }
    return {};
}

int32_t TCatalogueClient::SaveSystem(const tSystemData &data, bool deletion) {
    const tSystemInfo &s = data.Info;
    TFormFields fields{
        {"del_mode", deletion ? "1" : "0"},
        {"sys_id", Number(s.Id)},
        {"nums", Number(s.Nums)},
        {"clen", "6"},
        {"olap", Number(s.Block)},
        {"title", CatalogueEscape(s.Title)},
        {"descr", CatalogueEscape(s.Description)},
        {"csize", Number(s.CSize)},
        {"clist", deletion ? QByteArray() : Base64(CatalogueEscape(data.Content))},
        {"url", Plain(s.Url)},
    };
    fields += Identity(CatalogueEscape(s.Author), CatalogueEscape(s.OwnerMail), InterfaceLcid);
    for (const TReplyRow &row : Call(QStringLiteral("/scripts/sys_putdata.php"), fields)) {
        const int32_t id = row.IntegerOr(QStringLiteral("id_systems"), -1);
        if (id >= 0) return id;
    }
    return -1;
}

// ---- scripts --------------------------------------------------------------------------------------

tScriptInfo TCatalogueClient::ReadScriptRow(const TReplyRow &row) const {
    tScriptInfo s;
    s.Id = row.Integer(QStringLiteral("id"));
    s.AppName = row.Ansi(QStringLiteral("app_name"));
    s.AppVersion = row.Ansi(QStringLiteral("app_ver"));
    s.AuthorName = row.Utf8(QStringLiteral("key_cl_name"));
    s.AuthorMail = row.Utf8(QStringLiteral("key_cl_mail"));
    s.Lcid = row.IntegerOr(QStringLiteral("key_cl_lcid"), InterfaceLcid);
    s.Universal = row.IntegerOr(QStringLiteral("uniapps"), 0) > 0;
    s.Public = row.IntegerOr(QStringLiteral("publics"), 0) > 0;
    s.Created = row.Date(QStringLiteral("created"));
    s.LastDownload = row.Date(QStringLiteral("last_download"));
    s.RatingAvg = row.Decimal(QStringLiteral("rating_avg"));
    s.RatingCount = row.IntegerOr(QStringLiteral("rating_cnt"), 0);
    s.RatingYou = row.IntegerOr(QStringLiteral("rating_you"), 0);
    s.Downloads = row.IntegerOr(QStringLiteral("downloads"), 0);
    s.Title = row.Base64Utf8(QStringLiteral("title"));
    s.Description = row.Base64Utf8(QStringLiteral("descr"));
    s.Mine =
        !m_settings.UserMail.isEmpty() && s.AuthorMail.compare(m_settings.UserMail, Qt::CaseInsensitive) == 0;
    s.Compatible =
        s.Universal || row.Ansi(QStringLiteral("app_guid")).compare(AppId(), Qt::CaseInsensitive) == 0;
    s.Editable = s.Mine && s.Compatible;
    return s;
}

QList<tScriptInfo> TCatalogueClient::ListScripts(int fltid) {
    TFormFields fields{{"fltid", Number(fltid)}};
    fields += UserIdentity();
    QList<tScriptInfo> list;
    for (const TReplyRow &row : Call(QStringLiteral("/scripts/scr_getlist.php"), fields))
        list.append(ReadScriptRow(row));
    return list;
}

QString TCatalogueClient::ScriptText(int32_t id) {
    for (const TReplyRow &row : Call(QStringLiteral("/scripts/scr_getdata.php"), {{"scr_id", Number(id)}})) {
        if (!row.StartsWith("<script>")) continue;
        const QString text = row.Base64Utf8(QStringLiteral("script"));
        if (!text.isEmpty()) return text;
    }
    return {};
}

int32_t TCatalogueClient::RateScript(int32_t id, int32_t value, const QString &comment) {
    TFormFields fields{
        {"scr_id", Number(id)}, {"rate_value", Number(value)}, {"rate_notes", CatalogueEscape(comment)}};
    fields += UserIdentity();
    const QList<TReplyRow> rows = Call(QStringLiteral("/scripts/scr_setrate.php"), fields);
    if (rows.isEmpty()) throw EError(QStringLiteral("Сервер не вернул код возврата"));
    const int32_t code = rows.last().Integer(QStringLiteral("res_code"));
    if (code < 0) throw EError(Format(QStringLiteral("Код возврата: %d"), {code}));
    return code;
}

bool TCatalogueClient::TitleIsFree(int32_t id, const QString &title) {
    const QList<TReplyRow> rows = Call(QStringLiteral("/scripts/scr_chktitle.php"),
                                       {{"scr_id", Number(id)}, {"scr_title", CatalogueEscape(title)}});
    if (rows.isEmpty()) throw EError(QStringLiteral("Сервер не вернул код возврата"));
    return rows.first().Integer(QStringLiteral("ret_code")) == 0;
}

namespace {
TFormFields ScriptFields(const tScriptData &data, bool deletion) {
    return {{"del_mode", deletion ? "1" : "0"},          {"scr_id", Number(data.Id)},
            {"scr_uniapps", data.Universal ? "1" : "0"}, {"scr_publics", data.Public ? "1" : "0"},
            {"scr_title", CatalogueEscape(data.Title)},  {"scr_descr", CatalogueEscape(data.Description)}};
}
} // namespace

int32_t TCatalogueClient::SaveScript(const tScriptData &data, const QString &text) {
    TFormFields fields = ScriptFields(data, false);
    fields.append({"scr_script", CatalogueEscape(text)});
    fields += Identity(CatalogueEscape(data.AuthorName), CatalogueEscape(m_settings.UserMail), data.Lcid);
    const QList<TReplyRow> rows = Call(QStringLiteral("/scripts/scr_putscript.php"), fields);
    if (rows.isEmpty()) throw EError(QStringLiteral("Сервер не вернул номер сценария"));
    return rows.first().Integer(QStringLiteral("id_scripts"));
}

int32_t TCatalogueClient::DeleteScript(const tScriptData &data) {
    TFormFields fields = ScriptFields(data, true);
    fields += Identity(CatalogueEscape(data.AuthorName), CatalogueEscape(m_settings.UserMail), data.Lcid);
    const QList<TReplyRow> rows = Call(QStringLiteral("/scripts/scr_putscript.php"), fields);
    if (rows.isEmpty()) throw EError(QStringLiteral("Сервер не вернул номер сценария"));
    return rows.first().Integer(QStringLiteral("id_scripts"));
}

QList<tScriptRate> TCatalogueClient::ScriptRates(int32_t id) {
    QList<tScriptRate> list;
    for (const TReplyRow &row : Call(QStringLiteral("/scripts/scr_getrates.php"), {{"scr_id", Number(id)}})) {
        tScriptRate r;
        r.Name = row.Ansi(QStringLiteral("key_cl_name"));
        r.Rate = row.IntegerOr(QStringLiteral("rate"), 0);
        r.Created = row.Date(QStringLiteral("created"));
        r.AppName = row.Ansi(QStringLiteral("app_name"));
        r.AppVersion = row.Ansi(QStringLiteral("app_ver"));
        r.Notes = row.Ansi(QStringLiteral("notes"));
        list.append(r);
    }
    return list;
}

std::unique_ptr<TCatalogueClient> MakeCatalogueClient(const TDataFolder &files) {
    TCatalogueSettings settings = LoadCatalogueSettings(files);
    if (settings.Url.isEmpty()) return nullptr;
    return std::make_unique<TCatalogueClient>(std::move(settings));
}

namespace {

/// A client with the status texts of its system calls, owning both.
class TStatusCatalogue : public ISystemCatalogue {
public:
    TStatusCatalogue(std::unique_ptr<TCatalogueClient> client, IHost &host)
        : m_client(std::move(client)), m_status(*m_client, host) {}
    QList<tSystemInfo> ListSystems() override { return m_status.ListSystems(); }
    QString SystemContent(int32_t id) override { return m_status.SystemContent(id); }
    int32_t SaveSystem(const tSystemData &data, bool deletion) override {
        return m_status.SaveSystem(data, deletion);
    }

private:
    std::unique_ptr<TCatalogueClient> m_client;
    TSystemCatalogueStatus m_status;
};

} // namespace

std::unique_ptr<ISystemCatalogue> MakeSystemCatalogue(const TDataFolder &files, IHost *host) {
    std::unique_ptr<TCatalogueClient> client = MakeCatalogueClient(files);
    if (!client || !host) return client;
    return std::make_unique<TStatusCatalogue>(std::move(client), *host);
}

} // namespace lot
