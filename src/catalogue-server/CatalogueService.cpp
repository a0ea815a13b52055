#include "catalogue-server/CatalogueService.h"

#include "catalogue-server/FormReader.h"
#include "catalogue/CatalogueClient.h"
#include "catalogue/CatalogueCodec.h"
#include "core/Codec1251.h"
#include "core/Errors.h"
#include "core/Format.h"

#include <QAtomicInt>
#include <QSqlError>
#include <QSqlQuery>
#include <QTimeZone>
#include <QVariant>

namespace lot::server {

// ---- the reply ------------------------------------------------------------------------------

/// Writes "<result><row><name>value</name>...</row>...</result>". Values are written in the
/// encoding the client reads them with; none holds "<", which the request fields that reach
/// plain values are checked for.
class TReplyWriter {
public:
    void Row() {
        CloseRow();
        m_body += "<row>";
        m_inRow = true;
    }
    void Bytes(const char *name, const QByteArray &value) {
        m_body += '<';
        m_body += name;
        m_body += '>';
        m_body += value;
        m_body += "</";
        m_body += name;
        m_body += '>';
    }
    void Int(const char *name, qint64 value) { Bytes(name, QByteArray::number(value)); }
    void Utf8(const char *name, const QString &value) { Bytes(name, value.toUtf8()); }
    void Ansi(const char *name, const QString &value) { Bytes(name, ToCp1251(value)); }
    void B64(const char *name, const QString &value) { Bytes(name, Base64(value.toUtf8())); }
    QByteArray Finish() {
        CloseRow();
        return "<result>" + m_body + "</result>";
    }

private:
    void CloseRow() {
        if (m_inRow) m_body += "</row>";
        m_inRow = false;
    }
    QByteArray m_body;
    bool m_inRow = false;
};

namespace {

constexpr qsizetype MaxTitle = 128;
constexpr qsizetype MaxName = 64;
constexpr qsizetype MaxMail = 254;
constexpr qsizetype MaxUrl = 1024;
constexpr qsizetype MaxNotes = 1024;
constexpr qsizetype MaxDescription = 64 * 1024;
constexpr qsizetype MaxContent = 4 * 1024 * 1024;
constexpr qsizetype MaxKey = 128;

const char *const SystemListPath = "/scripts/sys_getlist.php";
const char *const SystemDataPath = "/scripts/sys_getdata.php";
const char *const SystemPutPath = "/scripts/sys_putdata.php";
const char *const ScriptListPath = "/scripts/scr_getlist.php";
const char *const ScriptDataPath = "/scripts/scr_getdata.php";
const char *const ScriptRatePath = "/scripts/scr_setrate.php";
const char *const ScriptTitlePath = "/scripts/scr_chktitle.php";
const char *const ScriptPutPath = "/scripts/scr_putscript.php";
const char *const ScriptRatesPath = "/scripts/scr_getrates.php";

/// A text that is written back as a plain value may not hold what would end its element.
QString PlainText(const QString &text, const char *name) {
    if (text.contains(QLatin1Char('<')) || text.contains(QLatin1Char('>')))
        throw EError(Format(QStringLiteral("Поле \"%s\": недопустимые символы \"<\" или \">\""),
                            {QString::fromLatin1(name)}));
    return text;
}

QSqlQuery Run(const QSqlDatabase &db, const QString &sql, const QVariantList &binds = {}) {
    QSqlQuery query(db);
    if (!query.prepare(sql)) throw EError(QStringLiteral("Ошибка базы данных: ") + query.lastError().text());
    for (const QVariant &v : binds)
        query.addBindValue(v);
    if (!query.exec()) throw EError(QStringLiteral("Ошибка базы данных: ") + query.lastError().text());
    return query;
}

/// One transaction: rolled back unless committed.
class TTransaction {
public:
    explicit TTransaction(QSqlDatabase &db) : m_db(db) {
        if (!m_db.transaction())
            throw EError(QStringLiteral("Ошибка базы данных: ") + m_db.lastError().text());
    }
    ~TTransaction() {
        if (!m_done) m_db.rollback();
    }
    void Commit() {
        if (!m_db.commit()) throw EError(QStringLiteral("Ошибка базы данных: ") + m_db.lastError().text());
        m_done = true;
    }

private:
    QSqlDatabase &m_db;
    bool m_done = false;
};

QAtomicInt g_connections;

} // namespace

// ---- the database -------------------------------------------------------------------------------

TCatalogueService::TCatalogueService(const QString &databaseFile)
    : m_connection(QStringLiteral("catalogue-%1").arg(g_connections.fetchAndAddRelaxed(1))),
      m_now([] { return QDateTime::currentDateTimeUtc(); }) {
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    m_db.setDatabaseName(databaseFile);
    if (!m_db.open())
        throw EError(Format(QStringLiteral("Не удалось открыть базу данных \"%s\": %s"),
                            {databaseFile, m_db.lastError().text()}));
    Run(m_db, QStringLiteral("PRAGMA journal_mode=WAL"));
    Run(m_db, QStringLiteral("PRAGMA foreign_keys=ON"));
    Run(m_db, QStringLiteral("PRAGMA busy_timeout=5000"));
    Migrate();
    AddApplication(TCatalogueClient::AppId(), TCatalogueClient::AppName());
}

TCatalogueService::~TCatalogueService() {
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connection);
}

