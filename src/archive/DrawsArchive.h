#pragma once
/// @file The draws archive: all draws, oldest first, the draws offset, the
/// draws file and CSV import/export. Positions count back from the newest
/// draw (position 0 = newest = index Count()-1).

#include "core/Lottery.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace lot {

/// `DrawDateIntAt` of a position outside the archive (or of a draw whose date
/// is unknown): 1 January 1986, where the results download starts.
inline constexpr int32_t NoDrawDateInt = 19860101;

/// Upper bound of the draws file, in records (96 MB). Two draws a week fill
/// it in tens of thousands of years; anything larger is not a draws file, and
/// reading it whole would only exhaust memory.
inline constexpr int MaxDrawsFileRecords = 4'000'000;

/// True when the six main and two supplementary numbers all lie in 1..45.
/// Draws failing this never enter the archive: every per-number table of the
/// statistics is indexed with these bytes.
bool HasValidNumbers(const TDrawRec &draw);

class TDrawsArchive {
public:
    const TDrawsArray &Draws() const { return m_draws; }
    int Count() const { return int(m_draws.size()); }
    bool IsEmpty() const { return m_draws.empty(); }
    const TDrawRec &At(int index) const { return m_draws.at(size_t(index)); }

    /// Array index of a position; -1 when outside the archive.
    int PositionToIndex(int position) const;
    /// The draw at a position, or nullptr when outside the archive.
    const TDrawRec *DrawAtPosition(int position) const;

    int Offset() const { return m_offset; }
    /// Stores the offset (>= 0); views are refreshed by the workspace.
    void SetOffset(int offset);

    // ---- operations ----
    void Append(const TDrawRec &draw);
    /// Replaces the draw at an array index; raises the same EError as
    /// DeleteDrawAt when the index is outside the archive.
    void Replace(int index, const TDrawRec &draw);
    /// Raises EError "Запись со индексом %d в файле данных не найдена!".
    void DeleteDrawAt(int index);
    void ClearDraws();
    /// Array index of the draw with this number, or -1. Starts from an
    /// interpolated guess and falls back to a full scan from the newest draw,
    /// so an archive whose numbers are not monotonic is still searched whole.
    int FindDrawIndex(int drawNumber) const;
    /// 1 for an empty archive, -1 for a position outside it, else the draw
    /// number at the position plus 2 (the operator numbers draws in steps of
    /// two). Saturates at the largest int32 instead of overflowing.
    int NextDrawNumber(int position) const;
    /// Main numbers of the draw at the position in stored order; six zeros
    /// when the position is outside the archive.
    TComb DrawNumbersAt(int position) const;
    /// Date (yyyymmdd) of the draw at the position plus `days`;
    /// NoDrawDateInt when the position is outside the archive or the draw's
    /// date text is empty. A malformed date text raises EConvertError.
    int32_t DrawDateIntAt(int position, int days) const;
    /// Main numbers of the draw at position offset-1 (the first hidden draw);
    /// empty when the offset is 0.
    QList<int> NextDrawSet() const;

    // ---- files (errors raised as EError carrying the system's text) ----
    /// Reads the draws file; a missing file gives an empty archive. Whole
    /// records are kept even when a trailing partial record raises.
    void LoadDrawsFile(const QString &fileName);
    /// Rewrites the draws file atomically (temporary file + rename). When
    /// the file was read with records left out (numbers outside 1..45, a
    /// partial record, a file too large), the first save copies it as it
    /// was to "<file>.bak" (or ".bak.N") first: the save is what would drop
    /// those records for good. A copy that cannot be made raises and the
    /// file stays as it is.
    void SaveDrawsFile(const QString &fileName);
    /// The archive was read from a draws file with records left out that
    /// no save has dropped yet.
    bool LoadedWithLosses() const { return m_loadedWithLosses; }

    /// Replaces the archive with the draws file image `bytes`: every whole
    /// 24-byte record whose numbers are valid is kept (date tails beyond the
    /// stored length are zeroed, a length above 11 is cut to 11). Afterwards
    /// raises EError naming a trailing partial record and the number of
    /// records skipped for numbers outside 1..45, when there were any.
    void LoadDrawsFromBytes(const QByteArray &bytes);
    /// The draws file image of `draws`: 24-byte little-endian records.
    static QByteArray DrawsToBytes(const TDrawsArray &draws);

private:
    TDrawsArray m_draws;
    int m_offset = 0;
    bool m_loadedWithLosses = false;
};

} // namespace lot
