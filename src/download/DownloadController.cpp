#include "download/DownloadController.h"

#include "archive/ArchiveController.h"
#include "core/CoreHelpers.h"
#include "core/DataFolder.h"
#include "core/Errors.h"
#include "core/Format.h"
#include "core/Host.h"
#include "core/IniFile.h"
#include "core/Messages.h"
#include "core/WindowSettings.h"
#include "download/ProxyList.h"

#include <QDir>
#include <QUrl>

namespace lot {

namespace {

const char *const WaitText = "Загрузка архива тиражей...";

int32_t MonthOf(const QDate &date) {
    return date.year() * 100 + date.month();
}

} // namespace

TDownloadController::TDownloadController(IHost &host, const TDataFolder &files, TWindowSettings &settings,
                                         TArchiveController &archive, QObject *parent)
    : QObject(parent), m_host(host), m_files(files), m_settings(settings), m_archive(archive),
      m_today([] { return QDate::currentDate(); }) {}

QString TDownloadController::NoResultsSiteText() {
    return QStringLiteral("Не задан адрес сайта с результатами тиражей.\r\rУкажите его в файле настроек "
                          "\"Brantlee_6x45.ini\", раздел [DOWNLOAD], ключ ResultsUrl (например, "
                          "ResultsUrl=https://results.example.org), и повторите загрузку.");
}

// ---- settings ----------------------------------------------------------------------------------

TOpResult TDownloadController::LoadSettings() {
    return Guarded(m_host, QString::fromUtf8(msg::ConfigReadError), [&] {
        TIniFile ini;
        ini.LoadForUpdate(m_files.IniFile());
        m_proxy = ReadProxySettings(ini);
        m_sites = ReadDownloadSites(ini);
        // A relative certificate file lives in the data folder.
        if (!m_sites.CaFile.isEmpty() && QDir::isRelativePath(m_sites.CaFile))
            m_sites.CaFile = m_files.FilePath(m_sites.CaFile);
    });
}

void TDownloadController::SaveProxy(bool showStatus) {
    if (showStatus) m_host.ShowStatus(QStringLiteral("Сохранение файла конфигурации..."));
    TIniFile ini;
    ini.LoadForUpdate(m_files.IniFile());
    WriteProxySettings(ini, m_proxy);
    ini.SaveAs(m_files.IniFile());
    if (showStatus) m_host.ShowStatus(QString());
}

TOpResult TDownloadController::SetProxy(int mode, const QString &server, int port, const QString &username,
                                        const QString &password) {
    m_proxy.Mode = mode;
    m_proxy.Server = server.trimmed();
    m_proxy.Port = port;
    m_proxy.Username = username;
    m_proxy.Password = password;
    m_proxy.Saved = false;
    m_proxy.Candidates.clear();
    m_proxyChosen = false;
    if (mode == pmAuto) {
        // The search chooses the server; what was typed does not apply.
        m_proxy.Server.clear();
        m_proxy.Port = 0;
        m_proxy.Username.clear();
        m_proxy.Password.clear();
    }
    return Guarded(m_host, QString::fromUtf8(msg::ConfigWriteError), [&] { SaveProxy(true); });
}

int TDownloadController::StartMode() const {
    return m_settings.DownloadDrawsOnStart();
}

TOpResult TDownloadController::SetStartMode(int mode) {
    return Guarded(m_host, QString::fromUtf8(msg::SettingsSaveError), [&] {
        m_settings.SetDownloadDrawsOnStart(qBound(0, mode, 2));
        m_settings.Save();
    });
}

// ---- proxies -----------------------------------------------------------------------------------

QNetworkProxy TDownloadController::CurrentNetworkProxy() const {
    return QNetworkProxy(QNetworkProxy::HttpProxy, m_proxy.Server, quint16(qBound(0, m_proxy.Port, 65535)),
                         m_proxy.Username, m_proxy.Password);
}

void TDownloadController::ShowWaitText() {
    QString text = QString::fromUtf8(WaitText);
    if (m_proxy.EffectiveMode() != pmNone && !m_proxy.Server.isEmpty())
        text += QStringLiteral("\r\r") + Format(QStringLiteral("Попытка %d, proxy %s : %d"),
                                                {m_attempt, m_proxy.Server, m_proxy.Port});
    m_host.WaitText(text);
}

bool TDownloadController::ChooseFirstCandidate() {
    const TOpResult r =
        Guarded(m_host, QStringLiteral("Ошибка автоматического выбора proxy сервера!\r\r%s"), [&] {
            const QString candidate = m_proxy.Candidates.first();
            const qsizetype colon = candidate.lastIndexOf(QLatin1Char(':'));
            bool ok = false;
            const int port = colon > 0 ? candidate.mid(colon + 1).toInt(&ok) : 0;
            if (!ok || port < 1 || port > 65535)
                throw EError(Format(QStringLiteral("Некорректный адрес proxy-сервера \"%s\""), {candidate}));
            m_proxy.Server = candidate.left(colon);
            m_proxy.Port = port;
            m_proxy.Username.clear();
            m_proxy.Password.clear();
            m_proxy.Saved = false;
        });
    m_proxyChosen = bool(r);
    return m_proxyChosen;
}

bool TDownloadController::ApplyProxy(const QString &target) {
    switch (m_proxy.EffectiveMode()) {
    case pmAuto:
        if (!m_proxyChosen) {
            if (m_proxy.Candidates.isEmpty()) FindProxies(target);
            if (!m_proxy.Candidates.isEmpty()) ChooseFirstCandidate();
        }
        ShowWaitText();
        return m_proxyChosen;
    case pmManual:
        ShowWaitText();
        return true;
    default:
        ShowWaitText();
        return true;
    }
}

bool TDownloadController::FindProxies(const QString &target) {
    m_host.WaitText(QString::fromUtf8(WaitText) + QStringLiteral("\r\r") +
                    QStringLiteral("Поиск proxy-серверов"));
    TProxySearch search;
    if (target.startsWith(QLatin1String("https://"), Qt::CaseInsensitive))
        search.Https = true;
    else
        search.Http = search.Https = true;
    search.MinUptime = 75;
    // The list is asked for proxies answering within ten seconds.
    search.MaxResponseTimeMs = 10000;
    const TOpResult r = Guarded(m_host, QStringLiteral("Ошибка получения списка proxy-серверов!\r\r%s"), [&] {
        m_proxy.Candidates.clear();
        if (m_sites.ProxyListUrl.isEmpty())
            throw EError(QStringLiteral("Не задан адрес страницы со списком proxy-серверов (раздел "
                                        "[DOWNLOAD], ключ ProxyListUrl)"));
        for (int page = 1; m_proxy.Candidates.size() < search.Wanted; ++page) {
            QUrl url(m_sites.ProxyListUrl);
            const QString query = ProxyListQuery(search, page);
            if (!query.isEmpty()) url.setQuery(query);
            const QStringList listed =
                ReadProxyList(QString::fromUtf8(m_http.Get(url, QNetworkProxy::NoProxy)), search.Port);
            for (const QString &p : listed)
                if (m_proxy.Candidates.size() < search.Wanted) m_proxy.Candidates << p;
            if (listed.size() < ProxiesPerPage) break;
        }
        if (m_proxy.Candidates.isEmpty())
            throw EError(QStringLiteral("Не найдено ни одного proxy-сервера с заданными параметрами"));
    });
    return bool(r);
}

// ---- the download --------------------------------------------------------------------------------

TResultsPage TDownloadController::ReadResultsMonth(int32_t month, int32_t earliest) {
    m_host.ShowStatus(Format(QStringLiteral("Загрузка тиражей за %s..."), {ResultsMonthText(month)}));
    const QUrl url(m_sites.ResultsUrl + ResultsMonthPath(month));
    // No proxy to go through is a failed month, not an empty one: otherwise
    // the loop would walk on and report months it never read.
    if (!ApplyProxy(url.toString()))
        throw EError(QStringLiteral("Не удалось выбрать proxy-сервер для загрузки"));
    const QNetworkProxy proxy =
        m_proxy.EffectiveMode() == pmNone ? QNetworkProxy(QNetworkProxy::NoProxy) : CurrentNetworkProxy();
    const QString page = QString::fromUtf8(m_http.Get(url, proxy));
    TResultsPage result = ReadResultsPage(page, earliest);
    m_host.ShowStatus(QStringLiteral("Сохранение файла тиражей..."));
    return result;
}

TOpResult TDownloadController::DownloadDraws() {
    if (!HasResultsSite()) {
        m_host.ShowInformation(NoResultsSiteText());
        return TOpResult::Failure(NoResultsSiteText());
    }
    TBusyGuard busy(m_host);
    m_host.WaitShow(QString::fromUtf8(WaitText));
    m_host.ShowStatus(QString::fromUtf8(WaitText));
    TOpResult result;
    bool firstMonthRead = false;
    m_attempt = 1;
    m_proxyChosen = false;
    try {
        m_http.SetCaFile(m_sites.CaFile);
        int32_t month = m_archive.Draws().DrawDateIntAt(0, 1) / 100;
        for (;;) {
            try {
                const int32_t earliest = m_archive.Draws().DrawDateIntAt(0, 1);
                const TResultsPage page = ReadResultsMonth(month, earliest);
                // A proxy found by the search that worked is remembered.
                if (!m_proxy.Saved) SaveProxy(false);
                // The page lists the newest draw first; the archive keeps the
                // oldest first.
                TDrawsArray draws(page.Draws.rbegin(), page.Draws.rend());
                m_archive.AppendAndSave(draws);
                firstMonthRead = true;
                emit MonthRead(ResultsMonthText(month), int(draws.size()));
                month = NextResultsMonth(month);
                if (MonthOf(m_today()) < month) break;
            } catch (const std::exception &e) {
                ++m_attempt;
                if (m_proxy.EffectiveMode() == pmAuto && !m_proxy.Candidates.isEmpty()) {
                    // The failing proxy goes; the next one tries the same month.
                    m_proxy.Candidates.removeFirst();
                    m_proxyChosen = false;
                    if (!m_proxy.Candidates.isEmpty()) continue;
                }
                const QString question = Format(
                    QStringLiteral("Ошибка загрузки архива тиражей с сайта: \"%s\"\r\rПовторить попытку?"),
                    {ExceptionText(e)});
                if (m_attemptLimit > 0 && m_attempt > m_attemptLimit)
                    m_host.ShowError(Format(QStringLiteral("Ошибка загрузки архива тиражей с сайта: \"%s\""),
                                            {ExceptionText(e)}));
                else if (m_host.Confirm(question, QStringLiteral("Ошибка")))
                    continue;
                if (!firstMonthRead) result = TOpResult::Failure(ExceptionText(e));
                break;
            }
        }
    } catch (const std::exception &e) {
        // Errors outside a month (a damaged date of the newest draw, an
        // unreadable certificate file) end the download at once.
        result = Refused(m_host, Format(QStringLiteral("Ошибка загрузки архива тиражей с сайта: \"%s\""),
                                        {ExceptionText(e)}));
    }
    m_proxy.Candidates.clear();
    m_proxyChosen = false;
    emit DownloadFinished();
    m_host.ShowStatus(QString());
    m_host.WaitClose();
    return result;
}

} // namespace lot
