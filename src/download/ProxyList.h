#pragma once
/// @file The public proxy list page: the search sent as its query and the
/// proxies read from it.

#include <QList>
#include <QString>
#include <QStringList>

namespace lot {

/// What the automatic search asks the list for.
struct TProxySearch {
    bool Http = false;
    bool Https = false;
    bool Socks4 = false;
    bool Socks5 = false;
    QList<int> AnonymityLevels; ///< 1..4
    QStringList Countries;      ///< country codes
    int MinUptime = 0;          ///< sent when above 0
    int MaxResponseTimeMs = 0;  ///< sent in whole seconds when above 0
    int Port = 0;               ///< keep only proxies on this port; 0: any
    int Wanted = 30;            ///< candidates wanted
};

/// Proxies a list page shows at most; a fuller page means another may follow.
inline constexpr int ProxiesPerPage = 15;

/// The query of page (1 = first) of the search: "protocol=http&...", its
/// keys each once per selected value, joined by "&"; empty when no key applies.
QString ProxyListQuery(const TProxySearch &search, int page);

/// The proxies a list page shows, "host:port" in listing order: table rows
/// whose cells hold an address and a port, or "host:port" texts. Ports
/// outside 1..65535 are left out; with port set, only that port is kept.
QStringList ReadProxyList(const QString &html, int port = 0);

} // namespace lot
