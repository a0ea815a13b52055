#pragma once
// The catalogue server program, started by a test on 127.0.0.1 with the test certificate,
// on a free port, over a database file the test chooses.

#include "catalogue/CatalogueClient.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

#include <memory>

namespace lot::test {

inline void EnsureApplication() {
    static int argc = 1;
    static char name[] = "test_catalogue";
    static char *argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
}

inline QString TestCaFile() {
    return QStringLiteral(TEST_DATA_DIR "/download/ca.pem");
}

class TServerProcess {
public:
    /// Starts the server over database; Url() is empty when it did not come up.
    explicit TServerProcess(const QString &database, const QStringList &extra = {}) {
        EnsureApplication();
        QStringList args{QStringLiteral("--db"),   database,
                         QStringLiteral("--port"), QStringLiteral("0"),
                         QStringLiteral("--cert"), QStringLiteral(TEST_DATA_DIR "/download/server.pem"),
                         QStringLiteral("--key"),  QStringLiteral(TEST_DATA_DIR "/download/server.key")};
        args += extra;
        m_process.setProgram(QStringLiteral(CATALOGUE_SERVER_EXECUTABLE));
        m_process.setArguments(args);
        m_process.start();
        if (!m_process.waitForStarted(10000)) return;
        QElapsedTimer timer;
        timer.start();
        static const QRegularExpression line(QStringLiteral("Listening on (\\S+)"));
        while (timer.elapsed() < 20000) {
            if (!m_process.waitForReadyRead(1000) && m_process.state() != QProcess::Running) break;
            m_output += QString::fromUtf8(m_process.readAllStandardOutput());
            const auto match = line.match(m_output);
            if (match.hasMatch()) {
                m_url = match.captured(1);
                return;
            }
        }
    }
    ~TServerProcess() { Stop(); }

    void Stop() {
        if (m_process.state() == QProcess::NotRunning) return;
        m_process.terminate();
        if (!m_process.waitForFinished(10000)) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    const QString &Url() const { return m_url; }
    QString Errors() { return QString::fromUtf8(m_process.readAllStandardError()); }

    /// A client of this server for one user.
    std::unique_ptr<TCatalogueClient> Client(const QString &name, const QString &mail,
                                             const QString &key) const {
        TCatalogueSettings s;
        s.Url = m_url;
        s.CaFile = TestCaFile();
        s.UserName = name;
        s.UserMail = mail;
        s.ClientKey = key;
        return std::make_unique<TCatalogueClient>(s);
    }

private:
    QProcess m_process;
    QString m_output;
    QString m_url;
};

} // namespace lot::test
