#include "catalogue/CatalogueController.h"

#include "core/Codec1251.h"
#include "core/DataFolder.h"
#include "core/Errors.h"
#include "core/Format.h"
#include "core/Host.h"
#include "core/IniFile.h"
#include "core/WindowSettings.h"
#include "scripts/ScriptsController.h"

namespace lot {

namespace {

QString DateText(const QDateTime &time) {
    return time.isValid() ? time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) : QString();
}

constexpr int FilterItems = 8;

} // namespace

TCatalogueController::TCatalogueController(IHost &host, const TDataFolder &files, TWindowSettings &settings,
                                           TScriptsController &scripts, QObject *parent)
    : QObject(parent), m_host(host), m_files(files), m_settings(settings), m_scriptsArea(scripts) {}

TCatalogueController::~TCatalogueController() = default;

// ---- settings --------------------------------------------------------------------------------

TOpResult TCatalogueController::LoadSettings() {
    return Guarded(m_host, QStringLiteral("Ошибка чтения файла конфигурации!\r\r%s"), [&] {
        m_catalogue = LoadCatalogueSettings(m_files);
        m_loaded = true;
        MakeClient();
    });
}

void TCatalogueController::MakeClient() {
    m_systems.reset();
    m_client = m_catalogue.Url.isEmpty() ? nullptr : std::make_unique<TCatalogueClient>(m_catalogue);
    if (m_client) m_systems = std::make_unique<TSystemCatalogueStatus>(*m_client, m_host);
}

TOpResult TCatalogueController::SetIdentity(const QString &name, const QString &mail) {
    return Guarded(m_host, QStringLiteral("Ошибка записи в файл конфигурации!\r\r%s"), [&] {
        StoreCatalogueIdentity(m_files, name, mail);
        m_catalogue.UserName = name.trimmed();
        m_catalogue.UserMail = mail.trimmed();
        if (m_client) m_client->SetIdentity(name, mail);
        // Mine and editable follow the e-mail.
        for (tScriptInfo &s : m_scripts) {
            s.Mine = !m_catalogue.UserMail.isEmpty() &&
                     s.AuthorMail.compare(m_catalogue.UserMail, Qt::CaseInsensitive) == 0;
            s.Editable = s.Mine && s.Compatible;
        }
        emit ScriptsChanged();
        emit IdentityChanged(m_catalogue.UserName, m_catalogue.UserMail);
    });
}

TCatalogueClient &TCatalogueController::RequireClient() {
    if (!m_loaded) {
        m_catalogue = LoadCatalogueSettings(m_files);
        m_loaded = true;
        MakeClient();
    }
    if (!m_client)
        throw EError(
            QStringLiteral("Адрес online-каталога не указан: задайте параметр Url в разделе [CATALOGUE] "
                           "файла \"Brantlee_6x45.ini\""));
    return *m_client;
}

// ---- the list -----------------------------------------------------------------------------------

QStringList TCatalogueController::FilterCaptions() {
    return {QStringLiteral("Скрытые"),
            QStringLiteral("Все, включая скрытые"),
            QStringLiteral("Все, кроме скрытых (по умолчанию)"),
            QStringLiteral("Только мои"),
            QStringLiteral("Только публичные"),
            QStringLiteral("С моими оценками"),
            QStringLiteral("Без моих оценок"),
            QStringLiteral("Новые (24 часа с момента публикации)")};
}

int TCatalogueController::FilterItem() const {
    const int item = m_settings.ScriptLibraryFilter();
    return item >= 0 && item < FilterItems ? item : 2;
}

TOpResult TCatalogueController::SetFilterItem(int item) {
    if (item < 0 || item >= FilterItems) item = 2;
    m_settings.SetScriptLibraryFilter(item);
    return RefreshScripts();
}

void TCatalogueController::SetFocused(int index) {
    const int focused = index >= 0 && index < m_scripts.size() ? index : -1;
    if (focused == m_focused) return;
    m_focused = focused;
    emit ScriptsChanged();
}

const tScriptInfo *TCatalogueController::FocusedScript() const {
    return m_focused >= 0 && m_focused < m_scripts.size() ? &m_scripts[m_focused] : nullptr;
}

int TCatalogueController::IndexOf(int32_t id) const {
    for (int i = 0; i < m_scripts.size(); ++i)
        if (m_scripts[i].Id == id) return i;
    return -1;
}

void TCatalogueController::ClearScripts() {
    m_scripts.clear();
    m_focused = -1;
    emit ScriptsChanged();
}

