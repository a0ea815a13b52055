#include "gui/systems/SystemsPage.h"

#include "combs/CombsController.h"
#include "core/WindowSettings.h"
#include "gui/shell/ActionList.h"
#include "gui/shell/GuiHost.h"
#include "gui/stakes/FormMulti.h"
#include "gui/systems/FormSystem.h"
#include "shell/Workspace.h"
#include "stakes/StakesController.h"
#include "systems/SystemsController.h"

#include <algorithm>
#include <QAction>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QSet>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

namespace lot {

namespace {

const QString Category = QStringLiteral("Системы");
constexpr int RowHeight = 18;

const QStringList &SystemsMenu() {
    static const QStringList names = {"SystemsRefresh",   "SystemsDownload", "", "SystemsAdd",
                                      "SystemsProp",      "SystemsDel",      "", "SystemStakeAll",
                                      "SystemStakeFilter"};
    return names;
}

/// Own systems green, another user's blue, anonymous grey; a loaded one is
/// filled, one not loaded only outlined.
QIcon StateIcon(TSystemState state) {
    static QIcon icons[6];
    const int i = int(state);
    if (icons[i].isNull()) {
        const bool loaded = i % 2 == 0;
        const QColor colour = i < 2   ? QColor(0, 150, 60)
                              : i < 4 ? QColor(30, 90, 200)
                                      : QColor(130, 130, 130);
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(colour, 2));
        p.setBrush(loaded ? QBrush(colour) : QBrush(Qt::NoBrush));
        p.drawEllipse(QRectF(2.5, 2.5, 11, 11));
        p.end();
        icons[i] = QIcon(pixmap);
    }
    return icons[i];
}

} // namespace

// ---- the model ------------------------------------------------------------------------------------

TSystemsModel::TSystemsModel(const TSystemsController &systems, QObject *parent)
    : QAbstractTableModel(parent), m_systems(systems) {
    Reload();
}

void TSystemsModel::Reload() {
    beginResetModel();
    m_rows = m_systems.Count();
    m_ids.clear();
    for (int i = 0; i < m_rows; ++i)
        m_ids.append(m_systems.At(i).Info.Id);
    endResetModel();
}

int TSystemsModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int TSystemsModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : SystemColumnCount;
}

QVariant TSystemsModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= m_systems.Count()) return {};
    const TSystemItem &item = m_systems.At(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return SystemCellText(item, index.column());
    case Qt::DecorationRole:
        return index.column() == 0 ? QVariant(StateIcon(m_systems.State(index.row()))) : QVariant();
    case SortRole:
        switch (index.column()) {
        case scsNums:
            return int(item.Info.Nums);
        case scsBlock:
            return int(item.Info.Block);
        case scsCombs:
            return item.Info.CSize;
        case scsDownloads:
            return item.Info.Downloads;
        case scsCreated:
            return item.Info.Created;
        case scsLast:
            return item.Info.LastDownload;
        default:
            return SystemCellText(item, index.column());
        }
    case Qt::TextAlignmentRole: {
        const int c = index.column();
        if (c == scsNums || c == scsBlock || c == scsCombs || c == scsDownloads)
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    }
    default:
        return {};
    }
}

QVariant TSystemsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return SystemColumnCaption(section);
}

Qt::ItemFlags TSystemsModel::flags(const QModelIndex &index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

// ---- the page -------------------------------------------------------------------------------------

TSystemsPage::TSystemsPage(TWorkspace &workspace, TGuiHost &host, TActionList &actions, QWidget *parent)
    : QWidget(parent), TPage(this, actions), m_ws(workspace), m_host(host), m_actions(actions) {
    setObjectName(QStringLiteral("tsSystems"));
    CreateActions();
    CreateList();
    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("pmSystems"));
    m_actions.AddByName(m_popup, SystemsMenu());
    connect(m_list, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { m_popup->popup(m_list->viewport()->mapToGlobal(pos)); });
    connect(m_list, &QAbstractItemView::doubleClicked, this, [this] {
        if (QAction *a = m_actions.Find(QStringLiteral("SystemsProp")); a && a->isEnabled()) a->trigger();
    });
    connect(&m_ws.Systems(), &TSystemsController::SystemsChanged, this, &TSystemsPage::Reload);
    connect(&m_ws.Combs(), &TCombsController::ListChanged, &m_actions, &TActionList::UpdateAll);
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, &m_actions,
            &TActionList::UpdateAll);
    connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, &m_actions,
            &TActionList::UpdateAll);
}

void TSystemsPage::CreateList() {
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_model = new TSystemsModel(m_ws.Systems(), this);
    m_proxy = new QSortFilterProxyModel(this);
    m_proxy->setSourceModel(m_model);
    m_proxy->setSortRole(TSystemsModel::SortRole);
    m_list = new QTableView(this);
    m_list->setObjectName(QLatin1String(ListName));
    m_list->setModel(m_proxy);
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
    m_list->setSortingEnabled(true);
    m_list->sortByColumn(scsNums, Qt::AscendingOrder);
    const int widths[SystemColumnCount] = {220, 120, 50, 45, 80, 130, 80, 70, 130, 250, 150};
    for (int c = 0; c < SystemColumnCount; ++c)
        m_list->setColumnWidth(c, widths[c]);
    layout->addWidget(m_list);
}

