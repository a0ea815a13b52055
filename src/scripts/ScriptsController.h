#pragma once
/// @file TScriptsController: the scripts area. It owns the script (the lines
/// of the "Сценарий" tab, kept in the current script file
/// "Brantlee_6x45.lss", which every change rewrites), the script files'
/// operations, the script log switch and the runner of forecasts and tests,
/// with the error boundary of each operation, and tells views about changes
/// through its signals.

#include "core/OpResult.h"
#include "scripts/ScriptRunner.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

namespace lot {

class IHost;
class TArchiveController;
class TCombsController;
class TDataFolder;
class TFiltersController;
class TStakesController;
class TStatsController;
class TWindowSettings;

class TScriptsController : public QObject {
    Q_OBJECT
public:
    /// Columns of the script list.
    enum TColumn { colComments = 0, colOptions = 1, colFilter1 = 2 };
    static constexpr int ColumnCount = 9;

    TScriptsController(IHost &host, const TDataFolder &files, TWindowSettings &settings,
                       TArchiveController &archive, TStatsController &stats, TCombsController &combs,
                       TFiltersController &filters, TStakesController &stakes, QObject *parent = nullptr);
    ~TScriptsController() override;

    // ---- the script -----------------------------------------------------------------------
    const QStringList &Lines() const { return m_lines; }
    int LineCount() const { return int(m_lines.size()); }
    bool IsEmpty() const { return m_lines.isEmpty(); }
    /// The line at index; empty outside the script.
    QString Line(int index) const { return m_lines.value(index); }
    /// The row shows a separator (a line that is empty after trimming); true
    /// outside the script.
    bool IsSeparatorRow(int index) const;
    /// "Строк: %d".
    QString CountText() const;

    /// "Комментарии", "Опции", "Фильтр 1" ... "Фильтр 7".
    static QString ColumnCaption(int column);
    /// The cell of the script list: empty for a separator; LineComments,
    /// OptionsCaption of the options, or the filter re-written by
    /// TextToFilter and FilterToText.
    QString CellText(int row, int column) const;

    // ---- files ------------------------------------------------------------------------------
    /// "<data folder>/Brantlee_6x45.lss".
    QString CurrentScriptFile() const;
    /// Start-up step 12: the script from the current script file when it
    /// exists (a missing file leaves the script empty).
    TOpResult LoadCurrentScript();
    /// ScriptOpen after the file dialog: the script becomes the file's
    /// lines. Status "Загрузка файла \"%s\"..."; error box "Ошибка чтения
    /// файла \"%s\"!\r\r%s" (the script keeps its lines).
    TOpResult OpenScript(const QString &fileName);
    /// ScriptLoad after the file dialog: the file's lines are appended,
    /// after a separator when the script does not end with one.
    TOpResult AddScriptFile(const QString &fileName);
    /// ScriptSave after the file dialog. Status "Сохранение файла
    /// \"%s\"..."; error box "Ошибка записи в файл \"%s\"!\r\r%s".
    TOpResult SaveScript(const QString &fileName);
    /// A script received from another area (ratings, the catalogue): it
    /// replaces the script and is stored.
    TOpResult SetScript(const QStringList &lines);
    /// The script for this run only, not stored (the command line runs a
    /// script file without touching the window's current script).
    void UseScript(const QStringList &lines);
    /// UseScript with the lines of a script file (error box as OpenScript's).
    TOpResult UseScriptFile(const QString &fileName);

