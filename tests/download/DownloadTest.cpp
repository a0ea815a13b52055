// The results download against servers of the test itself on 127.0.0.1:
// the month loop, the page encodings, the limits, the retry question, the
// certificate check and the automatic proxy search.

#include "Compress.h"
#include "ResultsPages.h"
#include "TestServers.h"

#include "archive/ArchiveController.h"
#include "core/CoreHelpers.h"
#include "core/DataFolder.h"
#include "core/IniFile.h"
#include "core/WindowSettings.h"
#include "download/DownloadController.h"
#include "shell/FakeHost.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QTemporaryDir>

#include <deque>
#include <ostream>

inline void PrintTo(const QString &s, std::ostream *os) {
    *os << '"' << s.toStdString() << '"';
}

namespace lot {
namespace {

using test::TAnswer;
using test::TPageDraw;
using test::TWebServer;

void EnsureApplication() {
    static int argc = 1;
    static char name[] = "test_download";
    static char *argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
}

/// Answers the retry questions from a list (no when it runs out).
class TScriptedHost : public test::TFakeHost {
public:
    std::deque<bool> Answers;
    bool Confirm(const QString &text, const QString &title, bool defaultNo) override {
        TFakeHost::Confirm(text, title, defaultNo);
        if (Answers.empty()) return false;
        const bool answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    QStringList Questions() const { return Texts(TKind::Confirm); }
};

TAnswer Page(const std::vector<TPageDraw> &draws) {
    return TAnswer{
        "200 OK", test::ResultsPage(draws).toUtf8(), {{"Content-Type", "text/html; charset=utf-8"}}, 0};
}

class DownloadTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApplication();
        ASSERT_TRUE(m_dir.isValid());
        m_download.SetToday([this] { return m_today; });
        QObject::connect(&m_download, &TDownloadController::MonthRead,
                         [this](const QString &month, int added) {
                             m_months << QStringLiteral("%1:%2").arg(month).arg(added);
                         });
    }

    /// The settings file with the results site (and more keys), then loaded.
    void Configure(const QString &resultsUrl, const QList<std::tuple<QString, QString, QString>> &more = {}) {
        TIniFile ini;
        ini.Load(m_files.IniFile());
        ini.WriteString(QStringLiteral("DOWNLOAD"), QStringLiteral("ResultsUrl"), resultsUrl);
        ini.WriteString(QStringLiteral("DOWNLOAD"), QStringLiteral("CaFile"),
                        QStringLiteral(TEST_DATA_DIR "/download/ca.pem"));
        for (const auto &[section, key, value] : more)
            ini.WriteString(section, key, value);
        ini.SaveAs(m_files.IniFile());
        ASSERT_TRUE(m_download.LoadSettings());
        // Quick limits: a slow answer must not hold the suite up.
        m_download.Http().SetTimeouts(3000, 400);
    }

    void StoreDraw(int number, const char *date) {
        TDrawRec d;
        d.DrawNumber = number;
        const int mains[6] = {1, 2, 3, 4, 5, 6};
        for (int i = 0; i < 6; ++i)
            d.Numbers[i] = uint8_t(mains[i]);
        d.Extra[0] = 7;
        d.Extra[1] = 8;
        SetDrawDateText(d, QString::fromLatin1(date));
        ASSERT_TRUE(m_archive.AddDraw(d));
    }

    QList<int> StoredNumbers() const {
        TDrawsArchive onDisk;
        onDisk.LoadDrawsFile(m_files.DrawsFile());
        QList<int> numbers;
        for (const TDrawRec &d : onDisk.Draws())
            numbers << d.DrawNumber;
        return numbers;
    }