void TSystemsPage::CreateActions() {
    using TSpec = TActionList::TSpec;
    auto add = [this](const TSpec &spec, void (TSystemsPage::*execute)(),
                      bool (TSystemsPage::*update)() const) {
        return AddPageAction(
            spec, [this, execute] { (this->*execute)(); }, [this, update] { return (this->*update)(); });
    };
    add({QStringLiteral("SystemsRefresh"), QStringLiteral("Обновить"), Category},
        &TSystemsPage::SystemsRefreshExecute, &TSystemsPage::SystemsRefreshUpdate);
    add({QStringLiteral("SystemsDownload"), QStringLiteral("Загрузить"), Category},
        &TSystemsPage::SystemsDownloadExecute, &TSystemsPage::SystemsDownloadUpdate);
    add({QStringLiteral("SystemsAdd"), QStringLiteral("Добавить"), Category},
        &TSystemsPage::SystemsAddExecute, &TSystemsPage::SystemsAddUpdate);
    add({QStringLiteral("SystemsProp"), QStringLiteral("Свойства"), Category},
        &TSystemsPage::SystemsPropExecute, &TSystemsPage::SystemsPropUpdate);
    add({QStringLiteral("SystemsDel"), QStringLiteral("Удалить"), Category}, &TSystemsPage::SystemsDelExecute,
        &TSystemsPage::SystemsDelUpdate);
    // The captions begin with a Latin C, as they always have.
    add({QStringLiteral("SystemStakeAll"), QStringLiteral("Cистемная игра по списку системы"), Category,
         QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_J)},
        &TSystemsPage::SystemStakeAllExecute, &TSystemsPage::SystemStakeAllUpdate);
    add({QStringLiteral("SystemStakeFilter"), QStringLiteral("Cистемная игра по списку комбинаций"), Category,
         QKeySequence(Qt::ALT | Qt::Key_J)},
        &TSystemsPage::SystemStakeFilterExecute, &TSystemsPage::SystemStakeFilterUpdate);
}

QString TSystemsPage::Caption() const {
    return QStringLiteral("Системы");
}

QList<TMenuEntries> TSystemsPage::MenuEntries() const {
    return {{QStringLiteral("mnSystems"), SystemsMenu()},
            {QStringLiteral("mnStakes"), {"", "SystemStakeAll", "SystemStakeFilter"}}};
}

void TSystemsPage::LoadWindowSettings(const TWindowSettings &settings, const QString &section) {
    LoadColumnWidths(m_list, SystemColumnCount, settings, section, QLatin1String(ListName));
}

void TSystemsPage::SaveWindowSettings(TWindowSettings &settings, const QString &section) const {
    SaveColumnWidths(m_list, SystemColumnCount, settings, section, QLatin1String(ListName));
}

QList<TScreenshotRender> TSystemsPage::ScreenshotRenders() const {
    return {{QStringLiteral("TFormSystem"), [this](QWidget *parent) -> std::unique_ptr<QWidget> {
                 tSystemData data;
                 data.Info.Id = 12;
                 data.Info.Nums = 7;
                 data.Info.CSize = 7;
                 data.Info.Title = QStringLiteral("Полная система на 7 чисел");
                 data.Info.Author = QStringLiteral("Автор");
                 data.Info.Description = QStringLiteral("Все шестерки из семи чисел");
                 data.Info.Created = QDateTime(QDate(2024, 3, 5), QTime(10, 20, 30));
                 data.Content =
                     QStringLiteral("01 02 03 04 05 06\r\n01 02 03 04 05 07\r\n01 02 03 04 06 07\r\n"
                                    "01 02 03 05 06 07\r\n01 02 04 05 06 07\r\n01 03 04 05 06 07\r\n"
                                    "02 03 04 05 06 07");
                 return std::make_unique<TFormSystem>(m_host, data, true, parent);
             }}};
}

QList<int> TSystemsPage::SelectedRows() const {
    QList<QModelIndex> indexes = m_list->selectionModel()->selectedRows();
    std::sort(indexes.begin(), indexes.end(),
              [](const QModelIndex &a, const QModelIndex &b) { return a.row() < b.row(); });
    QList<int> rows;
    for (const QModelIndex &index : indexes) {
        const int row = m_proxy->mapToSource(index).row();
        if (row >= 0 && row < m_ws.Systems().Count()) rows.append(row);
    }
    return rows;
}

int TSystemsPage::FocusedRow() const {
    const QModelIndex current = m_proxy->mapToSource(m_list->currentIndex());
    return current.isValid() && current.row() < m_ws.Systems().Count() ? current.row() : -1;
}

void TSystemsPage::FocusRow(int row) {
    if (row < 0 || row >= m_ws.Systems().Count()) return;
    const QModelIndex index = m_proxy->mapFromSource(m_model->index(row, 0));
    m_list->setCurrentIndex(index);
    m_list->scrollTo(index);
}

