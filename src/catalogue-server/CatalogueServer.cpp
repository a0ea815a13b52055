#include "catalogue-server/CatalogueServer.h"

#include "catalogue-server/CatalogueService.h"
#include "catalogue-server/FormReader.h"
#include "core/Errors.h"
#include "core/Format.h"

#include <QAbstractHttpServer>
#include <QFile>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QTcpServer>
#include <QTcpSocket>

#include <memory>

namespace lot::server {

class TCatalogueServer::THttp : public QAbstractHttpServer {
public:
    explicit THttp(TCatalogueService &service) : m_service(service) {}

protected:
    bool handleRequest(const QHttpServerRequest &request, QTcpSocket *socket) override {
        QHttpServerResponder responder = makeResponder(request, socket);
        const QString path = request.url().path();
        if (!TCatalogueService::Paths().contains(path)) {
            responder.write(QByteArrayLiteral("no such page"), QByteArrayLiteral("text/plain"),
                            QHttpServerResponder::StatusCode::NotFound);
            return true;
        }
        if (request.method() != QHttpServerRequest::Method::Post) {
            responder.write(QByteArrayLiteral("POST only"), QByteArrayLiteral("text/plain"),
                            QHttpServerResponder::StatusCode::MethodNotAllowed);
            return true;
        }
        const QByteArray body = request.body();
        const QByteArray reply = body.size() > TForm::MaxBodySize
                                     ? TCatalogueService::ErrorReply(QStringLiteral("Слишком большой запрос"))
                                     : m_service.Handle(path, body);
        responder.write(reply, QByteArrayLiteral("text/html; charset=windows-1251"));
        return true;
    }
    void missingHandler(const QHttpServerRequest &request, QTcpSocket *socket) override {
        makeResponder(request, socket).write(QHttpServerResponder::StatusCode::NotFound);
    }

private:
    TCatalogueService &m_service;
};

namespace {

QByteArray ReadPem(const QString &fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EError(
            Format(QStringLiteral("Не удалось прочитать файл \"%s\": %s"), {fileName, file.errorString()}));
    return file.read(1024 * 1024);
}

} // namespace

/// The HTTP server holds a whole request in memory before the handler sees it, so a connection
/// that sends more than any request may hold is cut while it arrives. The guard's readyRead
/// slot is connected before the HTTP server's (which connects when it takes the socket, after
/// this slot ran), so it sees each piece before the server reads it.
static void GuardConnections(QTcpServer *server, qint64 limit) {
    QObject::connect(server, &QTcpServer::pendingConnectionAvailable, server, [server, limit] {
        for (QTcpSocket *socket : server->findChildren<QTcpSocket *>(Qt::FindDirectChildrenOnly)) {
            if (socket->property("lotGuarded").toBool()) continue;
            socket->setProperty("lotGuarded", true);
            auto received = std::make_shared<qint64>(0);
            QObject::connect(socket, &QIODevice::readyRead, socket, [socket, received, limit] {
                *received += socket->bytesAvailable();
                if (*received > limit) socket->abort();
            });
        }
    });
}

QString ServerUsage() {
    return QStringLiteral(
        "Brantlee_6x45-catalogue --db FILE [--host ADDRESS] [--port N] [--cert FILE --key FILE]\n"
        "                        [--app APPID=NAME]...\n"
        "  The online catalogue of systems and scripts for Brantlee_6x45 and the programs that speak\n"
        "  its protocol.\n"
        "  --db FILE        the SQLite database; created and brought up to date on start\n"
        "  --host ADDRESS   the address to listen on (default 127.0.0.1)\n"
        "  --port N         the port (default 8645; 0 picks a free one); the address is printed\n"
        "  --cert FILE      PEM certificate (chain) of the server: HTTPS, TLS 1.2 or later\n"
        "  --key FILE       PEM private key of that certificate\n"
        "  --app APPID=NAME the name shown for scripts of another program with that identifier\n"
        "  --release-mail E-MAIL\n"
        "                   forget the key tied to E-MAIL (a player lost it) and end; the next key\n"
        "                   sent with E-MAIL owns its entries\n"
        "  --help           this text\n"
        "  Without --cert the server speaks plain HTTP and listens on a loopback address only.\n");
}

TServerOptions ParseServerOptions(const QStringList &args, bool &help) {
    TServerOptions o;
    help = false;
    bool hostGiven = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            help = true;
            return o;
        }
        const auto value = [&]() -> QString {
            if (i + 1 >= args.size()) throw EError(Format(QStringLiteral("Option %s needs a value"), {a}));
            return args[++i];
        };
        if (a == QLatin1String("--db")) {
            o.Database = value();
        } else if (a == QLatin1String("--host")) {
            const QString text = value();
            if (!o.Host.setAddress(text)) throw EError(Format(QStringLiteral("Bad address: %s"), {text}));
            hostGiven = true;
        } else if (a == QLatin1String("--port")) {
            const QString text = value();
            bool ok = false;
            const int port = text.toInt(&ok);
            if (!ok || port < 0 || port > 65535) throw EError(Format(QStringLiteral("Bad port: %s"), {text}));
            o.Port = quint16(port);
        } else if (a == QLatin1String("--cert")) {
            o.Certificate = value();
        } else if (a == QLatin1String("--key")) {
            o.Key = value();
        } else if (a == QLatin1String("--release-mail")) {
            const QString mail = value().trimmed();
            if (mail.isEmpty()) throw EError(QStringLiteral("--release-mail needs an e-mail"));
            o.ReleaseMails << mail;
        } else if (a == QLatin1String("--app")) {
            const QString text = value();
            if (!text.contains(QLatin1Char('=')) || text.startsWith(QLatin1Char('=')))
                throw EError(Format(QStringLiteral("Bad --app value (APPID=NAME expected): %s"), {text}));
            o.Applications << text;
        } else {
            throw EError(Format(QStringLiteral("Unknown argument: %s"), {a}));
        }
    }
    if (o.Database.isEmpty()) throw EError(QStringLiteral("--db FILE is required"));
    if (o.Certificate.isEmpty() != o.Key.isEmpty())
        throw EError(QStringLiteral("--cert and --key go together"));
    if (o.Certificate.isEmpty() && hostGiven && !o.Host.isLoopback())
        throw EError(QStringLiteral("Without --cert the server listens on a loopback address only"));
    return o;
}

