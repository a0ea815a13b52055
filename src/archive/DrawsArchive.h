#pragma once
/// @file The draws archive: all draws, oldest first, the draws offset, the
/// draws file and CSV import/export. Positions count back from the newest
/// draw (position 0 = newest = index Count()-1).

#include "core/Lottery.h"

#include <QString>

namespace lot {

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

    // ---- Part of the table of operations ----
    void Append(const TDrawRec &draw);
    void Replace(int index, const TDrawRec &draw);
    /// Raises EError "Запись со индексом %d в файле данных не найдена!".
    void DeleteDrawAt(int index);
    void ClearDraws();
    int FindDrawIndex(int drawNumber) const;
    int NextDrawNumber(int position) const;
    TComb DrawNumbersAt(int position) const;
    int32_t DrawDateIntAt(int position, int days) const;
    /// Main numbers of the draw at position offset-1 (the first hidden draw);
    /// empty when the offset is 0.
    QList<int> NextDrawSet() const;

    // ---- files (errors raised as EError carrying the system's text) ----
    /// Reads the draws file; a missing file gives an empty archive. Whole
    /// records are kept even when a trailing partial record raises.
    void LoadDrawsFile(const QString &fileName);
    /// Rewrites the draws file atomically (temporary file + rename).
    void SaveDrawsFile(const QString &fileName) const;

private:
    TDrawsArray m_draws;
    int m_offset = 0;
};

} // namespace lot
