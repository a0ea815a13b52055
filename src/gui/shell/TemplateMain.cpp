#include "gui/shell/TemplateMain.h"

#include "core/Errors.h"
#include "core/Format.h"
#include "core/Messages.h"
#include "core/OpResult.h"
#include "gui/archive/DrawsPage.h"
#include "gui/combs/CombsPage.h"
#include "gui/download/FormProxy.h"
#include "gui/shell/ActionList.h"
#include "gui/shell/FormConfig.h"
#include "gui/shell/FormFirstRun.h"
#include "gui/shell/FormShredding.h"
#include "gui/shell/PageList.h"
#include "gui/stats/StatsPage.h"
#include "shell/Restart.h"
#include "shell/Switches.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QTimer>

#include <cstdio>

namespace lot {

namespace {

const QString MainSection = TWindowSettings::MainSection();
const int PanelWidths[TTemplateMain::StatusPanelCount - 1] = {150, 180, 130, 150, 120, 125};
// The widest text each panel is expected to hold; a panel grows past its
// design width only when the window font needs it.
const char *const PanelSamples[TTemplateMain::StatusPanelCount - 1] = {
    "Архив тиражей: 99999", "Следующий тираж: 99999", "45;45;45;45;45;45",
    "Комбинаций: 8145060",  "Ставок: 999999",         "Рейтинг: 99999"};

struct TMenuDef {
    const char *Name;
    const char *Caption;
};
const TMenuDef MenuDefs[] = {
    {"mnFile", "Файл"},       {"mnDraws", "Архив тиражей"}, {"mnCombs", "Комбинации"},
    {"mnStat", "Статистика"}, {"mnStakes", "Ставки"},       {"mnRating", "Рейтинг"},
    {"mnTables", "Регуляры"}, {"mnSystems", "Системы"},     {"mnScript", "Сценарий"},
    {"mnView", "Вид"},        {"mnHelp", "Справка"},
};

int TabIndex(const QTabWidget *tabs, const QString &name) {
    for (int i = 0; i < tabs->count(); ++i)
        if (tabs->widget(i)->objectName() == name) return i;
    return -1;
}

} // namespace

const QList<TTemplateMain::TTabSwitch> &TTemplateMain::TabSwitches() {
    static const QList<TTabSwitch> switches = {
        {"TabGraphs", "Графики", "tsDrawsGraph", &TWindowSettings::TabGraphs, &TWindowSettings::SetTabGraphs},
        {"TabCard", "Карта", "tsCard", &TWindowSettings::TabCard, &TWindowSettings::SetTabCard},
        {"TabLayout", "Схема", "tsLayout", &TWindowSettings::TabLayout, &TWindowSettings::SetTabLayout},
        {"TabWeek", "Неделя", "tsWeek", &TWindowSettings::TabWeek, &TWindowSettings::SetTabWeek},
        {"TabTables", "Регуляры", "tsTables", &TWindowSettings::TabTables, &TWindowSettings::SetTabTables},
        {"SystemsOn", "Системы", "tsSystems", &TWindowSettings::SystemsEnabled,
         &TWindowSettings::SetSystemsEnabled},
    };
    return switches;
}

TTemplateMain::TTemplateMain(const QString &dataDir, const QStringList &args, QWidget *parent)
    : QMainWindow(parent), m_args(args) {
    setObjectName(QStringLiteral("TFormMain"));
    setWindowTitle(QStringLiteral("Brantlee 6x45 — статистический анализ лотереи «6 из 45»"));
    m_host.SetWindow(this);
    m_ws = std::make_unique<TWorkspace>(m_host, dataDir);
    m_ws->SetArguments(args);
    try {
        CreateStatusBar();
        m_actions = new TActionList(m_host, this);
        CreatePages();
        CreateActions();
        CreateMenus();

        if (HasSwitch(args, SwitchRestart) && !WaitForOtherInstances()) {
            m_terminate = true;
            return;
        }
        m_helpFile = FindHelpFile();

        m_settingsLoaded = bool(m_ws->LoadWindowSettings());
        ApplyWindowSettings();
        // Step 6: the game settings, the filter list file and the method lists.
        m_ws->LoadGameSettings();
        for (TPage *page : m_pages)
            page->ApplyGameSettings(m_ws->Stats().Registry().Config());

        connect(&m_host, &TGuiHost::BusyChanged, m_actions, &TActionList::UpdateAll);
        connect(m_ws.get(), &TWorkspace::StatusPanelsChanged, this, &TTemplateMain::UpdateStatusPanels);
        connect(&m_ws->Archive(), &TArchiveController::DrawsChanged, m_actions, &TActionList::UpdateAll);
        connect(m_pcMain, &QTabWidget::currentChanged, this, [this] {
            if (m_startupRan) m_ws->RecomputeAll(false);
        });

        m_startTimer = new QTimer(this);
        m_startTimer->setSingleShot(true);
        m_startTimer->setInterval(0);
        connect(m_startTimer, &QTimer::timeout, this, &TTemplateMain::OnStartTimer);
        UpdateStatusPanels();
        m_actions->UpdateAll();
    } catch (const std::exception &e) {
        m_host.ShowError(Format(msg::StartError, {ExceptionText(e)}));
    }
}

TTemplateMain::~TTemplateMain() {
    if (m_startTimer) m_startTimer->stop();
    // Only the copy that holds the data lock writes the shared files: a copy
    // turned away by the lock must not overwrite the settings of the one
    // that runs.
    if (m_ws->Stakes().IsOpen()) {
        StoreWindowSettings();
        m_ws->Shutdown();
    }
    // Pages refer to the workspace; they go before it does.
    delete m_splitter;
    m_splitter = nullptr;
    m_pages.clear();
}

// ---- construction --------------------------------------------------------------------------------

void TTemplateMain::CreateStatusBar() {
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar"));
    bar->setSizeGripEnabled(true);
    for (int i = 0; i < StatusPanelCount; ++i) {
        auto *panel = new QLabel(bar);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setContentsMargins(4, 0, 4, 0);
        if (i < StatusPanelCount - 1) {
            const int needed =
                panel->fontMetrics().horizontalAdvance(QString::fromUtf8(PanelSamples[i])) + 16;
            panel->setFixedWidth(qMax(PanelWidths[i], needed));
            bar->addWidget(panel, 0);
        } else {
            panel->setMinimumWidth(40);
            bar->addWidget(panel, 1);
        }
        if (i == 2) panel->setAlignment(Qt::AlignCenter);
        m_panels.append(panel);
    }
    m_host.SetStatusLabel(m_panels.last());
}

void TTemplateMain::CreatePages() {
    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->setObjectName(QStringLiteral("Splitter"));
    m_splitter->setChildrenCollapsible(false);

    m_pcLists = new QTabWidget(m_splitter);
    m_pcLists->setObjectName(QStringLiteral("pcLists"));
    m_pcLists->setMinimumWidth(150);
    m_pcMain = new QTabWidget(m_splitter);
    m_pcMain->setObjectName(QStringLiteral("pcMain"));

    const TPageContext context{*m_ws, m_host, *m_actions};
    for (const TPageFactory &create : PageFactories()) {
        // Not the splitter as the first parent: it would take the page as a pane.
        TPage *page = create(context, m_pcMain);
        QTabWidget *tabs = page->Control() == TPageControl::Lists ? m_pcLists : m_pcMain;
        tabs->addTab(page->Widget(), page->Caption());
        m_pages.append(page);
    }
    // Until the systems are switched on, their tab stays hidden.
    m_pcMain->setTabVisible(TabIndex(m_pcMain, QStringLiteral("tsSystems")), false);
    m_pcMain->setTabVisible(TabIndex(m_pcMain, QStringLiteral("tsWeek")), false);

    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    setCentralWidget(m_splitter);
}

void TTemplateMain::CreateActions() {
    using TSpec = TActionList::TSpec;
    m_actions->Add(
        TSpec{QStringLiteral("EditConfig"), QStringLiteral("Параметры"), QStringLiteral("Файл")},
        [this] { EditConfigExecute(); }, [this] { return EditConfigUpdate(); });
    m_actions->Add(
        TSpec{QStringLiteral("EditShredding"), QStringLiteral("Формулы шинковки"), QStringLiteral("Файл")},
        [this] { EditShreddingExecute(); }, [] { return true; });
    m_actions->Add(
        TSpec{QStringLiteral("EditProxy"), QStringLiteral("Параметры proxy-сервера"), QStringLiteral("Файл")},
        [this] { EditProxyExecute(); }, [] { return true; });
    m_actions->Add(
        TSpec{QStringLiteral("ExitProgram"), QStringLiteral("Выход"), QStringLiteral("Файл"),
              QKeySequence(Qt::ALT | Qt::Key_F4)},
        [this] { ExitProgramExecute(); }, [] { return true; });
    for (const TTabSwitch &sw : TabSwitches()) {
        const QString category = QLatin1String(sw.ActionName) == QLatin1String("SystemsOn")
                                     ? QStringLiteral("Системы")
                                     : QStringLiteral("Вид");
        m_actions->Add(
            TSpec{QLatin1String(sw.ActionName), QString::fromUtf8(sw.Caption), category, {}, {}, true},
            [this, &sw] { ToggleTab(sw); },
            [this, &sw] {
                if (QAction *a = m_actions->Find(QLatin1String(sw.ActionName)))
                    a->setChecked((m_ws->Settings().*sw.Get)());
                return true;
            });
    }
    m_actions->Add(
        TSpec{QStringLiteral("AutoUpdate"),
              QStringLiteral("Автоматическое обновление"),
              QStringLiteral("Автообновление"),
              {},
              {},
              true},
        [this] { AutoUpdateExecute(); }, [this] { return AutoUpdateUpdate(); });
}

void TTemplateMain::CreateMenus() {
    for (const TMenuDef &def : MenuDefs) {
        QMenu *menu = menuBar()->addMenu(QString::fromUtf8(def.Caption));
        menu->setObjectName(QLatin1String(def.Name));
    }
    // The window's own entries, then those of every page in page order.
    QStringList view;
    for (const TTabSwitch &sw : TabSwitches())
        view << QLatin1String(sw.ActionName);
    view << QString(); // the pages' view switches follow the tab switches
    QList<TMenuEntries> entries = {
        {QStringLiteral("mnFile"), {"EditConfig", "EditShredding", "EditProxy", "", "ExitProgram"}},
        {QStringLiteral("mnView"), view},
        {QStringLiteral("mnHelp"), {"AutoUpdate"}}};
    for (const TPage *page : m_pages)
        entries += page->MenuEntries();
    for (const TMenuEntries &e : entries) {
        if (QMenu *menu = Menu(e.Menu))
            m_actions->AddByName(menu, e.Actions);
        else
            m_missingMenus.append(e.Menu);
    }
    UpdateMenus();
}

// A menu with nothing in it yet is shown greyed rather than opening empty.
void TTemplateMain::UpdateMenus() {
    for (QMenu *menu : menuBar()->findChildren<QMenu *>(QString(), Qt::FindDirectChildrenOnly)) {
        bool any = false;
        for (QAction *a : menu->actions())
            if (!a->isSeparator() && a->isVisible()) any = true;
        menu->menuAction()->setEnabled(any);
    }
    if (QMenu *systems = Menu(QStringLiteral("mnSystems")))
        systems->menuAction()->setVisible(m_ws->Settings().SystemsEnabled());
}

TPage *TTemplateMain::Page(const QString &name) const {
    for (TPage *page : m_pages)
        if (page->Name() == name) return page;
    return nullptr;
}

TDrawsPage *TTemplateMain::DrawsPage() const {
    return FindPage<TDrawsPage>();
}

TCombsPage *TTemplateMain::CombsPage() const {
    return FindPage<TCombsPage>();
}

TStatsPage *TTemplateMain::StatsPage() const {
    return FindPage<TStatsPage>();
}

QLabel *TTemplateMain::StatusPanel(int i) const {
    return m_panels.value(i, nullptr);
}

QStringList TTemplateMain::MissingMenuActions() const {
    QStringList missing = m_actions->MissingNames();
    for (const QString &menu : m_missingMenus)
        missing.append(QStringLiteral("no menu ") + menu);
    return missing;
}

QMenu *TTemplateMain::Menu(const QString &objectName) const {
    return menuBar()->findChild<QMenu *>(objectName, Qt::FindDirectChildrenOnly);
}

// ---- window settings -----------------------------------------------------------------------------

void TTemplateMain::ApplyWindowSettings() {
    TWindowSettings &settings = m_ws->Settings();
    Guarded(m_host, QString::fromUtf8(msg::SettingsLoadError), [&] {
        const QRect available = screen() ? screen()->availableGeometry() : QRect(0, 0, 1280, 800);
        TWindowPlacement placement;
        QRect normal(0, 0, qMin(1200, available.width()), qMin(780, available.height()));
        normal.moveCenter(available.center());
        bool maximised = false;
        if (settings.ReadPlacement(MainSection, available.size(), placement)) {
            const TPlacementRect &r = placement.NormPos;
            const QRect stored(QPoint(r.Left, r.Top), QPoint(r.Right - 1, r.Bottom - 1));
            // A window stored on a screen that is gone comes back on this one.
            if (stored.width() >= 200 && stored.height() >= 150 && available.intersects(stored))
                normal = stored;
            maximised = placement.ShowCmd == 3;
        }
        setGeometry(normal);
        if (maximised) setWindowState(windowState() | Qt::WindowMaximized);

        int preferred = 0;
        for (TPage *page : m_pages) {
            page->LoadWindowSettings(settings, MainSection);
            if (page->Control() == TPageControl::Lists) preferred = qMax(preferred, page->PreferredWidth());
        }
        int left = qBound(150, settings.LeftPanelWidth(), 2000);
        // Until the user sizes it, the left panel shows the whole draws list.
        if (!settings.Ini().ValueExists(MainSection, QStringLiteral("LeftPanelWidth")))
            left = qMax(left, preferred);
        m_leftWidth = left;
        ApplySplitterSizes();
        ApplyTabVisibility();
    });
}

// Splitters share out their own size; before the window is laid out that
// size is a guess, so this runs again when the window first shows.
void TTemplateMain::ApplySplitterSizes() {
    const int width = qMax(m_splitter->width(), geometry().width());
    m_splitter->setSizes({m_leftWidth, qMax(200, width - m_leftWidth)});
    for (TPage *page : m_pages)
        page->ApplyLayout(geometry().size());
}

void TTemplateMain::StoreWindowSettings() {
    TWindowSettings &settings = m_ws->Settings();
    Guarded(m_host, QString::fromUtf8(msg::SettingsSaveError), [&] {
        if (m_wasShown) {
            TWindowPlacement placement;
            const QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
            placement.NormPos = {normal.left(), normal.top(), normal.right() + 1, normal.bottom() + 1};
            placement.ShowCmd = isMaximized() ? 3 : 1;
            placement.PixelsPerInch = logicalDpiY();
            const QSize screenSize = screen() ? screen()->availableGeometry().size() : QSize();
            settings.WritePlacement(MainSection, screenSize, placement);
            settings.SetLeftPanelWidth(m_pcLists->width());
            for (const TPage *page : m_pages)
                page->SaveLayout(settings);
        }
        for (const TPage *page : m_pages)
            page->SaveWindowSettings(settings, MainSection);
    });
}

void TTemplateMain::ApplyTabVisibility() {
    const TWindowSettings &settings = m_ws->Settings();
    for (const TTabSwitch &sw : TabSwitches()) {
        const int index = TabIndex(m_pcMain, QLatin1String(sw.TabName));
        if (index < 0) continue;
        // The week-day tab has no place in this game: its switch is kept but
        // the tab never shows.
        const bool visible = QLatin1String(sw.TabName) != QLatin1String("tsWeek") && (settings.*sw.Get)();
        m_pcMain->setTabVisible(index, visible);
    }
    UpdateMenus();
}

void TTemplateMain::ToggleTab(const TTabSwitch &sw) {
    TWindowSettings &settings = m_ws->Settings();
    const bool on = !(settings.*sw.Get)();
    const bool systems = QLatin1String(sw.ActionName) == QLatin1String("SystemsOn");
    if (systems) m_host.ShowStatus(QString::fromUtf8(msg::PleaseWait));
    m_ws->StoreSetting([&](TWindowSettings &s) { (s.*sw.Set)(on); });
    ApplyTabVisibility();
    if (QLatin1String(sw.ActionName) == QLatin1String("TabTables")) {
        // Shown, the rules are read again and the tab comes forward; hidden, they are dropped unsaved.
        m_ws->Tables().TabVisibilityChanged(on);
        if (on) m_pcMain->setCurrentIndex(TabIndex(m_pcMain, QStringLiteral("tsTables")));
    }
    if (systems) {
        m_ws->Systems().TabVisibilityChanged(on);
        if (on) m_pcMain->setCurrentIndex(TabIndex(m_pcMain, QStringLiteral("tsSystems")));
        m_host.ShowStatus(QString());
    }
}

void TTemplateMain::UpdateStatusPanels() {
    for (int i = 0; i < StatusPanelCount - 1; ++i)
        m_panels[i]->setText(m_ws->StatusPanelText(i));
}

// ---- actions ---------------------------------------------------------------------------------------

void TTemplateMain::ExitProgramExecute() {
    close();
}

void TTemplateMain::AutoUpdateExecute() {
    const bool on = !m_ws->Settings().AutoUpdates();
    m_ws->StoreSetting([on](TWindowSettings &s) { s.SetAutoUpdates(on); });
}

bool TTemplateMain::AutoUpdateUpdate() const {
    if (QAction *a = m_actions->Find(QStringLiteral("AutoUpdate")))
        a->setChecked(m_ws->Settings().AutoUpdates());
    return true;
}

// ---- start-up ----------------------------------------------------------------------------------------

void TTemplateMain::SetNonInteractive(bool on) {
    m_nonInteractive = on;
    if (!on) {
        m_host.SetMessageInterceptor({});
        return;
    }
    m_host.SetMessageInterceptor([](TMessageKind, const QString &title, const QString &text) {
        QString line = text;
        line.replace(QLatin1Char('\r'), QLatin1Char(' '));
        std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(line));
        return false;
    });
}