void TSystemsPage::Reload() {
    QSet<int> selected;
    for (const QModelIndex &index : m_list->selectionModel()->selectedRows())
        selected.insert(m_model->IdAt(m_proxy->mapToSource(index).row()));
    const QModelIndex current = m_proxy->mapToSource(m_list->currentIndex());
    const int focusedId = current.isValid() ? m_model->IdAt(current.row()) : 0;
    const bool hadFocus = current.isValid();
    m_model->Reload();
    QItemSelection selection;
    for (int row = 0; row < m_model->rowCount(); ++row)
        if (selected.contains(m_model->IdAt(row)))
            selection.select(m_proxy->mapFromSource(m_model->index(row, 0)),
                             m_proxy->mapFromSource(m_model->index(row, SystemColumnCount - 1)));
    m_list->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    if (hadFocus) {
        const int row = m_ws.Systems().FindId(focusedId);
        if (row >= 0)
            m_list->selectionModel()->setCurrentIndex(m_proxy->mapFromSource(m_model->index(row, 0)),
                                                      QItemSelectionModel::NoUpdate);
    }
    m_actions.UpdateAll();
}

bool TSystemsPage::TabShown() const {
    return m_ws.Systems().Enabled();
}

// ---- actions ----------------------------------------------------------------------------------------

bool TSystemsPage::SystemsRefreshUpdate() const {
    return TabShown();
}

void TSystemsPage::SystemsRefreshExecute() {
    const int row = FocusedRow();
    const int id = row >= 0 ? m_ws.Systems().At(row).Info.Id : 0;
    m_ws.Systems().LoadSystems();
    FocusRow(m_ws.Systems().FindId(id));
}

bool TSystemsPage::SystemsDownloadUpdate() const {
    return TabShown() && !SelectedRows().isEmpty();
}

void TSystemsPage::SystemsDownloadExecute() {
    const QList<int> rows = SelectedRows();
    if (rows.isEmpty()) return;
    const int focused = FocusedRow();
    const int focusedId = focused >= 0 ? m_ws.Systems().At(focused).Info.Id : 0;
    m_ws.Systems().DownloadSystems(rows);
    // The loaded items leave the selection, except the focused one.
    QItemSelectionModel *selection = m_list->selectionModel();
    for (int row : rows) {
        if (row >= m_ws.Systems().Count() || !m_ws.Systems().At(row).Loaded) continue;
        if (m_ws.Systems().At(row).Info.Id == focusedId) continue;
        selection->select(m_proxy->mapFromSource(m_model->index(row, 0)),
                          QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    }
}

bool TSystemsPage::SystemsAddUpdate() const {
    return TabShown();
}

void TSystemsPage::SystemsAddExecute() {
    tSystemData data = m_ws.Systems().NewSystem();
    if (!TFormSystem::Execute(m_host, data, true, window())) return;
    int row = -1;
    if (m_ws.Systems().AddSystem(data, &row)) FocusRow(row);
}

bool TSystemsPage::SystemsPropUpdate() const {
    return TabShown() && FocusedRow() >= 0;
}

void TSystemsPage::SystemsPropExecute() {
    const int row = FocusedRow();
    if (row < 0) return;
    tSystemData data;
    if (!m_ws.Systems().FetchSystem(row, data)) return;
    const int id = data.Info.Id;
    const bool editable = m_ws.Systems().IsOwn(row);
    if (!TFormSystem::Execute(m_host, data, editable, window())) return;
    const int now = m_ws.Systems().FindId(id);
    if (now >= 0 && m_ws.Systems().UpdateSystem(now, data)) FocusRow(now);
}

bool TSystemsPage::SystemsDelUpdate() const {
    return TabShown() && m_ws.Systems().IsOwn(FocusedRow());
}

void TSystemsPage::SystemsDelExecute() {
    const int row = FocusedRow();
    if (row >= 0) m_ws.Systems().DeleteSystem(row);
}

bool TSystemsPage::PlayUpdate(const char *action) const {
    const bool shown = TabShown();
    // The play actions show with the tab.
    if (QAction *a = m_actions.Find(QLatin1String(action))) a->setVisible(shown);
    return shown && m_ws.Systems().CanPlay();
}

void TSystemsPage::Play(bool whole) {
    TSystemPlay play;
    if (!m_ws.Systems().PrepareSystemPlay(whole, play)) return;
    int drawNumber = m_ws.Stakes().NextDrawNumber();
    int drawsCount = 1;
    QString comment = play.Comment;
    if (!TFormMulti::Execute(m_host, drawNumber, drawsCount, comment, window())) return;
    m_ws.Systems().StakeSystem(play, drawNumber, drawsCount, comment);
}

bool TSystemsPage::SystemStakeAllUpdate() const {
    return PlayUpdate("SystemStakeAll");
}

void TSystemsPage::SystemStakeAllExecute() {
    Play(true);
}

bool TSystemsPage::SystemStakeFilterUpdate() const {
    return PlayUpdate("SystemStakeFilter");
}

void TSystemsPage::SystemStakeFilterExecute() {
    Play(false);
}

} // namespace lot
