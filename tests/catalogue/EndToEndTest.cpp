// Every call of the client against the real catalogue server program on 127.0.0.1 (HTTPS with
// the test certificate).

#include "CatalogueServerProcess.h"

#include "catalogue/CatalogueClient.h"
#include "core/Codec1251.h"
#include "core/Errors.h"

#include <gtest/gtest.h>

#include <QNetworkProxy>
#include <QSet>
#include <QTemporaryDir>
#include <QUrl>

namespace lot {
namespace {

using test::TServerProcess;

class CatalogueEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_server = std::make_unique<TServerProcess>(Database());
        ASSERT_FALSE(m_server->Url().isEmpty()) << m_server->Errors().toStdString();
        m_alice = m_server->Client(QStringLiteral("Алиса"), QStringLiteral("alice@example.org"),
                                   QStringLiteral("key-alice"));
        m_bob = m_server->Client(QStringLiteral("Боб"), QStringLiteral("Bob@Example.org"),
                                 QStringLiteral("key-bob"));
    }
    QString Database() const { return m_dir.filePath(QStringLiteral("catalogue.sqlite")); }

    tScriptData NewScript(const QString &title, const QString &author, bool isPublic = true) {
        tScriptData d;
        d.Id = -1;
        d.AuthorName = author;
        d.Lcid = 1049;
        d.Public = isPublic;
        d.Title = title;
        d.Description = QStringLiteral("Описание \"") + title + QStringLiteral("\"\r\nвторая строка");
        return d;
    }
    static QSet<int32_t> Ids(const QList<tScriptInfo> &list) {
        QSet<int32_t> ids;
        for (const tScriptInfo &s : list)
            ids.insert(s.Id);
        return ids;
    }
    static const tScriptInfo *Find(const QList<tScriptInfo> &list, int32_t id) {
        for (const tScriptInfo &s : list)
            if (s.Id == id) return &s;
        return nullptr;
    }
    static QString ErrorOf(const std::function<void()> &call) {
        try {
            call();
        } catch (const EError &e) {
            return e.Message();
        }
        return {};
    }

    QTemporaryDir m_dir;
    std::unique_ptr<TServerProcess> m_server;
    std::unique_ptr<TCatalogueClient> m_alice, m_bob;
};

const QString ScriptText = QStringLiteral("FULL:0#FIRST|TSD1#NUMS:100,200#LMV:1-3;1| | | | | | |\r\n"
                                          "Комментарий 'в кавычках' \"и\" вопрос?|RAND| | | | | | |\r\n");

TEST_F(CatalogueEndToEnd, PublishListDownloadAndDeleteAScript) {
    const int32_t id =
        m_alice->SaveScript(NewScript(QStringLiteral("Первый"), QStringLiteral("Алиса")), ScriptText);
    ASSERT_GT(id, 0);

    const QList<tScriptInfo> list = m_alice->ListScripts(1);
    const tScriptInfo *s = Find(list, id);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->Title, QStringLiteral("Первый"));
    EXPECT_EQ(s->Description, QStringLiteral("Описание \"Первый\"\r\nвторая строка"));
    EXPECT_EQ(s->AuthorName, QStringLiteral("Алиса"));
    EXPECT_EQ(s->AuthorMail, QStringLiteral("alice@example.org"));
    EXPECT_EQ(s->AppName, TCatalogueClient::AppName());
    EXPECT_EQ(s->AppVersion, TCatalogueClient::AppVersion());
    EXPECT_EQ(s->Lcid, 1049);
    EXPECT_TRUE(s->Public);
    EXPECT_FALSE(s->Universal);
    EXPECT_TRUE(s->Mine && s->Compatible && s->Editable);
    EXPECT_TRUE(s->Created.isValid());
    EXPECT_LE(qAbs(s->Created.secsTo(QDateTime::currentDateTime())), 120);
    EXPECT_FALSE(s->LastDownload.isValid());
    EXPECT_EQ(s->Downloads, 0);

    // Bob sees it as another's, and downloading it counts.
    const tScriptInfo *seen = Find(m_bob->ListScripts(1), id);
    ASSERT_NE(seen, nullptr);
    EXPECT_FALSE(seen->Mine || seen->Editable);
    EXPECT_TRUE(seen->Compatible);
    EXPECT_EQ(m_bob->ScriptText(id), ScriptText.trimmed());
    const tScriptInfo *after = Find(m_bob->ListScripts(1), id);
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(after->Downloads, 1);
    EXPECT_TRUE(after->LastDownload.isValid());

    // Changing it keeps the id.
    tScriptData changed = NewScript(QStringLiteral("Первый, исправленный"), QStringLiteral("Алиса"));
    changed.Id = id;
    changed.Universal = true;
    EXPECT_EQ(m_alice->SaveScript(changed, QStringLiteral("FULL:0#ALL| | | | | | | |")), id);
    EXPECT_EQ(m_bob->ScriptText(id), QStringLiteral("FULL:0#ALL| | | | | | | |"));
    EXPECT_TRUE(Find(m_bob->ListScripts(1), id)->Universal);

    EXPECT_EQ(m_alice->DeleteScript(changed), 0);
    EXPECT_TRUE(m_alice->ListScripts(0).isEmpty());
    EXPECT_FALSE(ErrorOf([&] { m_alice->ScriptText(id); }).isEmpty());
}