void TCatalogueService::Migrate() {
    QSqlQuery q = Run(m_db, QStringLiteral("PRAGMA user_version"));
    const int version = q.next() ? q.value(0).toInt() : 0;
    if (version > 1)
        throw EError(Format(QStringLiteral("База данных новее этой программы (версия %d)"), {version}));
    if (version == 1) return;
    TTransaction t(m_db);
    Run(m_db,
        QStringLiteral(
            "CREATE TABLE owners(mail TEXT PRIMARY KEY, client_key TEXT NOT NULL, created TEXT NOT NULL)"));
    Run(m_db,
        QStringLiteral(
            "CREATE TABLE systems(id INTEGER PRIMARY KEY AUTOINCREMENT, nums INTEGER NOT NULL, olap INTEGER "
            "NOT NULL, "
            "csize INTEGER NOT NULL, title TEXT NOT NULL, descr TEXT NOT NULL, author TEXT NOT NULL, "
            "owner_mail TEXT NOT NULL, url TEXT NOT NULL, content TEXT NOT NULL, created TEXT NOT NULL, "
            "downloads INTEGER NOT NULL DEFAULT 0, last_download TEXT NOT NULL DEFAULT '')"));
    Run(m_db,
        QStringLiteral(
            "CREATE TABLE scripts(id INTEGER PRIMARY KEY AUTOINCREMENT, app_guid TEXT NOT NULL, app_name "
            "TEXT NOT NULL, "
            "app_ver TEXT NOT NULL, author TEXT NOT NULL, owner_mail TEXT NOT NULL, lcid INTEGER NOT NULL, "
            "universal INTEGER NOT NULL, public INTEGER NOT NULL, title TEXT NOT NULL, descr TEXT NOT NULL, "
            "script TEXT NOT NULL, created TEXT NOT NULL, downloads INTEGER NOT NULL DEFAULT 0, "
            "last_download TEXT NOT NULL DEFAULT '')"));
    Run(m_db, QStringLiteral(
                  "CREATE TABLE rates(script_id INTEGER NOT NULL REFERENCES scripts(id) ON DELETE CASCADE, "
                  "mail TEXT NOT NULL, name TEXT NOT NULL, rate INTEGER NOT NULL, notes TEXT NOT NULL, "
                  "app_name TEXT NOT NULL, app_ver TEXT NOT NULL, created TEXT NOT NULL, PRIMARY "
                  "KEY(script_id, mail))"));
    Run(m_db, QStringLiteral("PRAGMA user_version=1"));
    t.Commit();
}

