#include "gui/stakes/StakesPage.h"

#include "archive/ArchiveController.h"
#include "combs/CombsController.h"
#include "core/CoreHelpers.h"
#include "core/WindowSettings.h"
#include "gui/combs/CombsPage.h"
#include "gui/shell/ActionList.h"
#include "gui/shell/GuiHost.h"
#include "gui/shell/SheetExport.h"
#include "gui/stakes/FormMulti.h"
#include "gui/stakes/FormStake.h"
#include "gui/stakes/FormStakeFilter.h"
#include "gui/stakes/StakesDelegate.h"
#include "gui/stakes/StakesModel.h"
#include "shell/Workspace.h"
#include "stakes/StakesController.h"

#include <limits>
#include <QAction>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMenu>
#include <QTableView>
#include <QVBoxLayout>
#include <vector>

namespace lot {

namespace {

const QString Category = QStringLiteral("Ставки");
constexpr int RowHeight = 18;

const QStringList &StakeMenu() {
    static const QStringList names = {"StakeAdd",
                                      "StakeAddRandom",
                                      "StakeAddSelected",
                                      "StakeAddAll",
                                      "",
                                      "StakeDel",
                                      "StakeFilter",
                                      "StakeClear",
                                      "",
                                      "StakesCheckManual",
                                      "",
                                      "LogStakes",
                                      "StakesScroll",
                                      "StakesCheckLine",
                                      "LogStakesDelete",
                                      "",
                                      "StakesXlsExport"};
    return names;
}

bool IsAltF4(const QEvent *event) {
    const auto *key = static_cast<const QKeyEvent *>(event);
    return key->key() == Qt::Key_F4 && (key->modifiers() & ~Qt::KeypadModifier) == Qt::AltModifier;
}

} // namespace

const QList<int> &TStakesPage::DefaultColumnWidths() {
    static const QList<int> widths = {60, 60, 120, 60, 120, 60, 60, 60, 1000};
    return widths;
}

TStakesPage::TStakesPage(TWorkspace &workspace, TGuiHost &host, TActionList &actions, QWidget *parent)
    : QWidget(parent), TPage(this, actions), m_ws(workspace), m_host(host), m_actions(actions) {
    setObjectName(QStringLiteral("tsStakes"));
    CreateActions();
    CreateGrid();

    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("pmStakes"));
    m_actions.AddByName(m_popup, StakeMenu());
    connect(m_grid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { m_popup->popup(m_grid->viewport()->mapToGlobal(pos)); });

    TStakesController &stakes = m_ws.Stakes();
    connect(&stakes, &TStakesController::StakesViewChanged, this, &TStakesPage::OnViewChanged);
    connect(&stakes, &TStakesController::StakesLayoutReset, this, &TStakesPage::ResetLayout);
    connect(&stakes, &TStakesController::StakesChanged, &m_actions, &TActionList::UpdateAll);
    connect(&stakes, &TStakesController::OptionsChanged, &m_actions, &TActionList::UpdateAll);
    connect(&m_ws.Combs(), &TCombsController::ListChanged, &m_actions, &TActionList::UpdateAll);
    connect(m_grid->selectionModel(), &QItemSelectionModel::selectionChanged, &m_actions,
            &TActionList::UpdateAll);

    // The combination page is built before this one in the window; a page
    // built on its own finds it once the event loop runs.
    WireCombsList();
    if (!m_combsList) QMetaObject::invokeMethod(this, &TStakesPage::WireCombsList, Qt::QueuedConnection);
}

void TStakesPage::CreateGrid() {
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_model = new TStakesModel(m_ws.Stakes(), this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QLatin1String(GridName));
    m_grid->setModel(m_model);
    m_grid->setItemDelegate(new TStakesDelegate(m_grid));
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setWordWrap(false);
    m_grid->setCornerButtonEnabled(false);
    m_grid->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    m_grid->verticalHeader()->hide();
    // Millions of rows: a fixed row height keeps the view from measuring them.
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setDefaultSectionSize(qMax(RowHeight, fontMetrics().height() + 2));
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_grid->horizontalHeader()->setHighlightSections(false);
    m_grid->horizontalHeader()->setStretchLastSection(false);
    m_grid->setStyleSheet(QStringLiteral("QTableView { gridline-color: #d8d8d8; }"));
    layout->addWidget(m_grid);
    ResetLayout();
}

