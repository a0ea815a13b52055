#pragma once
/// @file THttpClient: one page at a time over HTTP(S), waiting in a local
/// event loop so the window keeps repainting. Redirects are followed, no
/// cookie is kept, gzip and deflate bodies are decoded here, and a server
/// certificate must be trusted by the system or the configured CA file.

#include <QByteArray>
#include <QList>
#include <QNetworkProxy>
#include <QPair>
#include <QString>
#include <QUrl>

#include <memory>

class QNetworkAccessManager;

namespace lot {

/// Decodes a response body by its Content-Encoding ("gzip", "x-gzip",
/// "deflate", or none); raises EError for a damaged body or one that would
/// grow beyond maxSize bytes.
QByteArray DecodeBody(const QByteArray &body, const QByteArray &contentEncoding, qsizetype maxSize);

class THttpClient {
public:
    /// The headers every page request carries, as a browser sends them.
    static QList<QPair<QByteArray, QByteArray>> BrowserHeaders();
    /// The Accept header of PostForm.
    static constexpr const char *FormAccept =
        "text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8";
    /// The largest body a page may have, raw or decoded.
    static constexpr qsizetype MaxBodySize = 64 * 1024 * 1024;

    THttpClient();
    ~THttpClient();
    THttpClient(const THttpClient &) = delete;
    THttpClient &operator=(const THttpClient &) = delete;

    /// Time to the first answer of the server, and the longest silence while
    /// the page arrives (5 s and 10 s; tests shorten them).
    void SetTimeouts(int connectMs, int readMs);
    /// Certificates trusted beside the system's (a PEM file; empty: none).
    /// Raises EError when the file cannot be read or holds no certificate.
    void SetCaFile(const QString &fileName);

    /// GETs url through proxy (QNetworkProxy::NoProxy: directly) and returns
    /// the decoded body. Raises EError with the reason on any transport,
    /// TLS or HTTP error, or a timeout. The connection is closed afterwards.
    QByteArray Get(const QUrl &url, const QNetworkProxy &proxy);
    /// POSTs form, an "application/x-www-form-urlencoded" body, to url with
    /// the same headers and rules as Get.
    QByteArray PostForm(const QUrl &url, const QByteArray &form, const QNetworkProxy &proxy);

private:
    /// Get (form null) or PostForm.
    QByteArray Send(const QUrl &url, const QNetworkProxy &proxy, const QByteArray *form);

    std::unique_ptr<QNetworkAccessManager> m_manager;
    QList<QByteArray> m_caCertificates; ///< PEM, parsed per request
    int m_connectMs = 5000;
    int m_readMs = 10000;
};

} // namespace lot