bool TCatalogueService::ReleaseMail(const QString &mail) {
    TTransaction t(m_db);
    QSqlQuery q = Run(m_db, QStringLiteral("DELETE FROM owners WHERE mail = ?"), {mail.trimmed().toLower()});
    const bool released = q.numRowsAffected() > 0;
    t.Commit();
    return released;
}

void TCatalogueService::AddApplication(const QString &appId, const QString &name) {
    m_apps.insert(appId.trimmed().toLower(), name.trimmed());
}

QString TCatalogueService::AppName(const QString &appId) const {
    return m_apps.value(appId.toLower(), appId);
}

QString TCatalogueService::Now() const {
    return CatalogueDateText(m_now());
}

QStringList TCatalogueService::Paths() {
    return {QString::fromLatin1(SystemListPath),  QString::fromLatin1(SystemDataPath),
            QString::fromLatin1(SystemPutPath),   QString::fromLatin1(ScriptListPath),
            QString::fromLatin1(ScriptDataPath),  QString::fromLatin1(ScriptRatePath),
            QString::fromLatin1(ScriptTitlePath), QString::fromLatin1(ScriptPutPath),
            QString::fromLatin1(ScriptRatesPath)};
}

QByteArray TCatalogueService::ErrorReply(const QString &text) {
    TReplyWriter out;
    out.Row();
    // The text is the server's own: it never holds "<".
    out.Utf8("error", QString(text).replace(QLatin1Char('<'), QLatin1Char('(')));
    return out.Finish();
}

QByteArray TCatalogueService::Handle(const QString &path, const QByteArray &body) {
    using THandler = void (TCatalogueService::*)(const TForm &, TReplyWriter &);
    static const QList<QPair<const char *, THandler>> handlers{
        {SystemListPath, &TCatalogueService::SystemList},   {SystemDataPath, &TCatalogueService::SystemData},
        {SystemPutPath, &TCatalogueService::SystemPut},     {ScriptListPath, &TCatalogueService::ScriptList},
        {ScriptDataPath, &TCatalogueService::ScriptData},   {ScriptRatePath, &TCatalogueService::ScriptRate},
        {ScriptTitlePath, &TCatalogueService::ScriptTitle}, {ScriptPutPath, &TCatalogueService::ScriptPut},
        {ScriptRatesPath, &TCatalogueService::ScriptRates},
    };
    try {
        for (const auto &[name, handler] : handlers) {
            if (path != QLatin1String(name)) continue;
            const TForm form = TForm::Read(body);
            TReplyWriter out;
            (this->*handler)(form, out);
            return out.Finish();
        }
        return ErrorReply(Format(QStringLiteral("Неизвестный запрос \"%s\""), {path.left(200)}));
    } catch (const std::exception &e) {
        return ErrorReply(ExceptionText(e));
    }
}

// ---- ownership ------------------------------------------------------------------------------------

bool TCatalogueService::KeyMatches(const QString &mail, const QByteArray &key) const {
    if (mail.isEmpty() || key.isEmpty()) return false;
    QSqlQuery q = Run(m_db, QStringLiteral("SELECT client_key FROM owners WHERE mail = ?"), {mail.toLower()});
    return q.next() && q.value(0).toString() == QString::fromLatin1(key);
}

QString TCatalogueService::Owner(const TForm &form) {
    const QString mail = PlainText(form.Escaped("cl_mail", MaxMail), "cl_mail").toLower();
    const QByteArray key = form.Raw("cl_key").trimmed();
    if (mail.isEmpty()) throw EError(QStringLiteral("Не указан адрес электронной почты"));
    if (key.isEmpty() || key.size() > MaxKey)
        throw EError(QStringLiteral("Не указан ключ программы (cl_key)"));
    QSqlQuery q = Run(m_db, QStringLiteral("SELECT client_key FROM owners WHERE mail = ?"), {mail});
    if (!q.next()) {
        Run(m_db, QStringLiteral("INSERT INTO owners(mail, client_key, created) VALUES(?, ?, ?)"),
            {mail, QString::fromLatin1(key), Now()});
    } else if (q.value(0).toString() != QString::fromLatin1(key)) {
        throw EError(
            Format(QStringLiteral("Адрес \"%s\" принадлежит другой установке программы: изменения отклонены"),
                   {mail}));
    }
    return mail;
}

