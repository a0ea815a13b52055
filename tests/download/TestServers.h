#pragma once
// Servers the download tests talk to, all on 127.0.0.1 in this process:
// a web server (HTTPS with the test CA's certificate, or plain HTTP) that
// answers paths from a table, and an HTTP CONNECT proxy.

#include <QByteArray>
#include <QFile>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QSslSocket>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <functional>
#include <memory>

namespace lot::test {

inline QByteArray ReadFixture(const char *name) {
    QFile f(QStringLiteral(TEST_DATA_DIR "/download/") + QLatin1String(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

/// One answer of the web server.
struct TAnswer {
    QByteArray Status = "200 OK";
    QByteArray Body;
    QList<QPair<QByteArray, QByteArray>> Headers;
    int DelayMs = 0; ///< wait before answering (the read limit)
};

/// What the server saw of one request.
struct TSeenRequest {
    QByteArray Target;                     ///< path and query
    QHash<QByteArray, QByteArray> Headers; ///< names in lower case
};

class TWebServer : public QObject {
public:
    /// tls: HTTPS with the certificate pair named (fixture files).
    explicit TWebServer(bool tls, const char *cert = "server.pem", const char *key = "server.key") {
        if (tls) {
            auto *server = new QSslServer(this);
            QSslConfiguration conf = QSslConfiguration::defaultConfiguration();
            conf.setLocalCertificate(QSslCertificate(ReadFixture(cert), QSsl::Pem));
            conf.setPrivateKey(QSslKey(ReadFixture(key), QSsl::Rsa, QSsl::Pem));
            conf.setPeerVerifyMode(QSslSocket::VerifyNone);
            server->setSslConfiguration(conf);
            // The client may fail the handshake on purpose (an untrusted
            // certificate): such sockets just go.
            QObject::connect(server, &QSslServer::errorOccurred, server,
                             [](QSslSocket *s, auto) { s->deleteLater(); });
            m_server = server;
            QObject::connect(server, &QSslServer::pendingConnectionAvailable, this, &TWebServer::Accept);
        } else {
            m_server = new QTcpServer(this);
            QObject::connect(m_server, &QTcpServer::newConnection, this, &TWebServer::Accept);
        }
        m_server->listen(QHostAddress::LocalHost, 0);
    }

    quint16 Port() const { return m_server->serverPort(); }
    QString Url() const {
        return QStringLiteral("%1://127.0.0.1:%2")
            .arg(qobject_cast<QSslServer *>(m_server) ? QStringLiteral("https") : QStringLiteral("http"))
            .arg(Port());
    }
    /// The answer to a path (the query does not count); unknown paths get 404.
    void Route(const QByteArray &path, const TAnswer &answer) { m_routes[path] = answer; }
    const QList<TSeenRequest> &Seen() const { return m_seen; }
    QList<QByteArray> SeenPaths() const {
        QList<QByteArray> paths;
        for (const TSeenRequest &r : m_seen)
            paths << r.Target.split('?').first();
        return paths;
    }

private:
    void Accept() {
        while (QTcpSocket *socket = m_server->nextPendingConnection()) {
            auto buffer = std::make_shared<QByteArray>();
            QObject::connect(socket, &QTcpSocket::readyRead, this, [this, socket, buffer] {
                *buffer += socket->readAll();
                const qsizetype end = buffer->indexOf("\r\n\r\n");
                if (end < 0 || socket->property("answered").toBool()) return;
                socket->setProperty("answered", true);
                Answer(socket, buffer->left(end));
            });
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    }

    void Answer(QTcpSocket *socket, const QByteArray &head) {
        const QList<QByteArray> lines = head.split('\n');
        const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
        TSeenRequest seen;
        seen.Target = requestLine.value(1);
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const qsizetype colon = lines[i].indexOf(':');
            if (colon > 0)
                seen.Headers[lines[i].left(colon).trimmed().toLower()] = lines[i].mid(colon + 1).trimmed();
        }
        m_seen << seen;
        const QByteArray path = seen.Target.split('?').first();
        const TAnswer answer = m_routes.value(path, TAnswer{"404 Not Found", "no such page", {}, 0});
        QPointer<QTcpSocket> guarded(socket);
        const auto send = [guarded, answer] {
            if (!guarded) return;
            QByteArray out = "HTTP/1.1 " + answer.Status + "\r\n";
            for (const auto &[name, value] : answer.Headers)
                out += name + ": " + value + "\r\n";
            out +=
                "Content-Length: " + QByteArray::number(answer.Body.size()) + "\r\nConnection: close\r\n\r\n";
            out += answer.Body;
            guarded->write(out);
            guarded->disconnectFromHost();
        };
        if (answer.DelayMs > 0)
            QTimer::singleShot(answer.DelayMs, socket, send);
        else
            send();
    }

    QTcpServer *m_server = nullptr;
    QHash<QByteArray, TAnswer> m_routes;
    QList<TSeenRequest> m_seen;
};

/// An HTTP proxy that tunnels CONNECT requests (what a client does for an
/// HTTPS page through a proxy).
class TConnectProxy : public QObject {
public:
    TConnectProxy() {
        m_server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *client = m_server.nextPendingConnection())
                Serve(client);
        });
    }
    quint16 Port() const { return m_server.serverPort(); }
    int Tunnels() const { return m_tunnels; }

private:
    void Serve(QTcpSocket *client) {
        auto head = std::make_shared<QByteArray>();
        auto target = std::make_shared<QPointer<QTcpSocket>>();
        QObject::connect(client, &QTcpSocket::readyRead, this, [this, client, head, target] {
            if (*target) {
                (*target)->write(client->readAll());
                return;
            }
            *head += client->readAll();
            const qsizetype end = head->indexOf("\r\n\r\n");
            if (end < 0) return;
            const QList<QByteArray> words = head->left(head->indexOf("\r\n")).split(' ');
            const QList<QByteArray> hostPort = words.value(1).split(':');
            if (words.value(0) != "CONNECT" || hostPort.size() != 2) {
                client->write("HTTP/1.1 400 Bad Request\r\n\r\n");
                client->disconnectFromHost();
                return;
            }
            auto *upstream = new QTcpSocket(client);
            *target = upstream;
            const QByteArray rest = head->mid(end + 4);
            QObject::connect(upstream, &QTcpSocket::connected, client, [this, client, upstream, rest] {
                ++m_tunnels;
                client->write("HTTP/1.1 200 Connection established\r\n\r\n");
                if (!rest.isEmpty()) upstream->write(rest);
            });
            QObject::connect(upstream, &QTcpSocket::readyRead, client,
                             [client, upstream] { client->write(upstream->readAll()); });
            QObject::connect(upstream, &QTcpSocket::disconnected, client, &QTcpSocket::disconnectFromHost);
            upstream->connectToHost(QString::fromLatin1(hostPort[0]), quint16(hostPort[1].toUInt()));
        });
        QObject::connect(client, &QTcpSocket::disconnected, client, &QObject::deleteLater);
    }

    QTcpServer m_server;
    int m_tunnels = 0;
};

/// A port on 127.0.0.1 where nothing listens (a proxy that is gone).
inline quint16 ClosedPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}

} // namespace lot::test
