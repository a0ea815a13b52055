#pragma once
/// @file TCatalogueServer: the catalogue over HTTP(S). Every call is a POST of a form to one of
/// the service's paths; the reply is the service's text. With a certificate it speaks TLS 1.2 or
/// later only; without one it listens on a loopback address only, for local use.

#include <QHostAddress>
#include <QString>
#include <QStringList>

#include <memory>

namespace lot::server {

class TCatalogueService;

struct TServerOptions {
    QString Database;
    QHostAddress Host = QHostAddress::LocalHost;
    quint16 Port = 8645; ///< 0: any free port
    QString Certificate; ///< PEM files; both or neither
    QString Key;
    /// Further "APPID=NAME" pairs: the application names of scripts of other programs.
    QStringList Applications;
    /// --release-mail: forget the installation key tied to these e-mails and end (the next key
    /// seen with one owns its entries; for a player who lost the key).
    QStringList ReleaseMails;
};

/// Reads the program's arguments (without the program name). Raises EError with a readable
/// text for a missing or bad value; help receives whether --help was asked for.
TServerOptions ParseServerOptions(const QStringList &args, bool &help);
/// The text of --help.
QString ServerUsage();

class TCatalogueServer {
public:
    /// Opens the database and listens; raises EError when either fails.
    explicit TCatalogueServer(const TServerOptions &options);
    ~TCatalogueServer();
    /// The port listened on (the chosen one for port 0).
    quint16 Port() const { return m_port; }
    /// "https://127.0.0.1:PORT" or "http://...".
    QString Url() const;
    TCatalogueService &Service() { return *m_service; }

private:
    class THttp;
    std::unique_ptr<TCatalogueService> m_service;
    std::unique_ptr<THttp> m_http;
    QHostAddress m_host;
    quint16 m_port = 0;
    bool m_tls = false;
};

} // namespace lot::server
