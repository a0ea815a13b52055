#include "gui/combs/CombsPage.h"
#include "core/Messages.h"

#include "combs/CombFile.h"
#include "combs/CombsController.h"
#include "core/CoreHelpers.h"
#include "core/Errors.h"
#include "core/Format.h"
#include "core/Host.h"
#include "gui/archive/FormDrawInfo.h"
#include "gui/combs/CombsModel.h"
#include "gui/combs/FormGenCombs.h"
#include "gui/combs/HistoryModel.h"
#include "gui/shell/ActionList.h"
#include "gui/shell/GuiHost.h"
#include "gui/shell/SheetExport.h"
#include "shell/Workspace.h"
#include "stats/ConfigData.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QSpinBox>
#include <QSplitter>
#include <QStyle>
#include <QTableView>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

namespace lot {

namespace {
const QString Category = QStringLiteral("Комбинации");
const QList<int> DefaultColumnWidths = {72, 34, 34, 34, 34, 34, 34, 44};
const QList<int> DefaultHistoryWidths = {205, 72, 80};
constexpr int MaxDrawsExclude = 99999;

QString PleaseWait() {
    return QString::fromUtf8(msg::PleaseWait);
}
} // namespace

QString TCombsPage::CombsFileDialogFilter() {
    // The stored filter has the "text|pattern" form; Qt wants only the text.
    return QString::fromUtf8(CombsFileFilter).section(QLatin1Char('|'), 0, 0);
}

TCombsPage::TCombsPage(TWorkspace &workspace, TGuiHost &host, TActionList &actions, QWidget *parent)
    : QWidget(parent), TPage(this, actions), m_ws(workspace), m_host(host), m_actions(actions) {
    setObjectName(QStringLiteral("tsCombs"));
    CreateActions();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(CreateToolBar());

    m_splitter = new QSplitter(Qt::Vertical, this);
    m_splitter->setObjectName(QStringLiteral("CombsSplitter"));
    m_splitter->setChildrenCollapsible(false);

    m_model = new TCombsModel(m_ws.Combs(), this);
    m_list = new QTableView(m_splitter);
    m_list->setObjectName(QLatin1String(ListName));
    m_list->setModel(m_model);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setWordWrap(false);
    m_list->setCornerButtonEnabled(false);
    m_list->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_list->verticalHeader()->hide();
    // Millions of rows: a fixed row height keeps the view from measuring them.
    m_list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_list->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    m_list->horizontalHeader()->setHighlightSections(false);
    m_list->horizontalHeader()->setMinimumSectionSize(18);
    m_list->horizontalHeader()->setStretchLastSection(false);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    m_list->setStyleSheet(QStringLiteral("QTableView { gridline-color: #d8d8d8; }"));
    for (int c = 0; c < TCombsModel::ColumnCount; ++c)
        m_list->setColumnWidth(c, DefaultColumnWidths.value(c, 30));

    m_historyModel = new THistoryModel(m_ws.Combs(), this);
    m_history = new QTreeView(m_splitter);
    m_history->setObjectName(QLatin1String(HistoryName));
    m_history->setModel(m_historyModel);
    m_history->setRootIsDecorated(false);
    m_history->setUniformRowHeights(true);
    m_history->setAllColumnsShowFocus(true);
    m_history->setSelectionMode(QAbstractItemView::SingleSelection);
    m_history->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_history->setAlternatingRowColors(true);
    m_history->setTextElideMode(Qt::ElideRight);
    m_history->header()->setStretchLastSection(true);
    m_history->header()->setSectionsMovable(false);
    for (int c = 0; c < THistoryModel::ColumnCount; ++c)
        m_history->setColumnWidth(c, DefaultHistoryWidths.value(c, 80));

    m_splitter->addWidget(m_list);
    m_splitter->addWidget(m_history);
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setStretchFactor(1, 0);
    layout->addWidget(m_splitter, 1);

    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("pmCombs"));
    m_actions.AddByName(m_popup,
                        {"CombsGen", "CombsOpen", "CombsSave", "", "CombsUndo", "", "CombsDelExists",
                         "CombsDelSelected", "", "CombsCopy", "CombsPaste", "CombsSelectAll", "", "CombsInfo",
                         "CombsFindInDraws", "CombsCheckNums", "", "CombsXlsExport", "ViewColorCombs"});
    connect(m_list, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { m_popup->popup(m_list->viewport()->mapToGlobal(pos)); });

    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { emit SelectionChanged(); });
    connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { emit SelectionChanged(); });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] { emit SelectionChanged(); });
    connect(this, &TCombsPage::SelectionChanged, &m_actions, &TActionList::UpdateAll);
    connect(m_list, &QAbstractItemView::doubleClicked, this, [this] {
        // A double click makes a stake of the combination, once stakes exist.
        QAction *stake = m_actions.Find(QStringLiteral("StakeAdd"));
        if (stake && m_host.IsIdle() && m_ws.Stakes().IsOpen() && FocusedRow() >= 0) m_actions.Execute(stake);
    });
    if (QClipboard *clipboard = QGuiApplication::clipboard())
        connect(clipboard, &QClipboard::dataChanged, &m_actions, &TActionList::UpdateAll);

    connect(&m_ws.Combs(), &TCombsController::ListChanged, this, &TCombsPage::OnListChanged);
    connect(&m_ws.Combs(), &TCombsController::HistoryChanged, this, &TCombsPage::OnHistoryChanged);
    connect(&m_host, &TGuiHost::BusyChanged, this, &TCombsPage::OnBusyChanged);
    connect(&m_ws.Archive(), &TArchiveController::DrawsChanged, &m_actions, &TActionList::UpdateAll);
}

