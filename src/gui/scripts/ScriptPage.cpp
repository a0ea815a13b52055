#include "gui/scripts/ScriptPage.h"

#include "archive/ArchiveController.h"
#include "core/WindowSettings.h"
#include "gui/catalogue/FormScrPublic.h"
#include "gui/catalogue/FormScrRates.h"
#include "gui/catalogue/OnlineScriptsPanel.h"
#include "gui/combs/CombsPage.h"
#include "gui/scripts/FormScript.h"
#include "gui/scripts/FormTestCnt.h"
#include "gui/scripts/ScriptModel.h"
#include "gui/shell/ActionList.h"
#include "gui/shell/GuiHost.h"
#include "scripts/ScriptFile.h"
#include "shell/Workspace.h"

#include <algorithm>
#include <QAction>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>

namespace lot {

namespace {

const QString Category = QStringLiteral("Сценарий");
const QString NewLineTitle = QStringLiteral("Создание новой строки");
const QString EditLineTitle = QStringLiteral("Редактирование строки");
constexpr int RowHeight = 18;
/// The tabs a running script keeps the user out of.
const char *const LockedTabs[] = {"tsDraws", "tsCombs", "tsDrawsStat"};

const QStringList &EditMenu() {
    static const QStringList names = {"ScriptAdd", "ScriptClone", "ScriptEdit", "ScriptEmpty", "",
                                      "ScriptUp",  "ScriptDown",  "",           "ScriptDel",   "ScriptClr",
                                      "",          "ScriptOpen",  "ScriptLoad", "ScriptSave"};
    return names;
}

const QStringList &RunMenu() {
    static const QStringList names = {"ScriptRun", "ScriptTest", "ScriptStop", "", "LogToggle", "LogsDelete"};
    return names;
}

} // namespace

const QList<int> &TScriptPage::DefaultColumnWidths() {
    static const QList<int> widths = {150, 260, 220, 220, 160, 160, 160, 160, 160};
    return widths;
}

TScriptPage::TScriptPage(TWorkspace &workspace, TGuiHost &host, TActionList &actions, QWidget *parent)
    : QWidget(parent), TPage(this, actions), m_ws(workspace), m_host(host), m_actions(actions) {
    setObjectName(QStringLiteral("tsScript"));
    CreateActions();
    CreateList();
    m_library = new TOnlineScriptsPanel(
        m_ws, m_host, m_actions,
        [this](const TActionList::TSpec &spec, TActionList::TExecute execute, TActionList::TUpdate update) {
            return AddPageAction(spec, std::move(execute), std::move(update));
        },
        m_splitter);
    m_splitter->addWidget(m_library);
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setStretchFactor(1, 0);
    CreateStatusBar();

    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("pmScript"));
    m_actions.AddByName(m_popup, EditMenu() + QStringList{QString()} + RunMenu());
    if (QAction *edit = m_actions.Find(QStringLiteral("ScriptEdit"))) m_popup->setDefaultAction(edit);
    connect(m_list, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { m_popup->popup(m_list->viewport()->mapToGlobal(pos)); });
    connect(m_list, &QAbstractItemView::doubleClicked, this, [this] {
        QAction *edit = m_actions.Find(QStringLiteral("ScriptEdit"));
        if (edit && edit->isEnabled()) m_actions.Execute(edit);
    });

    TScriptsController &scripts = m_ws.Scripts();
    connect(&scripts, &TScriptsController::ScriptChanged, this, &TScriptPage::OnScriptChanged);
    connect(&scripts, &TScriptsController::StatusChanged, this, &TScriptPage::UpdateStatusBar);
    connect(&scripts, &TScriptsController::RunningChanged, this, &TScriptPage::OnRunningChanged);
    connect(&scripts, &TScriptsController::LineSelected, this, &TScriptPage::OnLineSelected);
    connect(&scripts, &TScriptsController::OptionsChanged, &m_actions, &TActionList::UpdateAll);
    connect(&m_ws.Archive(), &TArchiveController::DrawsChanged, &m_actions, &TActionList::UpdateAll);
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, &m_actions,
            &TActionList::UpdateAll);
    UpdateStatusBar();
}