TEST_F(CatalogueEndToEnd, TitleCheckIgnoresCaseAndTheScriptItself) {
    const int32_t id =
        m_alice->SaveScript(NewScript(QStringLiteral("Сумма"), QStringLiteral("Алиса")), ScriptText);
    ASSERT_GT(id, 0);
    EXPECT_FALSE(m_bob->TitleIsFree(-1, QStringLiteral("СУММА")));
    EXPECT_TRUE(m_bob->TitleIsFree(-1, QStringLiteral("Сумма 2")));
    EXPECT_TRUE(m_alice->TitleIsFree(id, QStringLiteral("сумма")));
    // The server refuses the taken title even when the check was skipped.
    EXPECT_FALSE(ErrorOf([&] {
                     m_bob->SaveScript(NewScript(QStringLiteral("сУММА"), QStringLiteral("Боб")), ScriptText);
                 }).isEmpty());
}

TEST_F(CatalogueEndToEnd, RateCommentHideAndTakeBack) {
    const int32_t id =
        m_alice->SaveScript(NewScript(QStringLiteral("Оцениваемый"), QStringLiteral("Алиса")), ScriptText);
    ASSERT_GT(id, 0);
    EXPECT_EQ(m_bob->RateScript(id, 4, QStringLiteral("Хорошо, но \"медленно\"")), 0);
    EXPECT_EQ(m_alice->RateScript(id, 2, QString()), 0);

    const tScriptInfo *s = Find(m_bob->ListScripts(1), id);
    ASSERT_NE(s, nullptr);
    EXPECT_DOUBLE_EQ(s->RatingAvg, 3.0);
    EXPECT_EQ(s->RatingCount, 2);
    EXPECT_EQ(s->RatingYou, 4);

    const QList<tScriptRate> rates = m_alice->ScriptRates(id);
    ASSERT_EQ(rates.size(), 2);
    EXPECT_EQ(rates[0].Name, QStringLiteral("Боб"));
    EXPECT_EQ(rates[0].Rate, 4);
    EXPECT_EQ(rates[0].Notes, QStringLiteral("Хорошо, но \"медленно\""));
    EXPECT_EQ(rates[0].AppName, TCatalogueClient::AppName());
    EXPECT_TRUE(rates[0].Created.isValid());

    // Hidden: only the hidden filter shows it, and the hiding is no rating.
    EXPECT_EQ(m_bob->RateScript(id, -1, QString()), 0);
    EXPECT_FALSE(Ids(m_bob->ListScripts(1)).contains(id));
    const tScriptInfo *hidden = Find(m_bob->ListScripts(-1), id);
    ASSERT_NE(hidden, nullptr);
    EXPECT_EQ(hidden->RatingYou, -1);
    EXPECT_EQ(hidden->RatingCount, 1);

    EXPECT_EQ(m_bob->RateScript(id, 0, QString()), 0);
    EXPECT_EQ(Find(m_bob->ListScripts(1), id)->RatingYou, 0);
    EXPECT_EQ(m_alice->ScriptRates(id).size(), 1);

    EXPECT_EQ(ErrorOf([&] { m_bob->RateScript(id, 9, QString()); }), QStringLiteral("Код возврата: -2"));
    EXPECT_EQ(ErrorOf([&] { m_bob->RateScript(id + 100, 3, QString()); }),
              QStringLiteral("Код возврата: -1"));
}