QWidget *TCombsPage::CreateToolBar() {
    auto *bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("pnCombsTools"));
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    auto button = [&](const char *name, bool withText) {
        auto *b = new QToolButton(bar);
        b->setDefaultAction(m_actions.Require(QLatin1String(name), bar->objectName()));
        b->setObjectName(QStringLiteral("btn") + QLatin1String(name));
        b->setToolButtonStyle(withText ? Qt::ToolButtonTextBesideIcon : Qt::ToolButtonIconOnly);
        b->setAutoRaise(true);
        row->addWidget(b);
        return b;
    };
    button("CombsGen", true);
    button("CombsOpen", false);
    button("CombsSave", false);
    button("CombsUndo", false);
    row->addStretch(1);
    button("CombsDelExists", true)->setToolButtonStyle(Qt::ToolButtonTextOnly);

    m_edExclude = new QSpinBox(bar);
    m_edExclude->setObjectName(QStringLiteral("edCombsExclude"));
    const QString hint =
        QStringLiteral("Исключить указанное количество последних тиражей из списка комбинаций");
    m_edExclude->setToolTip(hint);
    m_edExclude->setStatusTip(hint);
    m_edExclude->setRange(0, MaxDrawsExclude);
    m_edExclude->setMinimumWidth(64);
    m_edExclude->setKeyboardTracking(true);
    m_edExclude->installEventFilter(this);
    connect(m_edExclude, &QSpinBox::valueChanged, &m_actions, &TActionList::UpdateAll);
    row->addWidget(m_edExclude);
    return bar;
}

