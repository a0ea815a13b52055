#pragma once
/// @file TCatalogueService: the catalogue server's answers to every call of the catalogue
/// client, over an SQLite database. Each call takes the form body and gives the reply body;
/// nothing a request holds can make it fail other than with an error row, and every change
/// runs in one transaction, so the database is never left half changed.
///
/// Ownership: an entry belongs to the e-mail that published it, and an e-mail belongs to the
/// installation key ("cl_key") first seen with it. Changes, deletions and ratings with another
/// key, or without one, are refused, and private scripts are listed only to their owner.

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QSqlDatabase>
#include <QString>

#include <functional>

namespace lot::server {

class TForm;
class TReplyWriter;

class TCatalogueService {
public:
    /// Opens (creating and migrating) the database file; raises EError when it cannot.
    explicit TCatalogueService(const QString &databaseFile);
    ~TCatalogueService();
    TCatalogueService(const TCatalogueService &) = delete;
    TCatalogueService &operator=(const TCatalogueService &) = delete;

    /// The paths the service answers.
    static QStringList Paths();
    /// The reply to a call: path as "/scripts/sys_getlist.php", body the form. An unknown path
    /// or a bad request gives a reply with an error row.
    QByteArray Handle(const QString &path, const QByteArray &body);

    /// Forgets the installation key tied to mail; false when none was.
    bool ReleaseMail(const QString &mail);
    /// The application name shown for scripts written by the program with identifier appId.
    void AddApplication(const QString &appId, const QString &name);
    /// The server's clock (tests move it).
    void SetClock(std::function<QDateTime()> now) { m_now = std::move(now); }

    /// The reply of one error row.
    static QByteArray ErrorReply(const QString &text);

private:
    void Migrate();
    QString Now() const;
    QString AppName(const QString &appId) const;
    /// The e-mail of the request, lower-cased, after its key was checked: a new e-mail is tied
    /// to the key. Raises when either is missing or the key is another's.
    QString Owner(const TForm &form);
    /// The e-mail is the request's and its key the one tied to it (no tying).
    bool KeyMatches(const QString &mail, const QByteArray &key) const;

    void SystemList(const TForm &form, TReplyWriter &out);
    void SystemData(const TForm &form, TReplyWriter &out);
    void SystemPut(const TForm &form, TReplyWriter &out);
    void ScriptList(const TForm &form, TReplyWriter &out);
    void ScriptData(const TForm &form, TReplyWriter &out);
    void ScriptRate(const TForm &form, TReplyWriter &out);
    void ScriptTitle(const TForm &form, TReplyWriter &out);
    void ScriptPut(const TForm &form, TReplyWriter &out);
    void ScriptRates(const TForm &form, TReplyWriter &out);
    /// Another script (not id) has this title, ignoring case.
    bool TitleTaken(int id, const QString &title) const;

    QString m_connection;
    QSqlDatabase m_db;
    QHash<QString, QString> m_apps; ///< application id (lower case) -> name
    std::function<QDateTime()> m_now;
};

} // namespace lot::server
