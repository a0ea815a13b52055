#include "combs/CombsController.h"
#include "core/Messages.h"

#include "archive/DrawsArchive.h"
#include "combs/CombFile.h"
#include "combs/CombGenerator.h"
#include "combs/DrawKeySet.h"
#include "core/Codec1251.h"
#include "core/CoreHelpers.h"
#include "core/Errors.h"
#include "core/Format.h"
#include "core/Host.h"
#include "core/HotLoop.h"
#include "stats/StatList.h"
#include "stats/StatsController.h"

#include <algorithm>
#include <QDir>
#include <QFile>

namespace lot {

namespace {
QString Percent(const char *fmt, qint64 done, qint64 total) {
    const double percent = total > 0 ? double(done) * 100.0 / double(total) : 100.0;
    return Format(QString::fromUtf8(fmt), {percent});
}
} // namespace

TCombsController::TCombsController(IHost &host, QObject *parent)
    : QObject(parent), m_host(host), m_threads(HotLoopThreads()) {}

TCombsController::~TCombsController() = default;

void TCombsController::ReserveFullSet() {
    m_count = 0;
    m_undoCount = 0;
    m_undoValid = false;
    EnsureCombsCapacity(m_list, FullSetSize);
    SyncCapacity();
}

void TCombsController::Clear() {
    m_count = 0;
    DiscardUndo();
    ClearHistory();
}

void TCombsController::SyncCapacity() {
    const size_t n = std::max(m_list.size(), m_undo.size());
    if (m_list.size() < n) m_list.resize(n);
    if (m_undo.size() < n) m_undo.resize(n);
}

void TCombsController::SetCount(int count) {
    m_count = std::clamp(count, 0, int(m_list.size()));
}

// ---- undo copy -------------------------------------------------------------------

void TCombsController::MakeUndoCopy(bool show) {
    if (show) m_host.ShowStatus(QStringLiteral("Создание файла отката..."));
    SyncCapacity();
    std::copy_n(m_list.data(), m_count, m_undo.data());
    m_undoCount = m_count;
    m_undoValid = true;
}

void TCombsController::MoveListToUndo(bool show) {
    if (show) m_host.ShowStatus(QStringLiteral("Создание файла отката..."));
    SyncCapacity();
    m_list.swap(m_undo);
    m_undoCount = m_count;
    m_undoValid = true;
    // What the list's storage holds now is the old undo copy, no list.
    m_count = 0;
}

bool TCombsController::RestoreUndo(bool show) {
    if (!m_undoValid) return false;
    if (show) m_host.ShowStatus(QStringLiteral("Отмена изменений..."));
    SyncCapacity();
    // The copy is emptied anyway: its storage may as well become the list.
    m_list.swap(m_undo);
    m_count = m_undoCount;
    DiscardUndo();
    RefreshCombsView();
    return true;
}

void TCombsController::DiscardUndo() {
    m_undoCount = 0;
    m_undoValid = false;
}

// ---- history ---------------------------------------------------------------------

void TCombsController::AddHistoryRow(bool flag, const QString &operation, const QString &values) {
    AddHistoryRowWithIcon(flag ? HistoryIconFlagOn : HistoryIconFlagOff, operation, values);
}

void TCombsController::AddHistoryRowWithIcon(int imageIndex, const QString &operation,
                                             const QString &values) {
    m_history.append(THistoryRow{operation, values, QString::number(m_count), imageIndex});
    emit HistoryChanged();
}

void TCombsController::RemoveLastHistoryRow() {
    if (m_history.isEmpty()) return;
    m_history.removeLast();
    emit HistoryChanged();
}

void TCombsController::ClearHistory() {
    if (m_history.isEmpty()) return;
    m_history.clear();
    emit HistoryChanged();
}

// ---- generation and files ----------------------------------------------------------

TOpResult TCombsController::ReadFileIntoList(const QString &fileName, bool show) {
    m_count = 0;
    TCombFileReadInfo info;
    const TOpResult r = Guarded(
        m_host,
        [&](const QString &reason) {
            return Format(QStringLiteral("Ошибка чтения файла \"%s\"!\r\r%s"), {fileName, reason});
        },
        [&] { ReadCombsFile(fileName, m_list, m_count, info); });
    SyncCapacity();
    if (show && info.SkippedBadNumbers > 0)
        m_host.ShowAttention(Format(QStringLiteral("В файле \"%s\" пропущено строк с числами вне диапазона "
                                                   "1..45: %d"),
                                    {fileName, info.SkippedBadNumbers}));
    return r;
}

TOpResult TCombsController::GenerateCombs(bool show, int mode, const QString &parameters) {
    TBusyGuard busy(m_host, show);
    const TOpResult r =
        Guarded(m_host, QStringLiteral("Ошибка генерации файла комбинаций!\r\r%s"), [&]() -> TOpResult {
            if (show) m_host.ShowStatus(QStringLiteral("Генерация возможных комбинаций..."));
            m_count = 0;
            mode = NormalizeGenerateMode(mode);
            if (mode == cgmFromFile) return ReadFileIntoList(parameters, show);
            if (m_sourceCacheOn && m_sourceCount >= 0 && m_sourceMode == mode &&
                m_sourceParameters == parameters) {
                EnsureCombsCapacity(m_list, m_sourceCount);
                SyncCapacity();
                std::copy_n(m_sourceCache.data(), m_sourceCount, m_list.data());
                m_count = m_sourceCount;
                return {};
            }
            const uint64_t numbers = ParseMyNumbers(parameters);
            EnsureCombsCapacity(m_list, GenerateCount(mode, numbers));
            SyncCapacity();
            m_count = GenerateInto(mode, numbers, m_list.data());
            if (m_sourceCacheOn) {
                m_sourceCount = -1;
                m_sourceCache.assign(m_list.data(), m_list.data() + m_count);
                m_sourceCount = m_count;
                m_sourceMode = mode;
                m_sourceParameters = parameters;
            }
            return {};
        });
    if (show) {
        ClearHistory();
        RefreshCombsView();
        DiscardUndo();
    }
    return r;
}

void TCombsController::SetSourceCache(bool on) {
    m_sourceCacheOn = on;
    if (on) return;
    m_sourceCount = -1;
    m_sourceMode = -1;
    m_sourceParameters.clear();
    TCombsArray().swap(m_sourceCache);
}

TOpResult TCombsController::GenerateSavedCombs(const TStatList &stats) {
    return GenerateCombs(true, stats.CombsGenerateMode(), stats.CombsGenerateParameters());
}

TOpResult TCombsController::NewCombsList(TStatsController &stats, int mode, const QString &parameters,
                                         bool saveAsDefault) {
    // A failed save is reported; the list is made all the same.
    if (saveAsDefault) (void)stats.SaveCombsGenerateParameters(mode, parameters);
    TBusyGuard busy(m_host);
    MakeUndoCopy(true);
    return GenerateCombs(true, mode, parameters);
}

TOpResult TCombsController::OpenCombsFile(const QString &fileName) {
    TBusyGuard busy(m_host);
    MakeUndoCopy(true);
    m_host.ShowStatus(Format(QStringLiteral("Загрузка файла \"%s\"..."), {fileName}));
    const TOpResult r = ReadFileIntoList(fileName, true);
    if (!r) RestoreUndo(false);
    DiscardUndo();
    ClearHistory();
    RefreshCombsView();
    return r;
}

TOpResult TCombsController::SaveCombsFile(const QString &fileName) {
    TBusyGuard busy(m_host);
    m_host.ShowStatus(Format(QStringLiteral("Сохранение файла \"%s\"..."), {fileName}));
    return Guarded(
        m_host,
        [&](const QString &reason) {
            return Format(msg::FileWriteError, {fileName, reason});
        },
        [&] { WriteCombsFile(fileName, m_list.data(), m_count); });
}

// ---- reducing steps ----------------------------------------------------------------

int TCombsController::ExcludeLastDraws(const TDrawsArchive &archive, int n) {
    return ExcludeLastDraws(archive, n, archive.Offset());
}

int TCombsController::ExcludeLastDraws(const TDrawsArchive &archive, int n, int offset) {
    TBusyGuard busy(m_host);
    if (!m_undoValid) MakeUndoCopy(false);
    m_host.ShowStatus(Format(QStringLiteral("Удаление из списка комбинаций %d последних тиражей..."), {n}));

    TDrawKeySet draws;
    if (n > 0) {
        const int last = archive.Count() - 1 - offset;
        const int first = std::max(0, last - n + 1);
        if (last >= 0 && first <= last)
            draws = TDrawKeySet(
                std::span<const TDrawRec>(archive.Draws()).subspan(size_t(first), size_t(last - first + 1)));
    }

    const int total = m_undoCount;
    const int out =
        CopyExceptDrawsParallel(m_undo.data(), total, m_list.data(), draws, m_threads, [&](int done) {
            m_host.ShowStatus(
                Format(QStringLiteral("Удаление из списка комбинаций %d последних тиражей ( завершено "
                                      "%.0f %% )..."),
                       {n, double(done) * 100.0 / double(total)}));
        });
    m_count = out;
    AddHistoryRow(true, QStringLiteral("Последние тиражи"), QString::number(n));
    RefreshCombsView();
    return total - out;
}

int TCombsController::DeleteLastDraws(const TDrawsArchive &archive, int n) {
    TBusyGuard busy(m_host);
    MakeUndoCopy(true);
    return ExcludeLastDraws(archive, n);
}

int TCombsController::DeleteSelected(const QList<int> &rows) {
    std::vector<uint8_t> selected(size_t(m_count), 0);
    int selectedCount = 0;
    for (int row : rows) {
        if (row < 0 || row >= m_count || selected[size_t(row)]) continue;
        selected[size_t(row)] = 1;
        ++selectedCount;
    }
    if (selectedCount == 0) return 0;

    TBusyGuard busy(m_host);
    MakeUndoCopy(true);
    m_host.ShowStatus(QStringLiteral("Удаление выделенных комбинаций..."));
    int out = 0;
    for (int i = 0; i < m_undoCount; ++i)
        if (!selected[size_t(i)]) m_list[size_t(out++)] = m_undo[size_t(i)];
    m_count = out;
    AddHistoryRow(true, QStringLiteral("Выделенные комбинации"), QString::number(selectedCount));
    RefreshCombsView();
    return selectedCount;
}

bool TCombsController::Undo() {
    TBusyGuard busy(m_host);
    if (!RestoreUndo(true)) return false;
    RemoveLastHistoryRow();
    return true;
}

// ---- clipboard -----------------------------------------------------------------------

QString TCombsController::CopyText(const QList<int> &rows) const {
    QList<int> sorted;
    sorted.reserve(rows.size());
    for (int row : rows)
        if (row >= 0 && row < m_count) sorted.append(row);
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    QString text;
    text.reserve(sorted.size() * 19);
    for (int row : sorted) {
        text += CombToSpacedText(m_list[size_t(row)]);
        text += QLatin1String("\r\n");
    }
    return text;
}

TOpResult TCombsController::PasteText(const QString &text) {
    if (SplitLines(text).isEmpty()) return TOpResult::Failure(QString());
    TBusyGuard busy(m_host);
    m_host.ShowStatus(QString::fromUtf8(msg::PleaseWait));
    MakeUndoCopy(false);
    const TOpResult r = Guarded(m_host, {}, [&] {
        try {
            ParseCombsText(text, m_list, m_count);
        } catch (...) {
            SyncCapacity();
            RestoreUndo(false);
            throw;
        }
        SyncCapacity();
        ClearHistory();
    });
    DiscardUndo();
    RefreshCombsView();
    return r;
}

// ---- queries ---------------------------------------------------------------------------

bool TCombsController::CombInList(const TComb &comb) const {
    return std::find(m_list.begin(), m_list.begin() + m_count, comb) != m_list.begin() + m_count;
}

QString TCombsController::UniqueNumbersMessage() const {
    return Format(QStringLiteral("В текущем списке комбинаций содержится %d уникальных номеров"),
                  {CountUniqueNumbers(m_list.data(), m_count)});
}

QStringList TCombsController::FindInDraws(const TComb &comb, const TDrawsArchive &archive) {
    // The same numbers in any order; compared as sorted keys so that a
    // combination with a repeated number never counts as the draw.
    QStringList lines;
    const uint64_t key = SortedCombKey(comb);
    for (int i = archive.Count() - 1; i >= 0 && lines.size() <= 25; --i) {
        if (SortedCombKey(DrawToComb(archive.At(i))) == key) lines.append(DrawToText(archive.At(i)));
    }
    return lines;
}

QString TCombsController::FindInDrawsMessage(const TComb &comb, const TDrawsArchive &archive) {
    const QStringList lines = FindInDraws(comb, archive);
    if (lines.isEmpty()) return QStringLiteral("Выделенная комбинация не найдена архиве тиражей!");
    return QStringLiteral("Выделенная комбинация найдена в следующих тиражах:\r\n\r\n") +
           lines.join(QStringLiteral("\r\n"));
}

QString TCombsController::CountText() const {
    return Format(QStringLiteral("Комбинаций: %d"), {m_count});
}

void TCombsController::RefreshCombsView() {
    emit ListChanged();
}

// ---- combination buffer ------------------------------------------------------------------

void TCombsController::SetDataDir(const QString &dir) {
    m_dataDir = dir;
}

QString TCombsController::BufferFileName() const {
    return QDir(m_dataDir).filePath(QString::fromLatin1(ProgramName) + QStringLiteral(".~buff"));
}

TOpResult TCombsController::CreateBuffer(int offset, int n) {
    const TBufferKey key{offset, n};
    if (key == m_bufferKey) return {};
    TBusyGuard busy(m_host);
    m_host.ShowStatus(QStringLiteral("Создание буфера комбинаций..."));
    // On failure the old file is intact (it is replaced only once complete),
    // so the old key still describes it.
    return Guarded(m_host, QStringLiteral("Ошибка создания буфера комбинаций!\r\r%s"), [&] {
        const int total = m_count;
        WriteCombsBuffer(BufferFileName(), m_list.data(), total, [&](int done) {
            m_host.ShowStatus(Percent("Создание буфера комбинаций ( завершено %.0f %% )...", done, total));
        });
        m_bufferKey = key;
    });
}

bool TCombsController::LoadBuffer(int offset, int n) {
    if (TBufferKey{offset, n} != m_bufferKey || !QFile::exists(BufferFileName())) return false;
    TBusyGuard busy(m_host);
    m_host.ShowStatus(QStringLiteral("Загрузка буфера комбинаций..."));
    const TOpResult r = Guarded(m_host, QStringLiteral("Ошибка загрузки буфера комбинаций!\r\r%s"), [&] {
        try {
            ReadCombsBuffer(BufferFileName(), m_list, m_count, [&](int done, int total) {
                m_host.ShowStatus(
                    Percent("Загрузка буфера комбинаций ( завершено %.0f %% )...", done, total));
            });
        } catch (...) {
            // A buffer that cannot be read back is useless; the next
            // CreateBuffer must write it again.
            m_bufferKey = TBufferKey{};
            throw;
        }
    });
    SyncCapacity();
    RefreshCombsView();
    return bool(r);
}

void TCombsController::DeleteBuffer() {
    m_bufferKey = TBufferKey{};
    QFile::remove(BufferFileName());
}

} // namespace lot