void TCombsPage::CreateActions() {
    using TSpec = TActionList::TSpec;
    QStyle *style = QApplication::style();
    // Clipboard and selection keys act on this list only while the user works
    // in it, so the same keys stay free for the other tabs' lists.
    auto pageScoped = [this](QAction *action) {
        if (auto *owner = qobject_cast<QWidget *>(action->parent())) owner->removeAction(action);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(action);
    };

    QAction *gen = AddPageAction(
        TSpec{QStringLiteral("CombsGen"), QStringLiteral("Генерировать"), Category, QKeySequence(Qt::Key_F2)},
        [this] { CombsGenExecute(); }, [this] { return CombsGenUpdate(); });
    gen->setIconText(QStringLiteral("Новый"));
    gen->setIcon(style->standardIcon(QStyle::SP_FileIcon));
    QAction *open = AddPageAction(
        TSpec{QStringLiteral("CombsOpen"), QStringLiteral("Открыть"), Category,
              QKeySequence(Qt::CTRL | Qt::Key_O)},
        [this] { CombsOpenExecute(); }, [this] { return CombsOpenUpdate(); });
    open->setIcon(style->standardIcon(QStyle::SP_DialogOpenButton));
    QAction *save = AddPageAction(
        TSpec{QStringLiteral("CombsSave"), QStringLiteral("Сохранить"), Category,
              QKeySequence(Qt::CTRL | Qt::Key_S)},
        [this] { CombsSaveExecute(); }, [this] { return CombsSaveUpdate(); });
    save->setIcon(style->standardIcon(QStyle::SP_DialogSaveButton));
    QAction *undo = AddPageAction(
        TSpec{QStringLiteral("CombsUndo"), QStringLiteral("Отменить"), Category,
              QKeySequence(Qt::CTRL | Qt::Key_Z)},
        [this] { CombsUndoExecute(); }, [this] { return CombsUndoUpdate(); });
    undo->setIcon(style->standardIcon(QStyle::SP_ArrowBack));
    QAction *delExists = AddPageAction(
        TSpec{QStringLiteral("CombsDelExists"), QStringLiteral("Исключить тиражи"), Category,
              QKeySequence(Qt::CTRL | Qt::Key_E)},
        [this] { CombsDelExistsExecute(); }, [this] { return CombsDelExistsUpdate(); });
    delExists->setIconText(QStringLiteral("[-] Тиражи"));
    pageScoped(AddPageAction(
        TSpec{QStringLiteral("CombsDelSelected"), QStringLiteral("Удалить выделенные"), Category,
              QKeySequence(Qt::CTRL | Qt::Key_Delete)},
        [this] { CombsDelSelectedExecute(); }, [this] { return CombsDelSelectedUpdate(); }));
    pageScoped(AddPageAction(
        TSpec{QStringLiteral("CombsCopy"), QStringLiteral("Копировать в буфер"), Category,
              QKeySequence(Qt::CTRL | Qt::Key_C)},
        [this] { CombsCopyExecute(); }, [this] { return CombsCopyUpdate(); }));
    pageScoped(AddPageAction(
        TSpec{QStringLiteral("CombsPaste"), QStringLiteral("Вставить из буфера"), Category,
              QKeySequence(Qt::CTRL | Qt::Key_V)},
        [this] { CombsPasteExecute(); }, [this] { return CombsPasteUpdate(); }));
    pageScoped(AddPageAction(
        TSpec{QStringLiteral("CombsSelectAll"), QStringLiteral("Выделить все"), Category,
              QKeySequence(Qt::CTRL | Qt::Key_A)},
        [this] { CombsSelectAllExecute(); }, [this] { return CombsSelectAllUpdate(); }));
    AddPageAction(
        TSpec{QStringLiteral("CombsInfo"), QStringLiteral("Сведения о комбинации"), Category},
        [this] { CombsInfoExecute(); }, [this] { return CombsInfoUpdate(); });
    AddPageAction(
        TSpec{QStringLiteral("CombsCheckNums"), QStringLiteral("Количество уникальных номеров"), Category},
        [this] { CombsCheckNumsExecute(); }, [this] { return CombsCheckNumsUpdate(); });
    pageScoped(AddPageAction(
        TSpec{QStringLiteral("CombsFindInDraws"), QStringLiteral("Проверить по архиву тиражей"), Category,
              QKeySequence(Qt::CTRL | Qt::Key_F)},
        [this] { CombsFindInDrawsExecute(); }, [this] { return CombsFindInDrawsUpdate(); }));
    AddPageAction(
        TSpec{QStringLiteral("CombsXlsExport"), QStringLiteral("Экспорт в Microsoft Excel"), Category},
        [this] { CombsXlsExportExecute(); }, [this] { return CombsXlsExportUpdate(); });
    AddPageAction(
        TSpec{QStringLiteral("ViewColorCombs"),
              QStringLiteral("Выделять каналы в списке комбинаций"),
              QStringLiteral("Вид"),
              {},
              {},
              true},
        [this] { ViewColorCombsExecute(); }, [this] { return ViewColorCombsUpdate(); });
}

