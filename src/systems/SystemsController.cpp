#include "systems/SystemsController.h"

#include "combs/CombsController.h"
#include "core/CoreHelpers.h"
#include "core/DataFolder.h"
#include "core/Errors.h"
#include "core/Format.h"
#include "core/Host.h"
#include "core/Messages.h"
#include "core/WindowSettings.h"
#include "stakes/StakeRec.h"
#include "stakes/StakesController.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <unordered_set>

namespace lot {

namespace {

QString Text(const char *utf8) {
    return QString::fromUtf8(utf8);
}

/// Six bytes as one key, for looking combinations up.
uint64_t CombKey(const TComb &c) {
    uint64_t key = 0;
    for (int i = 0; i < CombSize; ++i)
        key = key << 8 | c[i];
    return key;
}

/// The error box of an operation on one system: "...#%d!\r\r%s" with its id.
auto WithId(const char *format, int id) {
    return [format, id](const QString &reason) { return Format(Text(format), {id, reason}); };
}

} // namespace

QString SystemColumnCaption(int column) {
    static const char *const captions[SystemColumnCount] = {
        "Название", "Автор",    "Числа",     "Блок",        "Комбинаций", "Дата создания",
        "Статус",   "Загрузок", "Последняя", "Комментарии", "Ссылка"};
    return column >= 0 && column < SystemColumnCount ? Text(captions[column]) : QString();
}

QString SystemDateText(const QDateTime &time) {
    return time.isValid() ? time.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")) : QString();
}

QString SystemCellText(const TSystemItem &item, int column) {
    const tSystemInfo &info = item.Info;
    const bool placeholder = info.Id < 0;
    switch (column) {
    case scsTitle:
        return info.Title;
    case scsAuthor:
        return info.Author;
    case scsNums:
        return placeholder ? QString() : Format(QStringLiteral("%.2d"), {int(info.Nums)});
    case scsBlock:
        return placeholder ? QString() : QString::number(info.Block);
    case scsCombs:
        return placeholder ? QString() : QString::number(info.CSize);
    case scsCreated:
        return SystemDateText(info.Created);
    case scsStatus:
        return item.Loaded ? Text("Загружена") : QString();
    case scsDownloads:
        return placeholder ? QString() : QString::number(info.Downloads);
    case scsLast:
        return SystemDateText(info.LastDownload);
    case scsDescription:
        return info.Description;
    case scsUrl:
        return info.Url;
    default:
        return QString();
    }
}

QByteArray SystemPlayNumbers(std::span<const TComb> list) {
    QByteArray numbers;
    bool seen[256] = {};
    for (const TComb &comb : list) {
        TComb sorted = comb;
        SortComb(sorted);
        for (int i = 0; i < CombSize && numbers.size() < NumberCount; ++i) {
            const uint8_t n = sorted[i];
            if (!IsValidNumber(n) || seen[n]) continue;
            seen[n] = true;
            numbers.append(char(n));
        }
        if (numbers.size() >= NumberCount) break;
    }
    return numbers;
}

std::vector<bool> SystemCombsInList(const std::vector<TComb> &sorted, std::span<const TComb> list) {
    std::unordered_set<uint64_t> wanted, found;
    for (const TComb &c : sorted)
        wanted.insert(CombKey(c));
    for (const TComb &c : list)
        if (wanted.count(CombKey(c))) found.insert(CombKey(c));
    std::vector<bool> result;
    result.reserve(sorted.size());
    for (const TComb &c : sorted)
        result.push_back(found.count(CombKey(c)) > 0);
    return result;
}

TOpResult ExpandLocalSystem(IHost &host, const QString &dir, const QByteArray &chosen, TExpandedSystem &out) {
    out = {};
    try {
        out = ExpandSystemFrom(dir, chosen);
    } catch (const ESystemNotFound &e) {
        host.ShowError(SystemNotFoundBoxText(int(chosen.size())));
        return TOpResult::Failure(e.Message());
    } catch (const std::exception &e) {
        return Refused(host, ExceptionText(e));
    }
    if (out.Combs.empty()) {
        const QString text = Format(Text("Ошибка загрузки комбинаций системы!\r\rВ файле \"%s\" нет ни одной "
                                         "комбинации!"),
                                    {QFileInfo(out.FilePath).fileName()});
        return Refused(host, text);
    }
    return {};
}

TSystemsController::TSystemsController(IHost &host, const TDataFolder &files, TWindowSettings &settings,
                                       const TCombsController &combs, TStakesController &stakes,
                                       QObject *parent)
    : QObject(parent), m_host(host), m_files(files), m_settings(settings), m_combs(combs), m_stakes(stakes) {}

TSystemsController::~TSystemsController() = default;

QString TSystemsController::CatalogueMissingText() {
    return Text("Online-каталог систем не подключен!");
}

void TSystemsController::SetUser(const QString &name, const QString &mail) {
    m_userName = name;
    m_userMail = mail;
    emit SystemsChanged();
}

QString TSystemsController::Dir() const {
    return SystemsDir(m_files.Dir());
}

QString TSystemsController::LocalPath(const tSystemInfo &info) const {
    return QDir(Dir()).filePath(SystemFileName(info));
}

std::unique_ptr<ISystemCatalogue> TSystemsController::Catalogue() const {
    std::unique_ptr<ISystemCatalogue> catalogue = m_factory ? m_factory() : nullptr;
    if (!catalogue) throw EError(CatalogueMissingText());
    return catalogue;
}

// ---- the tab ------------------------------------------------------------------------------------

bool TSystemsController::Enabled() const {
    return m_settings.SystemsEnabled();
}

TOpResult TSystemsController::SetEnabled(bool on) {
    TBusyGuard busy(m_host);
    m_host.ShowStatus(Text(msg::PleaseWait));
    // A switch that cannot be written still applies for this run.
    const TOpResult stored =
        Guarded(m_host, Text(msg::SettingsSaveError), [&] { m_settings.SetSystemsEnabled(on); });
    TabVisibilityChanged(on);
    return stored;
}

void TSystemsController::TabVisibilityChanged(bool visible) {
    // Without a catalogue there is no list to show; SystemsRefresh says why.
    if (visible && HasCatalogue())
        (void)LoadSystems();
    else
        ClearSystems();
}

// ---- the list -----------------------------------------------------------------------------------

int TSystemsController::FindId(int id) const {
    for (int i = 0; i < Count(); ++i)
        if (m_items[i].Info.Id == id) return i;
    return -1;
}

bool TSystemsController::IsOwn(int row) const {
    return row >= 0 && row < Count() && SystemIsOwn(m_items[row].Info, UserMail());
}

TSystemState TSystemsController::State(int row) const {
    const TSystemItem &item = m_items.at(row);
    if (IsOwn(row)) return item.Loaded ? TSystemState::OwnLoaded : TSystemState::Own;
    if (!item.Info.OwnerMail.isEmpty()) return item.Loaded ? TSystemState::OtherLoaded : TSystemState::Other;
    return item.Loaded ? TSystemState::AnonymousLoaded : TSystemState::Anonymous;
}

void TSystemsController::UpdateLoaded() {
    for (TSystemItem &item : m_items)
        item.Loaded = item.Info.Id >= 0 && QFileInfo::exists(LocalPath(item.Info));
}

void TSystemsController::ClearSystems() {
    m_items.clear();
    emit SystemsChanged();
}

TOpResult TSystemsController::LoadSystems() {
    TBusyGuard busy(m_host);
    m_host.ShowStatus(Text("Загрузка списка систем..."));
    m_items.clear();
    QList<tSystemInfo> list;
    std::unique_ptr<ISystemCatalogue> catalogue;
    const TOpResult r = Guarded(m_host, Text("Ошибка загрузки списка систем!\r\r%s"), [&] {
        catalogue = Catalogue();
        list = catalogue->ListSystems();
    });
    if (!r) {
        emit SystemsChanged();
        return r;
    }
    for (const tSystemInfo &info : list)
        m_items.append({info, false});
    if (m_items.isEmpty()) {
        tSystemInfo placeholder;
        placeholder.Id = -1;
        placeholder.Title = Text("Список систем не доступен!");
        m_items.append({placeholder, false});
    }
    UpdateLoaded();
    // The local copy follows the catalogue: an entry changed since it was
    // downloaded is downloaded again. A failure is shown and the others go on.
    for (int row = 0; row < Count(); ++row) {
        const tSystemInfo &info = m_items[row].Info;
        if (!m_items[row].Loaded || !SystemFileOutOfDate(LocalPath(info), info.Created)) continue;
        (void)Guarded(m_host, WithId("Ошибка загрузки системы #%d!\r\r%s", info.Id),
                      [&] { Download(row, *catalogue); });
    }
    emit SystemsChanged();
    return r;
}

void TSystemsController::SaveLocal(const tSystemInfo &info, const QStringList &lines) {
    if (info.Nums < CombSize + 1 || info.Nums > NumberCount)
        throw EError(Format(Text("Недопустимое количество чисел системы: %d!"), {int(info.Nums)}));
    // A malformed system is refused here, before it could replace a good one.
    QByteArray identity;
    for (int i = 1; i <= info.Nums; ++i)
        identity.append(char(i));
    (void)ExpandSystemLines(lines, identity);

    const QString path = LocalPath(info);
    SaveSystemFile(path, lines, info.Created);
    // One system per N: every other file for N goes, also one no row knows,
    // which would otherwise be the first match and be played instead.
    const QString keep = QFileInfo(path).fileName();
    QDir dir(Dir());
    for (const QString &name : SystemFilesFor(Dir(), info.Nums))
        if (name != keep && !dir.remove(name))
            throw EError(Format(Text("Не удалось удалить файл \"%s\"!"), {dir.filePath(name)}));
    UpdateLoaded();
}

void TSystemsController::Download(int row, ISystemCatalogue &catalogue) {
    const tSystemInfo info = m_items.at(row).Info;
    m_host.ShowStatus(Format(Text("Загрузка \"%s\"..."), {info.Title}));
    const QStringList lines = SystemContentLines(catalogue.SystemContent(info.Id));
    if (lines.size() != info.CSize)
        throw EError(
            Format(Text("Количество скачанных комбинаций ( %d ) отличается от ожидаемого значения ( %d )"),
                   {int(lines.size()), info.CSize}));
    SaveLocal(info, lines);
}

TOpResult TSystemsController::DownloadSystems(QList<int> rows) {
    TBusyGuard busy(m_host);
    TOpResult r;
    std::unique_ptr<ISystemCatalogue> catalogue; // one client for the whole batch
    for (int row : rows) {
        if (row < 0 || row >= Count()) continue;
        const int id = m_items[row].Info.Id;
        r = Guarded(m_host, WithId("Ошибка загрузки системы #%d!\r\r%s", id), [&] {
            if (id < 0) throw EError(Text("Список систем не доступен!"));
            if (!catalogue) catalogue = Catalogue();
            Download(row, *catalogue);
        });
        if (!r) break;
    }
    UpdateLoaded();
    emit SystemsChanged();
    return r;
}

// ---- publishing -----------------------------------------------------------------------------------

tSystemData TSystemsController::NewSystem() const {
    tSystemData data;
    data.Info.Author = UserName();
    data.Info.OwnerMail = UserMail();
    return data;
}

TOpResult TSystemsController::AddSystem(const tSystemData &data, int *row) {
    TBusyGuard busy(m_host);
    return Guarded(m_host, Text("Ошибка добавления системы!\r\r%s"), [&] {
        tSystemData sent = data;
        sent.Info.Id = 0;
        // The count sent is the content's, whatever the caller filled in.
        sent.Info.CSize = int32_t(SystemContentLines(sent.Content).size());
        m_host.ShowStatus(Format(Text("Сохранение \"%s\"..."), {sent.Info.Title}));
        const int32_t id = Catalogue()->SaveSystem(sent, false);
        if (id < 0) throw EError(Text("Online-каталог не сообщил номер сохраненной системы!"));
        sent.Info.Id = id;
        // The placeholder stands only for an empty list.
        if (Count() == 1 && m_items[0].Info.Id == -1) m_items.clear();
        m_items.append({sent.Info, false});
        UpdateLoaded();
        if (row) *row = Count() - 1;
        emit SystemsChanged();
    });
}

TOpResult TSystemsController::FetchSystem(int row, tSystemData &data) {
    TBusyGuard busy(m_host);
    return Guarded(m_host, Text("Ошибка изменения системы!\r\r%s"), [&] {
        if (row < 0 || row >= Count())
            throw EError(Format(Text("Запись со индексом %d в файле данных не найдена!"), {row}));
        data = {};
        data.Info = m_items[row].Info;
        if (data.Info.Id <= 0) return;
        m_host.ShowStatus(Format(Text("Загрузка \"%s\"..."), {data.Info.Title}));
        data.Content = Catalogue()->SystemContent(data.Info.Id);
    });
}

TOpResult TSystemsController::UpdateSystem(int row, const tSystemData &data) {
    TBusyGuard busy(m_host);
    return Guarded(m_host, Text("Ошибка изменения системы!\r\r%s"), [&] {
        if (row < 0 || row >= Count())
            throw EError(Format(Text("Запись со индексом %d в файле данных не найдена!"), {row}));
        if (!IsOwn(row)) throw EError(Text("Вы можете изменять только свои системы!"));
        tSystemData sent = data;
        sent.Info.Id = m_items[row].Info.Id;
        sent.Info.OwnerMail = m_items[row].Info.OwnerMail;
        sent.Info.CSize = int32_t(SystemContentLines(sent.Content).size());
        m_host.ShowStatus(Format(Text("Сохранение \"%s\"..."), {sent.Info.Title}));
        const int32_t id = Catalogue()->SaveSystem(sent, false);
        if (id < 0) throw EError(Text("Online-каталог не сообщил номер сохраненной системы!"));
        const tSystemInfo old = m_items[row].Info;
        const bool loaded = m_items[row].Loaded;
        sent.Info.Id = id;
        m_items[row].Info = sent.Info;
        // A local copy would otherwise keep the old combinations under the
        // same creation time, and never be taken for out of date.
        if (loaded) {
            const QString oldPath = LocalPath(old);
            SaveLocal(sent.Info, SystemContentLines(sent.Content));
            if (oldPath != LocalPath(sent.Info)) QFile::remove(oldPath);
        }
        UpdateLoaded();
        emit SystemsChanged();
    });
}

TOpResult TSystemsController::DeleteSystem(int row, bool *refused) {
    if (refused) *refused = false;
    if (row < 0 || row >= Count()) return {};
    if (!IsOwn(row)) return Refused(m_host, Text("Вы можете удалять только свои системы!"));
    const tSystemInfo info = m_items[row].Info;
    if (!m_host.Confirm(Format(Text("Вы действительно хотите удалить систему \"%s\"?"), {info.Title}))) {
        if (refused) *refused = true;
        return {};
    }
    TBusyGuard busy(m_host);
    return Guarded(m_host, Text("Ошибка удаления системы!\r\r%s"), [&] {
        m_host.ShowStatus(Format(Text("Удаление \"%s\"..."), {info.Title}));
        tSystemData sent;
        sent.Info = info;
        const int32_t answer = Catalogue()->SaveSystem(sent, true);
        if (answer != 0)
            throw EError(Format(Text("Online-каталог не подтвердил удаление системы (ответ %d)!"), {answer}));
        const QString path = LocalPath(info);
        if (QFileInfo::exists(path) && !QFile::remove(path))
            throw EError(Format(Text("Не удалось удалить файл \"%s\"!"), {path}));
        m_items.removeAt(row);
        emit SystemsChanged();
    });
}

// ---- play -------------------------------------------------------------------------------------------

TOpResult TSystemsController::ExpandSystem(const QByteArray &chosen, TExpandedSystem &out) {
    return ExpandLocalSystem(m_host, Dir(), chosen, out);
}

bool TSystemsController::CanPlay() const {
    return m_combs.Count() > 0 && m_stakes.IsOpen();
}

TOpResult TSystemsController::PrepareSystemPlay(bool whole, TSystemPlay &play) {
    TBusyGuard busy(m_host);
    m_host.ShowStatus(Text(msg::PleaseWait));
    play = {};
    play.Whole = whole;
    const QByteArray chosen = SystemPlayNumbers(m_combs.Combs());
    play.Nums = int(chosen.size());
    const TOpResult r = ExpandSystem(chosen, play.System);
    if (!r) return r;
    const char *format = whole ? "Системная игра для %d чисел [вся система]: %s"
                               : "Системная игра для %d чисел [комбинации]: %s";
    play.Comment = Format(Text(format), {play.Nums, QFileInfo(play.System.FilePath).completeBaseName()});
    return r;
}

TOpResult TSystemsController::StakeSystem(const TSystemPlay &play, int drawNumber, int drawsCount,
                                          const QString &comment, int *made) {
    if (made) *made = 0;
    TBusyGuard busy(m_host);
    m_host.ShowStatus(Text("Создание ставок..."));
    std::vector<TComb> sorted = play.System.Combs;
    for (TComb &c : sorted)
        SortComb(c);
    // The list is scanned once for all of them, not once per combination.
    const std::vector<bool> inList =
        play.Whole ? std::vector<bool>(sorted.size(), true) : SystemCombsInList(sorted, m_combs.Combs());
    TOpResult last = m_stakes.AppendSeparator();
    if (!last) return last;
    TStakeRec tmpl;
    tmpl.Version = StakesVersion;
    tmpl.Kind = skSystem;
    tmpl.DrawNumber = drawNumber;
    tmpl.Checked = 0;
    tmpl.Sample = play.Whole ? int32_t(play.System.Combs.size()) : int32_t(m_combs.Count());
    tmpl.Overlaps = TNumberSet{-1, {}};
    tmpl.Profit = m_stakes.StakeCost(CombSize);
    SetStakeComment(tmpl, comment);
    int appended = 0;
    for (size_t i = 0; i < sorted.size(); ++i) {
        if (!inList[i]) continue;
        TStakeRec rec = tmpl;
        rec.Numbers = CombToNumberSet(sorted[i]);
        last = m_stakes.AddStakes(rec, drawsCount, true);
        if (!last) break;
        ++appended;
    }
    if (made) *made = appended;
    if (last && appended > 0) {
        (void)m_stakes.CheckAndSave();
        m_stakes.RefreshStakesView(true, true);
    }
    return last;
}

} // namespace lot
