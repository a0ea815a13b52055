#include "stakes/StakesFile.h"

#include "core/AtomicFile.h"
#include "core/CoreHelpers.h"
#include "core/Errors.h"
#include "core/Format.h"
#include "core/Host.h"
#include "core/Messages.h"
#include "stakes/StakesAppender.h"

#include <bit>
#include <cstring>
#include <QDir>
#include <QFileInfo>
#include <vector>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <sys/file.h>
#endif

namespace lot {

// Records are read and written as byte images of TStakeRec.
static_assert(std::endian::native == std::endian::little, "the stakes file is little-endian");

namespace {

[[noreturn]] void RaiseNotOpen() {
    throw EError(QString::fromUtf8(msg::StakesNotOpen));
}

[[noreturn]] void RaiseNotFound(qint64 index) {
    throw EError(Format(msg::RecordNotFound, {index}));
}

} // namespace

TStakesFile::TStakesFile() : m_file(std::make_unique<QFile>()) {}

TStakesFile::~TStakesFile() {
    if (m_file->isOpen()) m_file->close();
}

QString TStakesFile::OutdatedWarningText() {
    return QStringLiteral(
        "Обнаружен файл ставок устаревшей версии - имеющиеся в файле ставки будут удалены!");
}

QString TStakesFile::TempFileName(const QString &stakesFileName) {
    const QFileInfo info(stakesFileName);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".~tmp"));
}