void TScriptPage::CreateActions() {
    using TSpec = TActionList::TSpec;
    auto add = [this](const TSpec &spec, void (TScriptPage::*execute)(),
                      bool (TScriptPage::*update)() const) {
        return AddPageAction(
            spec, [this, execute] { (this->*execute)(); }, [this, update] { return (this->*update)(); });
    };
    add({QStringLiteral("ScriptOpen"), QStringLiteral("Открыть"), Category,
         QKeySequence(Qt::CTRL | Qt::Key_J), QStringLiteral("Загрузить сценарий из файла")},
        &TScriptPage::ScriptOpenExecute, &TScriptPage::ScriptOpenUpdate);
    add({QStringLiteral("ScriptSave"), QStringLiteral("Сохранить"), Category,
         QKeySequence(Qt::CTRL | Qt::Key_I), QStringLiteral("Сохранить сценарий в файле")},
        &TScriptPage::ScriptSaveExecute, &TScriptPage::ScriptSaveUpdate);
    add({QStringLiteral("ScriptAdd"), QStringLiteral("Добавить фильтры"), Category,
         QKeySequence(Qt::CTRL | Qt::Key_Insert), QStringLiteral("Добавить новую команду в сценарий")},
        &TScriptPage::ScriptAddExecute, &TScriptPage::ScriptAddUpdate);
    add({QStringLiteral("ScriptEmpty"), QStringLiteral("Добавить разделитель"), Category,
         QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Insert),
         QStringLiteral("Добавить разделитель в сценарий")},
        &TScriptPage::ScriptEmptyExecute, &TScriptPage::ScriptEmptyUpdate);
    add({QStringLiteral("ScriptLoad"),
         QStringLiteral("Добавить сценарий"),
         Category,
         {},
         QStringLiteral("Добавить выбранный сценарий из файла в текущий сценарий")},
        &TScriptPage::ScriptLoadExecute, &TScriptPage::ScriptLoadUpdate);
    add({QStringLiteral("ScriptClone"), QStringLiteral("Клонировать"), Category,
         QKeySequence(Qt::CTRL | Qt::Key_K),
         QStringLiteral("Добавить новую команду в сценарий и скопировать в нее данные из выделенной")},
        &TScriptPage::ScriptCloneExecute, &TScriptPage::ScriptCloneUpdate);
    QAction *edit =
        add({QStringLiteral("ScriptEdit"), QStringLiteral("Изменить"), Category,
             QKeySequence(Qt::CTRL | Qt::Key_Return), QStringLiteral("Редактировать выделенную команду")},
            &TScriptPage::ScriptEditExecute, &TScriptPage::ScriptEditUpdate);
    // Ctrl+Enter on the keypad is the same key to the user.
    edit->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)});
    QAction *del = add({QStringLiteral("ScriptDel"), QStringLiteral("Удалить"), Category,
                        QKeySequence(Qt::CTRL | Qt::Key_Delete), QStringLiteral("Удалить выделенные строки")},
                       &TScriptPage::ScriptDelExecute, &TScriptPage::ScriptDelUpdate);
    // Ctrl+Del also deletes combinations and stakes: each works in its own list.
    if (auto *owner = qobject_cast<QWidget *>(del->parent())) owner->removeAction(del);
    del->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(del);
    add({QStringLiteral("ScriptClr"),
         QStringLiteral("Удалить все"),
         Category,
         {},
         QStringLiteral("Удалить весь сценарий")},
        &TScriptPage::ScriptClrExecute, &TScriptPage::ScriptClrUpdate);
    add({QStringLiteral("ScriptUp"), QStringLiteral("Переместить вверх"), Category,
         QKeySequence(Qt::CTRL | Qt::Key_Up), QStringLiteral("Переместить выделенную строку вверх")},
        &TScriptPage::ScriptUpExecute, &TScriptPage::ScriptUpUpdate);
    add({QStringLiteral("ScriptDown"), QStringLiteral("Переместить вниз"), Category,
         QKeySequence(Qt::CTRL | Qt::Key_Down), QStringLiteral("Переместить выделенную строку вниз")},
        &TScriptPage::ScriptDownExecute, &TScriptPage::ScriptDownUpdate);
    add({QStringLiteral("ScriptRun"), QStringLiteral("Прогноз"), Category, QKeySequence(Qt::Key_F10),
         QStringLiteral("Выполнить сценарий для текущего тиража и смещения")},
        &TScriptPage::ScriptRunExecute, &TScriptPage::ScriptRunUpdate);
    add({QStringLiteral("ScriptTest"), QStringLiteral("Тест"), Category, QKeySequence(Qt::CTRL | Qt::Key_F10),
         QStringLiteral("Тестирование сценария на основе результатов предыдуших тиражей")},
        &TScriptPage::ScriptTestExecute, &TScriptPage::ScriptTestUpdate);
    TSpec stop{QStringLiteral("ScriptStop"), QStringLiteral("Стоп"), Category,
               QKeySequence(Qt::CTRL | Qt::Key_X), QStringLiteral("Остановить выполнение сценария")};
    // The one action a running script leaves usable: it only sets the flag
    // the run polls.
    stop.WhileBusy = true;
    add(stop, &TScriptPage::ScriptStopExecute, &TScriptPage::ScriptStopUpdate);
    add({QStringLiteral("LogToggle"),
         QStringLiteral("Журнал выполнения сценария"),
         Category,
         {},
         QStringLiteral("Создание подробного журнала выполнения сценария для анализа его работы"),
         true},
        &TScriptPage::LogToggleExecute, &TScriptPage::LogToggleUpdate);
    add({QStringLiteral("LogsDelete"),
         QStringLiteral("Удалить журналы выполнения сценариев"),
         Category,
         {},
         QStringLiteral("Удалить файлы журналов выполнения сценария")},
        &TScriptPage::LogsDeleteExecute, &TScriptPage::LogsDeleteUpdate);
}

