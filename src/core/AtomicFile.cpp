#include "core/AtomicFile.h"

#include "core/Errors.h"

#include <QFile>
#include <QFileInfo>

namespace lot {

TAtomicFile::TAtomicFile(const QString &fileName) : m_file(fileName) {
    if (!m_file.open(QIODevice::WriteOnly)) Fail();
}

TAtomicFile::~TAtomicFile() {
    if (!m_done) m_file.cancelWriting();
}

void TAtomicFile::Fail() {
    const QString reason = m_file.errorString();
    m_file.cancelWriting();
    m_done = true;
    throw EError(reason);
}

void TAtomicFile::Write(const char *data, qint64 size) {
    if (m_file.write(data, size) != size) Fail();
}

void TAtomicFile::Commit() {
    if (!m_file.commit()) {
        m_done = true;
        throw EError(m_file.errorString());
    }
    m_done = true;
}

void WriteFileAtomically(const QString &fileName, const QByteArray &bytes) {
    TAtomicFile file(fileName);
    file.Write(bytes);
    file.Commit();
}

QString FreeBackupName(const QString &fileName, const QString &noNameText) {
    const QString base = fileName + QStringLiteral(".bak");
    if (!QFileInfo::exists(base)) return base;
    for (int n = 1; n <= 999; ++n) {
        const QString candidate = base + QLatin1Char('.') + QString::number(n);
        if (!QFileInfo::exists(candidate)) return candidate;
    }
    throw EError(noNameText);
}

QString BackupFile(const QString &fileName, const QString &noNameText) {
    const QString backupName = FreeBackupName(fileName, noNameText);
    QFile source(fileName);
    if (!source.open(QIODevice::ReadOnly)) throw EError(source.errorString());
    const QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError) throw EError(source.errorString());
    WriteFileAtomically(backupName, bytes);
    return backupName;
}

} // namespace lot
