#pragma once
/// @file TSystemsController: the systems (wheels) of the "Системы" tab. It
/// keeps the catalogue's list, downloads systems into the folder "Systems"
/// (one per N), publishes, edits and deletes the user's own ones, and plays
/// the system for the count of distinct numbers of the combination list.
/// The catalogue comes from a settable factory; without one every call to
/// it fails with CatalogueMissingText(). Error boundary of its operations:
/// failures reach the user through IHost and come back as TOpResult.

#include "core/OpResult.h"
#include "systems/SystemFiles.h"
#include "systems/SystemInfo.h"

#include <functional>
#include <memory>
#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <span>
#include <vector>

namespace lot {

class IHost;
class TCombsController;
class TDataFolder;
class TStakesController;
class TWindowSettings;

/// One row of the systems list.
struct TSystemItem {
    tSystemInfo Info;
    bool Loaded = false; ///< its local file exists ("Загружена")
};

/// The six icon states of a list row.
enum class TSystemState { OwnLoaded, Own, OtherLoaded, Other, AnonymousLoaded, Anonymous };

/// The columns of the systems list.
enum TSystemColumn {
    scsTitle,       ///< "Название"
    scsAuthor,      ///< "Автор"
    scsNums,        ///< "Числа": N with two digits
    scsBlock,       ///< "Блок"
    scsCombs,       ///< "Комбинаций"
    scsCreated,     ///< "Дата создания": "yyyy-mm-dd hh:mm:ss"
    scsStatus,      ///< "Статус": "Загружена" or empty
    scsDownloads,   ///< "Загрузок"
    scsLast,        ///< "Последняя"
    scsDescription, ///< "Комментарии"
    scsUrl,         ///< "Ссылка"
    SystemColumnCount
};
/// The caption of a column.
QString SystemColumnCaption(int column);
/// The text of a cell; the placeholder row has no N, block, combinations or downloads.
QString SystemCellText(const TSystemItem &item, int column);
/// A date as the list and the dialog show it, "yyyy-mm-dd hh:mm:ss"; empty when not set.
QString SystemDateText(const QDateTime &time);

/// Lays the local system for chosen.size() numbers of dir over chosen
/// (ExpandSystem). A missing system shows SystemNotFoundBoxText and fails with
/// SystemNotFoundText; a malformed one shows and fails with "Ошибка загрузки
/// комбинаций системы!\r\r%s"; a system of no combination fails too.
TOpResult ExpandLocalSystem(IHost &host, const QString &dir, const QByteArray &chosen, TExpandedSystem &out);

/// The numbers system play lays a system over: the distinct numbers of list
/// in order of first occurrence, each combination read in ascending order
/// (a list read from a file keeps its combinations as written), at most 45.
QByteArray SystemPlayNumbers(std::span<const TComb> list);

/// For each combination (its numbers ascending): whether an equal one is in
/// list (CombInList), the list scanned once for all of them.
std::vector<bool> SystemCombsInList(const std::vector<TComb> &sorted, std::span<const TComb> list);

/// What system play stakes once its dialog has been answered.
struct TSystemPlay {
    bool Whole = true; ///< the whole system, or only combinations also in the list
    int Nums = 0;      ///< N, the distinct numbers of the list
    QString Comment; ///< "Системная игра для %d чисел [вся система]: %s" or "... [комбинации]: %s"
    TExpandedSystem System;
};

class TSystemsController : public QObject {
    Q_OBJECT
public:
    using TCatalogueFactory = std::function<std::unique_ptr<ISystemCatalogue>()>;

    TSystemsController(IHost &host, const TDataFolder &files, TWindowSettings &settings,
                       const TCombsController &combs, TStakesController &stakes, QObject *parent = nullptr);
    ~TSystemsController() override;

    /// The catalogue each call opens; unset or answering nullptr: none. configured tells
    /// whether one is set up at all (start-up and showing the tab load the list only then);
    /// without it a set factory counts as configured.
    void SetCatalogueFactory(TCatalogueFactory factory, std::function<bool()> configured = {}) {
        m_factory = std::move(factory);
        m_configured = std::move(configured);
    }
    /// A catalogue is set up.
    bool HasCatalogue() const { return m_factory && (!m_configured || m_configured()); }
    /// "Online-каталог систем не подключен!"
    static QString CatalogueMissingText();

    /// Who the user is: the author preset for new systems and the e-mail
    /// that makes a system one's own.
    void SetUser(const QString &name, const QString &mail);
    const QString &UserName() const { return m_userName; }
    const QString &UserMail() const { return m_userMail; }

    /// The folder of the local system files.
    QString Dir() const;
    /// The local file of an entry.
    QString LocalPath(const tSystemInfo &info) const;

