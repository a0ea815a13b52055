#include "download/HttpClient.h"

#include "core/Errors.h"
#include "core/Format.h"

#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkCookie>
#include <QNetworkCookieJar>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslError>
#include <QTimer>

#include <zlib.h>

namespace lot {

namespace {

/// A cookie jar that keeps nothing.
class TNoCookies : public QNetworkCookieJar {
public:
    bool setCookiesFromUrl(const QList<QNetworkCookie> &, const QUrl &) override { return false; }
    QList<QNetworkCookie> cookiesForUrl(const QUrl &) const override { return {}; }
};

/// Inflates with the given window bits (31: gzip, 15: zlib, -15: raw deflate).
bool Inflate(const QByteArray &in, int windowBits, qsizetype maxSize, QByteArray &out) {
    z_stream zs{};
    if (inflateInit2(&zs, windowBits) != Z_OK) return false;
    out.clear();
    zs.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(in.constData()));
    zs.avail_in = uInt(in.size());
    char buffer[64 * 1024];
    int rc = Z_OK;
    while (rc != Z_STREAM_END) {
        zs.next_out = reinterpret_cast<Bytef *>(buffer);
        zs.avail_out = sizeof buffer;
        rc = inflate(&zs, Z_NO_FLUSH);
        if (rc != Z_OK && rc != Z_STREAM_END) break;
        out.append(buffer, qsizetype(sizeof buffer - zs.avail_out));
        if (out.size() > maxSize) {
            inflateEnd(&zs);
            throw EError(QStringLiteral("Слишком большой ответ сервера"));
        }
        // Input used up without the end of the stream: a cut body.
        if (rc == Z_OK && zs.avail_in == 0 && zs.avail_out != 0) break;
    }
    inflateEnd(&zs);
    return rc == Z_STREAM_END;
}

} // namespace

QByteArray DecodeBody(const QByteArray &body, const QByteArray &contentEncoding, qsizetype maxSize) {
    const QByteArray encoding = contentEncoding.trimmed().toLower();
    if (encoding.isEmpty() || encoding == "identity") return body;
    QByteArray out;
    if (encoding == "gzip" || encoding == "x-gzip") {
        if (Inflate(body, 15 + 16, maxSize, out)) return out;
    } else if (encoding == "deflate") {
        // Servers send deflate with or without the zlib wrapper.
        if (Inflate(body, 15, maxSize, out) || Inflate(body, -15, maxSize, out)) return out;
    } else {
        throw EError(Format(QStringLiteral("Неизвестное кодирование ответа сервера: %s"),
                            {QString::fromLatin1(encoding)}));
    }
    throw EError(QStringLiteral("Поврежденный сжатый ответ сервера"));
}

QList<QPair<QByteArray, QByteArray>> THttpClient::BrowserHeaders() {
    return {
        {"Accept", "text/html,application/xhtml+xml,application/xml;q=0.9,image/webp,*/*;q=0.8"},
        {"Accept-Encoding", "gzip, deflate, sdch"},
        {"User-Agent", "Mozilla/5.0 (Windows NT 6.1; WOW64) AppleWebKit/537.36 (KHTML, like Gecko) "
                       "Chrome/47.0.2526.80 Safari/537.36"},
        {"Connection", "close"},
    };
}

THttpClient::THttpClient() : m_manager(std::make_unique<QNetworkAccessManager>()) {
    m_manager->setCookieJar(new TNoCookies);
}

THttpClient::~THttpClient() = default;

void THttpClient::SetTimeouts(int connectMs, int readMs) {
    m_connectMs = qMax(1, connectMs);
    m_readMs = qMax(1, readMs);
}

void THttpClient::SetCaFile(const QString &fileName) {
    m_caCertificates.clear();
    if (fileName.isEmpty()) return;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EError(Format(QStringLiteral("Не удалось прочитать файл сертификатов \"%s\": %s"),
                            {fileName, file.errorString()}));
    const QByteArray pem = file.read(4 * 1024 * 1024);
    if (QSslCertificate::fromData(pem, QSsl::Pem).isEmpty())
        throw EError(Format(QStringLiteral("В файле \"%s\" нет сертификатов"), {fileName}));
    m_caCertificates << pem;
}

