#pragma once
/// @file TArchiveController: the draws archive as the user works with it.
/// It owns the archive and its view state (the draws offset, the sorted view
/// and colour switches, the first hidden draw), holds every user-level
/// operation on it with its error boundary, and tells views and the other
/// areas about changes through its signals.

#include "archive/DrawsArchive.h"
#include "core/OpResult.h"

#include <QList>
#include <QObject>
#include <QString>

namespace lot {

class IHost;
class TDataFolder;
class TWindowSettings;
struct TCsvImportResult;

class TArchiveController : public QObject {
    Q_OBJECT
public:
    TArchiveController(IHost &host, const TDataFolder &files, TWindowSettings &settings,
                       QObject *parent = nullptr);

    /// The archive, oldest draw first, with its offset.
    const TDrawsArchive &Draws() const { return m_archive; }
    int Count() const { return m_archive.Count(); }
    bool IsEmpty() const { return m_archive.IsEmpty(); }

    // ---- view state ------------------------------------------------------------------
    int Offset() const { return m_archive.Offset(); }
    /// Largest offset the offset spin edit allows: Count - 1 (0 when empty).
    int MaxOffset() const;
    /// NextDrawNumber at the current offset, as status panel 1 shows it.
    int NextDrawNumber() const;
    /// Main numbers of the draw at position offset - 1; empty at offset 0.
    const QList<int> &NextDrawSet() const { return m_nextDrawSet; }
    /// A zeroed record carrying NextDrawNumber(0): what manual add proposes.
    TDrawRec NewDrawTemplate() const;
    bool SortedDraws() const { return m_sortedDraws; }
    bool ColorDraws() const { return m_colorDraws; }
    /// Takes the switches from the window settings just loaded.
    void ApplyWindowSettings();

    // ---- operations (each shows its own error box and returns the failure) -------------
    /// Reads the draws file; missing file: empty archive, no message. Error
    /// box "Ошибка чтения файла тиражей!\r\r%s"; the whole valid records stay.
    TOpResult LoadDraws();
    /// Rewrites the draws file, then refreshes the view with force.
    /// Error box "Ошибка записи в файл тиражей!\r\r%s".
    TOpResult SaveDraws();
    /// Appends, saves and asks for a recompute. A failed save restores the
    /// archive, so memory and file never disagree. A record with numbers
    /// outside 1..45, repeated main numbers or a draw number below 1 is
    /// refused with "Введена некорректная комбинация!".
    TOpResult AddDraw(const TDrawRec &rec);
    /// Replaces the draw at index in place (same rules).
    TOpResult EditDraw(int index, const TDrawRec &rec);
    /// Deletes the draws with these numbers (the numbers of the selected rows
    /// in row order, newest first), visiting rows from the last one. The
    /// caller has confirmed already. Every number is located before anything
    /// is removed, so a missing draw changes nothing.
    TOpResult DeleteDrawsByNumbers(const QList<int> &drawNumbers);
    /// Imports a draws CSV file and saves (no recompute). On any failure the
    /// archive is left as it was. result (optional) receives the counts.
    TOpResult ImportDrawsCsv(const QString &path, TCsvImportResult *result = nullptr);
    /// Writes the draws CSV file.
    TOpResult ExportDrawsCsv(const QString &path);
    /// Replaces the whole archive (demo archives, tests) and saves; on a
    /// failed save the old archive is restored.
    TOpResult ReplaceDraws(const TDrawsArray &draws);
    /// Appends draws (oldest first) and saves, for an operation of another
    /// area that reports its failures itself (the results download): no
    /// error box; raises EError with the save's reason, the archive then
    /// being as it was. Refreshes the view and asks for a recompute, also
    /// when draws is empty.
    void AppendAndSave(const TDrawsArray &draws);
    /// Empties the archive in memory (shutdown).
    void Release();

    /// Offset 0 (start-up), without a recompute.
    void ResetOffset();
    /// Does nothing when v equals the offset; else stores v (clamped to
    /// 0..MaxOffset()), emits OffsetChanged, refreshes and asks for a
    /// recompute without force.
    void ChangeOffset(int v);
    /// Stores SortedDraws at once, repaints the list and asks for a recompute with force.
    void SetSortedDraws(bool on);
    /// Stores ColorDraws at once and repaints the list.
    void SetColorDraws(bool on);
    /// Rebuilds the next-draw set; emits DrawsChanged and StatusPanelsChanged.
    void RefreshView(bool force);

    /// Confirmation text for deleting count rows.
    static QString DeleteConfirmText(int count);
    /// Title of delete confirmations ("Предупреждение"; No is the default).
    static QString DeleteConfirmTitle();

signals:
    /// The archive or its presentation changed; force: row count and all rows.
    void DrawsChanged(bool force);
    /// The offset changed (the spin edit follows).
    void OffsetChanged(int offset);
    /// The archive count, the next draw or the next-draw numbers changed.
    void StatusPanelsChanged();
    /// The analysis views are out of date (the workspace recomputes them).
    void RecomputeRequested(bool force);

private:
    TOpResult SaveOrRestore(const TDrawsArray &previous);
    void Restore(const TDrawsArray &draws);
    static bool IsValidDraw(const TDrawRec &rec);
    void StoreSwitch(void (TWindowSettings::*set)(bool), bool on);

    IHost &m_host;
    const TDataFolder &m_files;
    TWindowSettings &m_settings;
    TDrawsArchive m_archive;
    QList<int> m_nextDrawSet;
    bool m_sortedDraws = false;
    bool m_colorDraws = true;
};

} // namespace lot
