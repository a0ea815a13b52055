// TStakesFile::RemoveRecords: the deletes through the temporary file.
//
// The old way deleted the stakes file and then moved the temporary file to
// its name, so a crash or a failed move between the two left no stakes file
// at all. Here the temporary file replaces the stakes file by one rename,
// which POSIX makes atomic, and it is locked before that, so neither the
// stakes nor the data lock can be lost on the way.

#include "stakes/StakesFile.h"

#include "core/Errors.h"
#include "core/Format.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <QDir>
#include <QFileInfo>
#include <vector>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace lot {

namespace {

QString SystemErrorText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

/// Hands the data of file to the disk: the rename must not reach the disk
/// before the records it points to.
void SyncToDisk(QFile &file) {
    if (!file.flush()) throw EError(file.errorString());
#ifdef Q_OS_UNIX
    if (::fsync(file.handle()) != 0) throw EError(SystemErrorText(errno));
#endif
}

/// Starts the disk writes of what was written since `from` without waiting
/// for them, so the final sync of a large rewrite waits only for its tail.
void StartWriteback(QFile &file, qint64 &from, qint64 to) {
#ifdef Q_OS_LINUX
    constexpr qint64 Chunk = 16 << 20;
    if (to - from < Chunk) return;
    (void)::sync_file_range(file.handle(), from, to - from, SYNC_FILE_RANGE_WRITE);
    from = to;
#else
    Q_UNUSED(file);
    Q_UNUSED(from);
    Q_UNUSED(to);
#endif
}

/// Best effort: makes the rename itself durable. The new file is in place
/// whatever this says, so a failure here is no failure of the delete.
void SyncFolder(const QString &dir) {
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        (void)::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(dir);
#endif
}

} // namespace

qint64 TStakesFile::RemoveRecords(const std::function<bool(qint64 index, const TStakeRec &rec)> &remove,
                                  const std::function<void(qint64 done, qint64 total)> &progress) {
    RequireWritable();
    const QString tempName = TempFileName(m_fileName);
    const qint64 count = Count();
    qint64 removed = 0;
    std::unique_ptr<QFile> temp;
    try {
        Fault(TRewriteStep::CreateTemp);
        // One left behind by a crash is replaced.
        QFile::remove(tempName);
        temp = LockedFile(tempName, QIODevice::ReadWrite | QIODevice::Truncate);

        std::vector<TStakeRec> in(static_cast<size_t>(BlockRecords));
        std::vector<TStakeRec> out;
        out.reserve(size_t(BlockRecords));
        qint64 written = 0, writebackFrom = 0;
        for (qint64 at = 0; at < count;) {
            const qint64 wanted = std::min(BlockRecords, count - at);
            if (ReadRecords(at, in.data(), wanted) != wanted) RaiseIoError();
            out.clear();
            for (qint64 i = 0; i < wanted; ++i) {
                if (remove(at + i, in[size_t(i)]))
                    ++removed;
                else
                    out.push_back(in[size_t(i)]);
            }
            if (!out.empty()) {
                Fault(TRewriteStep::WriteTemp);
                const qint64 bytes = qint64(out.size()) * StakeRecSize;
                ResetError(*temp);
                if (temp->write(reinterpret_cast<const char *>(out.data()), bytes) != bytes)
                    throw EError(IoErrorText(*temp, errno));
                written += bytes;
                StartWriteback(*temp, writebackFrom, written);
            }
            at += wanted;
            if (progress) progress(at, count);
        }

        Fault(TRewriteStep::SyncTemp);
        SyncToDisk(*temp);

        Fault(TRewriteStep::Replace);
        if (std::rename(QFile::encodeName(tempName).constData(), QFile::encodeName(m_fileName).constData()) !=
            0) {
            const int error = errno;
            throw EError(
                Format(QStringLiteral("Ошибка переименования / удаления временного файла ставок %s!\r\r%s"),
                       {QDir::toNativeSeparators(tempName), SystemErrorText(error)}));
        }
    } catch (...) {
        // The stakes file was not touched and stays open with its lock.
        if (temp) temp->close();
        QFile::remove(tempName);
        throw;
    }

    // The renamed file is the stakes file now and already carries the lock;
    // the old stream refers to the replaced file and goes.
    std::swap(m_file, temp);
    temp->close();
    InvalidateCache();
    m_position = 0;
    SyncFolder(QFileInfo(m_fileName).absolutePath());
    return removed;
}

} // namespace lot