// ---- systems --------------------------------------------------------------------------------------

void TCatalogueService::SystemList(const TForm &form, TReplyWriter &out) {
    const int maxNums = form.IntegerOr("maxnums", 45);
    const int combLen = form.IntegerOr("comblen", 6);
    if (combLen != 6) return;
    QSqlQuery q =
        Run(m_db,
            QStringLiteral("SELECT id, nums, olap, csize, title, descr, author, owner_mail, url, created, "
                           "last_download, downloads FROM systems WHERE nums <= ? ORDER BY id"),
            {maxNums});
    while (q.next()) {
        out.Row();
        out.Int("id", q.value(0).toLongLong());
        out.Int("nums", q.value(1).toLongLong());
        out.Int("olap", q.value(2).toLongLong());
        out.Int("csize", q.value(3).toLongLong());
        out.B64("title", q.value(4).toString());
        out.B64("descr", q.value(5).toString());
        out.Utf8("author", q.value(6).toString());
        out.Utf8("cl_mail", q.value(7).toString());
        out.Utf8("url", q.value(8).toString());
        out.Utf8("created", q.value(9).toString());
        out.Utf8("last_download", q.value(10).toString());
        out.Int("downloads", q.value(11).toLongLong());
    }
}

void TCatalogueService::SystemData(const TForm &form, TReplyWriter &out) {
    const int id = form.Integer("sys_id");
    TTransaction t(m_db);
    QSqlQuery q = Run(m_db, QStringLiteral("SELECT content FROM systems WHERE id = ?"), {id});
    if (!q.next()) throw EError(Format(QStringLiteral("Система #%d не найдена"), {id}));
    const QString content = q.value(0).toString();
    Run(m_db, QStringLiteral("UPDATE systems SET downloads = downloads + 1, last_download = ? WHERE id = ?"),
        {Now(), id});
    t.Commit();
    out.Row();
    out.B64("clist", content);
}

