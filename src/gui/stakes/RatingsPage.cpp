#include "gui/stakes/RatingsPage.h"

#include "core/WindowSettings.h"
#include "gui/scripts/ScriptPage.h"
#include "gui/shell/ActionList.h"
#include "gui/shell/GuiHost.h"
#include "gui/shell/SheetExport.h"
#include "gui/stakes/RatingsModel.h"
#include "gui/stats/FormGraph.h"
#include "shell/Workspace.h"
#include "stakes/StakeGraphs.h"
#include "stakes/StakesController.h"

#include <algorithm>
#include <QAction>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMenu>
#include <QTableView>
#include <QVBoxLayout>

namespace lot {

namespace {

const QString Category = QStringLiteral("Рейтинг");
constexpr int RowHeight = 18;

const QStringList &RatingMenu() {
    static const QStringList names = {"RatingsRefresh",
                                      "",
                                      "RatingsToScript",
                                      "",
                                      "RatingsGraphOverlap",
                                      "StakesGraphDraws",
                                      "StakesGraphOverlap",
                                      "StakesGraphProfits",
                                      "",
                                      "RatingsEffMode0",
                                      "RatingsEffMode1",
                                      "RatingsEffMode2",
                                      "",
                                      "RatingsExport",
                                      "RatingsXlsExport"};
    return names;
}

QList<int> DefaultWidths() {
    QList<int> widths{300, 60, 64, 70, 80, 80};
    for (int c = rcHistogram0; c < RatingColumnCount; ++c)
        widths.append(c < rcEfficiency0 ? 50 : 70);
    return widths;
}

} // namespace

TRatingsPage::TRatingsPage(TWorkspace &workspace, TGuiHost &host, TActionList &actions, QWidget *parent)
    : QWidget(parent), TPage(this, actions), m_ws(workspace), m_host(host), m_actions(actions) {
    setObjectName(QStringLiteral("tsRating"));
    CreateActions();
    CreateList();

    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("pmRatings"));
    m_actions.AddByName(m_popup, RatingMenu());
    connect(m_list, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { m_popup->popup(m_list->viewport()->mapToGlobal(pos)); });

    TStakesController &stakes = m_ws.Stakes();
    connect(&stakes, &TStakesController::RatingsChanged, this, &TRatingsPage::Reload);
    connect(&stakes, &TStakesController::StakesChanged, &m_actions, &TActionList::UpdateAll);
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, &m_actions,
            &TActionList::UpdateAll);
    connect(m_list, &QAbstractItemView::doubleClicked, this, [this] {
        if (QAction *a = m_actions.Find(QStringLiteral("RatingsGraphOverlap"))) m_actions.Execute(a);
    });
}

void TRatingsPage::CreateList() {
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_model = new TRatingsModel(m_ws.Stakes(), this);
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
    QHeaderView *header = m_list->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setHighlightSections(false);
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    header->setSortIndicator(m_ws.Stakes().RatingsSortColumn(), m_ws.Stakes().RatingsSortDescending()
                                                                    ? Qt::DescendingOrder
                                                                    : Qt::AscendingOrder);
    connect(header, &QHeaderView::sectionClicked, this, &TRatingsPage::OnHeaderClicked);
    const QList<int> widths = DefaultWidths();
    for (int c = 0; c < RatingColumnCount; ++c)
        m_list->setColumnWidth(c, widths.value(c, 60));
    layout->addWidget(m_list);
}