void TScriptPage::CreateList() {
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_model = new TScriptModel(m_ws.Scripts(), this);
    m_list = new QTableView(this);
    m_list->setObjectName(QLatin1String(ListName));
    m_list->setModel(m_model);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setWordWrap(false);
    m_list->setShowGrid(false);
    m_list->setCornerButtonEnabled(false);
    m_list->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    m_list->verticalHeader()->hide();
    m_list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_list->verticalHeader()->setDefaultSectionSize(qMax(RowHeight, fontMetrics().height() + 2));
    m_list->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_list->horizontalHeader()->setHighlightSections(false);
    for (int c = 0; c < TScriptsController::ColumnCount; ++c)
        m_list->setColumnWidth(c, DefaultColumnWidths().value(c, 160));
    // The script list above, the online scripts panel below.
    m_splitter = new QSplitter(Qt::Vertical, this);
    m_splitter->setObjectName(QStringLiteral("spOnlineScripts"));
    m_splitter->setChildrenCollapsible(false);
    m_list->setParent(m_splitter);
    m_splitter->addWidget(m_list);
    layout->addWidget(m_splitter, 1);
}

void TScriptPage::CreateStatusBar() {
    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName(QStringLiteral("sbScript"));
    m_statusBar->setSizeGripEnabled(false);
    const int widths[TScriptsController::StatusPanelCount - 1] = {90, 90, 110};
    for (int i = 0; i < TScriptsController::StatusPanelCount; ++i) {
        auto *panel = new QLabel(m_statusBar);
        panel->setObjectName(QStringLiteral("ScriptPanel%1").arg(i));
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setContentsMargins(4, 0, 4, 0);
        if (i < TScriptsController::StatusPanelCount - 1) {
            panel->setMinimumWidth(widths[i]);
            m_statusBar->addWidget(panel, 0);
        } else {
            m_statusBar->addWidget(panel, 1);
        }
        m_panels.append(panel);
    }
    layout()->addWidget(m_statusBar);
}

