#pragma once
/// @file TTablesController: the regular table stakes of the "Регуляры" tab.
/// It keeps the rules while the tab is shown (window setting "TabTables"),
/// loads and saves their file, makes a rule's stake for the next draw and
/// tests rules over past draws into the stakes file, where checking and the
/// ratings pick them up. Error boundary of its operations: failures reach
/// the user through IHost and come back as TOpResult.

#include "core/OpResult.h"
#include "stakes/Tables.h"

#include <functional>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

namespace lot {

class IHost;
class TArchiveController;
class TCombsController;
class TDataFolder;
class TStakesController;
class TWindowSettings;
struct TStakeRec;

class TTablesController : public QObject {
    Q_OBJECT
public:
    TTablesController(IHost &host, const TDataFolder &files, const TWindowSettings &settings,
                      TArchiveController &archive, TStakesController &stakes, const TCombsController &combs,
                      QObject *parent = nullptr);

    const TTablesArray &Rules() const { return m_rules; }
    int Count() const { return int(m_rules.size()); }
    const TTableRec &At(int i) const { return m_rules.at(size_t(i)); }
    QStringList Names() const;
    /// Row of the rule named name ignoring case; -1 when none.
    int Find(const QString &name) const;

    /// Whether the tab is shown (window setting "TabTables").
    bool TabVisible() const;
    /// The tab was shown (loads the file) or hidden (drops the rules without
    /// saving, so the file stays as it was last saved).
    void TabVisibilityChanged(bool visible);

    /// While the tab is shown and the file exists: status "Загрузка файла
    /// регулярных ставок...", reads it; error box "Ошибка чтения файла
    /// регулярных ставок!\r\r%s" (no rules then).
    TOpResult LoadTables();
    /// While the tab is shown: status "Сохранение файла регулярных
    /// ставок...", rewrites the file; error box "Ошибка записи в файл
    /// регулярных ставок!\r\r%s".
    TOpResult SaveTables();

    /// TablesAdd after the rule dialog: one rule from rule (its start
    /// combination from the dialog) when it uses the previous draw or
    /// selected holds at most one combination; otherwise one rule per selected
    /// combination named "<name> (<position>)" with positions[i] its
    /// 1-based place in the list. Status "Создание регулярных ставок...",
    /// then saves. A name taken already (ignoring case) is refused with the
    /// dialog's message.
    TOpResult AddRules(const TTableRec &rule, const QList<TComb> &selected, const QList<int> &positions);
    /// TablesDel (the caller has confirmed): status "Удаление регулярных
    /// ставок...", removes rows (any order, each once) from the last to the
    /// first, then saves. An index outside the list shows "Запись со
    /// индексом %d в файле данных не найдена!" and removes nothing.
    TOpResult DeleteRules(QList<int> rows);

    /// The main numbers of the previous draw at the current draws offset
    /// (six zeros without one).
    TComb LastDrawNumbers() const;
    /// A copy of rule row advanced at the current draws offset, and its stake
    /// for the next draw (kind 2, comment = the rule's name). Raises when
    /// the shifted numbers are no valid combination (a rule of the previous
    /// draw over an empty archive).
    void NextStake(int row, TTableRec &advanced, TStakeRec &stake) const;
    /// TablesStakeAdd after the stake dialog: the advanced copy replaces
    /// the rule, the file is saved and the stake is added for drawsCount draws.
    TOpResult CommitStake(int row, const TTableRec &advanced, const TStakeRec &stake, int drawsCount);
    /// TablesStakeTest over count past draws (1..archive size - 1): for the
    /// offsets count .. 1 each rule of rows (in list order) is advanced and
    /// its stake appended (one draw, batch); the first failure stops the
    /// test. The draws offset is restored and the rules saved in every
    /// case; after a full run CheckAndSave and RefreshStakesView follow.
    /// appended: the stakes written.
    TOpResult TestRules(QList<int> rows, int count, int *appended = nullptr);
    /// The largest test count: the archive size minus 1.
    int MaxTestCount() const;

    /// Called with true before a test moves the draws offset and with false
    /// after (the workspace freezes the analysis views meanwhile).
    void SetFreezeViews(std::function<void(bool)> freeze) { m_freeze = std::move(freeze); }

signals:
    /// The rules' rows or their contents changed.
    void TablesChanged();

private:
    TStakeRec StakeOf(const TTableRec &rule) const;
    void Append(const TTableRec &rule);

    IHost &m_host;
    const TDataFolder &m_files;
    const TWindowSettings &m_settings;
    TArchiveController &m_archive;
    TStakesController &m_stakes;
    const TCombsController &m_combs;
    TTablesArray m_rules;
    std::function<void(bool)> m_freeze;
};

} // namespace lot