    // ---- editing (each stores the current script file) -------------------------------------------
    /// ScriptAdd / ScriptClone: appends a line; index receives its row.
    TOpResult AppendLine(const QString &line, int *index = nullptr);
    /// ScriptEdit: replaces a line; "Запись со индексом %d в файле данных не
    /// найдена!" when it vanished.
    TOpResult ReplaceLine(int index, const QString &line);
    /// ScriptEmpty: appends an empty line.
    TOpResult AppendSeparator(int *index = nullptr);
    /// ScriptDel after its confirmation: busy with "Удаление строк...", the
    /// rows removed from the last to the first (rows outside are ignored).
    TOpResult DeleteLines(const QList<int> &rows);
    /// ScriptClr after its confirmation.
    TOpResult ClearScript();
    /// ScriptUp (delta -1) and ScriptDown (delta 1): swaps the line with its
    /// neighbour; index receives the moved row.
    TOpResult MoveLine(int index, int delta, int *moved = nullptr);
    /// RatingsToScript: status "Генерация новых строк в сценарии...", one
    /// line per rating comment (RatingToScriptLine) appended when it is a
    /// script line; any other shows "Строку\r\r%s\r\rневозможно добавить
    /// в сценарий!" with the comment and is skipped. added: the lines
    /// appended. Fails when the script file cannot be written.
    TOpResult AddRatingLines(const QStringList &comments, int *added = nullptr);

    // ---- running --------------------------------------------------------------------------------
    /// ScriptRun and ScriptTest may start: nothing runs, the script has lines
    /// and the archive is not empty (the caller checks that it is idle).
    bool CanRun() const;
    /// The largest count of a test: the archive's draws minus 1.
    int MaxTestCount() const;
    /// ScriptRun: a forecast at the current offset; RAND draws from a
    /// generator seeded with seed. result (optional) receives what it did.
    /// Fails with the text of the error that stopped it.
    TOpResult RunForecast(quint32 seed, TScriptRunResult *result = nullptr);
    /// ScriptTest after TFormTestCnt: count 1..MaxTestCount().
    TOpResult RunTest(int count, quint32 seed, TScriptRunResult *result = nullptr);
    /// ScriptStop is enabled: a run is on and no stop was asked for.
    bool CanStop() const { return Running() && !StopRequested(); }
    /// ScriptStop after its confirmation "Остановить выполнение сценария?".
    void RequestStop();
    static QString StopConfirmText();
    bool Running() const { return m_runner.Running(); }
    bool StopRequested() const { return m_runner.StopRequested(); }
    /// A seed from the clock, for runs that are not to be repeated.
    static quint32 ClockSeed();

    /// The four panels of the tab's status bar: "Цикл: %d", "Строка: %d",
    /// "Ставок: %d", "Фильтр %d из %d: %s" or the text alone.
    QString StatusPanelText(int panel) const;
    static constexpr int StatusPanelCount = 4;

    TScriptRunner &Runner() { return m_runner; }

    // ---- the script log -----------------------------------------------------------------------------
    bool LogEnabled() const { return m_runner.Log().Enabled(); }
    /// LogToggle: switches the log and stores ScriptLogEnabled at once.
    void SetLogEnabled(bool on);
    /// The log for this run only, not stored (the command line's --log).
    void UseLog(bool on) { m_runner.Log().SetEnabled(on); }
    /// LogsDelete: information "Файлы журналов не найдены!" when there are
    /// none; otherwise deletes them (status "Поиск файлов журналов...") and
    /// reports the outcome.
    TOpResult DeleteLogs();
    /// Takes ScriptLogEnabled from the window settings just loaded.
    void ApplyWindowSettings();

signals:
    /// The lines changed: the list reads its rows and count again.
    void ScriptChanged();
    /// The tab's status bar changed.
    void StatusChanged();
    /// A run began (true) or ended (false): the user interface follows.
    void RunningChanged(bool running);
    /// The running line's row is selected alone; -1 clears the selection.
    void LineSelected(int index);
    /// One script run of a forecast or test ended.
    void CycleFinished(const lot::TScriptCycle &cycle);
    /// The log switch changed.
    void OptionsChanged();

private:
    /// Writes the current script file; error box "Ошибка записи в файл \"%s\"!\r\r%s".
    TOpResult StoreScript();
    TOpResult Changed();
    TOpResult ReadInto(const QString &fileName, QStringList &lines);
    TOpResult FinishRun(const TScriptRunResult &r, TScriptRunResult *result);

    IHost &m_host;
    const TDataFolder &m_files;
    TWindowSettings &m_settings;
    const TArchiveController &m_archive;
    TStatsController &m_stats;
    TScriptRunner m_runner;
    QStringList m_lines;
};

} // namespace lot
