#include "download/ProxySettings.h"

#include "core/IniFile.h"

namespace lot {

namespace {
const QString ProxySection = QStringLiteral("PROXY");
const QString DownloadSection = QStringLiteral("DOWNLOAD");
} // namespace

TProxy ReadProxySettings(const TIniFile &ini) {
    TProxy p;
    p.Server = ini.ReadString(ProxySection, QStringLiteral("ProxyServer"), QString());
    p.Mode =
        ini.ReadInteger(ProxySection, QStringLiteral("ProxyMode"), p.Server.isEmpty() ? pmNone : pmManual);
    p.Port = ini.ReadInteger(ProxySection, QStringLiteral("ProxyPort"), 80);
    p.Username = ini.ReadString(ProxySection, QStringLiteral("ProxyUsername"), QString());
    p.Password = ini.ReadString(ProxySection, QStringLiteral("ProxyPassword"), QString());
    p.Saved = true;
    return p;
}

void WriteProxySettings(TIniFile &ini, TProxy &proxy) {
    ini.WriteInteger(ProxySection, QStringLiteral("ProxyMode"), proxy.Mode);
    ini.WriteString(ProxySection, QStringLiteral("ProxyServer"), proxy.Server);
    ini.WriteInteger(ProxySection, QStringLiteral("ProxyPort"), proxy.Port);
    ini.WriteString(ProxySection, QStringLiteral("ProxyUsername"), proxy.Username);
    ini.WriteString(ProxySection, QStringLiteral("ProxyPassword"), proxy.Password);
    proxy.Saved = true;
}

TDownloadSites ReadDownloadSites(const TIniFile &ini) {
    TDownloadSites s;
    s.ResultsUrl = ini.ReadString(DownloadSection, QStringLiteral("ResultsUrl"), QString()).trimmed();
    s.ProxyListUrl = ini.ReadString(DownloadSection, QStringLiteral("ProxyListUrl"), QString()).trimmed();
    s.CaFile = ini.ReadString(DownloadSection, QStringLiteral("CaFile"), QString()).trimmed();
    return s;
}

} // namespace lot