    /// Window setting "SystemsEnabled": the tab and the play actions are shown.
    bool Enabled() const;
    /// SystemsOn: status "Подождите пожалуйста...", stores the switch at once;
    /// shown, the list is loaded, hidden, it is cleared.
    TOpResult SetEnabled(bool on);
    /// The tab was shown (the list loads, once a catalogue is set) or hidden
    /// (the list is cleared).
    void TabVisibilityChanged(bool visible);

    // ---- the list -------------------------------------------------------------------------------
    const QList<TSystemItem> &Items() const { return m_items; }
    int Count() const { return int(m_items.size()); }
    const TSystemItem &At(int row) const { return m_items.at(row); }
    /// Row of the entry with id; -1 when none.
    int FindId(int id) const;
    bool IsOwn(int row) const;
    TSystemState State(int row) const;

    /// Status "Загрузка списка систем...": the list again from the catalogue;
    /// a local file older than its entry is downloaded again. A failed
    /// request shows "Ошибка загрузки списка систем!\r\r%s" and leaves the list
    /// empty; an empty reply gives the placeholder row "Список систем не
    /// доступен!".
    TOpResult LoadSystems();
    /// Clears the list.
    void ClearSystems();
    /// SystemsDownload: rows in list order, stopping at the first failure
    /// ("Ошибка загрузки системы #%d!\r\r%s"). After each one the local files
    /// of every other system for the same N are gone.
    TOpResult DownloadSystems(QList<int> rows);

    /// An empty system (id 0) with the user's name and e-mail preset.
    tSystemData NewSystem() const;
    /// SystemsAdd after the dialog: publishes data as a new system; the id
    /// answered becomes the entry's and a new row is added (row receives it).
    /// Error box "Ошибка добавления системы!\r\r%s".
    TOpResult AddSystem(const tSystemData &data, int *row = nullptr);
    /// SystemsProp: a copy of the row's entry with its content from the
    /// catalogue (none for an entry not published). Error box "Ошибка
    /// изменения системы!\r\r%s".
    TOpResult FetchSystem(int row, tSystemData &data);
    /// SystemsProp after the dialog in edit mode (own systems only):
    /// publishes data again with its id; the row takes it, and a local copy
    /// follows the new content. Error box "Ошибка изменения системы!\r\r%s".
    TOpResult UpdateSystem(int row, const tSystemData &data);
    /// SystemsDel: own systems only ("Вы можете удалять только свои
    /// системы!"), after the question "Вы действительно хотите удалить
    /// систему \"%s\"?"; an answer of 0 removes the row and the local file.
    /// Error box "Ошибка удаления системы!\r\r%s". refused: the question was
    /// not answered Yes.
    TOpResult DeleteSystem(int row, bool *refused = nullptr);

    // ---- play ------------------------------------------------------------------------------------
    /// ExpandSystem over the folder of the local files.
    TOpResult ExpandSystem(const QByteArray &chosen, TExpandedSystem &out);
    /// SystemStakeAll and SystemStakeFilter are enabled: a combination list
    /// that is not empty and an open stakes file.
    bool CanPlay() const;
    /// The first steps of system play: status "Подождите пожалуйста...", the
    /// distinct numbers of the list, the system for their count, the comment.
    TOpResult PrepareSystemPlay(bool whole, TSystemPlay &play);
    /// The stakes of system play after the multi-stake dialog (status
    /// "Создание ставок..."): a separator, then a system stake (kind 4) per
    /// combination sorted ascending, in the restricted mode only those in the
    /// combination list; the first failing append stops. When the last one
    /// succeeded the stakes are checked and the grid jumps to the end.
    /// made: the stakes appended.
    TOpResult StakeSystem(const TSystemPlay &play, int drawNumber, int drawsCount, const QString &comment,
                          int *made = nullptr);

signals:
    /// The rows or their contents changed.
    void SystemsChanged();

private:
    std::unique_ptr<ISystemCatalogue> Catalogue() const;
    /// Downloads one row from catalogue; raises.
    void Download(int row, ISystemCatalogue &catalogue);
    /// Saves lines as the local file of info, then removes every other file
    /// for the same N and updates the rows' status; raises.
    void SaveLocal(const tSystemInfo &info, const QStringList &lines);
    void UpdateLoaded();

    IHost &m_host;
    const TDataFolder &m_files;
    TWindowSettings &m_settings;
    const TCombsController &m_combs;
    TStakesController &m_stakes;
    TCatalogueFactory m_factory;
    std::function<bool()> m_configured;
    QString m_userName;
    QString m_userMail;
    QList<TSystemItem> m_items;
};

} // namespace lot