QByteArray THttpClient::Get(const QUrl &url, const QNetworkProxy &proxy) {
    return Send(url, proxy, nullptr);
}

QByteArray THttpClient::PostForm(const QUrl &url, const QByteArray &form, const QNetworkProxy &proxy) {
    return Send(url, proxy, &form);
}

QByteArray THttpClient::Send(const QUrl &url, const QNetworkProxy &proxy, const QByteArray *form) {
    QNetworkRequest request(url);
    for (const auto &[name, value] : BrowserHeaders())
        request.setRawHeader(name, value);
    // The catalogue's form calls send the older Accept value of the browser they came from.
    if (form) request.setRawHeader("Accept", FormAccept);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    if (url.scheme() == QLatin1String("https")) {
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.setProtocol(QSsl::TlsV1_2OrLater);
        tls.setPeerVerifyMode(QSslSocket::VerifyPeer);
        QList<QSslCertificate> trusted = QSslConfiguration::systemCaCertificates();
        for (const QByteArray &pem : m_caCertificates)
            trusted << QSslCertificate::fromData(pem, QSsl::Pem);
        tls.setCaCertificates(trusted);
        request.setSslConfiguration(tls);
    }
    m_manager->setProxy(proxy);

    QNetworkReply *reply = nullptr;
    if (form) {
        request.setHeader(QNetworkRequest::ContentTypeHeader,
                          QByteArrayLiteral("application/x-www-form-urlencoded"));
        reply = m_manager->post(request, *form);
    } else {
        reply = m_manager->get(request);
    }
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QString timedOut;
    QStringList tlsErrors;
    QByteArray body;
    bool tooLarge = false;
    const auto waitFor = [&](int ms, const QString &what) {
        timedOut = what;
        timer.start(ms);
    };
    waitFor(m_connectMs, Format(QStringLiteral("Сервер не ответил за %d мс"), {m_connectMs}));
    const auto reading = [&] {
        waitFor(m_readMs, Format(QStringLiteral("Ответ сервера прервался более чем на %d мс"), {m_readMs}));
    };
    // Once the request is out, the server's silence counts against the read limit.
    QObject::connect(reply, &QNetworkReply::requestSent, &loop, reading);
    QObject::connect(reply, &QNetworkReply::metaDataChanged, &loop, reading);
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, [&] {
        reading();
        body += reply->readAll();
        if (body.size() > MaxBodySize) {
            tooLarge = true;
            reply->abort();
        }
    });
    QObject::connect(reply, &QNetworkReply::sslErrors, &loop, [&](const QList<QSslError> &errors) {
        for (const QSslError &e : errors)
            tlsErrors << e.errorString();
    });
    bool fired = false;
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        fired = true;
        reply->abort();
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    // The window goes on repainting meanwhile; the busy state keeps the
    // user from starting anything else.
    if (!reply->isFinished()) loop.exec();
    timer.stop();
    body += reply->readAll();

    const QNetworkReply::NetworkError error = reply->error();
    const QString errorText = reply->errorString();
    const QByteArray encoding = reply->rawHeader("Content-Encoding");
    reply->deleteLater();
    // One connection per page.
    m_manager->clearConnectionCache();

    if (fired) throw EError(timedOut);
    if (tooLarge) throw EError(QStringLiteral("Слишком большой ответ сервера"));
    if (!tlsErrors.isEmpty())
        throw EError(QStringLiteral("Сертификат сервера не принят: ") + tlsErrors.join(QStringLiteral("; ")));
    if (error != QNetworkReply::NoError) throw EError(errorText);
    return DecodeBody(body, encoding, MaxBodySize);
}

} // namespace lot
