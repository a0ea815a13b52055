#include "stakes/StakesFile.h"
#include "core/Messages.h"

#include "core/AtomicFile.h"
#include "core/Errors.h"
#include "core/Format.h"
#include "core/Host.h"

#include <cstring>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <sys/file.h>
#endif

namespace lot {

// Records are read and written as byte images of TStakeRec.
static_assert(std::endian::native == std::endian::little, "the stakes file is little-endian");

namespace {

[[noreturn]] void RaiseNotOpen() {
    throw EError(QStringLiteral("Файл ставок не открыт!"));
}
} // namespace

TStakesFile::~TStakesFile() {
    if (m_file.isOpen()) m_file.close();
}

QString TStakesFile::OutdatedWarningText() {
    return QStringLiteral(
        "Обнаружен файл ставок устаревшей версии - имеющиеся в файле ставки будут удалены!");
}

void TStakesFile::OpenStakes(const QString &fileName) {
    if (m_file.isOpen()) m_file.close();
    m_file.setFileName(fileName);
    if (!m_file.open(QIODevice::ReadWrite)) {
        const QString reason = m_file.errorString();
        throw EError(Format(QStringLiteral("Не удалось открыть файл ставок \"%s\": %s"), {fileName, reason}));
    }
#ifdef Q_OS_UNIX
    // flock locks belong to the open file description, so a second open of
    // the same file is refused even inside this process.
    if (::flock(m_file.handle(), LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        m_file.close();
        if (error == EWOULDBLOCK)
            throw EError(
                Format(QStringLiteral("Файл ставок \"%s\" уже открыт другой копией программы."), {fileName}));
        throw EError(Format(QStringLiteral("Не удалось заблокировать файл ставок \"%s\": %s"),
                            {fileName, QString::fromLocal8Bit(std::strerror(error))}));
    }
#endif
}

void TStakesFile::CloseStakes() {
    if (!m_file.isOpen()) return;
    const bool flushed = m_file.flush();
    const QString reason = m_file.errorString();
    m_file.close(); // also drops the lock
    if (!flushed) throw EError(reason);
}

void TStakesFile::CheckVersion(IHost &host) {
    if (!HasCurrentVersion()) EmptyOutdatedFile(host);
}

bool TStakesFile::HasCurrentVersion() {
    RequireOpen();
    const qint64 size = m_file.size();
    if (size == 0) return true;
    if (size % StakeRecSize != 0) return false;
    char version = 0;
    if (!m_file.seek(0) || m_file.read(&version, 1) != 1) throw EError(m_file.errorString());
    m_file.seek(0);
    return uint8_t(version) == StakesVersion;
}

QString TStakesFile::BackupFileName(const QString &fileName) {
    return FreeBackupName(
        fileName, Format(QStringLiteral("Нет свободного имени для копии файла ставок \"%s\"."), {fileName}));
}

void TStakesFile::EmptyOutdatedFile(IHost &host) {
    host.ShowWarning(OutdatedWarningText());
    // The old stakes are kept beside the file before it is emptied; if that
    // copy cannot be written the file stays as it is and the load fails.
    const QString backupName = BackupFileName(m_file.fileName());
    if (!m_file.seek(0)) throw EError(m_file.errorString());
    const QByteArray old = m_file.readAll();
    if (old.size() != m_file.size()) throw EError(m_file.errorString());
    try {
        WriteFileAtomically(backupName, old);
    } catch (const EError &e) {
        throw EError(Format(QStringLiteral("Не удалось сохранить копию файла ставок \"%s\": %s"),
                            {backupName, e.Message()}));
    }
    Truncate();
}

qint64 TStakesFile::Count() const {
    return m_file.isOpen() ? m_file.size() / StakeRecSize : 0;
}

void TStakesFile::AppendRecord(const TStakeRec &rec) {
    RequireOpen();
    if (!m_file.seek(m_file.size())) throw EError(m_file.errorString());
    if (m_file.write(reinterpret_cast<const char *>(&rec), StakeRecSize) != StakeRecSize)
        throw EError(m_file.errorString());
}

TStakeRec TStakesFile::ReadRecord(qint64 index) {
    RequireOpen();
    TStakeRec rec;
    if (index < 0 || (index + 1) * StakeRecSize > m_file.size())
        throw EError(Format(msg::RecordNotFound, {index}));
    if (!m_file.seek(index * StakeRecSize) ||
        m_file.read(reinterpret_cast<char *>(&rec), StakeRecSize) != StakeRecSize)
        throw EError(m_file.errorString());
    return rec;
}

void TStakesFile::Truncate() {
    RequireOpen();
    if (!m_file.resize(0)) throw EError(m_file.errorString());
    m_file.seek(0);
}

void TStakesFile::RequireOpen() const {
    if (!m_file.isOpen()) RaiseNotOpen();
}

} // namespace lot
