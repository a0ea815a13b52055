#pragma once
/// @file TStakesController: the stakes area. It owns the stakes file, which
/// is also the data lock of the data folder, holds the user-level operations
/// on it with their error boundary (the file raises), checks the stakes
/// against the archive, writes the stake logs, keeps the three stake
/// options and tells views about changes.

#include "core/OpResult.h"
#include "stakes/Ratings.h"
#include "stakes/StakeGraphs.h"
#include "stakes/StakesFile.h"

#include <functional>
#include <QDateTime>
#include <QObject>
#include <QRandomGenerator>
#include <QString>
#include <span>

namespace lot {

class IHost;
class TArchiveController;
class TCombsController;
class TDataFolder;
class TStatList;
class TWindowSettings;

class TStakesController : public QObject {
    Q_OBJECT
public:
    /// archive: the draws the stakes are checked against and the next draw
    /// number; registry: the prices (StakeProfit); combs: the list the stakes
    /// are made from; settings: where the stake options are stored.
    TStakesController(IHost &host, const TDataFolder &files, TWindowSettings &settings,
                      const TArchiveController &archive, const TStatList &registry,
                      const TCombsController &combs, QObject *parent = nullptr);
    /// Closes the stakes file (ending the data lock) without messages when
    /// CloseStakes() did not.
    ~TStakesController() override;

    TStakesFile &File() { return m_file; }
    const TStakesFile &File() const { return m_file; }
    bool IsOpen() const { return m_file.IsOpen(); }
    qint64 Count() const { return m_file.Count(); }
    bool IsEmpty() const { return Count() == 0; }
    /// "Ставок: %d" for the status bar.
    QString CountText() const;

    // ---- opening and closing ------------------------------------------------------------
    /// The message shown when the data lock cannot be taken.
    static QString DataLockMessage();
    /// Start-up load of the stakes file, which takes the data lock: status
    /// "Загрузка файла ставок...", the exclusive open, then the version check
    /// (a file of another version is copied to "<file>.bak[.N]" and emptied
    /// after the warning, and the grid gets its initial layout). A file that
    /// cannot be opened or is locked by another copy shows DataLockMessage()
    /// (a read error box before it would only say the same less clearly); a
    /// later error shows "Ошибка чтения файла ставок!\r\r%s". On failure the
    /// file is closed and no lock is held. Ends with RefreshStakesView
    /// (refresh, no jump).
    TOpResult LoadStakes();
    /// LoadStakes as the first step of using the data folder: a failure
    /// ends with DataLockMessage(), shown once.
    TOpResult AcquireDataLock();
    /// The stakes file for reading only, without the lock (listing beside a
    /// running window); a file of another version is refused, not emptied.
    /// Error box "Ошибка чтения файла ставок!\r\r%s".
    TOpResult OpenForReading();
    /// Closes the stakes file with status "Сохранение файла ставок..."
    /// (error box "Ошибка записи в файл ставок!\r\r%s"), ending the data lock.
    TOpResult CloseStakes();
    /// Hands bulk writes to the system ("Ошибка записи в файл ставок!\r\r%s").
    /// The stream stays open, so the data lock never lapses.
    TOpResult ReopenStakes();

    // ---- records --------------------------------------------------------------------------
    /// ReadStake of the file: error box "Ошибка чтения записи из файла
    /// ставок!\r\r%s", rec zero-filled then.
    TOpResult ReadStake(TSeekOrigin origin, qint64 index, TStakeRec &rec);
    /// What the grid shows in row: the record, or false when the row lies
    /// past the file or cannot be read. A read error is shown once, not once
    /// per cell and repaint, until the next RefreshStakesView.
    bool ViewRecord(qint64 row, TStakeRec &rec);
    /// WriteStake of the file: error box "Ошибка добавления записи в файл ставок!\r\r%s".
    TOpResult WriteStake(TSeekOrigin origin, qint64 index, const TStakeRec &rec);
    /// FindStake of the file: error box "Ошибка поиска записи в файле ставок!\r\r%s".
    TOpResult FindStake(int drawNumber, const TNumberSet &numbers, bool &found);
    /// SeekRecentDraws of the file: error box "Ошибка поиска записи по номеру
    /// тиража в файле ставок!\r\r%s" (and no draws).
    TOpResult SeekRecentDraws(int n, TRecentDraws &result);
    /// Every record in file order, block by block (the listing of the
    /// command line). Error box "Ошибка чтения файла ставок!\r\r%s".
    TOpResult VisitStakes(const std::function<void(qint64 index, const TStakeRec &rec)> &visit);