TOpResult TCatalogueController::RefreshScripts() {
    TBusyGuard busy(m_host);
    m_host.ShowStatus(QStringLiteral("Загрузка online-каталога сценариев..."));
    const int32_t focusedId = FocusedScript() ? FocusedScript()->Id : 0;
    m_scripts.clear();
    m_focused = -1;
    const TOpResult r = Guarded(m_host, QStringLiteral("Ошибка загрузки каталога online-сценариев!\r\r%s"),
                                [&] { m_scripts = RequireClient().ListScripts(FilterItem() - 1); });
    if (focusedId != 0) m_focused = IndexOf(focusedId);
    emit ScriptsChanged();
    return r;
}

QString TCatalogueController::ColumnCaption(int column) {
    static const char *const captions[ColumnCount] = {
        "Тип",     "Название", "Автор",       "Программа", "Версия",    "Язык",       "Создан",
        "Рейтинг", "Оценок",   "Ваша оценка", "Загрузок",  "Последняя", "Комментарии"};
    return column >= 0 && column < ColumnCount ? QString::fromUtf8(captions[column]) : QString();
}

QString TCatalogueController::CellText(const tScriptInfo &s, int column) {
    switch (column) {
    case colType:
        return s.Mine ? QStringLiteral("Мой") : QStringLiteral("Общий");
    case colTitle:
        return s.Title;
    case colAuthor:
        return s.AuthorName;
    case colApp:
        return s.Universal ? QStringLiteral("Универсальный") : s.AppName;
    case colVersion:
        return s.AppVersion;
    case colLanguage:
        return LanguageAbbreviation(s.Lcid);
    case colCreated:
        return DateText(s.Created);
    case colRating:
        return Format(QStringLiteral("%.3n"), {s.RatingAvg});
    case colRatings:
        return QString::number(s.RatingCount);
    case colYours:
        return s.RatingYou == -1  ? QStringLiteral("Скрытый")
               : s.RatingYou == 0 ? QString()
                                  : QString::number(s.RatingYou);
    case colDownloads:
        return QString::number(s.Downloads);
    case colLast:
        return DateText(s.LastDownload);
    case colDescription:
        return s.Description;
    default:
        return {};
    }
}

QString TCatalogueController::RateColumnCaption(int column) {
    static const char *const captions[RateColumnCount] = {"Имя",       "Оценка", "Дата",
                                                          "Программа", "Версия", "Комментарии"};
    return column >= 0 && column < RateColumnCount ? QString::fromUtf8(captions[column]) : QString();
}

QString TCatalogueController::RateCellText(const tScriptRate &r, int column) {
    switch (column) {
    case rcName:
        return r.Name;
    case rcRate:
        return QString::number(r.Rate);
    case rcDate:
        return DateText(r.Created);
    case rcApp:
        return r.AppName;
    case rcVersion:
        return r.AppVersion;
    case rcNotes:
        return r.Notes;
    default:
        return {};
    }
}

// ---- operations ---------------------------------------------------------------------------------

TOpResult TCatalogueController::DownloadScript(int32_t id) {
    TBusyGuard busy(m_host);
    m_host.ShowStatus(QStringLiteral("Скачивание сценария из online-каталога..."));
    QString text;
    const TOpResult r = Guarded(m_host, QStringLiteral("Ошибка загрузки online-сценария!\r\r%s"),
                                [&] { text = RequireClient().ScriptText(id); });
    if (!r || text.isEmpty()) return r;
    return m_scriptsArea.SetScript(SplitLines(text));
}

TOpResult TCatalogueController::CheckTitle(int32_t id, const QString &title, bool *free) {
    TBusyGuard busy(m_host, false);
    return Guarded(m_host, QStringLiteral("Ошибка проверки уникальности online-сценария!\r\r%s"), [&] {
        const bool answer = RequireClient().TitleIsFree(id, title);
        if (free) *free = answer;
    });
}

tScriptData TCatalogueController::NewScriptData() const {
    tScriptData d;
    d.Id = -1;
    d.AuthorName = m_catalogue.UserName;
    d.Lcid = TCatalogueClient::InterfaceLcid;
    d.Universal = false;
    d.Public = true;
    return d;
}

tScriptData TCatalogueController::ScriptDataOf(const tScriptInfo &s) {
    tScriptData d;
    d.Id = s.Id;
    d.AuthorName = s.AuthorName;
    d.Lcid = s.Lcid;
    d.Universal = s.Universal;
    d.Public = s.Public;
    d.Title = s.Title;
    d.Description = s.Description;
    return d;
}

