#pragma once
/// @file The stakes file: 312-byte stake records, and the open, exclusively
/// locked stream that doubles as the data lock of the data folder.

#include "core/Lottery.h"

#include <cstddef>
#include <cstdint>
#include <QFile>
#include <QString>

namespace lot {

class IHost;

/// Version marker stored in byte 0 of every stake record.
inline constexpr uint8_t StakesVersion = 2;

#pragma pack(push, 1)
/// One stake; 312 bytes, also the record of the stakes file.
struct TStakeRec {
    uint8_t Version = StakesVersion;
    uint8_t Kind = skSeparator; ///< TStakeKind
    uint8_t Reserved1[2] = {};
    int32_t DrawNumber = 0; ///< -1 in a separator record
    uint8_t Checked = 0;    ///< 1 once checked against its draw
    uint8_t Reserved2[3] = {};
    int32_t Sample = 0;          ///< size of the combination list when the stake was made
    TNumberSet Numbers;          ///< the numbers played, ascending
    uint8_t DrawResult[8] = {};  ///< main numbers of the draw (archive order), filled when checked
    TNumberSet Overlaps{-1, {}}; ///< count -1 until checked
    int64_t Profit = 0;          ///< money units of 1/10000: prize minus cost
    TShortString<255> Comment;   ///< Windows-1251
};
#pragma pack(pop)

static_assert(sizeof(TStakeRec) == 312, "TStakeRec is a 312-byte file record");
static_assert(offsetof(TStakeRec, DrawNumber) == 4);
static_assert(offsetof(TStakeRec, Checked) == 8);
static_assert(offsetof(TStakeRec, Sample) == 12);
static_assert(offsetof(TStakeRec, Numbers) == 16);
static_assert(offsetof(TStakeRec, DrawResult) == 28);
static_assert(offsetof(TStakeRec, Overlaps) == 36);
static_assert(offsetof(TStakeRec, Profit) == 48);
static_assert(offsetof(TStakeRec, Comment) == 56);

inline constexpr qint64 StakeRecSize = qint64(sizeof(TStakeRec));

/// The open stakes file. While it is open the file carries an exclusive,
/// non-blocking advisory lock, so a second process (or a second open in this
/// process) working on the same data folder is refused: that is the data lock.
class TStakesFile {
public:
    TStakesFile() = default;
    ~TStakesFile();
    TStakesFile(const TStakesFile &) = delete;
    TStakesFile &operator=(const TStakesFile &) = delete;

    /// Warning shown before a stakes file of another version is emptied.
    static QString OutdatedWarningText();

    /// Opens fileName for reading and writing (created when missing) and
    /// takes the exclusive lock. Raises EError when the file cannot be
    /// opened or is locked by someone else; the object stays closed then.
    void OpenStakes(const QString &fileName);
    /// Closes the stream (and releases the lock) if open. Raises EError when
    /// pending data cannot be written; the stream is closed anyway.
    void CloseStakes();
    bool IsOpen() const { return m_file.isOpen(); }
    QString FileName() const { return m_file.fileName(); }

    /// The version check of the start-up load: a file of another version
    /// gets the warning OutdatedWarningText(), is copied to BackupFileName()
    /// and only then emptied, so no stake is lost; when the copy cannot be
    /// made the file stays as it is and EError is raised.
    void CheckVersion(IHost &host);
    /// True when the open file is a valid stakes file: its size is a multiple
    /// of 312 and, when not empty, byte 0 of the first record equals 2.
    bool HasCurrentVersion();
    /// Where the copy of an outdated file goes: "<file>.bak", or "<file>.bak.N"
    /// when that name is taken already.
    static QString BackupFileName(const QString &fileName);

    /// Number of whole records in the open file (0 when closed).
    qint64 Count() const;

    /// Appends one record at the end. Raises "Файл ставок не открыт!" when closed.
    void AppendRecord(const TStakeRec &rec);
    /// Reads record index (0-based). Raises EError when closed or outside the file.
    TStakeRec ReadRecord(qint64 index);
    /// Empties the file.
    void Truncate();

private:
    void RequireOpen() const;
    void EmptyOutdatedFile(IHost &host);

    QFile m_file;
};

} // namespace lot