    // ---- making stakes ----------------------------------------------------------------------
    /// Minus the cost of a stake of n numbers (StakeProfit(n, -1)).
    int64_t StakeCost(int n) const;
    /// A manual stake for the next draw: kind 1, comment Ставка "вручную",
    /// sample = the list's count, numbers (count 0 for none), profit = minus
    /// its cost.
    TStakeRec NewManualStake(const TNumberSet &numbers) const;
    /// The combination StakeAddRandom takes: a uniformly random row of the
    /// list, -1 when it is empty.
    int RandomCombRow();
    /// The random choice's seed (tests and scripts repeat a run with it).
    void SetRandomSeed(quint32 seed) { m_random.seed(seed); }

    /// AppendStakes: error box "Ошибка добавления записи в файл ставок!\r\r%s".
    TOpResult AppendStakes(const TStakeRec &tmpl, int drawsCount);
    /// AppendSeparator (same error box).
    TOpResult AppendSeparator();
    /// After a single stake dialog: status "Создание ставки...",
    /// AppendStakes, then CheckAndSave and RefreshStakesView (refresh, jump).
    TOpResult AddStake(const TStakeRec &rec, int drawsCount);
    /// One stake of a batch: status "Создание ставок...", AppendStakes, then
    /// RefreshStakesView (no refresh; a jump unless batch is set and
    /// StakesScrollEnabled is off). The caller checks once at the end.
    TOpResult AddStakes(const TStakeRec &rec, int drawsCount, bool batch);
    /// StakeAddSelected and StakeAddAll after the multi-stake dialog: one
    /// manual stake per combination, in order, for drawsCount draws from
    /// drawNumber, through one buffered writer (status "Создание ставок..."
    /// with its progress); then CheckAndSave and RefreshStakesView (refresh,
    /// jump). A failure stops the batch; the stakes made before it stay.
    TOpResult AddStakesForCombs(std::span<const TComb> combs, int drawNumber, int drawsCount,
                                const QString &comment);

    // ---- checking ----------------------------------------------------------------------------
    /// Checks every unchecked stake whose draw is in the archive (status
    /// "Проверка результатов ставок..."); checked receives how many. Error
    /// box "Ошибка проверки ставок!\r\r%s"; what was written stays checked.
    TOpResult CheckStakes(qint64 &checked);
    /// CheckStakes and, when it checked any, ReopenStakes and SortRatings
    /// with the list's column and direction (which saves the ratings).
    TOpResult CheckAndSave(qint64 *checked = nullptr);
    /// StakesCheckManual: CheckAndSave, then RefreshStakesView (refresh, no jump).
    TOpResult CheckStakesManual(qint64 *checked = nullptr);
    /// Credits a checked stake to the rating of its comment (CheckStakes
    /// calls it for every stake it checks, RatingsRefresh for every checked
    /// stake of the file).
    void AccumulateRating(const TStakeRec &rec);
    /// The clock of the stake log lines (tests set a fixed one).
    void SetLogClock(std::function<QDateTime()> clock) { m_logClock = std::move(clock); }

    // ---- deleting -----------------------------------------------------------------------------
    /// TruncateStakes: empties the file and refreshes the grid (refresh, no jump).
    TOpResult TruncateStakes();
    /// StakeDel: removes records first..last (0-based, inclusive; either
    /// way round) through
    /// the temporary file; the caller has confirmed. Status "Удаление
    /// ставок...", error box "Ошибка удаления записи из файла ставок!\r\r%s".
    /// Then CheckAndSave and RefreshStakesView (refresh, no jump); the grid
    /// is repainted in every case. removed (optional) receives the count.
    TOpResult DeleteSelectedStakes(qint64 first, qint64 last, qint64 *removed = nullptr);
    /// StakeFilter: removes the stakes (never a separator) whose overlap
    /// count o (-1 unchecked) meets the condition 0..4 with value 0..6, the
    /// same way.
    TOpResult DeleteStakesByOverlaps(int condition, int value, qint64 *removed = nullptr);
    /// StakeClear: the caller has confirmed. Status "Удаление ставок...",
    /// empties the file, resets the grid (no refresh, no jump), then
    /// RatingsRefresh with its own question.
    TOpResult StakeClear();
    /// LogStakesDelete: information "Файлы журналов не найдены!" when there
    /// are none; otherwise deletes them (status "Поиск файлов журналов...")
    /// and reports the outcome.
    TOpResult DeleteStakeLogs();