void TRatingsPage::CreateActions() {
    using TSpec = TActionList::TSpec;
    auto add = [this](const TSpec &spec, void (TRatingsPage::*execute)(),
                      bool (TRatingsPage::*update)() const) {
        return AddPageAction(
            spec, [this, execute] { (this->*execute)(); }, [this, update] { return (this->*update)(); });
    };
    add({QStringLiteral("RatingsRefresh"), QStringLiteral("Обновить рейтинг"), Category,
         QKeySequence(Qt::Key_F5)},
        &TRatingsPage::RatingsRefreshExecute, &TRatingsPage::RatingsRefreshUpdate);
    add({QStringLiteral("RatingsExport"), QStringLiteral("Экспорт рейтинга в CSV-файл"), Category},
        &TRatingsPage::RatingsExportExecute, &TRatingsPage::RatingsExportUpdate);
    add({QStringLiteral("RatingsXlsExport"), QStringLiteral("Экспорт рейтинга в Microsoft Excel"), Category},
        &TRatingsPage::RatingsXlsExportExecute, &TRatingsPage::RatingsXlsExportUpdate);
    add({QStringLiteral("RatingsToScript"), QStringLiteral("Добавить в сценарий"), Category},
        &TRatingsPage::RatingsToScriptExecute, &TRatingsPage::RatingsToScriptUpdate);
    add({QStringLiteral("RatingsGraphOverlap"),
         QStringLiteral("Количество совпадений"),
         Category,
         {},
         QStringLiteral("График количества совпадений для выделенных строк рейтинга")},
        &TRatingsPage::RatingsGraphOverlapExecute, &TRatingsPage::RatingsGraphOverlapUpdate);
    const char *modes[RatingEffModeCount] = {"Ожидаемые значения совпадений",
                                             "Абсолютные значения эффективности",
                                             "Относительные значения эффективности"};
    for (int mode = 0; mode < RatingEffModeCount; ++mode) {
        const QString name = QStringLiteral("RatingsEffMode%1").arg(mode);
        AddPageAction(
            {name, QString::fromUtf8(modes[mode]), Category, {}, {}, true},
            [this, mode] { m_ws.Stakes().SetRatingsEffMode(mode); },
            [this, mode, name] {
                if (QAction *a = m_actions.Find(name)) a->setChecked(m_ws.Stakes().RatingsEffMode() == mode);
                return true;
            });
    }
    add({QStringLiteral("StakesGraphDraws"), QStringLiteral("Суммарный профит по тиражам"), Category,
         QKeySequence(Qt::Key_F6), QStringLiteral("График суммарного профита ставок по тиражам")},
        &TRatingsPage::StakesGraphDrawsExecute, &TRatingsPage::StakesGraphDrawsUpdate);
    add({QStringLiteral("StakesGraphOverlap"), QStringLiteral("График совпадений ставок"), Category,
         QKeySequence(Qt::CTRL | Qt::Key_F6),
         QStringLiteral("График количества совпадений для всех ставок по тиражам")},
        &TRatingsPage::StakesGraphOverlapExecute, &TRatingsPage::StakesGraphOverlapUpdate);
    add({QStringLiteral("StakesGraphProfits"), QStringLiteral("График профита ставок"), Category,
         QKeySequence(Qt::ALT | Qt::Key_F6), QStringLiteral("График профита для всех ставок по тиражам")},
        &TRatingsPage::StakesGraphProfitsExecute, &TRatingsPage::StakesGraphProfitsUpdate);
}

QString TRatingsPage::Caption() const {
    return QStringLiteral("Рейтинг");
}

QList<TMenuEntries> TRatingsPage::MenuEntries() const {
    // The stake graphs read the stakes file; the rest belong to the ratings.
    QStringList rating;
    for (const QString &name : RatingMenu())
        if (!name.startsWith(QLatin1String("StakesGraph"))) rating << name;
    return {{QStringLiteral("mnRating"), rating},
            {QStringLiteral("mnStakes"),
             {QString(), QStringLiteral("StakesGraphDraws"), QStringLiteral("StakesGraphOverlap"),
              QStringLiteral("StakesGraphProfits")}}};
}

void TRatingsPage::LoadWindowSettings(const TWindowSettings &settings, const QString &section) {
    LoadColumnWidths(m_list, RatingColumnCount, settings, section, QLatin1String(ListName));
}

void TRatingsPage::SaveWindowSettings(TWindowSettings &settings, const QString &section) const {
    SaveColumnWidths(m_list, RatingColumnCount, settings, section, QLatin1String(ListName));
}

QList<TScreenshotRender> TRatingsPage::ScreenshotRenders() const {
    return {
        {QStringLiteral("TFormGraph_RatingsOverlap"), [this](QWidget *parent) -> std::unique_ptr<QWidget> {
             TRatingsArray rows;
             const TRatingsArray &all = m_ws.Stakes().Ratings().Rows();
             for (size_t i = 0; i < all.size() && i < 3; ++i)
                 rows.push_back(all[i]);
             auto form = std::make_unique<TFormGraph>(parent);
             form->ShowStakeGraph(RatingsOverlapGraph(rows));
             return form;
         }}};
}

// ---- the list --------------------------------------------------------------------------------------