// ---- page interface ----------------------------------------------------------------------------------

QString TScriptPage::Caption() const {
    return QStringLiteral("Сценарий");
}

QList<TMenuEntries> TScriptPage::MenuEntries() const {
    return {{QStringLiteral("mnScript"), RunMenu() + QStringList{QString()} + EditMenu() +
                                             QStringList{QString()} + TOnlineScriptsPanel::MenuNames()}};
}

void TScriptPage::LoadWindowSettings(const TWindowSettings &settings, const QString &section) {
    LoadColumnWidths(m_list, TScriptsController::ColumnCount, settings, section, QLatin1String(ListName));
    m_libraryHeight = qBound(60, settings.ScriptLibraryHeight(), 2000);
    m_library->LoadWindowSettings(settings, section);
}

void TScriptPage::SaveWindowSettings(TWindowSettings &settings, const QString &section) const {
    SaveColumnWidths(m_list, TScriptsController::ColumnCount, settings, section, QLatin1String(ListName));
    m_library->SaveWindowSettings(settings, section);
}

void TScriptPage::ApplyLayout(const QSize &windowSize) {
    const int height = qMax(m_splitter->height(), windowSize.height());
    m_splitter->setSizes({qMax(100, height - m_libraryHeight), m_libraryHeight});
}

void TScriptPage::SaveLayout(TWindowSettings &settings) const {
    const QList<int> sizes = m_splitter->sizes();
    if (sizes.size() == 2 && sizes[1] > 0 && m_library->IsOn()) settings.SetScriptLibraryHeight(sizes[1]);
}

QList<TScreenshotRender> TScriptPage::ScreenshotRenders() const {
    return {{QStringLiteral("TFormScript"),
             [this](QWidget *parent) -> std::unique_ptr<QWidget> {
                 auto form = std::make_unique<TFormScript>(m_ws.Stats().Registry(), m_ws.Stats().Table(),
                                                           &m_host, parent);
                 form->setWindowTitle(NewLineTitle);
                 form->SetLine(QStringLiteral(
                     "EXCL:5#RAND#NEX|TSD1#NUMS:100,200,300#LMV:1-3;1#ST:3|TSD1#EVEN:100#LNO:#SF:1| | | | | "
                     "|Чётные после частых"));
                 return form;
             }},
            {QStringLiteral("TFormTestCnt"),
             [this](QWidget *parent) -> std::unique_ptr<QWidget> {
                 return std::make_unique<TFormTestCnt>(m_ws.Scripts().MaxTestCount(), parent);
             }},
            {QStringLiteral("TFormScrPublic"),
             [](QWidget *parent) -> std::unique_ptr<QWidget> {
                 auto form = std::make_unique<TFormScrPublic>(
                     [](int32_t, const QString &, bool &) { return true; }, [](const QString &) {}, parent);
                 tScriptData data;
                 data.AuthorName = QStringLiteral("Иван");
                 data.Lcid = 1049;
                 data.Title = QStringLiteral("Чётные после частых");
                 data.Description = QStringLiteral("Две строки фильтров по частоте и чётности.");
                 form->SetData(data);
                 return form;
             }},
            {QStringLiteral("TFormScrRates"), [](QWidget *parent) -> std::unique_ptr<QWidget> {
                 tScriptRate rate;
                 rate.Name = QStringLiteral("Пётр");
                 rate.Rate = 4;
                 rate.Created = QDateTime(QDate(2026, 12, 5), QTime(21, 7, 9));
                 rate.AppName = QStringLiteral("Brantlee_6x45");
                 rate.AppVersion = QStringLiteral("0.1.0");
                 rate.Notes = QStringLiteral("Хорошо, но медленно");
                 return std::make_unique<TFormScrRates>(QList<tScriptRate>{rate}, parent);
             }}};
}

// ---- selection and views ------------------------------------------------------------------------------

