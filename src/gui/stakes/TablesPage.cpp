#include "gui/stakes/TablesPage.h"

#include "archive/ArchiveController.h"
#include "combs/CombsController.h"
#include "core/CoreHelpers.h"
#include "core/Errors.h"
#include "core/WindowSettings.h"
#include "gui/combs/CombsPage.h"
#include "gui/scripts/FormTestCnt.h"
#include "gui/shell/ActionList.h"
#include "gui/shell/GuiHost.h"
#include "gui/stakes/FormStake.h"
#include "gui/stakes/FormTable.h"
#include "shell/Workspace.h"
#include "stakes/StakesController.h"
#include "stakes/TablesController.h"

#include <algorithm>
#include <QAction>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMenu>
#include <QTableView>
#include <QVBoxLayout>

namespace lot {

namespace {

const QString Category = QStringLiteral("Регуляры");
constexpr int RowHeight = 18;

const QStringList &TablesMenu() {
    static const QStringList names = {"TablesAdd", "TablesDel", "", "TablesStakeAdd", "TablesStakeTest"};
    return names;
}

} // namespace

// ---- the model ------------------------------------------------------------------------------------

TTablesModel::TTablesModel(const TTablesController &tables, QObject *parent)
    : QAbstractTableModel(parent), m_tables(tables), m_rows(tables.Count()) {}

void TTablesModel::Reload() {
    beginResetModel();
    m_rows = m_tables.Count();
    endResetModel();
}

int TTablesModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int TTablesModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : TableColumnCount;
}

QVariant TTablesModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= m_tables.Count()) return {};
    if (role == Qt::DisplayRole) return TableCellText(m_tables.At(index.row()), index.column());
    if (role == Qt::TextAlignmentRole && (index.column() == tcStep || index.column() == tcStakes))
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant TTablesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return TableColumnHeader(section);
}

Qt::ItemFlags TTablesModel::flags(const QModelIndex &index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

// ---- the page -------------------------------------------------------------------------------------

TTablesPage::TTablesPage(TWorkspace &workspace, TGuiHost &host, TActionList &actions, QWidget *parent)
    : QWidget(parent), TPage(this, actions), m_ws(workspace), m_host(host), m_actions(actions) {
    setObjectName(QStringLiteral("tsTables"));
    CreateActions();
    CreateList();
    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("pmTables"));
    m_actions.AddByName(m_popup, TablesMenu());
    connect(m_list, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { m_popup->popup(m_list->viewport()->mapToGlobal(pos)); });
    connect(&m_ws.Tables(), &TTablesController::TablesChanged, this, [this] {
        m_model->Reload();
        m_actions.UpdateAll();
    });
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, &m_actions,
            &TActionList::UpdateAll);
    connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, &m_actions,
            &TActionList::UpdateAll);
}

void TTablesPage::CreateList() {
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_model = new TTablesModel(m_ws.Tables(), this);
    m_list = new QTableView(this);
    m_list->setObjectName(QLatin1String(ListName));
    m_list->setModel(m_model);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setWordWrap(false);
    m_list->setShowGrid(false);
    m_list->setCornerButtonEnabled(false);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    m_list->verticalHeader()->hide();
    m_list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_list->verticalHeader()->setDefaultSectionSize(qMax(RowHeight, fontMetrics().height() + 2));
    m_list->horizontalHeader()->setHighlightSections(false);
    const int widths[TableColumnCount] = {300, 160, 60, 160, 80};
    for (int c = 0; c < TableColumnCount; ++c)
        m_list->setColumnWidth(c, widths[c]);
    layout->addWidget(m_list);
}

void TTablesPage::CreateActions() {
    using TSpec = TActionList::TSpec;
    auto add = [this](const TSpec &spec, void (TTablesPage::*execute)(),
                      bool (TTablesPage::*update)() const) {
        return AddPageAction(
            spec, [this, execute] { (this->*execute)(); }, [this, update] { return (this->*update)(); });
    };
    add({QStringLiteral("TablesAdd"), QStringLiteral("Добавить регулярную ставку"), Category},
        &TTablesPage::TablesAddExecute, &TTablesPage::TablesAddUpdate);
    add({QStringLiteral("TablesDel"), QStringLiteral("Удалить регулярную ставку"), Category},
        &TTablesPage::TablesDelExecute, &TTablesPage::TablesDelUpdate);
    add({QStringLiteral("TablesStakeAdd"), QStringLiteral("Сделать ставку по регуляру"), Category},
        &TTablesPage::TablesStakeAddExecute, &TTablesPage::TablesStakeAddUpdate);
    add({QStringLiteral("TablesStakeTest"), QStringLiteral("Тест регуляров"), Category},
        &TTablesPage::TablesStakeTestExecute, &TTablesPage::TablesStakeTestUpdate);
}

QString TTablesPage::Caption() const {
    return QStringLiteral("Регуляры");
}