std::unique_ptr<QFile> TStakesFile::LockedFile(const QString &fileName, QIODevice::OpenMode mode) {
    auto file = std::make_unique<QFile>(fileName);
    if (!file->open(mode | QIODevice::Unbuffered)) {
        const QString reason = file->errorString();
        throw EError(Format(QStringLiteral("Не удалось открыть файл ставок \"%s\": %s"), {fileName, reason}));
    }
#ifdef Q_OS_UNIX
    // flock locks belong to the open file description, so a second open of
    // the same file is refused even inside this process.
    if (::flock(file->handle(), LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        file->close();
        if (error == EWOULDBLOCK)
            throw EError(
                Format(QStringLiteral("Файл ставок \"%s\" уже открыт другой копией программы."), {fileName}));
        throw EError(Format(QStringLiteral("Не удалось заблокировать файл ставок \"%s\": %s"),
                            {fileName, QString::fromLocal8Bit(std::strerror(error))}));
    }
#endif
    return file;
}

void TStakesFile::OpenStakes(const QString &fileName) {
    if (m_file->isOpen()) m_file->close();
    InvalidateCache();
    m_position = 0;
    m_fileName = fileName;
    m_file = LockedFile(fileName, QIODevice::ReadWrite);
}

void TStakesFile::OpenForReading(const QString &fileName) {
    if (m_file->isOpen()) m_file->close();
    InvalidateCache();
    m_position = 0;
    m_fileName = fileName;
    m_file = std::make_unique<QFile>(fileName);
    // Nothing to read is an empty file; the listing must not create one.
    if (!QFileInfo::exists(fileName)) return;
    if (!m_file->open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        const QString reason = m_file->errorString();
        throw EError(Format(QStringLiteral("Не удалось открыть файл ставок \"%s\": %s"), {fileName, reason}));
    }
}

void TStakesFile::CloseStakes() {
    InvalidateCache();
    if (!m_file->isOpen()) return;
    const bool flushed = m_file->flush();
    const QString reason = m_file->errorString();
    m_file->close(); // also drops the lock
    if (!flushed) throw EError(reason);
}

void TStakesFile::Flush() {
    RequireOpen();
    if (!m_file->flush()) RaiseIoError();
}

bool TStakesFile::IsOpen() const {
    return m_file->isOpen();
}

bool TStakesFile::IsWritable() const {
    return m_file->isOpen() && m_file->isWritable();
}

bool TStakesFile::CheckVersion(IHost &host) {
    if (HasCurrentVersion()) return false;
    EmptyOutdatedFile(host);
    return true;
}

bool TStakesFile::HasCurrentVersion() {
    RequireOpen();
    const qint64 size = m_file->size();
    if (size == 0) return true;
    if (size % StakeRecSize != 0) return false;
    char version = 0;
    if (!m_file->seek(0) || m_file->read(&version, 1) != 1) RaiseIoError();
    m_file->seek(0);
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
    const QString backupName = BackupFileName(m_fileName);
    if (!m_file->seek(0)) RaiseIoError();
    const QByteArray old = m_file->readAll();
    if (old.size() != m_file->size()) RaiseIoError();
    try {
        WriteFileAtomically(backupName, old);
    } catch (const EError &e) {
        throw EError(Format(QStringLiteral("Не удалось сохранить копию файла ставок \"%s\": %s"),
                            {backupName, e.Message()}));
    }
    Truncate();
}

qint64 TStakesFile::Count() const {
    return m_file->isOpen() ? m_file->size() / StakeRecSize : 0;
}

// ---- single records ------------------------------------------------------------------------

void TStakesFile::AppendRecord(const TStakeRec &rec) {
    AppendRecords(&rec, 1);
}

TStakeRec TStakesFile::ReadRecord(qint64 index) {
    RequireOpen();
    TStakeRec rec;
    if (index < 0 || index >= Count()) RaiseNotFound(index);
    if (ReadRecords(index, &rec, 1) != 1) RaiseNotFound(index);
    return rec;
}

qint64 TStakesFile::Absolute(TSeekOrigin origin, qint64 index) const {
    switch (origin) {
    case TSeekOrigin::Current:
        return m_position + index;
    case TSeekOrigin::End:
        return Count() + index;
    case TSeekOrigin::Beginning:
    default:
        return index;
    }
}

TStakeRec TStakesFile::ReadStake(TSeekOrigin origin, qint64 index) {
    RequireOpen();
    // The cache is keyed by the record's place in the file, not by the
    // origin: "the last record" is another record once the file grew.
    const qint64 at = Absolute(origin, index);
    if (at >= 0 && at == m_cacheIndex) {
        m_position = at + 1;
        return m_cache;
    }
    if (at < 0 || at >= Count()) RaiseNotFound(index);
    TStakeRec rec;
    if (ReadRecords(at, &rec, 1) != 1) RaiseNotFound(index);
    m_cache = rec;
    m_cacheIndex = at;
    m_position = at + 1;
    return rec;
}

void TStakesFile::WriteStake(TSeekOrigin origin, qint64 index, const TStakeRec &rec) {
    RequireWritable();
    const qint64 at = Absolute(origin, index);
    const qint64 count = Count();
    if (at < 0 || at > count) RaiseNotFound(index);
    if (at == count)
        AppendRecords(&rec, 1);
    else
        WriteRecords(at, &rec, 1);
    m_position = at + 1;
}

// ---- blocks ----------------------------------------------------------------------------------

qint64 TStakesFile::ReadRecords(qint64 index, TStakeRec *dest, qint64 count) {
    RequireOpen();
    if (index < 0 || count <= 0) return 0;
    ResetError(*m_file);
    if (!m_file->seek(index * StakeRecSize)) RaiseIoError();
    const qint64 got = m_file->read(reinterpret_cast<char *>(dest), count * StakeRecSize);
    if (got < 0) RaiseIoError();
    m_recordsRead += got / StakeRecSize;
    return got / StakeRecSize;
}

void TStakesFile::WriteRecords(qint64 index, const TStakeRec *src, qint64 count) {
    RequireWritable();
    if (count <= 0) return;
    if (index < 0 || index + count > Count()) RaiseNotFound(index);
    const qint64 bytes = count * StakeRecSize;
    ResetError(*m_file);
    if (!m_file->seek(index * StakeRecSize) ||
        m_file->write(reinterpret_cast<const char *>(src), bytes) != bytes)
        RaiseIoError();
    if (m_cacheIndex >= index && m_cacheIndex < index + count) m_cache = src[m_cacheIndex - index];
}

void TStakesFile::AppendRecords(const TStakeRec *src, qint64 count) {
    RequireWritable();
    if (count <= 0) return;
    const qint64 size = m_file->size();
    const qint64 bytes = count * StakeRecSize;
    ResetError(*m_file);
    if (!m_file->seek(size) || m_file->write(reinterpret_cast<const char *>(src), bytes) != bytes) {
        const QString reason = IoErrorText(*m_file, errno);
        // A partial record at the end would make the next start take the
        // whole file for one of another version.
        m_file->resize(size);
        throw EError(reason);
    }
}

// ---- the operations of the table -------------------------------------------------------------

bool TStakesFile::FindStake(int drawNumber, const TNumberSet &numbers) {
    RequireOpen();
    std::vector<TStakeRec> block(static_cast<size_t>(BlockRecords));
    const qint64 count = Count();
    for (qint64 at = 0; at < count;) {
        const qint64 got = ReadRecords(at, block.data(), std::min(BlockRecords, count - at));
        if (got <= 0) break;
        for (qint64 i = 0; i < got; ++i)
            if (block[size_t(i)].DrawNumber == drawNumber && SameNumberSet(block[size_t(i)].Numbers, numbers))
                return true;
        at += got;
    }
    return false;
}

void TStakesFile::AppendStakes(const TStakeRec &tmpl, int drawsCount) {
    TStakesAppender appender(*this);
    appender.AppendStakes(tmpl, drawsCount);
    appender.Flush();
}

void TStakesFile::AppendSeparator() {
    RequireWritable();
    const qint64 count = Count();
    if (count > 0 && ReadRecord(count - 1).DrawNumber > 0) AppendRecord(SeparatorRecord());
}

TRecentDraws TStakesFile::SeekRecentDraws(int n) {
    RequireOpen();
    TRecentDraws result;
    std::vector<TStakeRec> block(static_cast<size_t>(BlockRecords));
    bool anyCounted = false;
    int32_t previous = 0;
    qint64 end = Count();
    while (end > 0) {
        const qint64 start = std::max<qint64>(0, end - BlockRecords);
        const qint64 got = ReadRecords(start, block.data(), end - start);
        if (got != end - start) RaiseIoError();
        for (qint64 i = got - 1; i >= 0; --i) {
            const TStakeRec &rec = block[size_t(i)];
            if (rec.DrawNumber <= 0 || !rec.Checked || rec.Overlaps.Count < 0) continue;
            if (!anyCounted || rec.DrawNumber != previous) {
                if (result.Draws >= n) {
                    result.FirstIndex = start + i + 1;
                    m_position = result.FirstIndex;
                    return result;
                }
                ++result.Draws;
            }
            anyCounted = true;
            previous = rec.DrawNumber;
        }
        end = start;
    }
    result.FirstIndex = 0;
    m_position = 0;
    return result;
}

void TStakesFile::Truncate() {
    RequireWritable();
    InvalidateCache();
    if (!m_file->resize(0)) RaiseIoError();
    m_file->seek(0);
    m_position = 0;
}

// ---- helpers ---------------------------------------------------------------------------------

void TStakesFile::RequireOpen() const {
    if (!m_file->isOpen()) RaiseNotOpen();
}

void TStakesFile::RequireWritable() const {
    RequireOpen();
    if (!m_file->isWritable())
        throw EError(Format(QStringLiteral("Файл ставок \"%s\" открыт только для чтения."), {m_fileName}));
}

QString TStakesFile::IoErrorText(const QFile &file, int error) {
    if (file.error() != QFileDevice::NoError) return file.errorString();
    if (error != 0) return QString::fromLocal8Bit(std::strerror(error));
    return QStringLiteral("Неожиданный конец файла ставок.");
}

void TStakesFile::ResetError(QFile &file) {
    file.unsetError();
    errno = 0;
}

void TStakesFile::RaiseIoError() const {
    const int error = errno;
    throw EError(IoErrorText(*m_file, error));
}

void TStakesFile::Fault(TRewriteStep step) const {
    if (m_rewriteFault) m_rewriteFault(step);
}

} // namespace lot
