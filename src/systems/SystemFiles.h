#pragma once
/// @file The local system files: the folder "Systems" of the data folder,
/// one file per downloaded system named "6-NN-B_IIII.dat", its lines of six
/// positions 1..N, its time stamps that follow the catalogue's creation
/// time, and the expansion of the system for N over N concrete numbers.

#include "core/Errors.h"
#include "core/Lottery.h"
#include "systems/SystemInfo.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <vector>

namespace lot {

/// The characters that separate the positions of a system line.
inline constexpr char SystemSeparators[] = " *+,-./:;=\\_|~";

/// The folder of the local system files: "<dataDir>/Systems".
QString SystemsDir(const QString &dataDir);
/// "%d-%.2d-%d_%.4d.dat" of the combination length 6, N, the block and the id:
/// the system 12 over 10 numbers with block 3 is "6-10-3_0012.dat".
QString SystemFileName(const tSystemInfo &info);
/// The mask of the files of the systems for n numbers: "6-NN-*_*.dat".
QString SystemFileMask(int n);
/// The files of the systems for n numbers in dir, sorted by name; the first
/// is the one played.
QStringList SystemFilesFor(const QString &dir, int n);
/// N of a system file name "6-NN-B_IIII.dat" (folder and case ignored); 0
/// when the name has another form.
int SystemNumsOfFileName(const QString &fileName);

/// The trimmed words of a system line split at runs of SystemSeparators.
QStringList SystemLineWords(const QString &line);

/// What the system dialog makes of its combinations field.
struct TNormalisedSystem {
    QString Content; ///< the kept lines, "01 02 03 04 05 06", joined by CR LF
    int Nums = 0;    ///< max - min + 1 over all numbers kept; 0 when none
    int Count = 0;   ///< the kept lines
};
/// The dialog's normalisation: a line of exactly six words becomes the six
/// numbers with two digits joined by single spaces; every other line goes.
/// A word that is not an integer raises EConvertError.
TNormalisedSystem NormaliseSystemContent(const QString &text);

/// The fields of the system dialog that OK checks, in the order it checks them.
enum class TSystemField { None, Title, Nums, Block, Author, Description, Content };
/// The first field of data that OK refuses, with its message in text: title,
/// numbers 7..45, block 0..5, author, description, content (the texts
/// trimmed). TSystemField::None when every field is right.
TSystemField CheckSystemData(const tSystemData &data, QString *text = nullptr);

/// The lines of a system content (CR LF, LF or CR), a final line end giving
/// no empty line.
QStringList SystemContentLines(const QString &content);

/// Writes lines as a local system file (Windows-1251, CR LF) in one atomic
/// step, the folder made when missing, and sets its creation and last-write
/// times to created (when valid). Raises EError.
void SaveSystemFile(const QString &path, const QStringList &lines, const QDateTime &created);
/// A local file is out of date when its last-write time differs from the
/// catalogue's creation time (to the second). A missing file or an entry
/// without a creation time is never out of date.
bool SystemFileOutOfDate(const QString &path, const QDateTime &created);

/// No local system for the count of numbers asked for.
class ESystemNotFound : public EError {
public:
    using EError::EError;
};

/// One system for N laid over N concrete numbers.
struct TExpandedSystem {
    std::vector<TComb> Combs; ///< in file order, numbers in the order of the line's positions
    QString FilePath;         ///< the system file played
};
/// "Система для %d чисел не найдена или не загружена на компьютер!"
QString SystemNotFoundText(int n);
/// The text of the error box of a missing system, with the hint to download it.
QString SystemNotFoundBoxText(int n);
/// Lays the lines of a system file over chosen: position k of a line is
/// chosen[k - 1]. Empty lines are skipped. Raises EError with the reason for
/// a word that is not an integer, a line of fewer than six positions, a
/// position outside 1..chosen.size() and a position given twice in a line.
std::vector<TComb> ExpandSystemLines(const QStringList &lines, const QByteArray &chosen);
/// The system for chosen.size() numbers from dir (the first matching file).
/// Raises EError with SystemNotFoundText when there is none; a file that
/// cannot be read or is malformed raises "Ошибка загрузки комбинаций
/// системы!\r\r%s".
TExpandedSystem ExpandSystemFrom(const QString &dir, const QByteArray &chosen);
/// The positions of a system file as combinations over 1..N (the lines as
/// they are, unsorted); raises as ExpandSystemLines. n: N, 0 for the largest
/// position found; at most 45.
std::vector<TComb> ReadSystemPositions(const QString &path, int &n);

} // namespace lot