void TStakesPage::CreateActions() {
    using TSpec = TActionList::TSpec;
    auto add = [this](const TSpec &spec, void (TStakesPage::*execute)(),
                      bool (TStakesPage::*update)() const) {
        return AddPageAction(
            spec, [this, execute] { (this->*execute)(); }, [this, update] { return (this->*update)(); });
    };
    add({QStringLiteral("StakeAdd"), QStringLiteral("Сделать ставку"), Category, QKeySequence(Qt::Key_F4)},
        &TStakesPage::StakeAddExecute, &TStakesPage::StakeAddUpdate);
    add({QStringLiteral("StakeAddRandom"), QStringLiteral("Сделать случайную ставку"), Category,
         QKeySequence(Qt::CTRL | Qt::Key_F4)},
        &TStakesPage::StakeAddRandomExecute, &TStakesPage::StakeAddRandomUpdate);
    add({QStringLiteral("StakeAddSelected"), QStringLiteral("Сделать ставки для выделенных комбинаций"),
         Category, QKeySequence(Qt::ALT | Qt::Key_F4)},
        &TStakesPage::StakeAddSelectedExecute, &TStakesPage::StakeAddSelectedUpdate);
    add({QStringLiteral("StakeAddAll"), QStringLiteral("Сделать ставки для всех комбинаций"), Category,
         QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_F4)},
        &TStakesPage::StakeAddAllExecute, &TStakesPage::StakeAddAllUpdate);
    QAction *del = add({QStringLiteral("StakeDel"), QStringLiteral("Удалить ставку"), Category,
                        QKeySequence(Qt::CTRL | Qt::Key_Delete)},
                       &TStakesPage::StakeDelExecute, &TStakesPage::StakeDelUpdate);
    // Ctrl+Del also deletes the selected combinations: each works in its own list.
    if (auto *owner = qobject_cast<QWidget *>(del->parent())) owner->removeAction(del);
    del->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(del);
    add({QStringLiteral("StakeFilter"), QStringLiteral("Удалить по условию"), Category,
         QKeySequence(Qt::ALT | Qt::Key_D)},
        &TStakesPage::StakeFilterExecute, &TStakesPage::StakeFilterUpdate);
    add({QStringLiteral("StakeClear"), QStringLiteral("Удалить все ставки"), Category,
         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Delete)},
        &TStakesPage::StakeClearExecute, &TStakesPage::StakeClearUpdate);
    add({QStringLiteral("StakesCheckManual"), QStringLiteral("Проверить ставки"), Category,
         QKeySequence(Qt::CTRL | Qt::Key_F5), QStringLiteral("Выполнить проверку ставок по архиву тиражей")},
        &TStakesPage::StakesCheckManualExecute, &TStakesPage::StakesCheckManualUpdate);
    add({QStringLiteral("LogStakes"), QStringLiteral("Журналы ставок"), Category, {}, {}, true},
        &TStakesPage::LogStakesExecute, &TStakesPage::LogStakesUpdate);
    add({QStringLiteral("StakesScroll"),
         QStringLiteral("Прокручивать список при добавлении"),
         Category,
         {},
         {},
         true},
        &TStakesPage::StakesScrollExecute, &TStakesPage::StakesScrollUpdate);
    add({QStringLiteral("StakesCheckLine"),
         QStringLiteral("Проверять ставки после каждой строки сценария"),
         Category,
         {},
         {},
         true},
        &TStakesPage::StakesCheckLineExecute, &TStakesPage::StakesCheckLineUpdate);
    add({QStringLiteral("LogStakesDelete"), QStringLiteral("Удалить журналы ставок"), Category},
        &TStakesPage::LogStakesDeleteExecute, &TStakesPage::LogStakesDeleteUpdate);
    add({QStringLiteral("StakesXlsExport"), QStringLiteral("Экспорт ставок в Microsoft Excel"), Category},
        &TStakesPage::StakesXlsExportExecute, &TStakesPage::StakesXlsExportUpdate);
}

