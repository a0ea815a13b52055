// The proxy list page: the search query and the proxies read from it.

#include "download/ProxyList.h"

#include <gtest/gtest.h>

namespace lot {
namespace {

TEST(ProxyListQuery, KeysPerSelectedValue) {
    TProxySearch s;
    EXPECT_EQ(ProxyListQuery(s, 1), QString());
    s.Http = s.Https = true;
    s.MinUptime = 75;
    s.MaxResponseTimeMs = 10000;
    EXPECT_EQ(ProxyListQuery(s, 1),
              QStringLiteral("protocol=http&protocol=https&min_uptime=75&max_response_time=10"));
    s = TProxySearch{};
    s.Socks5 = true;
    s.AnonymityLevels = {1, 4};
    s.Countries = {QStringLiteral("RU"), QStringLiteral("DE")};
    s.MaxResponseTimeMs = 999; // less than a second: 0 would be sent, so nothing is
    EXPECT_EQ(ProxyListQuery(s, 3),
              QStringLiteral(
                  "protocol=socks5&anonlvl=1&anonlvl=4&country=RU&country=DE&max_response_time=0&offset=30"));
}

TEST(ProxyListReader, TableRowsAndHostPortTexts) {
    const QString html = QStringLiteral("<table><tr><th>IP</th><th>Port</th></tr>"
                                        "<tr><td>10.0.0.1</td><td>8080</td><td>HTTP</td></tr>"
                                        "<tr><td class=\"h\"> proxy.example.org </td><td>3128</td></tr>"
                                        "<tr><td>10.0.0.2</td><td>99999</td></tr></table>"
                                        "<p>also 192.168.1.7:80 and bad 1.2.3.4:0</p>");
    EXPECT_EQ(ReadProxyList(html),
              QStringList({QStringLiteral("10.0.0.1:8080"), QStringLiteral("proxy.example.org:3128"),
                           QStringLiteral("192.168.1.7:80")}));
    EXPECT_EQ(ReadProxyList(html, 3128), QStringList({QStringLiteral("proxy.example.org:3128")}));
    EXPECT_TRUE(ReadProxyList(QStringLiteral("<html>nothing</html>")).isEmpty());
}

} // namespace
} // namespace lot
