#include "download/ProxyList.h"

#include <QRegularExpression>

namespace lot {

QString ProxyListQuery(const TProxySearch &search, int page) {
    QStringList keys;
    const struct {
        bool On;
        const char *Name;
    } protocols[] = {
        {search.Http, "http"}, {search.Https, "https"}, {search.Socks4, "socks4"}, {search.Socks5, "socks5"}};
    for (const auto &p : protocols)
        if (p.On) keys << QStringLiteral("protocol=%1").arg(QLatin1String(p.Name));
    for (int level : search.AnonymityLevels)
        keys << QStringLiteral("anonlvl=%1").arg(level);
    for (const QString &country : search.Countries)
        keys << QStringLiteral("country=%1").arg(country);
    if (search.MinUptime > 0) keys << QStringLiteral("min_uptime=%1").arg(search.MinUptime);
    if (search.MaxResponseTimeMs > 0)
        keys << QStringLiteral("max_response_time=%1").arg(search.MaxResponseTimeMs / 1000);
    if (page > 1) keys << QStringLiteral("offset=%1").arg((page - 1) * ProxiesPerPage);
    return keys.join(QLatin1Char('&'));
}

QStringList ReadProxyList(const QString &html, int port) {
    // A host is an IPv4 address or a name; its port stands in the next table
    // cell or after a colon.
    static const QRegularExpression entry(
        QStringLiteral(
            "(?:<td[^>]*>\\s*([A-Za-z0-9.-]+)\\s*</td>\\s*<td[^>]*>\\s*(\\d{1,5})\\s*</td>)"
            "|(?:\\b((?:\\d{1,3}\\.){3}\\d{1,3}|[A-Za-z0-9-]+(?:\\.[A-Za-z0-9-]+)+):(\\d{1,5})\\b)"),
        QRegularExpression::CaseInsensitiveOption);
    QStringList proxies;
    for (auto it = entry.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const bool cells = !m.captured(1).isEmpty();
        const QString host = cells ? m.captured(1) : m.captured(3);
        const int p = (cells ? m.captured(2) : m.captured(4)).toInt();
        if (p < 1 || p > 65535 || (port > 0 && p != port)) continue;
        proxies << QStringLiteral("%1:%2").arg(host).arg(p);
    }
    return proxies;
}

} // namespace lot