void TTemplateMain::Start() {
    show();
    if (m_startTimer && !m_terminate) m_startTimer->start();
}

void TTemplateMain::OnStartTimer() {
    const TStartupResult result = RunStartup();
    if (result == TStartupResult::DataLockFailed)
        QCoreApplication::exit(1);
    else if (result == TStartupResult::Terminate)
        QCoreApplication::exit(0);
}

TStartupResult TTemplateMain::RunStartup() {
    if (m_startupRan) return m_startupResult;
    m_startupRan = true;
    const QString version = QCoreApplication::applicationVersion();
    if (!version.isEmpty()) setWindowTitle(windowTitle() + TWorkspace::VersionCaptionSuffix(version));
    m_startupResult = m_ws->Startup(m_args);
    UpdateStatusPanels();
    m_actions->UpdateAll();
    if (m_startupResult == TStartupResult::Running && !m_nonInteractive) {
        Guarded(m_host, QString::fromUtf8(msg::InitError), [&] {
            if (m_ws->Settings().FirstRun()) ShowFirstRun();
        });
    }
    emit StartupFinished(m_startupResult);
    return m_startupResult;
}

void TTemplateMain::ShowFirstRun() {
    TFormFirstRun form(m_host, m_helpFile, this);
    form.exec();
    if (form.DontShowAgain()) m_ws->Settings().SetFirstRun(false);
}

