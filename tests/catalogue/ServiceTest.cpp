// The server's form reader and its answers to hostile requests, without the network.

#include "CatalogueServerProcess.h"

#include "catalogue-server/CatalogueServer.h"
#include "catalogue-server/CatalogueService.h"
#include "catalogue-server/FormReader.h"
#include "catalogue/CatalogueReply.h"
#include "core/Errors.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTimeZone>

namespace lot::server {
namespace {

TEST(FormReader, ReadsFieldsInOrderWithPlusAndPercent) {
    const TForm form = TForm::Read("a=1&b=x+y%20z&empty=&flag&c=%E0%FF");
    ASSERT_EQ(form.Fields().size(), 5);
    EXPECT_EQ(form.Raw("b"), QByteArray("x y z"));
    EXPECT_TRUE(form.Has("empty"));
    EXPECT_TRUE(form.Has("flag"));
    EXPECT_EQ(form.Raw("c"), QByteArray("\xE0\xFF"));
    EXPECT_EQ(form.Integer("a"), 1);
    EXPECT_EQ(form.IntegerOr("missing", 7), 7);
    EXPECT_THROW(form.Integer("b"), EError);
    EXPECT_TRUE(TForm::Read("").Fields().isEmpty());
}

TEST(FormReader, RefusesMalformedAndOversizedForms) {
    QByteArray many;
    for (int i = 0; i <= TForm::MaxFields; ++i)
        many += "f" + QByteArray::number(i) + "=1&";
    const QByteArray cases[] = {
        "a=%",   "a=%4",
        "a=%zz", "a=1&a=2",
        "=1",    QByteArray(TForm::MaxNameSize + 1, 'n') + "=1",
        many,    QByteArray(TForm::MaxBodySize + 1, 'x'),
    };
    for (const QByteArray &body : cases)
        EXPECT_THROW(TForm::Read(body), EError) << body.left(40).constData();
}

TEST(FormReader, EscapedFieldsAreBoundedAndChecked) {
    const TForm form = TForm::Read("t=%20a%5C%22b%5C%3F%20&bad=a%5Cx&long=" + QByteArray(300, 'x'));
    EXPECT_EQ(form.Escaped("t", 10), QStringLiteral("a\"b?"));
    EXPECT_THROW(form.Escaped("bad", 10), EError);
    EXPECT_THROW(form.Escaped("long", 100), EError);
    EXPECT_THROW(form.Plain("long", 100), EError);
}

class ServiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::EnsureApplication();
        ASSERT_TRUE(m_dir.isValid());
        m_service = std::make_unique<TCatalogueService>(m_dir.filePath(QStringLiteral("db.sqlite")));
    }
    /// The error text of a reply, empty when it has none.
    static QString ErrorOf(const QByteArray &reply) {
        try {
            ReadReply(reply);
        } catch (const EError &e) {
            return e.Message();
        }
        return {};
    }
    QTemporaryDir m_dir;
    std::unique_ptr<TCatalogueService> m_service;
};

TEST_F(ServiceTest, BadRequestsGetAnErrorRowAndChangeNothing) {
    const QByteArray good =
        "del_mode=0&scr_id=-1&scr_uniapps=0&scr_publics=1&scr_title=T&scr_descr=D&scr_script=S"
        "&appid=x&appver=1&cl_name=N&cl_mail=m%40x&cl_lcid=1049&cl_key=k";
    const struct {
        const char *Path;
        QByteArray Body;
    } cases[] = {
        {"/scripts/none.php", good},
        {"/scripts/scr_putscript.php", good + "&scr_id=1"}, // a field twice
        {"/scripts/scr_putscript.php",
         QByteArray(good).replace("scr_title=T", "scr_title=%5C")}, // bad escape
        {"/scripts/scr_putscript.php", QByteArray(good).replace("cl_key=k", "cl_key=")},
        {"/scripts/scr_putscript.php", QByteArray(good).replace("cl_name=N", "cl_name=%3Cb%3E")},
        {"/scripts/scr_putscript.php", QByteArray(good).replace("scr_title=T", "scr_title=")},
        {"/scripts/scr_putscript.php", QByteArray(good).replace("scr_id=-1", "scr_id=12x")},
        {"/scripts/scr_putscript.php", QByteArray(good).replace("scr_id=-1", "scr_id=99")},
        {"/scripts/scr_putscript.php",
         QByteArray(good).replace("scr_title=T", "scr_title=" + QByteArray(400, 'T'))},
        {"/scripts/sys_putdata.php",
         "del_mode=0&sys_id=0&nums=10&clen=6&olap=3&title=T&descr=D&csize=1&clist=%%%"
         "&url=&cl_name=N&cl_mail=m&cl_key=k"},
        {"/scripts/sys_putdata.php",
         "del_mode=0&sys_id=0&nums=99&clen=6&olap=3&title=T&descr=D&csize=1&clist=QQ=="
         "&url=&cl_name=N&cl_mail=m&cl_key=k"},
        {"/scripts/sys_putdata.php",
         "del_mode=0&sys_id=0&nums=10&clen=6&olap=3&title=T&descr=D&csize=1&clist=XA=="
         "&url=&cl_name=N&cl_mail=m&cl_key=k"}, // Base64 of a lone backslash
        {"/scripts/scr_getlist.php", "fltid=9"},
        {"/scripts/sys_getdata.php", "sys_id=abc"},
    };
    for (const auto &c : cases)
        EXPECT_FALSE(ErrorOf(m_service->Handle(QString::fromLatin1(c.Path), c.Body)).isEmpty()) << c.Path;
    EXPECT_TRUE(
        ReadReply(m_service->Handle(QStringLiteral("/scripts/scr_getlist.php"), "fltid=0")).isEmpty());
    EXPECT_TRUE(ReadReply(m_service->Handle(QStringLiteral("/scripts/sys_getlist.php"), "")).isEmpty());
    // The good request itself works.
    const QList<TReplyRow> rows =
        ReadReply(m_service->Handle(QStringLiteral("/scripts/scr_putscript.php"), good));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].Integer(QStringLiteral("id_scripts")), 1);
}

