#pragma once
/// @file The proxy settings of the results download (section PROXY of the
/// game settings file) and the sites it talks to (section DOWNLOAD).

#include <QString>
#include <QStringList>

namespace lot {

class TIniFile;

/// How requests reach the results site.
enum TProxyMode : int {
    pmNone = 0,   ///< directly
    pmAuto = 1,   ///< through proxies found on the proxy list page
    pmManual = 2, ///< through the proxy the user entered
};

struct TProxy {
    int Mode = pmNone; ///< other values act as pmNone
    QString Server;
    int Port = 80;
    QString Username;
    QString Password;
    /// The values have been written to the settings file.
    bool Saved = false;
    /// Automatic mode: the proxies found, "host:port", best first.
    QStringList Candidates;

    /// The mode, values outside 0..2 reading as pmNone.
    int EffectiveMode() const { return Mode == pmAuto || Mode == pmManual ? Mode : pmNone; }
};

/// Reads section PROXY (defaults: ProxyMode 2 when ProxyServer is set, else
/// 0; ProxyPort 80) and marks the settings saved.
TProxy ReadProxySettings(const TIniFile &ini);
/// Writes the five keys, mode first, and marks the settings saved.
void WriteProxySettings(TIniFile &ini, TProxy &proxy);

/// Where the download goes (section DOWNLOAD). No host can be assumed, so
/// both sites are settings.
struct TDownloadSites {
    /// Scheme, host and optional port of the results site, e.g.
    /// "https://results.example.org"; the month path is appended.
    QString ResultsUrl;
    /// The proxy list page, fetched over HTTP with the search as its query.
    QString ProxyListUrl;
    /// A PEM file of certificates trusted in addition to the system's.
    QString CaFile;
};
TDownloadSites ReadDownloadSites(const TIniFile &ini);

} // namespace lot