void TStakesPage::WireCombsList() {
    if (m_combsList) return;
    TCombsPage *combs = CombsPage();
    if (!combs || !combs->List()) return;
    // Found once: the enabled tests ask for it after every operation.
    m_combsPage = combs;
    m_combsList = combs->List();
    // Alt+F4 is also the window's ExitProgram; in the combination list it
    // makes the stakes (an ambiguous shortcut would do neither).
    QAction *selected = m_actions.Find(QStringLiteral("StakeAddSelected"));
    if (auto *owner = qobject_cast<QWidget *>(selected->parent())) owner->removeAction(selected);
    selected->setShortcutContext(Qt::WidgetShortcut);
    m_combsList->addAction(selected);
    m_combsList->installEventFilter(this);
}

TCombsPage *TStakesPage::CombsPage() const {
    if (m_combsPage) return m_combsPage;
    QWidget *top = window();
    return top ? top->findChild<TCombsPage *>() : nullptr;
}

// ---- settings ------------------------------------------------------------------------------------

void TStakesPage::StakesXlsExportExecute() {
    ExportSheetToFile(m_host, TModelSheet(*m_model, Caption(), Grid()->horizontalHeader()));
}

bool TStakesPage::StakesXlsExportUpdate() const {
    return !m_ws.Stakes().IsEmpty();
}

QString TStakesPage::Caption() const {
    return QStringLiteral("Ставки");
}

QList<TMenuEntries> TStakesPage::MenuEntries() const {
    return {{QStringLiteral("mnStakes"), StakeMenu()}};
}

void TStakesPage::ResetLayout() {
    // A column grows past its design width only when the header font needs it.
    const QFontMetrics metrics = m_grid->horizontalHeader()->fontMetrics();
    for (int c = 0; c < TStakesModel::ColumnCount; ++c)
        m_grid->setColumnWidth(c, qMax(DefaultColumnWidths().value(c, 60),
                                       metrics.horizontalAdvance(StakeColumnHeader(c)) + 16));
}

void TStakesPage::LoadWindowSettings(const TWindowSettings &settings, const QString &section) {
    QList<int> current;
    for (int c = 0; c < TStakesModel::ColumnCount; ++c)
        current.append(m_grid->columnWidth(c));
    const QList<int> widths = settings.ColumnWidths(section, QLatin1String(GridName), current);
    for (int c = 0; c < TStakesModel::ColumnCount && c < widths.size(); ++c)
        if (widths[c] > 0 && widths[c] <= 4000) m_grid->setColumnWidth(c, widths[c]);
}

void TStakesPage::SaveWindowSettings(TWindowSettings &settings, const QString &section) const {
    QList<int> widths;
    for (int c = 0; c < TStakesModel::ColumnCount; ++c)
        widths.append(m_grid->columnWidth(c));
    settings.SetColumnWidths(section, QLatin1String(GridName), widths);
}

QList<TScreenshotRender> TStakesPage::ScreenshotRenders() const {
    return {{QStringLiteral("TFormStake"),
             [this](QWidget *parent) -> std::unique_ptr<QWidget> {
                 TNumberSet numbers = CombToNumberSet(TComb{{3, 11, 17, 25, 40, 44}});
                 return std::make_unique<TFormStake>(m_host, m_ws.Stakes().NewManualStake(numbers), 1,
                                                     parent);
             }},
            {QStringLiteral("TFormMulti"),
             [this](QWidget *parent) -> std::unique_ptr<QWidget> {
                 return std::make_unique<TFormMulti>(m_host, m_ws.Stakes().NextDrawNumber(), 1,
                                                     ManualStakeComment(), parent);
             }},
            {QStringLiteral("TFormStakeFilter"), [](QWidget *parent) -> std::unique_ptr<QWidget> {
                 return std::make_unique<TFormStakeFilter>(parent);
             }}};
}

