// The client against replies a catalogue could send (a web server of the tests answering fixed
// bodies over HTTPS): what each call reads, refuses and sends in its headers.

#include "CatalogueServerProcess.h"

#include "catalogue/CatalogueClient.h"
#include "core/Errors.h"
#include "download/Compress.h"
#include "download/TestServers.h"

#include <gtest/gtest.h>

namespace lot {
namespace {

using test::TAnswer;
using test::TWebServer;

class ClientReplies : public ::testing::Test {
protected:
    void SetUp() override {
        test::EnsureApplication();
        m_web = std::make_unique<TWebServer>(true);
        TCatalogueSettings s;
        s.Url = m_web->Url() + QStringLiteral("/");
        s.CaFile = test::TestCaFile();
        s.UserName = QStringLiteral("Ира");
        s.UserMail = QStringLiteral("ira@example.org");
        s.ClientKey = QStringLiteral("k");
        m_client = std::make_unique<TCatalogueClient>(s);
    }
    void Answer(const char *path, const QByteArray &body, const QByteArray &encoding = {}) {
        TAnswer a;
        a.Body = body;
        if (!encoding.isEmpty()) a.Headers = {{"Content-Encoding", encoding}};
        m_web->Route(path, a);
    }
    std::unique_ptr<TWebServer> m_web;
    std::unique_ptr<TCatalogueClient> m_client;
};

const char *const SystemRow =
    "<row><id>7</id><nums>10</nums><olap>3</olap><csize>2</csize><title>0KI=</title>"
    "<descr></descr><author>A</author><cl_mail>a@b</cl_mail><url></url><created></created>"
    "<last_download></last_download><downloads>%1</downloads></row>";

TEST_F(ClientReplies, ASystemRowWithANonNumberFailsTheWholeList) {
    Answer("/scripts/sys_getlist.php", "<result>" + QByteArray(SystemRow).replace("%1", "x") + "</result>");
    const QList<tSystemInfo> list = m_client->ListSystems();
    ASSERT_EQ(list.size(), 1);
    EXPECT_EQ(list[0].Downloads, 0); // unreadable downloads read as 0
    EXPECT_EQ(list[0].Title, QStringLiteral("Т"));
    EXPECT_FALSE(list[0].Created.isValid());

    for (const QByteArray &bad :
         {QByteArray("<nums>1O</nums>"), QByteArray("<nums>46</nums>"), QByteArray("<nums></nums>")}) {
        QByteArray row = QByteArray(SystemRow).replace("%1", "1").replace("<nums>10</nums>", bad);
        Answer("/scripts/sys_getlist.php",
               "<result>" + QByteArray(SystemRow).replace("%1", "1") + row + "</result>");
        EXPECT_THROW(m_client->ListSystems(), EError) << bad.constData();
    }
}

TEST_F(ClientReplies, HeadersOfAFormCallAndACompressedReply) {
    Answer(
        "/scripts/scr_getdata.php",
        Compress("<result><row><x>1</x><script>QQ==</script></row><row><script>QkM=</script></row></result>",
                 test::TWrap::Gzip),
        "gzip");
    // The first row does not begin with the script element; the second gives the text.
    EXPECT_EQ(m_client->ScriptText(3), QStringLiteral("BC"));
    ASSERT_EQ(m_web->Seen().size(), 1);
    const auto &headers = m_web->Seen()[0].Headers;
    EXPECT_EQ(headers.value("accept"),
              QByteArray("text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8"));
    EXPECT_EQ(headers.value("accept-encoding"), QByteArray("gzip, deflate, sdch"));
    EXPECT_EQ(headers.value("content-type"), QByteArray("application/x-www-form-urlencoded"));
    EXPECT_TRUE(headers.value("user-agent").startsWith("Mozilla/5.0"));
    EXPECT_EQ(m_web->Seen()[0].Target, QByteArray("/scripts/scr_getdata.php"));
}

TEST_F(ClientReplies, RepliesOfTheOtherCalls) {
    Answer("/scripts/scr_setrate.php",
           "<result><row><res_code>0</res_code></row><row><res_code>-2</res_code></row></result>");
    try {
        m_client->RateScript(1, 3, QString());
        FAIL() << "no error";
    } catch (const EError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Код возврата: -2"));
    }
    Answer("/scripts/sys_putdata.php",
           "<result><row><id_systems>x</id_systems></row><row><id_systems>-5</id_systems>"
           "</row><row><id_systems>12</id_systems></row></result>");
    EXPECT_EQ(m_client->SaveSystem(tSystemData{}, false), 12);
    Answer("/scripts/sys_putdata.php", "<result></result>");
    EXPECT_EQ(m_client->SaveSystem(tSystemData{}, true), -1);
    Answer("/scripts/scr_chktitle.php", "<result><row><ret_code>1</ret_code></row></result>");
    EXPECT_FALSE(m_client->TitleIsFree(-1, QStringLiteral("t")));
    Answer("/scripts/scr_getlist.php", "<html>maintenance</html>");
    EXPECT_TRUE(m_client->ListScripts(1).isEmpty());
    Answer("/scripts/scr_getlist.php",
           "<result><row><id>4</id><key_cl_mail>IRA@example.org</key_cl_mail>"
           "<uniapps>0</uniapps><app_guid>{other}</app_guid><rating_avg>4,25</rating_avg>"
           "<rating_you>zz</rating_you></row></result>");
    const QList<tScriptInfo> list = m_client->ListScripts(1);
    ASSERT_EQ(list.size(), 1);
    EXPECT_TRUE(list[0].Mine);
    EXPECT_FALSE(list[0].Compatible);
    EXPECT_FALSE(list[0].Editable);
    EXPECT_DOUBLE_EQ(list[0].RatingAvg, 4.25);
    EXPECT_EQ(list[0].RatingYou, 0);
    EXPECT_EQ(list[0].Lcid, TCatalogueClient::InterfaceLcid);
    Answer("/scripts/scr_getlist.php", "<result><row><id>4</id><error>Сбой</error></row></result>");
    try {
        m_client->ListScripts(1);
        FAIL() << "no error";
    } catch (const EError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Сервер каталога сообщил об ошибке: Сбой"));
    }
    // A page that is no catalogue's: the transport's own error.
    EXPECT_THROW(m_client->ScriptRates(1), EError);
}

} // namespace
} // namespace lot