// ---- settings ----------------------------------------------------------------------------------

QString TCombsPage::Caption() const {
    return QStringLiteral("Комбинации");
}

QList<TMenuEntries> TCombsPage::MenuEntries() const {
    return {{QStringLiteral("mnCombs"),
             {"CombsGen", "CombsOpen", "CombsSave", "", "CombsUndo", "", "CombsDelExists", "CombsDelSelected",
              "", "CombsCopy", "CombsPaste", "CombsSelectAll", "", "CombsInfo", "CombsFindInDraws",
              "CombsCheckNums", "", "CombsXlsExport"}},
            {QStringLiteral("mnView"), {"ViewColorCombs"}}};
}

void TCombsPage::ApplyGameSettings(const TConfigData &config) {
    m_model->SetChannelSize(config.ChannelSize);
    m_matrixCols = config.MatrixCols;
    m_infoWindows.SetChannelSize(config.ChannelSize);
}

QList<TScreenshotRender> TCombsPage::ScreenshotRenders() const {
    return {{QStringLiteral("TFormGenCombs"), [this](QWidget *parent) -> std::unique_ptr<QWidget> {
                 const TStatList &stats = m_ws.Stats().Registry();
                 return std::make_unique<TFormGenCombs>(m_host, stats.CombsGenerateMode(),
                                                        stats.CombsGenerateParameters(), parent);
             }}};
}

void TCombsPage::LoadWindowSettings(const TWindowSettings &settings, const QString &section) {
    const QList<int> widths = settings.ColumnWidths(section, QLatin1String(ListName), DefaultColumnWidths);
    for (int c = 0; c < TCombsModel::ColumnCount && c < widths.size(); ++c)
        if (widths[c] > 0 && widths[c] < 2000) m_list->setColumnWidth(c, widths[c]);
    const QList<int> history =
        settings.ColumnWidths(section, QLatin1String(HistoryName), DefaultHistoryWidths);
    for (int c = 0; c < THistoryModel::ColumnCount && c < history.size(); ++c)
        if (history[c] > 0 && history[c] < 2000) m_history->setColumnWidth(c, history[c]);
    const QSignalBlocker block(m_edExclude);
    m_edExclude->setValue(qBound(0, settings.DrawsExclude(), MaxDrawsExclude));
    m_model->SetColored(settings.ColorCombs());
    m_filtersHeight = qBound(40, settings.FiltersHeight(), 2000);
    m_actions.UpdateAll();
}

void TCombsPage::SaveWindowSettings(TWindowSettings &settings, const QString &section) const {
    QList<int> widths;
    for (int c = 0; c < TCombsModel::ColumnCount; ++c)
        widths.append(m_list->columnWidth(c));
    settings.SetColumnWidths(section, QLatin1String(ListName), widths);
    QList<int> history;
    for (int c = 0; c < THistoryModel::ColumnCount; ++c)
        history.append(m_history->columnWidth(c));
    settings.SetColumnWidths(section, QLatin1String(HistoryName), history);
    settings.SetDrawsExclude(m_edExclude->value());
}

void TCombsPage::ApplyLayout(const QSize &windowSize) {
    const int height = qMax(m_splitter->height(), windowSize.height());
    m_splitter->setSizes({qMax(100, height - m_filtersHeight), m_filtersHeight});
}