TEST_F(ServiceTest, NewScriptsAreNewForADay) {
    QDateTime now = QDateTime(QDate(2026, 12, 1), QTime(12, 0), Qt::UTC);
    m_service->SetClock([&now] { return now; });
    const QByteArray put =
        "del_mode=0&scr_id=-1&scr_uniapps=0&scr_publics=1&scr_title=T&scr_descr=&scr_script=S"
        "&appid=x&appver=1&cl_name=N&cl_mail=m&cl_lcid=1049&cl_key=k";
    ReadReply(m_service->Handle(QStringLiteral("/scripts/scr_putscript.php"), put));
    now = now.addSecs(23 * 3600);
    EXPECT_EQ(ReadReply(m_service->Handle(QStringLiteral("/scripts/scr_getlist.php"), "fltid=6")).size(), 1);
    now = now.addSecs(2 * 3600);
    EXPECT_EQ(ReadReply(m_service->Handle(QStringLiteral("/scripts/scr_getlist.php"), "fltid=6")).size(), 0);
    EXPECT_EQ(ReadReply(m_service->Handle(QStringLiteral("/scripts/scr_getlist.php"), "fltid=1")).size(), 1);
}

} // namespace
} // namespace lot::server

namespace lot::server {
namespace {

TEST(ServerOptions, ReadAndRefused) {
    bool help = false;
    const TServerOptions o =
        ParseServerOptions({"--db", "x.sqlite", "--port", "0", "--app", "{G}=Other"}, help);
    EXPECT_FALSE(help);
    EXPECT_EQ(o.Database, QStringLiteral("x.sqlite"));
    EXPECT_EQ(o.Port, 0);
    EXPECT_EQ(o.Host, QHostAddress(QHostAddress::LocalHost));
    EXPECT_EQ(o.Applications, QStringList{QStringLiteral("{G}=Other")});
    EXPECT_EQ(ParseServerOptions({"--db", "x", "--release-mail", "a@b"}, help).ReleaseMails,
              QStringList{"a@b"});
    ParseServerOptions({"--help"}, help);
    EXPECT_TRUE(help);
    EXPECT_TRUE(ServerUsage().contains(QStringLiteral("--cert FILE")));
    // A loopback address of the other family is still this machine.
    EXPECT_NO_THROW(ParseServerOptions({"--db", "x", "--host", "::1"}, help));
    const QStringList bad[] = {
        {},
        {"--port", "1"},
        {"--db", "x", "--port", "65536"},
        {"--db", "x", "--port", "8a"},
        {"--db", "x", "--cert", "c.pem"},
        {"--db", "x", "--host", "0.0.0.0"},
        {"--db", "x", "--host", "nowhere"},
        {"--db", "x", "--app", "=Name"},
        {"--db", "x", "--frobnicate"},
        {"--db"},
        {"--db", "x", "--release-mail", " "},
    };
    for (const QStringList &args : bad)
        EXPECT_THROW(ParseServerOptions(args, help), EError) << args.join(' ').toStdString();
}

} // namespace
} // namespace lot::server