TEST_F(CatalogueEndToEnd, EveryFilterOfTheList) {
    const auto publish = [](TCatalogueClient &c, const QString &title, bool isPublic) {
        tScriptData d;
        d.AuthorName = c.Settings().UserName;
        d.Lcid = 1049;
        d.Public = isPublic;
        d.Title = title;
        return c.SaveScript(d, ScriptText);
    };
    const int32_t rated = publish(*m_alice, QStringLiteral("rated"), true);
    const int32_t hidden = publish(*m_alice, QStringLiteral("hidden"), true);
    const int32_t mine = publish(*m_bob, QStringLiteral("mine"), true);
    const int32_t minePrivate = publish(*m_bob, QStringLiteral("mine private"), false);
    const int32_t othersPrivate = publish(*m_alice, QStringLiteral("others private"), false);
    const int32_t unrated = publish(*m_alice, QStringLiteral("unrated"), true);
    m_bob->RateScript(rated, 3, QString());
    m_bob->RateScript(hidden, -1, QString());

    const struct {
        int Filter;
        QSet<int32_t> Ids;
    } cases[] = {
        {-1, {hidden}},
        {0, {rated, hidden, mine, minePrivate, unrated}},
        {1, {rated, mine, minePrivate, unrated}},
        {2, {mine, minePrivate}},
        {3, {rated, mine, unrated}},
        {4, {rated}},
        {5, {mine, minePrivate, unrated}},
        {6, {rated, mine, minePrivate, unrated}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Ids(m_bob->ListScripts(c.Filter)), c.Ids) << c.Filter;
    EXPECT_EQ(Ids(m_alice->ListScripts(2)), (QSet<int32_t>{rated, hidden, othersPrivate, unrated}));
    // Bob's e-mail with another key does not see Bob's private script.
    auto impostor =
        m_server->Client(QStringLiteral("Боб"), QStringLiteral("bob@example.org"), QStringLiteral("other"));
    EXPECT_FALSE(Ids(impostor->ListScripts(0)).contains(minePrivate));
    EXPECT_FALSE(ErrorOf([&] { m_bob->ListScripts(7); }).isEmpty());
}

tSystemData NewSystem() {
    tSystemData d;
    d.Info.Id = 0;
    d.Info.Nums = 10;
    d.Info.Block = 3;
    d.Info.CSize = 3;
    d.Info.Title = QStringLiteral("Система \"10/3\"");
    d.Info.Author = QStringLiteral("Алиса");
    d.Info.OwnerMail = QStringLiteral("alice@example.org");
    d.Info.Description = QStringLiteral("Три комбинации?\r\nДа.");
    d.Info.Url = QStringLiteral("https://example.org/систем?a=1&b=2");
    d.Content = QStringLiteral("01 02 03 04 05 06\r\n05 06 07 08 09 10\r\n01 03 05 07 09 10");
    return d;
}

TEST_F(CatalogueEndToEnd, ASystemSavedListedFetchedChangedAndDeleted) {
    tSystemData d = NewSystem();
    const int32_t id = m_alice->SaveSystem(d, false);
    ASSERT_GT(id, 0);

    const QList<tSystemInfo> list = m_bob->ListSystems();
    ASSERT_EQ(list.size(), 1);
    const tSystemInfo &s = list[0];
    EXPECT_EQ(s.Id, id);
    EXPECT_EQ(s.Nums, 10);
    EXPECT_EQ(s.Block, 3);
    EXPECT_EQ(s.CSize, 3);
    EXPECT_EQ(s.Title, d.Info.Title);
    EXPECT_EQ(s.Author, d.Info.Author);
    EXPECT_EQ(s.OwnerMail, d.Info.OwnerMail);
    EXPECT_EQ(s.Description, d.Info.Description);
    EXPECT_EQ(s.Url, d.Info.Url);
    EXPECT_TRUE(s.Created.isValid());
    EXPECT_EQ(s.Downloads, 0);
    EXPECT_TRUE(SystemIsOwn(s, m_alice->Settings().UserMail));
    EXPECT_FALSE(SystemIsOwn(s, m_bob->Settings().UserMail));

    EXPECT_EQ(m_bob->SystemContent(id), d.Content);
    EXPECT_EQ(m_bob->ListSystems()[0].Downloads, 1);
    EXPECT_TRUE(m_bob->ListSystems()[0].LastDownload.isValid());

    d.Info.Id = id;
    d.Info.CSize = 1;
    d.Content = QStringLiteral("01 02 03 04 05 06");
    EXPECT_EQ(m_alice->SaveSystem(d, false), id);
    EXPECT_EQ(m_bob->SystemContent(id), d.Content);

    EXPECT_EQ(m_alice->SaveSystem(d, true), 0);
    EXPECT_TRUE(m_bob->ListSystems().isEmpty());
}

TEST_F(CatalogueEndToEnd, NobodyChangesAnothersEntries) {
    tSystemData d = NewSystem();
    d.Info.Id = m_alice->SaveSystem(d, false);
    const int32_t script =
        m_alice->SaveScript(NewScript(QStringLiteral("Чужой"), QStringLiteral("Алиса")), ScriptText);
    ASSERT_GT(d.Info.Id, 0);
    ASSERT_GT(script, 0);

    // Bob with his own e-mail: not his entries.
    tSystemData asBob = d;
    asBob.Info.OwnerMail = m_bob->Settings().UserMail;
    EXPECT_FALSE(ErrorOf([&] { m_bob->SaveSystem(asBob, true); }).isEmpty());
    // Bob sending Alice's e-mail: his key is not hers.
    EXPECT_FALSE(ErrorOf([&] { m_bob->SaveSystem(d, true); }).isEmpty());
    EXPECT_FALSE(ErrorOf([&] { m_bob->SaveSystem(d, false); }).isEmpty());
    auto impostor = m_server->Client(QStringLiteral("Алиса"), QStringLiteral("ALICE@example.org"),
                                     QStringLiteral("guess"));
    tScriptData s = NewScript(QStringLiteral("Чужой"), QStringLiteral("Алиса"));
    s.Id = script;
    EXPECT_FALSE(ErrorOf([&] { impostor->DeleteScript(s); }).isEmpty());
    EXPECT_FALSE(ErrorOf([&] { impostor->SaveScript(s, QStringLiteral("CLR")); }).isEmpty());
    EXPECT_FALSE(ErrorOf([&] { impostor->RateScript(script, 5, QString()); }).isEmpty());
    // A client without a key changes nothing.
    auto keyless =
        m_server->Client(QStringLiteral("Кто-то"), QStringLiteral("someone@example.org"), QString());
    EXPECT_FALSE(ErrorOf([&] {
                     keyless->SaveScript(NewScript(QStringLiteral("Без ключа"), QStringLiteral("Кто-то")),
                                         ScriptText);
                 }).isEmpty());

    EXPECT_EQ(m_bob->ListSystems().size(), 1);
    EXPECT_EQ(m_bob->ScriptText(script), ScriptText.trimmed());
    EXPECT_EQ(m_alice->ScriptRates(script).size(), 0);
}

TEST_F(CatalogueEndToEnd, ARestartKeepsEverything) {
    const int32_t system = m_alice->SaveSystem(NewSystem(), false);
    const int32_t script =
        m_alice->SaveScript(NewScript(QStringLiteral("Вечный"), QStringLiteral("Алиса")), ScriptText);
    m_bob->RateScript(script, 5, QStringLiteral("Отлично"));
    m_server->Stop();

    m_server = std::make_unique<TServerProcess>(Database());
    ASSERT_FALSE(m_server->Url().isEmpty()) << m_server->Errors().toStdString();
    auto alice = m_server->Client(QStringLiteral("Алиса"), QStringLiteral("alice@example.org"),
                                  QStringLiteral("key-alice"));
    auto bob =
        m_server->Client(QStringLiteral("Боб"), QStringLiteral("bob@example.org"), QStringLiteral("key-bob"));
    ASSERT_EQ(alice->ListSystems().size(), 1);
    EXPECT_EQ(alice->ListSystems()[0].Id, system);
    EXPECT_EQ(alice->SystemContent(system), NewSystem().Content);
    const tScriptInfo *s = Find(bob->ListScripts(1), script);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->RatingYou, 5);
    EXPECT_EQ(bob->ScriptRates(script).value(0).Notes, QStringLiteral("Отлично"));
    // The keys survive too: Alice still owns her entries, nobody else does.
    auto impostor =
        m_server->Client(QStringLiteral("Алиса"), QStringLiteral("alice@example.org"), QStringLiteral("new"));
    EXPECT_FALSE(ErrorOf([&] { impostor->SaveSystem(NewSystem(), false); }).isEmpty());
    tSystemData d = NewSystem();
    d.Info.Id = system;
    EXPECT_EQ(alice->SaveSystem(d, true), 0);
}