// ---- selection and views ---------------------------------------------------------------------------

bool TStakesPage::SelectedRange(int &top, int &bottom) const {
    if (!m_grid) return false;
    const QItemSelection selection = m_grid->selectionModel()->selection();
    if (selection.isEmpty()) return false;
    top = std::numeric_limits<int>::max();
    bottom = -1;
    for (const QItemSelectionRange &range : selection) {
        top = qMin(top, range.top());
        bottom = qMax(bottom, range.bottom());
    }
    return bottom >= top;
}

void TStakesPage::OnViewChanged(bool refresh, bool jump) {
    m_model->Refresh(refresh, jump);
    const int rows = m_model->rowCount();
    if (rows == 0) {
        m_grid->clearSelection();
    } else if (jump) {
        m_grid->selectRow(rows - 1);
        m_grid->scrollTo(m_model->index(rows - 1, 0));
    }
    m_actions.UpdateAll();
}

bool TStakesPage::FileOpen() const {
    return m_ws.Stakes().IsOpen();
}

bool TStakesPage::FileEmpty() const {
    return m_ws.Stakes().IsEmpty();
}

// ---- making stakes -----------------------------------------------------------------------------------

void TStakesPage::MakeManualStake(const TNumberSet &numbers) {
    TStakeRec rec = m_ws.Stakes().NewManualStake(numbers);
    int drawsCount = 1;
    if (!TFormStake::Execute(m_host, rec, drawsCount, window())) return;
    // The dialog may have replaced an empty set by six numbers.
    rec.Profit = m_ws.Stakes().StakeCost(rec.Numbers.Count);
    m_ws.Stakes().AddStake(rec, drawsCount);
}

bool TStakesPage::StakeAddUpdate() const {
    return FileOpen();
}

void TStakesPage::StakeAddExecute() {
    const TCombsPage *combs = CombsPage();
    const int row = combs ? combs->FocusedRow() : -1;
    TNumberSet numbers;
    if (row >= 0 && row < m_ws.Combs().Count()) numbers = CombToNumberSet(m_ws.Combs().At(row));
    MakeManualStake(numbers);
}

bool TStakesPage::StakeAddRandomUpdate() const {
    return FileOpen() && !m_ws.Combs().IsEmpty();
}

void TStakesPage::StakeAddRandomExecute() {
    const int row = m_ws.Stakes().RandomCombRow();
    if (row < 0) return;
    MakeManualStake(CombToNumberSet(m_ws.Combs().At(row)));
}

bool TStakesPage::MakeStakes(const QList<TComb> &selected, bool all) {
    int drawNumber = m_ws.Stakes().NextDrawNumber();
    int drawsCount = 1;
    QString comment = ManualStakeComment();
    if (!TFormMulti::Execute(m_host, drawNumber, drawsCount, comment, window())) return false;
    const std::span<const TComb> combs =
        all ? m_ws.Combs().Combs() : std::span<const TComb>(selected.constData(), size_t(selected.size()));
    m_ws.Stakes().AddStakesForCombs(combs, drawNumber, drawsCount, comment);
    return true;
}

bool TStakesPage::StakeAddSelectedUpdate() const {
    const TCombsPage *combs = CombsPage();
    return FileOpen() && combs && combs->HasSelection();
}

void TStakesPage::StakeAddSelectedExecute() {
    TCombsPage *combs = CombsPage();
    if (!combs) return;
    QList<TComb> selected;
    for (int row : combs->SelectedRows())
        if (row >= 0 && row < m_ws.Combs().Count()) selected.append(m_ws.Combs().At(row));
    if (selected.isEmpty()) return;
    if (MakeStakes(selected, false)) combs->List()->clearSelection();
}