QString TTemplateMain::FindHelpFile() const {
    const int language = HasSwitch(m_args, SwitchNoLanguage) ? 1049 : m_ws->Settings().Language();
    // Help files are named after the Windows abbreviation of their language.
    const QString abbreviation = language == 1049   ? QStringLiteral("RUS")
                                 : language == 1033 ? QStringLiteral("ENU")
                                                    : QString::number(language);
    const QString name = QStringLiteral("Zelvin_%1.chm").arg(abbreviation);
    const QDir programDir(QCoreApplication::applicationDirPath());
    for (const QString &candidate :
         {programDir.filePath(name), programDir.filePath(QStringLiteral("help/") + name),
          programDir.filePath(QStringLiteral("../help/") + name)}) {
        if (QFileInfo::exists(candidate)) return QDir::cleanPath(candidate);
    }
    return {};
}

// ---- window events ---------------------------------------------------------------------------------------

void TTemplateMain::closeEvent(QCloseEvent *event) {
    // A running script is asked to stop first; the window closes once it has.
    TScriptsController &scripts = m_ws->Scripts();
    if (scripts.Running()) {
        event->ignore();
        if (!scripts.StopRequested()) {
            if (!m_host.Confirm(TScriptsController::StopConfirmText())) return;
            scripts.RequestStop();
            m_actions->UpdateAll();
        }
        if (!m_closeAfterRun) {
            m_closeAfterRun = true;
            // The run ends its busy state last: closing any earlier would be
            // refused below and the user's close lost.
            connect(&m_host, &TGuiHost::BusyChanged, this, [this](bool busy) {
                if (busy || !m_closeAfterRun) return;
                m_closeAfterRun = false;
                QTimer::singleShot(0, this, &QWidget::close);
            });
        }
        return;
    }
    // A running operation finishes first; its busy state keeps the window open.
    if (!m_host.IsIdle()) {
        event->ignore();
        return;
    }
    m_wasShown = m_wasShown || isVisible();
    event->accept();
}

