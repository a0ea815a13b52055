#include "archive/ArchiveController.h"

#include "archive/DrawsCsv.h"
#include "core/CoreHelpers.h"
#include "core/DataFolder.h"
#include "core/Format.h"
#include "core/Messages.h"
#include "core/WindowSettings.h"

#include <QDir>

namespace lot {

TArchiveController::TArchiveController(IHost &host, const TDataFolder &files, TWindowSettings &settings,
                                       QObject *parent)
    : QObject(parent), m_host(host), m_files(files), m_settings(settings) {}

// ---- view state ------------------------------------------------------------------------------

int TArchiveController::MaxOffset() const {
    return qMax(0, m_archive.Count() - 1);
}

int TArchiveController::NextDrawNumber() const {
    return m_archive.NextDrawNumber(m_archive.Offset());
}

TDrawRec TArchiveController::NewDrawTemplate() const {
    TDrawRec rec;
    rec.DrawNumber = m_archive.NextDrawNumber(0);
    return rec;
}

void TArchiveController::ApplyWindowSettings() {
    m_sortedDraws = m_settings.SortedDraws();
    m_colorDraws = m_settings.ColorDraws();
}

void TArchiveController::StoreSwitch(void (TWindowSettings::*set)(bool), bool on) {
    // A switch that cannot be written still applies for this run.
    (void)Guarded(m_host, QString::fromUtf8(msg::SettingsSaveError), [&] { (m_settings.*set)(on); });
}

void TArchiveController::SetSortedDraws(bool on) {
    m_sortedDraws = on;
    StoreSwitch(&TWindowSettings::SetSortedDraws, on);
    emit DrawsChanged(false);
    emit RecomputeRequested(true);
}

void TArchiveController::SetColorDraws(bool on) {
    m_colorDraws = on;
    StoreSwitch(&TWindowSettings::SetColorDraws, on);
    emit DrawsChanged(false);
}

void TArchiveController::ResetOffset() {
    if (m_archive.Offset() == 0) return;
    m_archive.SetOffset(0);
    emit OffsetChanged(0);
}

void TArchiveController::ChangeOffset(int v) {
    v = qBound(0, v, MaxOffset());
    if (v == m_archive.Offset()) return;
    m_archive.SetOffset(v);
    emit OffsetChanged(v);
    RefreshView(false);
    emit RecomputeRequested(false);
}

void TArchiveController::RefreshView(bool force) {
    // Deleting draws can leave the offset past the archive; it follows the
    // spin edit's new maximum.
    if (m_archive.Offset() > MaxOffset()) {
        m_archive.SetOffset(MaxOffset());
        emit OffsetChanged(m_archive.Offset());
    }
    m_nextDrawSet = m_archive.NextDrawSet();
    emit DrawsChanged(force);
    emit StatusPanelsChanged();
}

// ---- operations ------------------------------------------------------------------------------

void TArchiveController::Restore(const TDrawsArray &draws) {
    m_archive.ClearDraws();
    for (const TDrawRec &d : draws)
        m_archive.Append(d);
}

TOpResult TArchiveController::LoadDraws() {
    const TOpResult r = Guarded(m_host, QString::fromUtf8(msg::DrawsReadError),
                                [&] { m_archive.LoadDrawsFile(m_files.DrawsFile()); });
    RefreshView(true);
    return r;
}

TOpResult TArchiveController::SaveDraws() {
    const TOpResult r = Guarded(m_host, QString::fromUtf8(msg::DrawsWriteError),
                                [&] { m_archive.SaveDrawsFile(m_files.DrawsFile()); });
    RefreshView(true);
    return r;
}

TOpResult TArchiveController::SaveOrRestore(const TDrawsArray &previous) {
    const TOpResult r = SaveDraws();
    if (r) return r;
    // The file still holds the old archive; memory follows it, so the list
    // never shows draws that would vanish at the next start.
    Restore(previous);
    RefreshView(true);
    return r;
}

bool TArchiveController::IsValidDraw(const TDrawRec &rec) {
    if (rec.DrawNumber < 1 || !HasValidNumbers(rec)) return false;
    for (int i = 0; i < CombSize; ++i)
        for (int j = i + 1; j < CombSize; ++j)
            if (rec.Numbers[i] == rec.Numbers[j]) return false;
    return true;
}

TOpResult TArchiveController::AddDraw(const TDrawRec &rec) {
    if (!IsValidDraw(rec)) return Refused(m_host, QString::fromUtf8(msg::BadCombination));
    const TDrawsArray previous = m_archive.Draws();
    m_archive.Append(rec);
    const TOpResult r = SaveOrRestore(previous);
    if (r) emit RecomputeRequested(true);
    return r;
}

TOpResult TArchiveController::EditDraw(int index, const TDrawRec &rec) {
    if (index < 0 || index >= m_archive.Count()) return Refused(m_host, Format(msg::RecordNotFound, {index}));
    if (!IsValidDraw(rec)) return Refused(m_host, QString::fromUtf8(msg::BadCombination));
    const TDrawsArray previous = m_archive.Draws();
    m_archive.Replace(index, rec);
    const TOpResult r = SaveOrRestore(previous);
    if (r) emit RecomputeRequested(true);
    return r;
}

QString TArchiveController::DeleteConfirmText(int count) {
    if (count == 1) return QStringLiteral("Удалить выделенную запись?");
    return Format(QStringLiteral("Удалить все выделенные записи (всего будет удалено %d записи(ей))?"),
                  {count});
}

QString TArchiveController::DeleteConfirmTitle() {
    return QStringLiteral("Предупреждение");
}

TOpResult TArchiveController::DeleteDrawsByNumbers(const QList<int> &drawNumbers) {
    if (drawNumbers.isEmpty()) return {};
    TBusyGuard busy(m_host);
    m_host.ShowStatus(QStringLiteral("Удаление выделенных тиражей...."));
    const TDrawsArray previous = m_archive.Draws();
    TOpResult r = Guarded(m_host, QString(), [&] {
        try {
            for (qsizetype row = drawNumbers.size() - 1; row >= 0; --row)
                m_archive.DeleteDrawAt(m_archive.FindDrawIndex(drawNumbers[row]));
        } catch (...) {
            // All or nothing: a draw that cannot be found leaves the archive whole.
            Restore(previous);
            RefreshView(true);
            throw;
        }
    });
    if (!r) return r;
    RefreshView(true);
    r = SaveOrRestore(previous);
    if (r) emit RecomputeRequested(true);
    return r;
}

TOpResult TArchiveController::ImportDrawsCsv(const QString &path, TCsvImportResult *result) {
    TBusyGuard busy(m_host);
    m_host.ShowStatus(
        Format(QStringLiteral("Импорт тиражей из файла \"%s\"..."), {QDir::toNativeSeparators(path)}));
    const TDrawsArray previous = m_archive.Draws();
    const TOpResult r = Guarded(m_host, QString(), [&] {
        try {
            const TCsvImportResult counts = lot::ImportDrawsCsv(m_archive, path);
            if (result) *result = counts;
        } catch (...) {
            // Draws read before the failure are dropped again: memory keeps
            // matching the draws file.
            Restore(previous);
            RefreshView(true);
            throw;
        }
    });
    if (!r) return r;
    return SaveOrRestore(previous);
}

TOpResult TArchiveController::ExportDrawsCsv(const QString &path) {
    TBusyGuard busy(m_host);
    m_host.ShowStatus(
        Format(QStringLiteral("Экспорт тиражей в файл \"%s\"..."), {QDir::toNativeSeparators(path)}));
    return Guarded(m_host, QString(), [&] { lot::ExportDrawsCsv(m_archive, path); });
}

TOpResult TArchiveController::ReplaceDraws(const TDrawsArray &draws) {
    const TDrawsArray previous = m_archive.Draws();
    Restore(draws);
    const TOpResult r = SaveOrRestore(previous);
    if (r) emit RecomputeRequested(true);
    return r;
}

void TArchiveController::AppendAndSave(const TDrawsArray &draws) {
    const TDrawsArray previous = m_archive.Draws();
    for (const TDrawRec &d : draws)
        m_archive.Append(d);
    try {
        m_archive.SaveDrawsFile(m_files.DrawsFile());
    } catch (...) {
        Restore(previous);
        RefreshView(true);
        throw;
    }
    RefreshView(true);
    emit RecomputeRequested(true);
}

void TArchiveController::Release() {
    m_archive.ClearDraws();
    m_nextDrawSet.clear();
    emit DrawsChanged(true);
}

} // namespace lot
