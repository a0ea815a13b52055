// The download from the window: the archive tab's button against a results
// site of the test's own, the start-up mode submenu and the proxy dialog.

#include "download/ResultsPages.h"
#include "download/TestServers.h"
#include "GuiTestUtil.h"

#include "core/IniFile.h"
#include "download/DownloadController.h"
#include "gui/archive/DrawsPage.h"
#include "gui/download/FormProxy.h"
#include "gui/shell/ActionList.h"
#include "gui/shell/FormMain.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QDate>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace lot {
namespace {

using guitest::TMessageRecorder;

template <class T> T *Child(QWidget *parent, const char *name) {
    return parent->findChild<T *>(QLatin1String(name));
}

struct TFieldsState {
    bool Server, Port, Username, Password;
};

TFieldsState Fields(TFormProxy &form) {
    return {Child<QLineEdit>(&form, "edServer")->isEnabled(), Child<QSpinBox>(&form, "edPort")->isEnabled(),
            Child<QLineEdit>(&form, "edUsername")->isEnabled(),
            Child<QLineEdit>(&form, "edPassword")->isEnabled()};
}

TEST(FormProxyTest, OpensWithTheSettingsAndHandsBackTheChosenMode) {
    guitest::EnsureApplication();
    TProxy stored;
    stored.Server = QStringLiteral("proxy.example.org");
    stored.Port = 3128;
    stored.Username = QStringLiteral("ivan");
    stored.Password = QStringLiteral("secret");
    stored.Saved = true;
    const struct {
        int mode;
        const char *checked;
    } opened[] = {
        {0, "rbProxyOff"}, {1, "rbProxyAuto"}, {2, "rbProxyManual"}, {3, "rbProxyOff"}, {-1, "rbProxyOff"}};
    for (const auto &o : opened) {
        stored.Mode = o.mode;
        TFormProxy form(stored);
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Параметры proxy-сервера"));
        EXPECT_TRUE(Child<QRadioButton>(&form, o.checked)->isChecked()) << o.mode;
        const bool manual = o.mode == 2;
        const TFieldsState f = Fields(form);
        EXPECT_EQ(f.Server && f.Port && f.Username && f.Password, manual) << o.mode;
        EXPECT_EQ(f.Server || f.Port || f.Username || f.Password, manual) << o.mode;
    }

    stored.Mode = pmNone;
    TFormProxy form(stored);
    EXPECT_EQ(Child<QSpinBox>(&form, "edPort")->minimum(), 1);
    EXPECT_EQ(Child<QSpinBox>(&form, "edPort")->maximum(), 65535);
    // Manual: the fields come to life and are taken as typed.
    Child<QRadioButton>(&form, "rbProxyManual")->setChecked(true);
    EXPECT_TRUE(Fields(form).Server && Fields(form).Password);
    Child<QLineEdit>(&form, "edServer")->setText(QStringLiteral("10.0.0.1"));
    Child<QSpinBox>(&form, "edPort")->setValue(8080);
    TProxy manual = form.Data();
    EXPECT_EQ(manual.Mode, pmManual);
    EXPECT_EQ(manual.Server, QStringLiteral("10.0.0.1"));
    EXPECT_EQ(manual.Port, 8080);
    EXPECT_EQ(manual.Username, QStringLiteral("ivan"));
    EXPECT_EQ(manual.Password, QStringLiteral("secret"));
    EXPECT_FALSE(manual.Saved);
    // Off keeps what was typed for next time; automatic clears it.
    Child<QRadioButton>(&form, "rbProxyOff")->setChecked(true);
    EXPECT_FALSE(Fields(form).Server);
    EXPECT_EQ(form.Data().Mode, pmNone);
    EXPECT_EQ(form.Data().Server, QStringLiteral("10.0.0.1"));
    Child<QRadioButton>(&form, "rbProxyAuto")->setChecked(true);
    const TProxy automatic = form.Data();
    EXPECT_EQ(automatic.Mode, pmAuto);
    EXPECT_TRUE(automatic.Server.isEmpty() && automatic.Username.isEmpty() && automatic.Password.isEmpty());
    EXPECT_EQ(automatic.Port, 0);
}

class DownloadWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        guitest::EnsureApplication();
        ASSERT_TRUE(m_dir.isValid());
        // The server needs the application object, so it comes here.
        m_server = std::make_unique<test::TWebServer>(true);
        // The newest draw is of last month: the download reads last month and this one.
        const QDate lastMonth = QDate::currentDate().addMonths(-1);
        m_lastMonth = MonthText(lastMonth);
        m_thisMonth = MonthText(QDate::currentDate());
        TDrawsArchive archive;
        TDrawRec d = guitest::MakeDraw(100, {1, 2, 3, 4, 5, 6}, 7, 8);
        SetDrawDateText(d, DateToDrawText(QDate(lastMonth.year(), lastMonth.month(), 1)));
        archive.Append(d);
        archive.SaveDrawsFile(m_dir.filePath(QStringLiteral("Brantlee_6x45.ldr")));
        m_newDate = QStringLiteral("%1-%2-15")
                        .arg(lastMonth.year())
                        .arg(lastMonth.month(), 2, 10, QLatin1Char('0'))
                        .toLatin1();
        m_server->Route(
            Path(m_lastMonth),
            test::TAnswer{
                "200 OK",
                test::ResultsPage({{102, m_newDate.constData(), {3, 11, 17, 25, 40, 44}, {7, 29}}}).toUtf8(),
                {},
                0});
        m_server->Route(Path(m_thisMonth), test::TAnswer{"200 OK", "<html>nothing yet</html>", {}, 0});
        TIniFile ini;
        ini.WriteString(QStringLiteral("DOWNLOAD"), QStringLiteral("ResultsUrl"), m_server->Url());
        ini.WriteString(QStringLiteral("DOWNLOAD"), QStringLiteral("CaFile"),
                        QStringLiteral(TEST_DATA_DIR "/download/ca.pem"));
        ini.SaveAs(m_dir.filePath(QStringLiteral("Brantlee_6x45.ini")));
    }
    static QString MonthText(const QDate &d) {
        static const char *const months[12] = {"january",   "february", "march",    "april",
                                               "may",       "june",     "july",     "august",
                                               "september", "october",  "november", "december"};
        return QStringLiteral("%1-%2").arg(QLatin1String(months[d.month() - 1])).arg(d.year());
    }
    static QByteArray Path(const QString &month) { return "/brantlee-draw/results/" + month.toLatin1(); }
    void WriteStartMode(int mode) {
        QFile f(m_dir.filePath(QStringLiteral("Brantlee_6x45.frm")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[TFormMain]\r\nDownloadDrawsOnStart=" + QByteArray::number(mode) + "\r\n");
    }
    std::unique_ptr<TFormMain> Open(TMessageRecorder &rec) {
        auto w = std::make_unique<TFormMain>(m_dir.path(), QStringList());
        rec.Attach(w->Host());
        w->show();
        EXPECT_EQ(w->RunStartup(), TStartupResult::Running);
        return w;
    }
    static QAction *Action(TFormMain &w, const char *name) { return w.Actions().Find(QLatin1String(name)); }
    static QList<bool> StartModeMarks(TFormMain &w) {
        w.Actions().UpdateAll();
        return {Action(w, "AutoDownload0")->isChecked(), Action(w, "AutoDownload1")->isChecked(),
                Action(w, "AutoDownload2")->isChecked()};
    }

    QTemporaryDir m_dir;
    std::unique_ptr<test::TWebServer> m_server;
    QString m_lastMonth, m_thisMonth;
    QByteArray m_newDate;
};

TEST_F(DownloadWindowTest, TheArchiveButtonBringsTheListUpToDate) {
    WriteStartMode(2);
    TMessageRecorder rec;
    // A failure would ask to retry: no ends the download.
    rec.Answer = false;
    auto w = Open(rec);
    // Start-up download off: nothing was asked or fetched.
    EXPECT_TRUE(m_server->Seen().isEmpty());
    EXPECT_EQ(w->DrawsPage()->List()->model()->rowCount(), 1);

    auto *button = w->DrawsPage()->findChild<QToolButton *>(QStringLiteral("btDrawsDownload"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->defaultAction(), Action(*w, "DrawsDownload"));
    EXPECT_TRUE(button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);

    EXPECT_EQ(m_server->SeenPaths(), (QList<QByteArray>{Path(m_lastMonth), Path(m_thisMonth)}));
    EXPECT_TRUE(rec.Messages.isEmpty()) << rec.Texts().join('|').toStdString();
    QAbstractItemModel *model = w->DrawsPage()->List()->model();
    ASSERT_EQ(model->rowCount(), 2);
    EXPECT_EQ(model->index(0, 0).data().toString(), QStringLiteral("102"));
    EXPECT_EQ(w->StatusPanel(0)->text(), QStringLiteral("Архив тиражей: 2"));
    EXPECT_TRUE(w->StatusPanel(6)->text().isEmpty());
    EXPECT_TRUE(w->Host().IsIdle());
}

TEST_F(DownloadWindowTest, StartModeSubmenuShowsAndStoresTheMode) {
    WriteStartMode(2);
    TMessageRecorder rec;
    auto w = Open(rec);
    EXPECT_EQ(StartModeMarks(*w), (QList<bool>{false, false, true}));
    QMenu *submenu = w->findChild<QMenu *>(QStringLiteral("AutoDownload"));
    ASSERT_NE(submenu, nullptr);
    EXPECT_EQ(submenu->title(), QStringLiteral("Автозагрузка при запуске программы"));
    Action(*w, "AutoDownload1")->trigger();
    EXPECT_EQ(StartModeMarks(*w), (QList<bool>{false, true, false}));
    EXPECT_EQ(w->Workspace().Settings().DownloadDrawsOnStart(), 1);
    Action(*w, "AutoDownload0")->trigger();
    EXPECT_EQ(StartModeMarks(*w), (QList<bool>{true, false, false}));
    w.reset();
    // Stored at once and read again: the ask mode asks at start-up; a no
    // leaves the archive as it was.
    TMessageRecorder again;
    again.Answer = false;
    w = Open(again);
    EXPECT_EQ(StartModeMarks(*w), (QList<bool>{true, false, false}));
    ASSERT_EQ(again.Messages.size(), 1);
    EXPECT_EQ(again.Messages[0].Kind, TMessageKind::Confirmation);
    EXPECT_TRUE(m_server->Seen().isEmpty());
}

TEST_F(DownloadWindowTest, ProxyDialogWritesTheSettings) {
    WriteStartMode(2);
    TMessageRecorder rec;
    auto w = Open(rec);
    const auto watch = guitest::WhenModal<TFormProxy>([](TFormProxy *form) {
        EXPECT_TRUE(Child<QRadioButton>(form, "rbProxyOff")->isChecked());
        Child<QRadioButton>(form, "rbProxyManual")->setChecked(true);
        Child<QLineEdit>(form, "edServer")->setText(QStringLiteral("proxy.example.org"));
        Child<QSpinBox>(form, "edPort")->setValue(3128);
        form->accept();
    });
    Action(*w, "EditProxy")->trigger();
    EXPECT_TRUE(rec.Messages.isEmpty()) << rec.Texts().join('|').toStdString();
    EXPECT_EQ(w->Workspace().Download().Proxy().Mode, pmManual);
    TIniFile ini;
    ini.Load(m_dir.filePath(QStringLiteral("Brantlee_6x45.ini")));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("PROXY"), QStringLiteral("ProxyMode"), -1), 2);
    EXPECT_EQ(ini.ReadString(QStringLiteral("PROXY"), QStringLiteral("ProxyServer"), {}),
              QStringLiteral("proxy.example.org"));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("PROXY"), QStringLiteral("ProxyPort"), -1), 3128);
    // The site's settings stay where they were.
    EXPECT_EQ(ini.ReadString(QStringLiteral("DOWNLOAD"), QStringLiteral("ResultsUrl"), {}), m_server->Url());
}

} // namespace
} // namespace lot
