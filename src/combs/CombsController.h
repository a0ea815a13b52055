#pragma once
/// @file TCombsController: the combinations area. It owns the combination
/// list the user narrows down, its one-level undo copy, the history of
/// applied operations and the combination buffer used by scripts, holds the
/// user-level operations on them with their error boundary (the file
/// readers and writers, the generator and the exclusion raise) and tells
/// views about changes through its signals.

#include "core/Lottery.h"
#include "core/OpResult.h"

#include <QList>
#include <QObject>
#include <QString>
#include <span>

namespace lot {

class IHost;
class TDrawsArchive;
class TStatList;
class TStatsController;
struct TCombFileReadInfo;

/// One row of the history under the combination list.
struct THistoryRow {
    QString Operation;  ///< "Примененные фильтры"
    QString Values;     ///< "Значения"
    QString Count;      ///< "Комбинаций": the list count after the operation
    int ImageIndex = 0; ///< HistoryIcon...
};

inline constexpr int HistoryIconUndo = 11;    ///< "Отмена последней операции"
inline constexpr int HistoryIconFlagOff = 12; ///< operation added with its flag clear
inline constexpr int HistoryIconFlagOn = 13;  ///< operation added with its flag set

/// What the combination buffer file holds: the list without the last Count
/// draws at draws offset Offset. (-1, -1) means nothing.
struct TBufferKey {
    int32_t Offset = -1;
    int32_t Count = -1;
    friend bool operator==(const TBufferKey &, const TBufferKey &) = default;
};

/// The combination list and everything that belongs to it.
///
/// Storage: the list and the undo copy are two arrays sized once for the
/// full set (ReserveFullSet) and kept at the same size, so that any step that
/// filters the undo copy into the list always fits; they grow together when a
/// longer list arrives and never shrink. The arrays' sizes are capacities;
/// Count() and UndoCount() say how much is in use.
///
/// Every combination in the list has its numbers in 1..45 (generation
/// produces only those, readers of outside input skip or reject the rest).
///
/// Operations show their errors through the host with the program's texts
/// and return the failure with its message; ListChanged() tells views to refresh.
class TCombsController : public QObject {
    Q_OBJECT
public:
    explicit TCombsController(IHost &host, QObject *parent = nullptr);
    ~TCombsController() override;

    // ---- storage ---------------------------------------------------------------
    /// Empties both lists and sizes them for the full set (done once at start).
    void ReserveFullSet();
    /// Empties both lists and the history; the storage stays.
    void Clear();
    int Count() const { return m_count; }
    bool IsEmpty() const { return m_count == 0; }
    qsizetype Capacity() const { return qsizetype(m_list.size()); }
    const TComb *Data() const { return m_list.data(); }
    std::span<const TComb> Combs() const { return {m_list.data(), size_t(m_count)}; }
    /// Combination at a row; an all-zero combination outside the list.
    TComb At(int row) const { return row >= 0 && row < m_count ? m_list[size_t(row)] : TComb{}; }

    /// For reducing steps of other areas: after MakeUndoCopy, write the
    /// survivors of UndoCombs() from WritableData()[0] on and call SetCount.
    /// The list always has room for the whole undo copy.
    TComb *WritableData() { return m_list.data(); }
    /// Sets the number of combinations in use (clamped to the capacity).
    void SetCount(int count);

    // ---- undo copy -------------------------------------------------------------
    int UndoCount() const { return m_undoCount; }
    const TComb *UndoData() const { return m_undo.data(); }
    std::span<const TComb> UndoCombs() const { return {m_undo.data(), size_t(m_undoCount)}; }
    /// The undo action is available (the copy holds combinations).
    bool CanUndo() const { return m_undoCount > 0; }

    /// Copies the list into the undo copy ("Создание файла отката..." when shown).
    void MakeUndoCopy(bool show);
    /// MakeUndoCopy for a step that rewrites the whole list from the undo
    /// copy: the undo copy takes the list's storage instead of a copy of it,
    /// and the list is empty until the caller writes it (WritableData,
    /// SetCount). The same status when shown.
    void MoveListToUndo(bool show);
    /// Gives the list the undo copy back and empties the copy ("Отмена
    /// изменений..." when shown; the two storages trade places, nothing is
    /// copied); refreshes the view. Does nothing and returns
    /// false when no undo copy was taken, so the list is never wiped by
    /// restoring a copy that does not exist.
    bool RestoreUndo(bool show);
    void DiscardUndo();

    // ---- history ---------------------------------------------------------------
    const QList<THistoryRow> &History() const { return m_history; }
    /// Appends a row with the current count; icon 13 when flag is set, else 12.
    void AddHistoryRow(bool flag, const QString &operation, const QString &values);
    void AddHistoryRowWithIcon(int imageIndex, const QString &operation, const QString &values);
    void RemoveLastHistoryRow();
    void ClearHistory();

    // ---- operations ------------------------------------------------------------
    /// Rebuilds the list: modes 0..3 enumerate the full set, mode 4 reads the
    /// combination file named by parameters, a mode outside 1..4 acts as 0.
    /// With show: status text, then the history is cleared, the view
    /// refreshed and the undo copy emptied.
    TOpResult GenerateCombs(bool show, int mode, const QString &parameters);