TEST_F(CatalogueEndToEnd, FieldsAreSentInTheirOrder) {
    const auto names = [](const TFormFields &fields) {
        QStringList list;
        for (const TFormField &f : fields)
            list << QString::fromLatin1(f.first);
        return list.join(QLatin1Char(','));
    };
    const QString identity = QStringLiteral("appid,appver,cl_name,cl_mail,cl_lcid,cl_key");
    tScriptData d = NewScript(QStringLiteral("a\"b\r\nc"), QStringLiteral("Алиса"));
    const int32_t id = m_alice->SaveScript(d, ScriptText);
    EXPECT_EQ(names(m_alice->LastForm()),
              QStringLiteral("del_mode,scr_id,scr_uniapps,scr_publics,scr_title,scr_descr,scr_script,") +
                  identity);
    EXPECT_EQ(m_alice->LastForm()[4].second, QByteArray("a\\\"b\\r\\nc"));
    EXPECT_EQ(m_alice->LastForm()[1].second, QByteArray("-1"));
    d.Id = id;
    m_alice->DeleteScript(d);
    EXPECT_EQ(names(m_alice->LastForm()),
              QStringLiteral("del_mode,scr_id,scr_uniapps,scr_publics,scr_title,scr_descr,") + identity);
    EXPECT_EQ(m_alice->LastForm()[0].second, QByteArray("1"));
    m_alice->ListScripts(2);
    EXPECT_EQ(names(m_alice->LastForm()), QStringLiteral("fltid,") + identity);
    EXPECT_EQ(m_alice->LastForm()[0].second, QByteArray("2"));
    m_alice->ListSystems();
    EXPECT_EQ(names(m_alice->LastForm()), QStringLiteral("comblen,maxnums,") + identity);
    m_alice->SaveSystem(NewSystem(), false);
    EXPECT_EQ(names(m_alice->LastForm()),
              QStringLiteral("del_mode,sys_id,nums,clen,olap,title,descr,csize,clist,url,") + identity);
    EXPECT_EQ(m_alice->LastForm()[8].second, Base64(CatalogueEscape(NewSystem().Content)));
    EXPECT_EQ(m_alice->LastForm()[9].second, ToCp1251(NewSystem().Info.Url));
    ErrorOf([&] { m_alice->RateScript(12345, 3, QString()); });
    EXPECT_EQ(names(m_alice->LastForm()), QStringLiteral("scr_id,rate_value,rate_notes,") + identity);
    EXPECT_EQ(m_alice->LastForm()[1].second, QByteArray("3"));
    EXPECT_EQ(m_alice->LastForm()[2].second, QByteArray());
    m_alice->TitleIsFree(-1, QStringLiteral("x"));
    EXPECT_EQ(names(m_alice->LastForm()), QStringLiteral("scr_id,scr_title"));
}

} // namespace
} // namespace lot