void TCombsPage::SaveLayout(TWindowSettings &settings) const {
    const QList<int> sizes = m_splitter->sizes();
    if (sizes.size() == 2 && sizes[1] > 0) settings.SetFiltersHeight(sizes[1]);
}

// ---- selection ----------------------------------------------------------------------------------

QList<int> TCombsPage::SelectedRows() const {
    // Walk the ranges: asking the selection model for selectedRows() would
    // build an index object per row, far too many for a selected full set.
    QList<int> rows;
    if (!m_list) return rows;
    const QItemSelection selection = m_list->selectionModel()->selection();
    for (const QItemSelectionRange &range : selection)
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.append(row);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

bool TCombsPage::HasSelection() const {
    // The actions are created (and tested) before the list exists.
    return m_list && m_list->selectionModel()->hasSelection();
}

int TCombsPage::FocusedRow() const {
    if (!m_list) return -1;
    const QItemSelectionModel *selection = m_list->selectionModel();
    const QModelIndex current = selection->currentIndex();
    if (current.isValid() && selection->isSelected(current)) return current.row();
    int first = -1;
    for (const QItemSelectionRange &range : selection->selection())
        if (first < 0 || range.top() < first) first = range.top();
    return first;
}

bool TCombsPage::ListEmpty() const {
    return m_ws.Combs().IsEmpty();
}

// ---- handlers and enabled tests ----------------------------------------------------------------

void TCombsPage::CombsGenExecute() {
    const TStatList &stats = m_ws.Stats().Registry();
    int mode = stats.CombsGenerateMode();
    QString parameters = stats.CombsGenerateParameters();
    bool save = false;
    if (!TFormGenCombs::Execute(m_host, mode, parameters, save, window())) return;
    m_ws.Combs().NewCombsList(m_ws.Stats(), mode, parameters, save);
}

void TCombsPage::CombsOpenExecute() {
    const QString file =
        m_host.ChooseFile(false, CombsFileDialogFilter(), QString::fromLatin1(CombsFileExtension));
    if (file.isEmpty()) return;
    m_ws.Combs().OpenCombsFile(file);
}

bool TCombsPage::CombsSaveUpdate() const {
    return !ListEmpty();
}

void TCombsPage::CombsSaveExecute() {
    const QString file =
        m_host.ChooseFile(true, CombsFileDialogFilter(), QString::fromLatin1(CombsFileExtension));
    if (file.isEmpty()) return;
    m_ws.Combs().SaveCombsFile(file);
}

bool TCombsPage::CombsUndoUpdate() const {
    return m_ws.Combs().CanUndo();
}

void TCombsPage::CombsUndoExecute() {
    m_ws.Combs().Undo();
}

bool TCombsPage::CombsDelExistsUpdate() const {
    return m_edExclude && !ListEmpty() && !m_ws.Archive().IsEmpty() && m_edExclude->value() > 0;
}

void TCombsPage::CombsDelExistsExecute() {
    m_ws.Combs().DeleteLastDraws(m_ws.Archive().Draws(), m_edExclude->value());
}

bool TCombsPage::CombsDelSelectedUpdate() const {
    return !ListEmpty() && HasSelection();
}

void TCombsPage::CombsDelSelectedExecute() {
    const QList<int> rows = SelectedRows();
    if (rows.isEmpty()) return;
    m_ws.Combs().DeleteSelected(rows);
    m_list->clearSelection();
}

bool TCombsPage::CombsCopyUpdate() const {
    return !ListEmpty();
}

void TCombsPage::CombsCopyExecute() {
    TBusyGuard busy(m_host);
    m_host.ShowStatus(PleaseWait());
    const QString text = m_ws.Combs().CopyText(SelectedRows());
    if (QClipboard *clipboard = QGuiApplication::clipboard()) clipboard->setText(text);
}

bool TCombsPage::CombsPasteUpdate() const {
    const QClipboard *clipboard = QGuiApplication::clipboard();
    const QMimeData *data = clipboard ? clipboard->mimeData() : nullptr;
    return data && data->hasText();
}

void TCombsPage::CombsPasteExecute() {
    const QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard) return;
    m_ws.Combs().PasteText(clipboard->text());
}