QList<TMenuEntries> TTablesPage::MenuEntries() const {
    return {{QStringLiteral("mnTables"), TablesMenu()}};
}

void TTablesPage::LoadWindowSettings(const TWindowSettings &settings, const QString &section) {
    LoadColumnWidths(m_list, TableColumnCount, settings, section, QLatin1String(ListName));
}

void TTablesPage::SaveWindowSettings(TWindowSettings &settings, const QString &section) const {
    SaveColumnWidths(m_list, TableColumnCount, settings, section, QLatin1String(ListName));
}

QList<TScreenshotRender> TTablesPage::ScreenshotRenders() const {
    return {{QStringLiteral("TFormTable"), [this](QWidget *parent) -> std::unique_ptr<QWidget> {
                 TTableRec rule = NewTableRule(QStringLiteral("Регулярная ставка"), false, 1,
                                               TComb{{3, 11, 17, 25, 40, 44}});
                 rule.Stakes = 1;
                 return std::make_unique<TFormTable>(m_host, rule, m_ws.Tables().Names(), parent);
             }}};
}

QList<int> TTablesPage::SelectedRows() const {
    QList<int> rows;
    for (const QModelIndex &index : m_list->selectionModel()->selectedRows())
        if (index.row() < m_ws.Tables().Count()) rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

int TTablesPage::FocusedRow() const {
    const QModelIndex current = m_list->currentIndex();
    return current.isValid() && current.row() < m_ws.Tables().Count() ? current.row() : -1;
}

TCombsPage *TTablesPage::CombsPage() const {
    QWidget *top = window();
    return top ? top->findChild<TCombsPage *>() : nullptr;
}

bool TTablesPage::TabShown() const {
    return m_ws.Tables().TabVisible();
}

// ---- actions ----------------------------------------------------------------------------------------

bool TTablesPage::TablesAddUpdate() const {
    return TabShown();
}

void TTablesPage::TablesAddExecute() {
    TTableRec rule = NewTableRule(QStringLiteral("Регулярная ставка"), false, 1, TComb{});
    QList<TComb> selected;
    QList<int> positions;
    if (const TCombsPage *combs = CombsPage())
        for (int row : combs->SelectedRows())
            if (row >= 0 && row < m_ws.Combs().Count()) {
                selected.append(m_ws.Combs().At(row));
                positions.append(row + 1);
            }
    const TCombsPage *combs = CombsPage();
    const bool oneFocused = selected.size() == 1 && combs && combs->FocusedRow() == positions.first() - 1;
    if (oneFocused) {
        TComb start = selected.first();
        SortComb(start);
        SetTableStart(rule, start);
        SetTableCurrent(rule, start);
    }
    // The dialog gets the number of selected combinations in this field.
    rule.Stakes = int(selected.size());
    if (!TFormTable::Execute(m_host, rule, m_ws.Tables().Names(), window())) return;
    rule.Stakes = 0;
    if (rule.UseLastDraw || selected.size() == 1) {
        m_ws.Tables().AddRules(rule, {}, {});
    } else if (!selected.isEmpty()) {
        m_ws.Tables().AddRules(rule, selected, positions);
    }
}

bool TTablesPage::TablesDelUpdate() const {
    return TabShown() && !SelectedRows().isEmpty();
}

void TTablesPage::TablesDelExecute() {
    const QList<int> rows = SelectedRows();
    if (rows.isEmpty()) return;
    if (!m_host.Confirm(TArchiveController::DeleteConfirmText(int(rows.size())),
                        TArchiveController::DeleteConfirmTitle(), true))
        return;
    m_list->clearSelection();
    m_ws.Tables().DeleteRules(rows);
}

bool TTablesPage::TablesStakeAddUpdate() const {
    return TabShown() && FocusedRow() >= 0 && m_ws.Stakes().IsOpen();
}

void TTablesPage::TablesStakeAddExecute() {
    const int row = FocusedRow();
    if (row < 0) return;
    TTableRec advanced;
    TStakeRec stake;
    if (!Guarded(m_host, QString(), [&] { m_ws.Tables().NextStake(row, advanced, stake); })) return;
    int drawsCount = 1;
    if (!TFormStake::Execute(m_host, stake, drawsCount, window())) return;
    stake.Profit = m_ws.Stakes().StakeCost(stake.Numbers.Count);
    m_ws.Tables().CommitStake(row, advanced, stake, drawsCount);
}

bool TTablesPage::TablesStakeTestUpdate() const {
    return TabShown() && !SelectedRows().isEmpty() && m_ws.Stakes().IsOpen();
}

void TTablesPage::TablesStakeTestExecute() {
    const QList<int> rows = SelectedRows();
    if (rows.isEmpty()) return;
    int count = 0;
    if (!TFormTestCnt::Execute(m_ws.Tables().MaxTestCount(), count, window()) || count <= 0) return;
    m_ws.Tables().TestRules(rows, count);
}

} // namespace lot