namespace lot {
namespace {

TEST_F(CatalogueEndToEnd, AnOversizedRequestIsCutAndTheServerGoesOn) {
    // Past the largest request a form may be: the connection is cut while it arrives.
    const TFormFields fields{{"scr_id", "1"}, {"scr_title", QByteArray(17 * 1024 * 1024, 'x')}};
    THttpClient http;
    http.SetCaFile(test::TestCaFile());
    EXPECT_THROW(http.PostForm(QUrl(m_server->Url() + QStringLiteral("/scripts/scr_chktitle.php")),
                               FormBody(fields), QNetworkProxy(QNetworkProxy::NoProxy)),
                 EError);
    EXPECT_TRUE(m_alice->TitleIsFree(-1, QStringLiteral("x")));
}

} // namespace
} // namespace lot

namespace lot {
namespace {

TEST_F(CatalogueEndToEnd, AReleasedMailIsTiedToTheNextKeySeen) {
    const int32_t id = m_alice->SaveSystem(NewSystem(), false);
    ASSERT_GT(id, 0);
    m_server->Stop();
    QProcess release;
    release.start(QStringLiteral(CATALOGUE_SERVER_EXECUTABLE),
                  {QStringLiteral("--db"), Database(), QStringLiteral("--release-mail"),
                   QStringLiteral("Alice@example.org")});
    ASSERT_TRUE(release.waitForFinished(20000));
    EXPECT_EQ(release.exitCode(), 0);
    EXPECT_TRUE(release.readAllStandardOutput().contains("released"));

    m_server = std::make_unique<TServerProcess>(Database());
    ASSERT_FALSE(m_server->Url().isEmpty());
    // Alice's new installation owns her entries now; the old key is refused.
    auto renewed = m_server->Client(QStringLiteral("Алиса"), QStringLiteral("alice@example.org"),
                                    QStringLiteral("new-key"));
    tSystemData d = NewSystem();
    d.Info.Id = id;
    EXPECT_EQ(renewed->SaveSystem(d, false), id);
    auto old = m_server->Client(QStringLiteral("Алиса"), QStringLiteral("alice@example.org"),
                                QStringLiteral("key-alice"));
    EXPECT_FALSE(ErrorOf([&] { old->SaveSystem(d, true); }).isEmpty());
}

} // namespace
} // namespace lot
