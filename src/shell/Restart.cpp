#include "shell/Restart.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace lot {

namespace {
// Raw link text: QFileInfo would resolve it further and lose the suffix below.
QString ReadLink(const QString &path) {
#ifdef Q_OS_UNIX
    char buffer[4096];
    const ssize_t n = ::readlink(QFile::encodeName(path).constData(), buffer, sizeof(buffer));
    if (n <= 0) return {};
    return QFile::decodeName(QByteArray(buffer, int(n)));
#else
    Q_UNUSED(path);
    return {};
#endif
}
} // namespace

bool Restart(const QString &program) {
    const QString exe = program.isEmpty() ? QCoreApplication::applicationFilePath() : program;
    const QString folder = QFileInfo(exe).absolutePath();
    if (!QProcess::startDetached(exe, {QStringLiteral("restart")}, folder)) return false;
    if (QCoreApplication::instance()) QCoreApplication::quit();
    return true;
}

QList<qint64> FindOtherProcesses(const QString &exeName) {
    QList<qint64> result;
    const qint64 self = QCoreApplication::applicationPid();
    // The kernel marks an executable that was replaced on disk (a self-update
    // does that) with this suffix; the old instance must still be found.
    static const QString deletedSuffix = QStringLiteral(" (deleted)");
    const QDir proc(QStringLiteral("/proc"));
    for (const QString &entry : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool ok = false;
        const qint64 pid = entry.toLongLong(&ok);
        if (!ok || pid == self) continue;
        QString target = ReadLink(proc.filePath(entry + QStringLiteral("/exe")));
        if (target.isEmpty()) continue; // gone meanwhile, or another user's process
        if (target.endsWith(deletedSuffix)) target.chop(deletedSuffix.size());
        if (QFileInfo(target).fileName() == exeName) result.append(pid);
    }
    return result;
}

bool WaitForOtherInstances(const QString &exeName, int maxLooks, int intervalMs) {
    const QString name =
        exeName.isEmpty() ? QFileInfo(QCoreApplication::applicationFilePath()).fileName() : exeName;
    for (int look = 0; look < maxLooks; ++look) {
        if (FindOtherProcesses(name).isEmpty()) return true;
        if (look + 1 < maxLooks) QThread::msleep(ulong(qMax(0, intervalMs)));
    }
    return false;
}

} // namespace lot