TOpResult TCatalogueController::PublishScript(const tScriptData &data, int32_t *idOut) {
    TBusyGuard busy(m_host);
    m_host.ShowStatus(QStringLiteral("Сохранение сценария в базе данных..."));
    return Guarded(m_host, QStringLiteral("Ошибка публикации online-сценария!\r\r%s"), [&] {
        const QString text = JoinLinesCrLf(m_scriptsArea.Lines());
        const int32_t id = RequireClient().SaveScript(data, text);
        if (idOut) *idOut = id;
        if (id <= 0) throw EError(Format(QStringLiteral("Сервер не сохранил сценарий (ответ %d)"), {id}));
        int index = data.Id > 0 ? IndexOf(data.Id) : -1;
        tScriptInfo s = index >= 0 ? m_scripts[index] : tScriptInfo{};
        if (index < 0) {
            s.AppName = TCatalogueClient::AppName();
            s.AppVersion = TCatalogueClient::AppVersion();
            s.AuthorMail = m_catalogue.UserMail;
            s.Mine = s.Editable = s.Compatible = true;
        }
        s.Id = id;
        s.AuthorName = data.AuthorName;
        s.Lcid = data.Lcid;
        s.Universal = data.Universal;
        s.Public = data.Public;
        s.Title = data.Title;
        s.Description = data.Description;
        s.Created = QDateTime::currentDateTime();
        if (index >= 0) {
            m_scripts[index] = s;
        } else {
            m_scripts.append(s);
            index = int(m_scripts.size()) - 1;
        }
        m_focused = index;
        emit ScriptsChanged();
    });
}

TOpResult TCatalogueController::DeleteScript(int32_t id) {
    TBusyGuard busy(m_host);
    m_host.ShowStatus(QStringLiteral("Удаление сценария из базы данных..."));
    return Guarded(m_host, QStringLiteral("Ошибка публикации online-сценария!\r\r%s"), [&] {
        const int index = IndexOf(id);
        tScriptData data;
        data.Id = id;
        if (index >= 0) data = ScriptDataOf(m_scripts[index]);
        if (data.AuthorName.isEmpty()) data.AuthorName = m_catalogue.UserName;
        if (data.Lcid == 0) data.Lcid = TCatalogueClient::InterfaceLcid;
        const int32_t result = RequireClient().DeleteScript(data);
        if (result != 0)
            throw EError(Format(QStringLiteral("Сервер не удалил сценарий (ответ %d)"), {result}));
        if (index >= 0) {
            m_scripts.removeAt(index);
            if (m_focused >= m_scripts.size()) m_focused = int(m_scripts.size()) - 1;
        }
        emit ScriptsChanged();
    });
}

TOpResult TCatalogueController::RateScript(int32_t id, int32_t value, const QString &comment) {
    TOpResult r;
    {
        TBusyGuard busy(m_host);
        m_host.ShowStatus(QStringLiteral("Отправка оценки на сервер..."));
        r = Guarded(m_host, QStringLiteral("Ошибка сохранения оценки online-сценария!\r\r%s"),
                    [&] { RequireClient().RateScript(id, value, comment); });
    }
    if (!r) return r;
    return RefreshScripts();
}

TOpResult TCatalogueController::LoadRates(int32_t id, QList<tScriptRate> &rates) {
    TBusyGuard busy(m_host);
    m_host.ShowStatus(QStringLiteral("Загрузка списка оценок..."));
    return Guarded(m_host, QStringLiteral("Ошибка просмотра оценок online-сценария!\r\r%s"),
                   [&] { rates = RequireClient().ScriptRates(id); });
}

QString TCatalogueController::DeleteQuestion(const QString &title) {
    return Format(QStringLiteral("Вы действительно хотите удалить сценарий \"%s\"?"), {title});
}

QString TCatalogueController::TitleTakenText() {
    return QStringLiteral("Сценарий с таким названием уже существует!\rВыберите другое название.");
}

QString TCatalogueController::RateCaption(int value) {
    static const char *const captions[] = {"Удалить оценку", "[ 1 ] - Бесполезно",
                                           "[ 2 ] - Плохо",  "[ 3 ] - Удовлетворительно",
                                           "[ 4 ] - Хорошо", "[ 5 ] - Отлично"};
    return value >= 0 && value <= 5 ? QString::fromUtf8(captions[value]) : QString();
}

} // namespace lot
