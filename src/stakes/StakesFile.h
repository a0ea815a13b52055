#pragma once
/// @file The stakes file: the open, exclusively locked stream of 312-byte
/// stake records that doubles as the data lock of the data folder, with the
/// record-level operations on it. Every operation raises EError carrying
/// the program's text; the stakes controller is the error boundary.

#include "stakes/StakeRec.h"

#include <functional>
#include <memory>
#include <QFile>
#include <QString>

namespace lot {

class IHost;

/// Where the index of ReadStake and WriteStake counts from.
enum class TSeekOrigin {
    Beginning, ///< index 0 is the first record
    Current,   ///< index 0 is the record after the last one read or written
    End,       ///< index -1 is the last record
};

/// The steps of replacing the stakes file by a rewritten copy, in order;
/// the failure seam of tests is called before each (WriteTemp before every
/// block written). Nothing after Replace can fail.
enum class TRewriteStep { CreateTemp, WriteTemp, SyncTemp, Replace };

/// What SeekRecentDraws found.
struct TRecentDraws {
    int Draws = 0;         ///< distinct checked draws counted, at most n
    qint64 FirstIndex = 0; ///< first record of those draws (the stream position)
};

/// The open stakes file. While it is open the file carries an exclusive,
/// non-blocking advisory lock, so a second process (or a second open in this
/// process) working on the same data folder is refused: that is the data lock.
///
/// Records are read and written unbuffered by Qt: a bulk operation reads and
/// writes whole blocks itself, so memory stays bounded by a block whatever
/// the file's size, and a failed write is seen at once.
class TStakesFile {
public:
    /// Records of one block of the bulk operations (about 1.2 MB).
    static constexpr qint64 BlockRecords = 4096;

    TStakesFile();
    ~TStakesFile();
    TStakesFile(const TStakesFile &) = delete;
    TStakesFile &operator=(const TStakesFile &) = delete;

    /// Warning shown before a stakes file of another version is emptied.
    static QString OutdatedWarningText();
    /// The temporary file of the deletes: the stakes file's name with the
    /// extension ".~tmp".
    static QString TempFileName(const QString &stakesFileName);

    /// Opens fileName for reading and writing (created when missing) and
    /// takes the exclusive lock. Raises EError when the file cannot be
    /// opened or is locked by someone else; the object stays closed then.
    /// Empties the read cache.
    void OpenStakes(const QString &fileName);
    /// Opens fileName for reading only, without the lock (the command line's
    /// listing beside a running window). A missing file reads as empty.
    void OpenForReading(const QString &fileName);
    /// Closes the stream (and releases the lock) if open. Raises EError when
    /// pending data cannot be written; the stream is closed anyway.
    void CloseStakes();
    /// Hands what was written to the system without closing the stream, so
    /// the data lock never lapses (what closing and reopening did before).
    void Flush();
    bool IsOpen() const;
    bool IsWritable() const;
    /// The stakes file's name (also after a rewrite replaced it).
    QString FileName() const { return m_fileName; }

    /// The version check of the start-up load: a file of another version
    /// gets the warning OutdatedWarningText(), is copied to BackupFileName()
    /// and only then emptied, so no stake is lost; when the copy cannot be
    /// made the file stays as it is and EError is raised. True when the
    /// file was emptied.
    bool CheckVersion(IHost &host);
    /// True when the open file is a valid stakes file: its size is a multiple
    /// of 312 and, when not empty, byte 0 of the first record equals 2.
    bool HasCurrentVersion();
    /// Where the copy of an outdated file goes: "<file>.bak", or "<file>.bak.N"
    /// when that name is taken already.
    static QString BackupFileName(const QString &fileName);

    /// Number of whole records in the open file (0 when closed).
    qint64 Count() const;
    /// Records read from the disk so far (a read from the cache is none).
    qint64 RecordsRead() const { return m_recordsRead; }

