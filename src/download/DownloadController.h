#pragma once
/// @file TDownloadController: bringing the archive up to date from the
/// operator's monthly results pages, directly or through a proxy. It owns
/// the proxy settings, the sites of section DOWNLOAD and the HTTP client,
/// holds the month loop with its retry question, and is the error boundary
/// of its operations.

#include "core/OpResult.h"
#include "download/HttpClient.h"
#include "download/ProxySettings.h"
#include "download/ResultsPage.h"

#include <QDate>
#include <QObject>
#include <QString>

#include <functional>

namespace lot {

class IHost;
class TArchiveController;
class TDataFolder;
class TWindowSettings;

class TDownloadController : public QObject {
    Q_OBJECT
public:
    TDownloadController(IHost &host, const TDataFolder &files, TWindowSettings &settings,
                        TArchiveController &archive, QObject *parent = nullptr);

    // ---- settings ----------------------------------------------------------------------
    /// Start-up: sections PROXY and DOWNLOAD of the game settings file.
    /// Error box "Ошибка чтения файла конфигурации!\r\r%s".
    TOpResult LoadSettings();
    const TProxy &Proxy() const { return m_proxy; }
    const TDownloadSites &Sites() const { return m_sites; }
    /// A results site is set: without one there is nothing to download.
    bool HasResultsSite() const { return !m_sites.ResultsUrl.isEmpty(); }
    /// The proxy dialog's OK: takes server, port, user name and password
    /// (cleared in automatic mode) and writes them with status "Сохранение
    /// файла конфигурации...". Error box "Ошибка записи в файл конфигурации!\r\r%s".
    TOpResult SetProxy(int mode, const QString &server, int port, const QString &username,
                       const QString &password);
    /// The start-up download mode (window setting DownloadDrawsOnStart): 0
    /// asks, 1 downloads, 2 never. Stored at once.
    int StartMode() const;
    TOpResult SetStartMode(int mode);

    // ---- the download ----------------------------------------------------------------------
    /// The month loop: from the month of the day after the newest draw to the
    /// current month, each month read, its new draws appended and the draws
    /// file saved; a failed month asks "Ошибка загрузки архива тиражей с
    /// сайта: \"%s\"\r\rПовторить попытку?". Ends with DownloadFinished
    /// (the stakes are checked then). The failure is that of the first month
    /// when it could not be read; without a results site the user is told
    /// where to set one.
    TOpResult DownloadDraws();
    /// Reads one month's page (yyyymm) with the draws dated earliest
    /// (yyyymmdd) or later; raises EError on any failure.
    TResultsPage ReadResultsMonth(int32_t month, int32_t earliest);
    /// Sets up the proxy of the next request to target; false when none
    /// could be chosen in automatic mode.
    bool ApplyProxy(const QString &target);
    /// Fills the candidates from the proxy list page; false (shown) when
    /// none was found.
    bool FindProxies(const QString &target);

    /// The text shown when no results site is set.
    static QString NoResultsSiteText();

    /// At most this many attempts per download (0: as many as the user
    /// wants); past it a failed month ends the download without the
    /// question, its message shown. The command line sets one, so that
    /// --yes cannot retry a dead site for ever.
    void SetAttemptLimit(int attempts) { m_attemptLimit = qMax(0, attempts); }

    // ---- seams for tests ------------------------------------------------------------------
    THttpClient &Http() { return m_http; }
    void SetToday(std::function<QDate()> today) { m_today = std::move(today); }

signals:
    /// A month was read and saved: its text ("january-2027") and the draws it added.
    void MonthRead(const QString &month, int added);
    /// A download ended, successful or not: the stakes are to be checked.
    void DownloadFinished();

private:
    void SaveProxy(bool showStatus);
    void ShowWaitText();
    QNetworkProxy CurrentNetworkProxy() const;
    bool ChooseFirstCandidate();

    IHost &m_host;
    const TDataFolder &m_files;
    TWindowSettings &m_settings;
    TArchiveController &m_archive;
    TProxy m_proxy;
    TDownloadSites m_sites;
    THttpClient m_http;
    std::function<QDate()> m_today;
    int m_attempt = 1;
    int m_attemptLimit = 0;
    bool m_proxyChosen = false;
};

} // namespace lot