    QTemporaryDir m_dir;
    TDataFolder m_files{m_dir.path()};
    TScriptedHost m_host;
    TWindowSettings m_settings;
    TArchiveController m_archive{m_host, m_files, m_settings};
    TDownloadController m_download{m_host, m_files, m_settings, m_archive};
    QDate m_today = QDate(2027, 1, 15);
    QStringList m_months;
};

const TPageDraw Dec28{4021, "2026-12-28", {1, 2, 3, 4, 5, 6}, {7, 8}};
const TPageDraw Dec31{4023, "2026-12-31", {3, 11, 17, 25, 40, 44}, {7, 29}};
const TPageDraw Jan04{4025, "2027-01-04", {5, 10, 15, 20, 25, 30}, {1, 2}};
const TPageDraw Jan07{4027, "2027-01-07", {40, 41, 42, 43, 44, 45}, {3, 4}};

TEST_F(DownloadTest, WalksTheMonthsFromTheNewestDrawToToday) {
    TWebServer site(true);
    TAnswer december = Page({Dec31, Dec28});
    december.Headers << qMakePair(QByteArray("Set-Cookie"), QByteArray("session=1; Path=/"));
    site.Route("/brantlee-draw/results/december-2026", december);
    site.Route("/brantlee-draw/results/january-2027", Page({Jan07, Jan04}));
    Configure(site.Url());
    StoreDraw(4021, "28 Dec 2026");

    EXPECT_TRUE(m_download.DownloadDraws());
    EXPECT_EQ(site.SeenPaths(), QList<QByteArray>({"/brantlee-draw/results/december-2026",
                                                   "/brantlee-draw/results/january-2027"}));
    EXPECT_EQ(m_months, QStringList({"december-2026:1", "january-2027:2"}));
    EXPECT_EQ(StoredNumbers(), QList<int>({4021, 4023, 4025, 4027})) << "oldest first, each month saved";
    EXPECT_EQ(DrawValuesText(m_archive.Draws().At(3)), QStringLiteral("40;41;42;43;44;45 e:3;4"));
    EXPECT_EQ(DrawDateText(m_archive.Draws().At(1)), QStringLiteral("31 Dec 2026"));
    EXPECT_TRUE(m_host.Questions().isEmpty());

    // What a browser sends; no cookie comes back.
    const test::TSeenRequest &second = site.Seen().value(1);
    EXPECT_EQ(second.Headers.value("accept"),
              "text/html,application/xhtml+xml,application/xml;q=0.9,image/webp,*/*;q=0.8");
    EXPECT_EQ(second.Headers.value("accept-encoding"), "gzip, deflate, sdch");
    EXPECT_EQ(second.Headers.value("user-agent"),
              "Mozilla/5.0 (Windows NT 6.1; WOW64) AppleWebKit/537.36 (KHTML, like "
              "Gecko) Chrome/47.0.2526.80 Safari/537.36");
    EXPECT_FALSE(second.Headers.contains("cookie"));
}

TEST_F(DownloadTest, AnEmptyArchiveStartsInJanuary1986) {
    TWebServer site(true);
    site.Route("/brantlee-draw/results/january-1986", Page({{1, "1986-01-25", {1, 2, 3, 4, 5, 6}, {7, 8}}}));
    // February has no results block: it adds nothing and counts as read.
    site.Route("/brantlee-draw/results/february-1986", TAnswer{"200 OK", "<html>No draws</html>", {}, 0});
    site.Route("/brantlee-draw/results/march-1986",
               Page({{3, "1986-03-01", {9, 10, 11, 12, 13, 14}, {1, 2}}}));
    Configure(site.Url());
    m_today = QDate(1986, 3, 2);
    EXPECT_TRUE(m_download.DownloadDraws());
    EXPECT_EQ(m_months, QStringList({"january-1986:1", "february-1986:0", "march-1986:1"}));
    EXPECT_EQ(StoredNumbers(), QList<int>({1, 3}));
}

TEST_F(DownloadTest, CompressedAndRedirectedPages) {
    TWebServer site(true);
    const QByteArray december = test::ResultsPage({Dec31}).toUtf8();
    site.Route(
        "/brantlee-draw/results/december-2026",
        TAnswer{"200 OK", test::Compress(december, test::TWrap::Gzip), {{"Content-Encoding", "gzip"}}, 0});
    site.Route("/brantlee-draw/results/january-2027",
               TAnswer{"302 Found", "", {{"Location", "/moved/january-2027"}}, 0});
    site.Route("/moved/january-2027",
               TAnswer{"200 OK",
                       test::Compress(test::ResultsPage({Jan04}).toUtf8(), test::TWrap::Zlib),
                       {{"Content-Encoding", "deflate"}},
                       0});
    Configure(site.Url());
    StoreDraw(4021, "28 Dec 2026");
    EXPECT_TRUE(m_download.DownloadDraws());
    EXPECT_EQ(StoredNumbers(), QList<int>({4021, 4023, 4025}));
    EXPECT_TRUE(site.SeenPaths().contains("/moved/january-2027"));
}

TEST_F(DownloadTest, AFailedMonthAsksAndNoKeepsTheMonthsRead) {
    TWebServer site(true);
    site.Route("/brantlee-draw/results/december-2026", Page({Dec31}));
    TAnswer slow = Page({Jan04});
    slow.DelayMs = 1500; // past the read limit of 400 ms
    site.Route("/brantlee-draw/results/january-2027", slow);
    Configure(site.Url());
    StoreDraw(4021, "28 Dec 2026");
    m_host.Answers = {true, false}; // once more, then give up

    EXPECT_TRUE(m_download.DownloadDraws()) << "december was read";
    ASSERT_EQ(m_host.Questions().size(), 2);
    EXPECT_TRUE(
        m_host.Questions()[0].startsWith(QStringLiteral("Ошибка загрузки архива тиражей с сайта: \"")));
    EXPECT_TRUE(m_host.Questions()[0].endsWith(QStringLiteral("\"\r\rПовторить попытку?")));
    EXPECT_TRUE(m_host.Questions()[0].contains(QStringLiteral("400 мс")))
        << m_host.Questions()[0].toStdString();
    EXPECT_EQ(site.SeenPaths().count("/brantlee-draw/results/january-2027"), 2);
    EXPECT_EQ(StoredNumbers(), QList<int>({4021, 4023}));
}

TEST_F(DownloadTest, ABrokenPageReachesTheQuestionAndAFirstFailureFails) {
    TWebServer site(true);
    QString broken = test::ResultsPage({Dec31});
    broken.replace(QStringLiteral("}},"), QStringLiteral("}"));
    site.Route("/brantlee-draw/results/december-2026", TAnswer{"200 OK", broken.toUtf8(), {}, 0});
    Configure(site.Url());
    StoreDraw(4021, "28 Dec 2026");
    const TOpResult r = m_download.DownloadDraws();
    EXPECT_FALSE(r);
    ASSERT_EQ(m_host.Questions().size(), 1);
    EXPECT_TRUE(m_host.Questions()[0].contains(QStringLiteral("Не удалось найти пару идентификаторов")))
        << m_host.Questions()[0].toStdString();
    EXPECT_EQ(StoredNumbers(), QList<int>({4021}));
    // A server error is a failure too, with the server's reason.
    site.Route("/brantlee-draw/results/december-2026", TAnswer{"500 Internal Server Error", "down", {}, 0});
    EXPECT_FALSE(m_download.DownloadDraws());
}

TEST_F(DownloadTest, AnUntrustedCertificateIsRefusedWithItsReason) {
    TWebServer site(true, "untrusted.pem", "untrusted.key");
    site.Route("/brantlee-draw/results/december-2026", Page({Dec31}));
    Configure(site.Url());
    StoreDraw(4021, "28 Dec 2026");
    EXPECT_FALSE(m_download.DownloadDraws());
    ASSERT_EQ(m_host.Questions().size(), 1);
    EXPECT_TRUE(m_host.Questions()[0].contains(QStringLiteral("Сертификат сервера не принят")))
        << m_host.Questions()[0].toStdString();
    EXPECT_TRUE(site.SeenPaths().isEmpty()) << "no page was asked for";
    EXPECT_EQ(StoredNumbers(), QList<int>({4021}));
}

TEST_F(DownloadTest, TheAutomaticProxyThatWorksIsRemembered) {
    TWebServer site(true);
    site.Route("/brantlee-draw/results/december-2026", Page({Dec31}));
    site.Route("/brantlee-draw/results/january-2027", Page({Jan04}));
    test::TConnectProxy proxy;
    TWebServer list(false);
    const quint16 gone1 = test::ClosedPort(), gone2 = test::ClosedPort();
    list.Route("/proxies", TAnswer{"200 OK",
                                   QStringLiteral("<table><tr><td>127.0.0.1</td><td>%1</td></tr>"
                                                  "<tr><td>127.0.0.1</td><td>%2</td></tr>"
                                                  "<tr><td>127.0.0.1</td><td>%3</td></tr></table>")
                                       .arg(gone1)
                                       .arg(gone2)
                                       .arg(proxy.Port())
                                       .toUtf8(),
                                   {},
                                   0});
    Configure(site.Url(),
              {{QStringLiteral("DOWNLOAD"), QStringLiteral("ProxyListUrl"), list.Url() + "/proxies"},
               {QStringLiteral("PROXY"), QStringLiteral("ProxyMode"), QStringLiteral("1")}});
    StoreDraw(4021, "28 Dec 2026");

    EXPECT_TRUE(m_download.DownloadDraws());
    EXPECT_TRUE(m_host.Questions().isEmpty()) << m_host.Questions().join('|').toStdString();
    EXPECT_EQ(StoredNumbers(), QList<int>({4021, 4023, 4025}));
    EXPECT_EQ(proxy.Tunnels(), 2) << "both months went through the third proxy";
    ASSERT_EQ(list.Seen().size(), 1);
    EXPECT_EQ(list.Seen()[0].Target, "/proxies?protocol=https&min_uptime=75&max_response_time=10");
    const TIniFile ini(m_files.IniFile());
    EXPECT_EQ(ini.ReadString(QStringLiteral("PROXY"), QStringLiteral("ProxyMode")), QStringLiteral("1"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("PROXY"), QStringLiteral("ProxyServer")),
              QStringLiteral("127.0.0.1"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("PROXY"), QStringLiteral("ProxyPort")),
              QString::number(proxy.Port()));
    EXPECT_TRUE(m_download.Proxy().Candidates.isEmpty()) << "the candidates live for one download";
}

TEST_F(DownloadTest, WithoutAResultsSiteTheUserIsToldWhereToSetIt) {
    ASSERT_TRUE(m_download.LoadSettings());
    EXPECT_FALSE(m_download.HasResultsSite());
    EXPECT_FALSE(m_download.DownloadDraws());
    ASSERT_EQ(m_host.Texts(test::TFakeHost::TKind::Information).size(), 1);
    EXPECT_TRUE(m_host.Texts(test::TFakeHost::TKind::Information)[0].contains(QStringLiteral("ResultsUrl")));
}

TEST_F(DownloadTest, ProxySettingsAreReadAndWritten) {
    {
        TIniFile ini;
        ini.WriteString(QStringLiteral("PROXY"), QStringLiteral("ProxyServer"), QStringLiteral("proxy.lan"));
        ini.SaveAs(m_files.IniFile());
    }
    ASSERT_TRUE(m_download.LoadSettings());
    EXPECT_EQ(m_download.Proxy().Mode, int(pmManual)) << "a server without a mode means manual";
    EXPECT_EQ(m_download.Proxy().Port, 80);
    EXPECT_TRUE(m_download.Proxy().Saved);

    ASSERT_TRUE(
        m_download.SetProxy(pmAuto, QStringLiteral("typed"), 8080, QStringLiteral("u"), QStringLiteral("p")));
    const TIniFile ini(m_files.IniFile());
    EXPECT_EQ(ini.Keys(QStringLiteral("PROXY")).size(), 5);
    EXPECT_EQ(ini.ReadString(QStringLiteral("PROXY"), QStringLiteral("ProxyMode")), QStringLiteral("1"));
    EXPECT_TRUE(ini.ReadString(QStringLiteral("PROXY"), QStringLiteral("ProxyServer")).isEmpty())
        << "the automatic mode clears what was typed";
    EXPECT_TRUE(m_host.Statuses.contains(QStringLiteral("Сохранение файла конфигурации...")));
}

} // namespace
} // namespace lot