QList<int> TScriptPage::SelectedRows() const {
    QList<int> rows;
    if (!m_list || !m_list->selectionModel()) return rows;
    for (const QModelIndex &index : m_list->selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

int TScriptPage::SelectedRow() const {
    const QList<int> rows = SelectedRows();
    return rows.isEmpty() ? -1 : rows.first();
}

void TScriptPage::SelectRow(int row) {
    m_list->clearSelection();
    if (row < 0 || row >= m_model->rowCount()) return;
    m_list->selectRow(row);
    m_list->scrollTo(m_model->index(row, 0));
}

void TScriptPage::OnScriptChanged() {
    m_model->Refresh();
    UpdateStatusBar();
    m_actions.UpdateAll();
}

void TScriptPage::UpdateStatusBar() {
    TScriptsController &scripts = m_ws.Scripts();
    // Before any run the first panel counts the lines; a run shows its cycle.
    if (scripts.Running())
        m_panels[0]->setText(scripts.StatusPanelText(0));
    else
        m_panels[0]->setText(scripts.CountText());
    for (int i = 1; i < TScriptsController::StatusPanelCount; ++i)
        m_panels[i]->setText(scripts.StatusPanelText(i));
}

void TScriptPage::OnRunningChanged(bool running) {
    if (QWidget *top = window()) {
        for (const char *name : LockedTabs)
            if (auto *tab = top->findChild<QWidget *>(QLatin1String(name))) tab->setEnabled(!running);
    }
    m_list->setEnabled(!running);
    UpdateStatusBar();
    m_actions.UpdateAll();
}

void TScriptPage::OnLineSelected(int index) {
    if (index < 0)
        m_list->clearSelection();
    else
        SelectRow(index);
}

int TScriptPage::ExcludedDraws() const {
    if (QWidget *top = window())
        if (auto *combs = top->findChild<TCombsPage *>())
            if (combs->ExcludeEdit()) return combs->ExcludeEdit()->value();
    return m_ws.Settings().DrawsExclude();
}

bool TScriptPage::EditLine(const QString &title, QString &line) {
    return TFormScript::EditScriptLine(m_ws.Stats().Registry(), m_ws.Stats().Table(), &m_host, window(),
                                       title, ExcludedDraws(), line);
}

// ---- editing --------------------------------------------------------------------------------------------

bool TScriptPage::ScriptSaveUpdate() const {
    return !m_ws.Scripts().IsEmpty();
}

void TScriptPage::ScriptSaveExecute() {
    const QString file = m_host.ChooseFile(true, ScriptFileFilter(), ScriptFileSuffix());
    if (!file.isEmpty()) m_ws.Scripts().SaveScript(file);
}

void TScriptPage::ScriptOpenExecute() {
    const QString file = m_host.ChooseFile(false, ScriptFileFilter(), ScriptFileSuffix());
    if (!file.isEmpty()) m_ws.Scripts().OpenScript(file);
}

void TScriptPage::ScriptLoadExecute() {
    const QString file = m_host.ChooseFile(false, ScriptFileFilter(), ScriptFileSuffix());
    if (!file.isEmpty()) m_ws.Scripts().AddScriptFile(file);
}

void TScriptPage::ScriptAddExecute() {
    QString line;
    if (!EditLine(NewLineTitle, line)) return;
    int row = -1;
    m_ws.Scripts().AppendLine(line, &row);
    SelectRow(row);
}

bool TScriptPage::ScriptEmptyUpdate() const {
    return !m_ws.Scripts().IsEmpty();
}

void TScriptPage::ScriptEmptyExecute() {
    int row = -1;
    m_ws.Scripts().AppendSeparator(&row);
    SelectRow(row);
}

bool TScriptPage::ScriptCloneUpdate() const {
    return !m_ws.Scripts().IsSeparatorRow(SelectedRow());
}

void TScriptPage::ScriptCloneExecute() {
    QString line = m_ws.Scripts().Line(SelectedRow());
    if (!EditLine(NewLineTitle, line)) return;
    int row = -1;
    m_ws.Scripts().AppendLine(line, &row);
    SelectRow(row);
}

bool TScriptPage::ScriptEditUpdate() const {
    return !m_ws.Scripts().IsSeparatorRow(SelectedRow());
}

void TScriptPage::ScriptEditExecute() {
    const int row = SelectedRow();
    QString line = m_ws.Scripts().Line(row);
    if (!EditLine(EditLineTitle, line)) return;
    if (m_ws.Scripts().ReplaceLine(row, line)) SelectRow(row);
}

bool TScriptPage::ScriptDelUpdate() const {
    return SelectedRow() >= 0;
}

void TScriptPage::ScriptDelExecute() {
    const QList<int> rows = SelectedRows();
    if (rows.isEmpty()) return;
    if (!m_host.Confirm(TArchiveController::DeleteConfirmText(int(rows.size())),
                        TArchiveController::DeleteConfirmTitle(), true))
        return;
    m_ws.Scripts().DeleteLines(rows);
    m_list->clearSelection();
}

bool TScriptPage::ScriptClrUpdate() const {
    return !m_ws.Scripts().IsEmpty();
}

void TScriptPage::ScriptClrExecute() {
    if (!m_host.Confirm(TArchiveController::DeleteConfirmText(m_ws.Scripts().LineCount()),
                        TArchiveController::DeleteConfirmTitle(), true))
        return;
    m_ws.Scripts().ClearScript();
}

bool TScriptPage::ScriptUpUpdate() const {
    return SelectedRow() > 0;
}

void TScriptPage::ScriptUpExecute() {
    int moved = -1;
    if (m_ws.Scripts().MoveLine(SelectedRow(), -1, &moved)) SelectRow(moved);
}

bool TScriptPage::ScriptDownUpdate() const {
    const int row = SelectedRow();
    return row >= 0 && row < m_ws.Scripts().LineCount() - 1;
}

void TScriptPage::ScriptDownExecute() {
    int moved = -1;
    if (m_ws.Scripts().MoveLine(SelectedRow(), 1, &moved)) SelectRow(moved);
}

// ---- running -------------------------------------------------------------------------------------------

bool TScriptPage::ScriptRunUpdate() const {
    return m_ws.Scripts().CanRun();
}

void TScriptPage::ScriptRunExecute() {
    // A forecast from the window is not meant to be repeated: the clock seeds it.
    m_ws.Scripts().RunForecast(TScriptsController::ClockSeed());
}

bool TScriptPage::ScriptTestUpdate() const {
    return m_ws.Scripts().CanRun();
}

void TScriptPage::ScriptTestExecute() {
    int count = TFormTestCnt::DefaultCount;
    if (!TFormTestCnt::Execute(m_ws.Scripts().MaxTestCount(), count, window()) || count <= 0) return;
    m_ws.Scripts().RunTest(count, TScriptsController::ClockSeed());
}

bool TScriptPage::ScriptStopUpdate() const {
    return m_ws.Scripts().CanStop();
}

void TScriptPage::ScriptStopExecute() {
    if (!m_ws.Scripts().CanStop()) return;
    if (!m_host.Confirm(TScriptsController::StopConfirmText())) return;
    m_ws.Scripts().RequestStop();
    m_actions.UpdateAll();
}

bool TScriptPage::LogToggleUpdate() const {
    if (QAction *a = m_actions.Find(QStringLiteral("LogToggle"))) a->setChecked(m_ws.Scripts().LogEnabled());
    return !m_ws.Scripts().Running();
}

void TScriptPage::LogToggleExecute() {
    m_ws.Scripts().SetLogEnabled(!m_ws.Scripts().LogEnabled());
}

bool TScriptPage::LogsDeleteUpdate() const {
    return !m_ws.Scripts().Running();
}

void TScriptPage::LogsDeleteExecute() {
    m_ws.Scripts().DeleteLogs();
}

} // namespace lot