    // ---- ratings ---------------------------------------------------------------------------------
    const TRatings &Ratings() const { return m_ratings; }
    /// Tests and the start of a run without a file.
    TRatings &MutableRatings() { return m_ratings; }
    /// "Рейтинг: %d" for the status bar.
    QString RatingsCountText() const;
    /// Start-up: when the ratings file exists, status "Загрузка файла
    /// рейтинга...", reads it, then sorts with the list's column and
    /// direction and saves. A read error shows "Ошибка чтения файла
    /// рейтинга!\r\r%s" and keeps the ratings as they were, the file
    /// untouched.
    TOpResult LoadRatings();
    /// The ratings file as it is, without the sort and the save (the
    /// command line). A missing file gives no ratings; error box as LoadRatings.
    TOpResult ReadRatings();
    /// Status "Сохранение файла рейтинга...", rewrites the ratings file
    /// from the rows; error box "Ошибка записи в файл рейтинга!\r\r%s".
    /// After a failed load the unread file is first copied to
    /// "<file>.bak[.N]", so no save loses it.
    /// Emits RatingsChanged in every case.
    TOpResult SaveRatings();
    /// Status "Сортировка рейтинга...", sorts (a negative column leaves the
    /// order) and remembers the column and direction, then SaveRatings.
    TOpResult SortRatings(int column, bool descending);
    /// The list's sort: column 3 descending until the user clicks another.
    int RatingsSortColumn() const { return m_ratingsSortColumn; }
    bool RatingsSortDescending() const { return m_ratingsSortDescending; }
    /// Rebuilds the ratings from the checked stakes of the file. When
    /// ratings exist it asks "Пересчитать рейтинг только по текущим
    /// ставкам?..." first; anything but Yes ends it (refused set then).
    /// Status "Обновление рейтинга...", then SortRatings with the list's
    /// column and direction. Error box "Ошибка обновления рейтинга!\r\r%s",
    /// the ratings as they were.
    TOpResult RatingsRefresh(bool *refused = nullptr);
    /// The CSV export to fileName (Windows-1251, CR LF; the decimal point of
    /// the user's locale). Status "Экспорт в CSV-файл..."; error box
    /// "Ошибка экспорта рейтинга в CSV-файл!\r\r%s", no file then.
    TOpResult ExportRatingsCsv(const QString &fileName);
    /// StakesGraphDraws: status "Создание графиков...", the profit of every
    /// record with a draw number not below 0 (checked or not) summed per
    /// draw, streamed from the file. Error box with GraphNoDataText() when
    /// there is no such record.
    TOpResult StakesGraphDraws(TStakeGraph &graph);
    /// StakesGraphOverlap (profits false) and StakesGraphProfits: the
    /// stakes of the 100 most recent checked draws (SeekRecentDraws) whose
    /// comment is one of comments ignoring case, one point per stake in the
    /// series of its comment. Error box with GraphNoDataText() without
    /// comments or with fewer than 2 such draws.
    TOpResult StakesGraphComments(const QStringList &comments, bool profits, TStakeGraph &graph);
    /// What the columns "E0".."E6" show: window setting "RatingsEffMode", 0..2.
    int RatingsEffMode() const;
    /// Stores the mode at once and tells the list.
    TOpResult SetRatingsEffMode(int mode);

    // ---- the stake options (window settings, written at once) --------------------------------
    bool StakesLogEnabled() const { return m_logEnabled; }
    void SetStakesLogEnabled(bool on);
    bool StakesScrollEnabled() const { return m_scrollEnabled; }
    void SetStakesScrollEnabled(bool on);
    /// Read by the script runs once they exist.
    bool StakesCheckOnLine() const { return m_checkOnLine; }
    void SetStakesCheckOnLine(bool on);
    /// Takes the options from the window settings just loaded.
    void ApplyWindowSettings();

    /// Tells the views: refresh, the rows are read again; jump, the last
    /// row is selected; the status panel follows.
    void RefreshStakesView(bool refresh, bool jump);

    /// The next draw number at the archive's offset.
    int NextDrawNumber() const;

signals:
    /// The stakes file or its record count changed.
    void StakesChanged();
    /// What RefreshStakesView asks of the grid.
    void StakesViewChanged(bool refresh, bool jump);
    /// An outdated stakes file was emptied: the grid takes its initial layout.
    void StakesLayoutReset();
    /// One of the three stake options changed.
    void OptionsChanged();
    /// The ratings' rows, order or efficiency mode changed.
    void RatingsChanged();

private:
    /// Every record in file order, block by block; raises.
    void ReadEachStake(const std::function<void(qint64 index, const TStakeRec &rec)> &visit);
    TOpResult DeleteThroughTemp(const std::function<bool(qint64, const TStakeRec &)> &remove,
                                qint64 *removed);
    void StoreSwitch(void (TWindowSettings::*set)(bool), bool on);

    IHost &m_host;
    const TDataFolder &m_files;
    TWindowSettings &m_settings;
    const TArchiveController &m_archive;
    const TStatList &m_registry;
    const TCombsController &m_combs;
    TStakesFile m_file;
    TRatings m_ratings;
    bool m_ratingsUnread = false; ///< the file could not be read: keep a copy before the next save
    int m_ratingsSortColumn = rcAverage;
    bool m_ratingsSortDescending = true;
    QRandomGenerator m_random;
    std::function<QDateTime()> m_logClock;
    bool m_viewErrorShown = false;
    bool m_logEnabled = false;
    bool m_scrollEnabled = true;
    bool m_checkOnLine = true;
};

} // namespace lot