bool TTemplateMain::event(QEvent *event) {
    if (event->type() == QEvent::Show && !m_wasShown) {
        m_wasShown = true;
        ApplySplitterSizes();
    }
    // Hints of the control under the mouse go to the status text panel, and
    // only while nothing runs: a long operation owns that panel.
    if (event->type() == QEvent::StatusTip) {
        if (m_host.IsIdle() && !m_panels.isEmpty())
            m_panels.last()->setText(static_cast<QStatusTipEvent *>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

void TTemplateMain::EditConfigExecute() {
    TConfigData data = m_ws->Stats().Registry().Config();
    QList<int> changedGroups;
    if (!TFormConfig::Execute(this, data, changedGroups)) return;
    ApplyGameSettings(data, changedGroups);
}

void TTemplateMain::EditShreddingExecute() {
    TShreddingData data = m_ws->Stats().Registry().Shredding();
    if (!TFormShredding::Execute(this, data)) return;
    ApplyShredding(data);
}

void TTemplateMain::ApplyShredding(const TShreddingData &data) {
    m_ws->Stats().ApplyShredding(data);
    // The pages' selectors show the formulas in their captions.
    for (TPage *page : m_pages)
        page->ApplyGameSettings(m_ws->Stats().Registry().Config());
}

void TTemplateMain::EditProxyExecute() {
    TProxy proxy = m_ws->Download().Proxy();
    if (!TFormProxy::Execute(this, proxy)) return;
    m_ws->Download().SetProxy(proxy.Mode, proxy.Server, proxy.Port, proxy.Username, proxy.Password);
}

void TTemplateMain::ApplyGameSettings(const TConfigData &config, const QList<int> &changedGroups) {
    m_ws->Stats().ApplyGameSettings(config, changedGroups);
    for (TPage *page : m_pages)
        page->ApplyGameSettings(m_ws->Stats().Registry().Config());
    update();
}

} // namespace lot