bool TStakesPage::StakeAddAllUpdate() const {
    return FileOpen() && !m_ws.Combs().IsEmpty();
}

void TStakesPage::StakeAddAllExecute() {
    MakeStakes({}, true);
}

// ---- deleting --------------------------------------------------------------------------------------

bool TStakesPage::StakeDelUpdate() const {
    int top = 0, bottom = 0;
    return !FileEmpty() && SelectedRange(top, bottom);
}

void TStakesPage::StakeDelExecute() {
    int top = 0, bottom = 0;
    if (!SelectedRange(top, bottom)) return;
    if (!m_host.Confirm(TArchiveController::DeleteConfirmText(bottom - top + 1),
                        TArchiveController::DeleteConfirmTitle(), true))
        return;
    m_ws.Stakes().DeleteSelectedStakes(top, bottom);
}

bool TStakesPage::StakeFilterUpdate() const {
    return !FileEmpty();
}

void TStakesPage::StakeFilterExecute() {
    uint16_t packed = 0;
    if (!TFormStakeFilter::Execute(packed, window())) return;
    m_ws.Stakes().DeleteStakesByOverlaps(TFormStakeFilter::ConditionOf(packed),
                                         TFormStakeFilter::ValueOf(packed));
}

bool TStakesPage::StakeClearUpdate() const {
    return !FileEmpty();
}

void TStakesPage::StakeClearExecute() {
    const qint64 count = m_ws.Stakes().Count();
    if (!m_host.Confirm(TArchiveController::DeleteConfirmText(int(qMin<qint64>(count, INT_MAX))),
                        TArchiveController::DeleteConfirmTitle(), true))
        return;
    m_ws.Stakes().StakeClear();
}

// ---- checking and options -----------------------------------------------------------------------------

bool TStakesPage::StakesCheckManualUpdate() const {
    return !FileEmpty();
}

void TStakesPage::StakesCheckManualExecute() {
    m_ws.Stakes().CheckStakesManual();
}

void TStakesPage::LogStakesExecute() {
    m_ws.Stakes().SetStakesLogEnabled(!m_ws.Stakes().StakesLogEnabled());
}

bool TStakesPage::LogStakesUpdate() const {
    if (QAction *a = m_actions.Find(QStringLiteral("LogStakes")))
        a->setChecked(m_ws.Stakes().StakesLogEnabled());
    return true;
}

void TStakesPage::StakesScrollExecute() {
    m_ws.Stakes().SetStakesScrollEnabled(!m_ws.Stakes().StakesScrollEnabled());
}

bool TStakesPage::StakesScrollUpdate() const {
    if (QAction *a = m_actions.Find(QStringLiteral("StakesScroll")))
        a->setChecked(m_ws.Stakes().StakesScrollEnabled());
    return true;
}

void TStakesPage::StakesCheckLineExecute() {
    m_ws.Stakes().SetStakesCheckOnLine(!m_ws.Stakes().StakesCheckOnLine());
}

bool TStakesPage::StakesCheckLineUpdate() const {
    if (QAction *a = m_actions.Find(QStringLiteral("StakesCheckLine")))
        a->setChecked(m_ws.Stakes().StakesCheckOnLine());
    return true;
}

void TStakesPage::LogStakesDeleteExecute() {
    m_ws.Stakes().DeleteStakeLogs();
}

// ---- events ---------------------------------------------------------------------------------------------

bool TStakesPage::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_combsList &&
        (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) && IsAltF4(event)) {
        event->accept();
        if (event->type() == QEvent::KeyPress) {
            QAction *selected = m_actions.Find(QStringLiteral("StakeAddSelected"));
            QAction *exit = m_actions.Find(QStringLiteral("ExitProgram"));
            if (selected && selected->isEnabled())
                m_actions.Execute(selected);
            else if (exit)
                m_actions.Execute(exit);
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace lot