void TCatalogueService::SystemPut(const TForm &form, TReplyWriter &out) {
    const int deletion = form.Integer("del_mode");
    if (deletion != 0 && deletion != 1) throw EError(QStringLiteral("Поле \"del_mode\": ожидается 0 или 1"));
    const int id = form.Integer("sys_id");
    TTransaction t(m_db);
    const QString mail = Owner(form);
    QString entryOwner;
    if (id > 0) {
        QSqlQuery q = Run(m_db, QStringLiteral("SELECT owner_mail FROM systems WHERE id = ?"), {id});
        if (!q.next()) throw EError(Format(QStringLiteral("Система #%d не найдена"), {id}));
        if (q.value(0).toString().toLower() != mail)
            throw EError(QStringLiteral("Изменять и удалять можно только свои системы"));
    }
    if (deletion) {
        if (id <= 0) throw EError(QStringLiteral("Не указана удаляемая система"));
        Run(m_db, QStringLiteral("DELETE FROM systems WHERE id = ?"), {id});
        t.Commit();
        out.Row();
        out.Int("id_systems", 0);
        return;
    }
    const int nums = form.Integer("nums");
    const int olap = form.Integer("olap");
    const int csize = form.Integer("csize");
    if (form.Integer("clen") != 6) throw EError(QStringLiteral("Поле \"clen\": ожидается 6"));
    if (nums < 7 || nums > 45) throw EError(QStringLiteral("Поле \"nums\": ожидается число от 7 до 45"));
    if (olap < 0 || olap > 5) throw EError(QStringLiteral("Поле \"olap\": ожидается число от 0 до 5"));
    if (csize < 1 || csize > 1000000)
        throw EError(QStringLiteral("Поле \"csize\": ожидается число от 1 до 1000000"));
    const QString title = form.Escaped("title", MaxTitle);
    if (title.isEmpty()) throw EError(QStringLiteral("Не указано название системы"));
    const QString descr = form.Escaped("descr", MaxDescription);
    const QString author = PlainText(form.Escaped("cl_name", MaxName), "cl_name");
    const QString url = PlainText(form.Plain("url", MaxUrl), "url");
    QByteArray escaped;
    try {
        escaped = FromBase64(form.Raw("clist"));
    } catch (const EError &) {
        throw EError(QStringLiteral("Поле \"clist\": ожидается Base64"));
    }
    if (escaped.size() > 2 * MaxContent)
        throw EError(QStringLiteral("Поле \"clist\": слишком большая система"));
    const QString content = FromCp1251(CatalogueUnescape(escaped)).trimmed();
    if (content.isEmpty()) throw EError(QStringLiteral("Не указано содержимое системы"));
    const QString now = Now();
    int result = id;
    if (id > 0) {
        Run(m_db,
            QStringLiteral("UPDATE systems SET nums = ?, olap = ?, csize = ?, title = ?, descr = ?, author = "
                           "?, url = ?, "
                           "content = ?, created = ? WHERE id = ?"),
            {nums, olap, csize, title, descr, author, url, content, now, id});
    } else {
        QSqlQuery q = Run(
            m_db,
            QStringLiteral("INSERT INTO systems(nums, olap, csize, title, descr, author, owner_mail, url, "
                           "content, created) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            {nums, olap, csize, title, descr, author, mail, url, content, now});
        result = q.lastInsertId().toInt();
    }
    t.Commit();
    out.Row();
    out.Int("id_systems", result);
}

// ---- scripts --------------------------------------------------------------------------------------

void TCatalogueService::ScriptList(const TForm &form, TReplyWriter &out) {
    const int filter = form.Integer("fltid");
    if (filter < -1 || filter > 6) throw EError(Format(QStringLiteral("Неизвестный фильтр %d"), {filter}));
    const QString mail = form.Escaped("cl_mail", MaxMail).toLower();
    // Private scripts show only to the installation that owns the e-mail.
    const bool owner = KeyMatches(mail, form.Raw("cl_key").trimmed());
    const QString since = CatalogueDateText(m_now().addSecs(-24 * 3600));
    QSqlQuery q =
        Run(m_db,
            QStringLiteral(
                "SELECT s.id, s.app_name, s.app_ver, s.author, s.owner_mail, s.lcid, s.universal, s.public, "
                "s.created, "
                "s.last_download, (SELECT AVG(rate) FROM rates r WHERE r.script_id = s.id AND r.rate > 0), "
                "(SELECT COUNT(*) FROM rates r WHERE r.script_id = s.id AND r.rate > 0), "
                "COALESCE((SELECT rate FROM rates r WHERE r.script_id = s.id AND r.mail = ?), 0), "
                "s.downloads, s.title, "
                "s.descr, s.app_guid FROM scripts s WHERE (s.public <> 0 OR (? AND s.owner_mail = ?)) ORDER "
                "BY s.id"),
            {mail, owner ? 1 : 0, mail});
    while (q.next()) {
        const int you = q.value(12).toInt();
        const bool mine = owner && q.value(4).toString() == mail;
        const bool hidden = you == -1;
        bool shown = false;
        switch (filter) {
        case -1:
            shown = hidden;
            break;
        case 0:
            shown = true;
            break;
        case 1:
            shown = !hidden;
            break;
        case 2:
            shown = mine;
            break;
        case 3:
            shown = q.value(7).toInt() != 0 && !hidden;
            break;
        case 4:
            shown = you > 0;
            break;
        case 5:
            shown = you == 0;
            break;
        case 6:
            shown = q.value(8).toString() >= since && !hidden;
            break;
        }
        if (!shown) continue;
        out.Row();
        out.Int("id", q.value(0).toLongLong());
        out.Ansi("app_name", q.value(1).toString());
        out.Ansi("app_ver", q.value(2).toString());
        out.Utf8("key_cl_name", q.value(3).toString());
        out.Utf8("key_cl_mail", q.value(4).toString());
        out.Int("key_cl_lcid", q.value(5).toLongLong());
        out.Int("uniapps", q.value(6).toLongLong());
        out.Int("publics", q.value(7).toLongLong());
        out.Utf8("created", q.value(8).toString());
        out.Utf8("last_download", q.value(9).toString());
        out.Bytes("rating_avg", QByteArray::number(q.value(10).toDouble(), 'f', 4));
        out.Int("rating_cnt", q.value(11).toLongLong());
        out.Int("rating_you", you);
        out.Int("downloads", q.value(13).toLongLong());
        out.B64("title", q.value(14).toString());
        out.B64("descr", q.value(15).toString());
        out.Ansi("app_guid", q.value(16).toString());
    }
}

void TCatalogueService::ScriptData(const TForm &form, TReplyWriter &out) {
    const int id = form.Integer("scr_id");
    TTransaction t(m_db);
    QSqlQuery q = Run(m_db, QStringLiteral("SELECT script FROM scripts WHERE id = ?"), {id});
    if (!q.next()) throw EError(Format(QStringLiteral("Сценарий #%d не найден"), {id}));
    const QString script = q.value(0).toString();
    Run(m_db, QStringLiteral("UPDATE scripts SET downloads = downloads + 1, last_download = ? WHERE id = ?"),
        {Now(), id});
    t.Commit();
    out.Row();
    out.B64("script", script);
}

void TCatalogueService::ScriptRate(const TForm &form, TReplyWriter &out) {
    const int id = form.Integer("scr_id");
    const int value = form.Integer("rate_value");
    const QString notes = PlainText(form.Escaped("rate_notes", MaxNotes), "rate_notes");
    const QString name = PlainText(form.Escaped("cl_name", MaxName), "cl_name");
    const QString appId = PlainText(form.Plain("appid", MaxName), "appid");
    const QString appVer = PlainText(form.Plain("appver", MaxName), "appver");
    TTransaction t(m_db);
    const QString mail = Owner(form);
    int code = 0;
    if (value < -1 || value > 5) {
        code = -2;
    } else if (!Run(m_db, QStringLiteral("SELECT 1 FROM scripts WHERE id = ?"), {id}).next()) {
        code = -1;
    } else if (value == 0) {
        Run(m_db, QStringLiteral("DELETE FROM rates WHERE script_id = ? AND mail = ?"), {id, mail});
    } else {
        Run(m_db,
            QStringLiteral(
                "INSERT INTO rates(script_id, mail, name, rate, notes, app_name, app_ver, created) "
                "VALUES(?, ?, ?, ?, ?, ?, ?, ?) ON CONFLICT(script_id, mail) DO UPDATE SET name = "
                "excluded.name, rate = excluded.rate, notes = excluded.notes, app_name = excluded.app_name, "
                "app_ver = excluded.app_ver, created = excluded.created"),
            {id, mail, name, value, notes, AppName(appId), appVer, Now()});
    }
    t.Commit();
    out.Row();
    out.Int("res_code", code);
}

bool TCatalogueService::TitleTaken(int id, const QString &title) const {
    QSqlQuery q = Run(m_db, QStringLiteral("SELECT id, title FROM scripts WHERE id <> ?"), {id});
    while (q.next())
        if (q.value(1).toString().compare(title, Qt::CaseInsensitive) == 0) return true;
    return false;
}

void TCatalogueService::ScriptTitle(const TForm &form, TReplyWriter &out) {
    const int id = form.Integer("scr_id");
    const QString title = form.Escaped("scr_title", MaxTitle);
    out.Row();
    out.Int("ret_code", title.isEmpty() || TitleTaken(id, title) ? 1 : 0);
}

void TCatalogueService::ScriptPut(const TForm &form, TReplyWriter &out) {
    const int deletion = form.Integer("del_mode");
    if (deletion != 0 && deletion != 1) throw EError(QStringLiteral("Поле \"del_mode\": ожидается 0 или 1"));
    const int id = form.Integer("scr_id");
    TTransaction t(m_db);
    const QString mail = Owner(form);
    if (id > 0) {
        QSqlQuery q = Run(m_db, QStringLiteral("SELECT owner_mail FROM scripts WHERE id = ?"), {id});
        if (!q.next()) throw EError(Format(QStringLiteral("Сценарий #%d не найден"), {id}));
        if (q.value(0).toString().toLower() != mail)
            throw EError(QStringLiteral("Изменять и удалять можно только свои сценарии"));
    }
    if (deletion) {
        if (id <= 0) throw EError(QStringLiteral("Не указан удаляемый сценарий"));
        Run(m_db, QStringLiteral("DELETE FROM scripts WHERE id = ?"), {id});
        t.Commit();
        out.Row();
        out.Int("id_scripts", 0);
        return;
    }
    const QString title = form.Escaped("scr_title", MaxTitle);
    if (title.isEmpty()) throw EError(QStringLiteral("Не указано название сценария"));
    if (TitleTaken(id, title)) throw EError(QStringLiteral("Сценарий с таким названием уже существует"));
    const QString descr = form.Escaped("scr_descr", MaxDescription);
    const QString script = form.Escaped("scr_script", MaxContent);
    if (script.isEmpty()) throw EError(QStringLiteral("Не указан текст сценария"));
    const QString author = PlainText(form.Escaped("cl_name", MaxName), "cl_name");
    const QString appId = PlainText(form.Plain("appid", MaxName), "appid");
    const QString appVer = PlainText(form.Plain("appver", MaxName), "appver");
    const int universal = form.Integer("scr_uniapps") > 0 ? 1 : 0;
    const int isPublic = form.Integer("scr_publics") > 0 ? 1 : 0;
    const int lcid = form.IntegerOr("cl_lcid", 1049);
    const QString now = Now();
    int result = id;
    if (id > 0) {
        Run(m_db,
            QStringLiteral(
                "UPDATE scripts SET app_guid = ?, app_name = ?, app_ver = ?, author = ?, lcid = ?, "
                "universal = ?, public = ?, title = ?, descr = ?, script = ?, created = ? WHERE id = ?"),
            {appId, AppName(appId), appVer, author, lcid, universal, isPublic, title, descr, script, now,
             id});
    } else {
        QSqlQuery q =
            Run(m_db,
                QStringLiteral("INSERT INTO scripts(app_guid, app_name, app_ver, author, owner_mail, lcid, "
                               "universal, public, title, descr, script, created) "
                               "VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                {appId, AppName(appId), appVer, author, mail, lcid, universal, isPublic, title, descr, script,
                 now});
        result = q.lastInsertId().toInt();
    }
    t.Commit();
    out.Row();
    out.Int("id_scripts", result);
}

void TCatalogueService::ScriptRates(const TForm &form, TReplyWriter &out) {
    const int id = form.Integer("scr_id");
    QSqlQuery q = Run(m_db,
                      QStringLiteral("SELECT name, rate, created, app_name, app_ver, notes FROM rates "
                                     "WHERE script_id = ? AND rate > 0 ORDER BY created, rowid"),
                      {id});
    while (q.next()) {
        out.Row();
        out.Ansi("key_cl_name", q.value(0).toString());
        out.Int("rate", q.value(1).toLongLong());
        out.Utf8("created", q.value(2).toString());
        out.Ansi("app_name", q.value(3).toString());
        out.Ansi("app_ver", q.value(4).toString());
        out.Ansi("notes", q.value(5).toString());
    }
}

} // namespace lot::server