    /// Script runs: while on, the lists of modes 0..3 are kept after their
    /// first generation and later generations with the same mode and
    /// parameters copy them instead of enumerating again. Off frees them.
    void SetSourceCache(bool on);
    bool SourceCache() const { return m_sourceCacheOn; }

    /// The list at start-up: GenerateCombs (shown) with the saved generation
    /// parameters (CombsGenerateMode, CombsGenerateParameters).
    TOpResult GenerateSavedCombs(const TStatList &stats);
    /// CombsGen after the generation dialog: with saveAsDefault the mode and
    /// text become the saved generation parameters (written at once), then
    /// MakeUndoCopy and GenerateCombs, both shown, with the dialog's values.
    TOpResult NewCombsList(TStatsController &stats, int mode, const QString &parameters, bool saveAsDefault);

    /// CombsOpen after the file dialog: the list becomes the file's
    /// combinations; a read error restores the old list. Cannot be undone.
    TOpResult OpenCombsFile(const QString &fileName);
    /// CombsSave after the file dialog.
    TOpResult SaveCombsFile(const QString &fileName);

    /// Removes from the list every combination holding the six main numbers
    /// (in any order) of one of the last n draws in use at the archive's
    /// offset. Filters the undo copy into the list; takes the undo copy itself
    /// when the caller has not. Adds the history row "Последние тиражи".
    /// Returns the number of combinations removed.
    int ExcludeLastDraws(const TDrawsArchive &archive, int n);
    /// The same at the given offset instead of the archive's.
    int ExcludeLastDraws(const TDrawsArchive &archive, int n, int offset);

    /// CombsDelExists: the undo copy (shown), then ExcludeLastDraws.
    int DeleteLastDraws(const TDrawsArchive &archive, int n);

    /// Threads of the exclusion pass; 1 runs the plain sequential path.
    int Threads() const { return m_threads; }
    void SetThreads(int threads) { m_threads = threads < 1 ? 1 : threads; }

    /// CombsDelSelected: removes the rows given (list indexes; out-of-range
    /// and repeated ones are ignored). Returns the number removed.
    int DeleteSelected(const QList<int> &rows);

    /// CombsUndo: restores the undo copy and removes the last history row.
    bool Undo();

    /// CombsCopy: the rows given, in list order, as clipboard text
    /// (CombToSpacedText, CR LF after each).
    QString CopyText(const QList<int> &rows) const;

    /// CombsPaste: replaces the list by the combinations of text. A line that
    /// is not six numbers 1..45 shows "Некорректная комбинация: \"%s\"!" and
    /// leaves the list as it was. Cannot be undone. An empty text does nothing
    /// and returns false.
    TOpResult PasteText(const QString &text);

    /// True when an equal combination (byte for byte) is in the list.
    bool CombInList(const TComb &comb) const;

    /// CombsCheckNums: "В текущем списке комбинаций содержится %d уникальных номеров".
    QString UniqueNumbersMessage() const;

    /// CombsFindInDraws: the draws holding the combination's numbers, newest
    /// first, as DrawToText lines (at most 26).
    static QStringList FindInDraws(const TComb &comb, const TDrawsArchive &archive);
    /// The information box text for FindInDraws.
    static QString FindInDrawsMessage(const TComb &comb, const TDrawsArchive &archive);

    /// "Комбинаций: %d" for the status bar.
    QString CountText() const;
    /// Tells views the list (or its count) changed.
    void RefreshCombsView();

    // ---- combination buffer ----------------------------------------------------
    /// Folder of the data files (the buffer lives there).
    void SetDataDir(const QString &dir);
    const QString &DataDir() const { return m_dataDir; }
    /// "<data folder>/Brantlee_6x45.~buff".
    QString BufferFileName() const;
    TBufferKey BufferKey() const { return m_bufferKey; }
    /// Writes the list to the buffer file for (offset, n); nothing when that
    /// is what it holds already. The key is set only once the file is
    /// complete, so a failed write never leaves a key naming a wrong file.
    TOpResult CreateBuffer(int offset, int n);
    /// Replaces the list by the buffer file when it holds (offset, n); false
    /// when it does not or cannot be read (that error is shown).
    bool LoadBuffer(int offset, int n);
    /// Forgets the buffer and deletes its file (errors ignored).
    void DeleteBuffer();
    /// Forgets the buffer; the file stays.
    void ResetBufferKey() { m_bufferKey = TBufferKey{}; }

signals:
    /// The list changed; views update their row count and status text.
    void ListChanged();
    void HistoryChanged();

private:
    TOpResult ReadFileIntoList(const QString &fileName, bool show);
    void SyncCapacity();

    IHost &m_host;
    TCombsArray m_list;
    TCombsArray m_undo;
    int m_count = 0;
    int m_undoCount = 0;
    bool m_undoValid = false;
    QList<THistoryRow> m_history;
    TBufferKey m_bufferKey;
    QString m_dataDir;
    int m_threads = 1;
    bool m_sourceCacheOn = false;
    TCombsArray m_sourceCache;
    int m_sourceCount = -1; ///< -1: nothing cached
    int m_sourceMode = -1;
    QString m_sourceParameters;
};

} // namespace lot