QList<int> TRatingsPage::SelectedRows() const {
    QList<int> rows;
    for (const QModelIndex &index : m_list->selectionModel()->selectedRows())
        if (index.row() >= 0 && index.row() < m_ws.Stakes().Ratings().Count()) rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

QStringList TRatingsPage::SelectedComments() const {
    QStringList comments;
    for (int row : SelectedRows())
        comments.append(RatingComment(m_ws.Stakes().Ratings().At(row)));
    return comments;
}

bool TRatingsPage::HasRowSelected() const {
    return !SelectedRows().isEmpty();
}

void TRatingsPage::Reload() {
    const QStringList selected = SelectedComments();
    const QModelIndex current = m_list->currentIndex();
    const QString currentComment = current.isValid() && current.row() < m_ws.Stakes().Ratings().Count()
                                       ? RatingComment(m_ws.Stakes().Ratings().At(current.row()))
                                       : QString();
    m_model->Reload();
    const TStakesController &stakes = m_ws.Stakes();
    {
        const QSignalBlocker block(m_list->horizontalHeader());
        m_list->horizontalHeader()->setSortIndicator(stakes.RatingsSortColumn(),
                                                     stakes.RatingsSortDescending() ? Qt::DescendingOrder
                                                                                    : Qt::AscendingOrder);
    }
    // The rows moved: the selection follows their comments.
    QItemSelection selection;
    for (const QString &comment : selected) {
        const int row = stakes.Ratings().Find(comment);
        if (row >= 0) selection.select(m_model->index(row, 0), m_model->index(row, RatingColumnCount - 1));
    }
    m_list->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    if (!currentComment.isEmpty()) {
        const int row = stakes.Ratings().Find(currentComment);
        if (row >= 0)
            m_list->selectionModel()->setCurrentIndex(m_model->index(row, current.column()),
                                                      QItemSelectionModel::NoUpdate);
    }
    m_actions.UpdateAll();
}

void TRatingsPage::OnHeaderClicked(int column) {
    const TStakesController &stakes = m_ws.Stakes();
    // The same column again turns the order round; another starts with the largest first.
    const bool descending = column == stakes.RatingsSortColumn() ? !stakes.RatingsSortDescending() : true;
    m_ws.Stakes().SortRatings(column, descending);
}

// ---- actions ----------------------------------------------------------------------------------------

bool TRatingsPage::RatingsRefreshUpdate() const {
    return m_ws.Stakes().IsOpen();
}

void TRatingsPage::RatingsRefreshExecute() {
    m_ws.Stakes().RatingsRefresh();
}

bool TRatingsPage::RatingsExportUpdate() const {
    return !m_ws.Stakes().Ratings().IsEmpty();
}

void TRatingsPage::RatingsExportExecute() {
    const QString file = m_host.ChooseFile(true, QStringLiteral("CSV-файлы (*.csv)"), QStringLiteral("csv"));
    if (file.isEmpty()) return;
    m_ws.Stakes().ExportRatingsCsv(file);
}

bool TRatingsPage::RatingsXlsExportUpdate() const {
    return !m_ws.Stakes().Ratings().IsEmpty();
}

void TRatingsPage::RatingsXlsExportExecute() {
    ExportSheetToFile(m_host, TModelSheet(*m_model, Caption(), m_list->horizontalHeader()));
}

bool TRatingsPage::RatingsToScriptUpdate() const {
    return HasRowSelected();
}

void TRatingsPage::RatingsToScriptExecute() {
    int added = 0;
    if (!m_ws.Scripts().AddRatingLines(SelectedComments(), &added) || added == 0) return;
    if (QWidget *top = window())
        if (auto *script = top->findChild<TScriptPage *>()) ActivatePage(script);
}

bool TRatingsPage::RatingsGraphOverlapUpdate() const {
    return HasRowSelected();
}

void TRatingsPage::RatingsGraphOverlapExecute() {
    TRatingsArray rows;
    for (int row : SelectedRows())
        rows.push_back(m_ws.Stakes().Ratings().At(row));
    if (rows.empty()) return;
    m_host.ShowStatus(QStringLiteral("Создание графиков..."));
    const TStakeGraph graph = RatingsOverlapGraph(rows);
    m_host.ShowStatus(QString());
    ShowGraph(graph);
}

bool TRatingsPage::StakesGraphDrawsUpdate() const {
    return !m_ws.Stakes().IsEmpty();
}

void TRatingsPage::StakesGraphDrawsExecute() {
    TStakeGraph graph;
    if (m_ws.Stakes().StakesGraphDraws(graph)) ShowGraph(graph);
}

bool TRatingsPage::StakesGraphOverlapUpdate() const {
    return !m_ws.Stakes().IsEmpty() && HasRowSelected();
}

void TRatingsPage::StakesGraphOverlapExecute() {
    TStakeGraph graph;
    if (m_ws.Stakes().StakesGraphComments(SelectedComments(), false, graph)) ShowGraph(graph);
}

bool TRatingsPage::StakesGraphProfitsUpdate() const {
    return !m_ws.Stakes().IsEmpty() && HasRowSelected();
}

void TRatingsPage::StakesGraphProfitsExecute() {
    TStakeGraph graph;
    if (m_ws.Stakes().StakesGraphComments(SelectedComments(), true, graph)) ShowGraph(graph);
}

void TRatingsPage::ShowGraph(const TStakeGraph &graph) {
    auto *form = new TFormGraph(window());
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->setWindowModality(Qt::ApplicationModal);
    form->ShowStakeGraph(graph);
    m_lastGraph = form;
    connect(form, &QObject::destroyed, this, [this, form] {
        if (m_lastGraph == form) m_lastGraph = nullptr;
    });
    form->show();
}

} // namespace lot