    // ---- single records ----------------------------------------------------------------
    /// Appends one record at the end. Raises "Файл ставок не открыт!" when closed.
    void AppendRecord(const TStakeRec &rec);
    /// Reads record index (0-based), bypassing the cache. Raises EError when
    /// closed or outside the file.
    TStakeRec ReadRecord(qint64 index);
    /// The record at index from origin; the last record read is kept, so the
    /// nine cells of a grid row cost one read. Raises "Файл ставок не
    /// открыт!" or "Запись со индексом %d в файле данных не найдена!" (index
    /// as given) when the record lies outside the file.
    TStakeRec ReadStake(TSeekOrigin origin, qint64 index);
    /// Writes the record at index from origin: within the file or exactly at
    /// its end. The cache follows a record it holds, so a reader never sees
    /// the old bytes of a record just rewritten.
    void WriteStake(TSeekOrigin origin, qint64 index, const TStakeRec &rec);
    void InvalidateCache() { m_cacheIndex = -1; }
    /// The record after the last one read or written (ReadStake, WriteStake,
    /// SeekRecentDraws).
    qint64 Position() const { return m_position; }

    // ---- blocks ----------------------------------------------------------------------
    /// Reads up to count records from index on into dest; returns how many.
    qint64 ReadRecords(qint64 index, TStakeRec *dest, qint64 count);
    /// Overwrites count records from index on (within the file).
    void WriteRecords(qint64 index, const TStakeRec *src, qint64 count);
    /// Appends count records. When the system refuses part of them (a full
    /// disk) the file is cut back to the records it held, so it never ends
    /// in a partial record, and EError is raised.
    void AppendRecords(const TStakeRec *src, qint64 count);

    // ---- the operations of the table ---------------------------------------------------
    /// A record with this draw number whose numbers equal the given set
    /// (SameNumberSet), scanning from the start.
    bool FindStake(int drawNumber, const TNumberSet &numbers);
    /// Appends the template for drawsCount draws (see TStakesAppender).
    void AppendStakes(const TStakeRec &tmpl, int drawsCount);
    /// Appends a separator when the file is not empty and its last record
    /// has a positive draw number.
    void AppendSeparator();
    /// Reads backwards from the last record for the n most recent checked
    /// draws (records checked, with a positive draw number and a
    /// non-negative overlap count); leaves the stream at the first record
    /// of those draws.
    TRecentDraws SeekRecentDraws(int n);
    /// Empties the file.
    void Truncate();

    /// Removes every record for which remove(index, record) holds, streaming
    /// the others through the temporary file TempFileName(), which then
    /// replaces the stakes file by one atomic rename: at every moment either
    /// the old or the new file stands under the name. The new file is
    /// locked before the rename and becomes the open stream, so the data
    /// lock never lapses either. Any failure before the rename leaves the
    /// old file open and untouched and deletes the temporary file. Returns
    /// the number of records removed. progress(done, total) is called once
    /// per block.
    qint64 RemoveRecords(const std::function<bool(qint64 index, const TStakeRec &rec)> &remove,
                         const std::function<void(qint64 done, qint64 total)> &progress = {});
    /// Failure seam of the tests: called before each step of RemoveRecords;
    /// a step fails when it raises.
    void SetRewriteFault(std::function<void(TRewriteStep)> fault) { m_rewriteFault = std::move(fault); }

private:
    void RequireOpen() const;
    void RequireWritable() const;
    qint64 Absolute(TSeekOrigin origin, qint64 index) const;
    [[noreturn]] void RaiseIoError() const;
    /// Why an I/O call on file failed: Qt's reason, else the system's error
    /// (a short write sets no Qt error), else an unexpected end of the file.
    static QString IoErrorText(const QFile &file, int error);
    /// Clears the reasons before an I/O call, so IoErrorText names this one.
    static void ResetError(QFile &file);
    void EmptyOutdatedFile(IHost &host);
    void Fault(TRewriteStep step) const;
    static std::unique_ptr<QFile> LockedFile(const QString &fileName, QIODevice::OpenMode mode);

    std::unique_ptr<QFile> m_file;
    QString m_fileName;
    TStakeRec m_cache;
    qint64 m_cacheIndex = -1;
    qint64 m_position = 0;
    qint64 m_recordsRead = 0;
    std::function<void(TRewriteStep)> m_rewriteFault;
};

} // namespace lot