TCatalogueServer::TCatalogueServer(const TServerOptions &options)
    : m_service(std::make_unique<TCatalogueService>(options.Database)), m_host(options.Host) {
    for (const QString &app : options.Applications) {
        const qsizetype eq = app.indexOf(QLatin1Char('='));
        m_service->AddApplication(app.left(eq), app.mid(eq + 1));
    }
    m_http = std::make_unique<THttp>(*m_service);
    QTcpServer *server = nullptr;
    if (!options.Certificate.isEmpty()) {
        const QList<QSslCertificate> chain =
            QSslCertificate::fromData(ReadPem(options.Certificate), QSsl::Pem);
        if (chain.isEmpty())
            throw EError(Format(QStringLiteral("No certificate in \"%s\""), {options.Certificate}));
        const QByteArray keyPem = ReadPem(options.Key);
        QSslKey key(keyPem, QSsl::Rsa, QSsl::Pem);
        if (key.isNull()) key = QSslKey(keyPem, QSsl::Ec, QSsl::Pem);
        if (key.isNull()) throw EError(Format(QStringLiteral("No private key in \"%s\""), {options.Key}));
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.setLocalCertificateChain(chain);
        tls.setPrivateKey(key);
        tls.setProtocol(QSsl::TlsV1_2OrLater);
        tls.setPeerVerifyMode(QSslSocket::VerifyNone);
        auto *ssl = new QSslServer;
        ssl->setSslConfiguration(tls);
        // A client that fails the handshake just goes.
        QObject::connect(ssl, &QSslServer::errorOccurred, ssl,
                         [](QSslSocket *socket, QAbstractSocket::SocketError) { socket->deleteLater(); });
        server = ssl;
        m_tls = true;
    } else {
        server = new QTcpServer;
    }
    if (!server->listen(options.Host, options.Port)) {
        const QString reason = server->errorString();
        delete server;
        throw EError(Format(QStringLiteral("Cannot listen on %s:%d: %s"),
                            {options.Host.toString(), int(options.Port), reason}));
    }
    m_port = server->serverPort();
    GuardConnections(server, TForm::MaxBodySize + 64 * 1024);
    m_http->bind(server);
}

TCatalogueServer::~TCatalogueServer() = default;

QString TCatalogueServer::Url() const {
    QString host = m_host.toString();
    if (m_host.protocol() == QAbstractSocket::IPv6Protocol) host = QLatin1Char('[') + host + QLatin1Char(']');
    return QStringLiteral("%1://%2:%3")
        .arg(m_tls ? QStringLiteral("https") : QStringLiteral("http"), host)
        .arg(m_port);
}

} // namespace lot::server