bool TCombsPage::CombsSelectAllUpdate() const {
    return !ListEmpty();
}

void TCombsPage::CombsSelectAllExecute() {
    TBusyGuard busy(m_host);
    m_host.ShowStatus(PleaseWait());
    m_list->selectAll();
}

void TCombsPage::CombsXlsExportExecute() {
    TCombsSheet sheet(m_model->Sheet());
    ExportSheetToFile(m_host, sheet);
}

bool TCombsPage::CombsXlsExportUpdate() const {
    return !m_ws.Combs().IsEmpty();
}

bool TCombsPage::CombsInfoUpdate() const {
    return FocusedRow() >= 0;
}

void TCombsPage::CombsInfoExecute() {
    const int row = FocusedRow();
    if (row < 0 || row >= m_ws.Combs().Count()) return;
    TDrawInfoData data;
    data.DrawNumber = -1;
    data.Numbers = m_ws.Combs().At(row);
    data.Sorted = m_ws.Archive().SortedDraws();
    data.ChannelSize = m_model->ChannelSize();
    data.MatrixCols = m_matrixCols;
    data.Registry = &m_ws.Stats().Registry();
    data.DrawsOffset = m_ws.Archive().Offset();
    auto *form = new TFormDrawInfo(data, window());
    form->setObjectName(QStringLiteral("TFormCombInfo"));
    m_infoWindows.Add(form);
    form->show();
}

void TCombsPage::CombsCheckNumsExecute() {
    QString text;
    {
        TBusyGuard busy(m_host);
        m_host.ShowStatus(PleaseWait());
        text = m_ws.Combs().UniqueNumbersMessage();
    }
    m_host.ShowInformation(text);
}

bool TCombsPage::CombsFindInDrawsUpdate() const {
    return FocusedRow() >= 0;
}

void TCombsPage::CombsFindInDrawsExecute() {
    const int row = FocusedRow();
    if (row < 0 || row >= m_ws.Combs().Count()) return;
    QString text;
    {
        TBusyGuard busy(m_host);
        m_host.ShowStatus(QStringLiteral("Поиск по архиву тиражей..."));
        text = TCombsController::FindInDrawsMessage(m_ws.Combs().At(row), m_ws.Archive().Draws());
    }
    m_host.ShowInformation(text);
}

void TCombsPage::ViewColorCombsExecute() {
    const bool on = !m_model->Colored();
    m_model->SetColored(on);
    m_ws.StoreSetting([on](TWindowSettings &s) { s.SetColorCombs(on); });
}

bool TCombsPage::ViewColorCombsUpdate() const {
    QAction *a = m_actions.Find(QStringLiteral("ViewColorCombs"));
    if (a && m_model) a->setChecked(m_model->Colored());
    return true;
}

// ---- events -------------------------------------------------------------------------------------

bool TCombsPage::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_edExclude && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            m_edExclude->interpretText();
            // Only a value the field accepts runs the exclusion.
            QAction *action = m_actions.Find(QStringLiteral("CombsDelExists"));
            if (m_edExclude->hasAcceptableInput() && action && action->isEnabled()) m_actions.Execute(action);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TCombsPage::OnListChanged() {
    m_model->Refresh();
    m_actions.UpdateAll();
}

void TCombsPage::OnHistoryChanged() {
    m_historyModel->Refresh();
    if (m_historyModel->rowCount() > 0) m_history->scrollToBottom();
    m_actions.UpdateAll();
}

void TCombsPage::OnBusyChanged(bool busy) {
    m_edExclude->setEnabled(!busy);
}

} // namespace lot
