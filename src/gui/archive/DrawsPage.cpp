#include "gui/archive/DrawsPage.h"

#include "core/CoreHelpers.h"
#include "gui/archive/DrawsModel.h"
#include "gui/archive/FormDraw.h"
#include "gui/archive/FormDrawInfo.h"
#include "gui/shell/ActionList.h"
#include "gui/shell/GuiHost.h"
#include "gui/shell/SheetExport.h"
#include "shell/Workspace.h"
#include "stats/ConfigData.h"

#include <QAction>
#include <QActionGroup>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace lot {

namespace {
const QString Category = QStringLiteral("Архив тиражей");
} // namespace

// Wide enough for the widest value of each column in the list's own font.
QList<int> TDrawsPage::DefaultColumnWidths() const {
    const QFontMetrics fm(m_list->font());
    const int pad = 10;
    auto width = [&](std::initializer_list<const char *> samples) {
        int w = 0;
        for (const char *sample : samples)
            w = qMax(w, fm.horizontalAdvance(QString::fromUtf8(sample)));
        return w + pad;
    };
    QList<int> widths;
    widths << width({"Тираж", "99999"});
    for (int i = 0; i < CombSize + ExtraCount; ++i)
        widths << width({"44", "E1"});
    widths << width({"255", "S"});
    widths << width({"Дата тиража", "28 Dec 2026"});
    return widths;
}

int TDrawsPage::PreferredWidth() const {
    int width = 0;
    for (int c = 0; c < TDrawsModel::ColumnCount; ++c)
        width += m_list->columnWidth(c);
    const QMargins margins = layout()->contentsMargins();
    return width + m_list->verticalScrollBar()->sizeHint().width() + 2 * m_list->frameWidth() +
           margins.left() + margins.right() + 8;
}

QString TDrawsPage::DrawsFileFilter() {
    return QStringLiteral("Файлы тиражей (*.csv)");
}
QString TDrawsPage::DrawDialogTitle() {
    return QStringLiteral("Введите данные следующего тиража");
}

TDrawsPage::TDrawsPage(TWorkspace &workspace, TGuiHost &host, TActionList &actions, QWidget *parent)
    : QWidget(parent), TPage(this, actions), m_ws(workspace), m_host(host), m_actions(actions) {
    setObjectName(QStringLiteral("tsDraws"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);

    auto *offsetRow = new QHBoxLayout;
    auto *lbOffset = new QLabel(QStringLiteral("Смещение назад:"), this);
    m_edOffset = new QSpinBox(this);
    m_edOffset->setObjectName(QStringLiteral("edDrawsOffset"));
    const QString hint = QStringLiteral("Смещение относительно последнего загруженного номера тиража");
    m_edOffset->setToolTip(hint);
    m_edOffset->setStatusTip(hint);
    m_edOffset->setRange(0, m_ws.Archive().MaxOffset());
    m_edOffset->setMinimumWidth(80);
    m_edOffset->setKeyboardTracking(false);
    lbOffset->setBuddy(m_edOffset);
    offsetRow->addWidget(lbOffset);
    offsetRow->addWidget(m_edOffset);
    offsetRow->addStretch();
    m_btDownload = new QToolButton(this);
    m_btDownload->setObjectName(QStringLiteral("btDrawsDownload"));
    m_btDownload->setToolButtonStyle(Qt::ToolButtonTextOnly);
    offsetRow->addWidget(m_btDownload);
    layout->addLayout(offsetRow);

    m_model = new TDrawsModel(m_ws.Archive().Draws(), this);
    m_model->SetSorted(m_ws.Archive().SortedDraws());
    m_model->SetColored(m_ws.Archive().ColorDraws());
    m_list = new QTableView(this);
    m_list->setObjectName(QLatin1String(ListName));
    m_list->setModel(m_model);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setWordWrap(false);
    m_list->setCornerButtonEnabled(false);
    m_list->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_list->verticalHeader()->hide();
    m_list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_list->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    m_list->horizontalHeader()->setHighlightSections(false);
    m_list->horizontalHeader()->setMinimumSectionSize(18);
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    // Tinted cells stay readable when selected: the selection is drawn as a
    // darker overlay instead of replacing the cell colour.
    m_list->setStyleSheet(QStringLiteral("QTableView { gridline-color: #d8d8d8; }"));
    const QList<int> widths = DefaultColumnWidths();
    for (int c = 0; c < TDrawsModel::ColumnCount; ++c)
        m_list->setColumnWidth(c, widths.value(c, 40));
    layout->addWidget(m_list, 1);

    CreateActions();
    m_btDownload->setDefaultAction(
        m_actions.Require(QStringLiteral("DrawsDownload"), m_btDownload->objectName()));

    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("pmDraws"));
    m_actions.AddByName(m_popup, {"DrawsDownload", "", "DrawsAdd", "DrawsEdit", "DrawsDel", "", "DrawsInfo",
                                  "", "DrawsImport", "DrawsExport", "DrawsXlsExport", "", "DrawsSorted",
                                  "ViewColorDraws"});
    connect(m_list, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { m_popup->popup(m_list->viewport()->mapToGlobal(pos)); });

    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { emit SelectionChanged(); });
    connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { emit SelectionChanged(); });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] { emit SelectionChanged(); });
    connect(this, &TDrawsPage::SelectionChanged, &m_actions, &TActionList::UpdateAll);
    connect(m_list, &QAbstractItemView::doubleClicked, this, [this] {
        QAction *info = m_actions.Find(QStringLiteral("DrawsInfo"));
        if (info && m_host.IsIdle() && FocusedRow() >= 0) m_actions.Execute(info);
    });
    connect(m_edOffset, &QSpinBox::valueChanged, this, [this](int v) {
        if (v != m_ws.Archive().Offset()) m_ws.Archive().ChangeOffset(v);
    });
    connect(&m_ws.Archive(), &TArchiveController::DrawsChanged, this, &TDrawsPage::OnDrawsChanged);
    connect(&m_ws.Archive(), &TArchiveController::OffsetChanged, this, &TDrawsPage::OnOffsetChanged);
    connect(&m_host, &TGuiHost::BusyChanged, this, &TDrawsPage::OnBusyChanged);
}

void TDrawsPage::CreateActions() {
    using TSpec = TActionList::TSpec;
    AddPageAction(
        TSpec{QStringLiteral("DrawsDownload"), QStringLiteral("Загрузка"), Category, QKeySequence(Qt::Key_F3),
              QStringLiteral("Загрузка архива тиражей с сайта лотереи")},
        [this] { DrawsDownloadExecute(); }, [this] { return DrawsDownloadUpdate(); });
    // The start-up download mode: one of three, the current one checked.
    const char *const startModes[] = {"По запросу (по умолчанию)", "Автоматически", "Отключено"};
    auto *modes = new QActionGroup(this);
    modes->setExclusive(true);
    QStringList modeNames;
    for (int mode = 0; mode < 3; ++mode) {
        const QString name = QStringLiteral("AutoDownload%1").arg(mode);
        QAction *action = AddPageAction(
            TSpec{name, QString::fromUtf8(startModes[mode]), Category, {}, {}, true},
            [this, mode] { m_ws.Download().SetStartMode(mode); },
            [this, mode, name] {
                if (QAction *a = m_actions.Find(name)) a->setChecked(m_ws.Download().StartMode() == mode);
                return true;
            });
        modes->addAction(action);
        modeNames << name;
    }
    m_actions.AddSubmenu(QStringLiteral("AutoDownload"), QStringLiteral("Автозагрузка при запуске программы"),
                         modeNames);
    AddPageAction(
        TSpec{QStringLiteral("DrawsAdd"), QStringLiteral("Добавить"), Category},
        [this] { DrawsAddExecute(); }, [this] { return DrawsAddUpdate(); });
    AddPageAction(
        TSpec{QStringLiteral("DrawsEdit"), QStringLiteral("Изменить"), Category},
        [this] { DrawsEditExecute(); }, [this] { return DrawsEditUpdate(); });
    AddPageAction(
        TSpec{QStringLiteral("DrawsDel"), QStringLiteral("Удалить"), Category}, [this] { DrawsDelExecute(); },
        [this] { return DrawsDelUpdate(); });
    AddPageAction(
        TSpec{QStringLiteral("DrawsImport"), QStringLiteral("Импорт из CSV-файла"), Category},
        [this] { DrawsImportExecute(); }, [this] { return DrawsImportUpdate(); });
    AddPageAction(
        TSpec{QStringLiteral("DrawsExport"), QStringLiteral("Экспорт в CSV-файл"), Category},
        [this] { DrawsExportExecute(); }, [this] { return DrawsExportUpdate(); });
    AddPageAction(
        TSpec{QStringLiteral("DrawsXlsExport"), QStringLiteral("Экспорт в Microsoft Excel"), Category},
        [this] { DrawsXlsExportExecute(); }, [this] { return DrawsXlsExportUpdate(); });
    AddPageAction(
        TSpec{QStringLiteral("DrawsInfo"), QStringLiteral("Сведения о тираже"), Category},
        [this] { DrawsInfoExecute(); }, [this] { return DrawsInfoUpdate(); });
    AddPageAction(
        TSpec{QStringLiteral("DrawsSorted"), QStringLiteral("Упорядочить MIN->MAX"), Category, {}, {}, true},
        [this] { DrawsSortedExecute(); }, [this] { return DrawsSortedUpdate(); });
    AddPageAction(
        TSpec{QStringLiteral("ViewColorDraws"),
              QStringLiteral("Выделять каналы в списке тиражей"),
              QStringLiteral("Вид"),
              {},
              {},
              true},
        [this] { ViewColorDrawsExecute(); }, [this] { return ViewColorDrawsUpdate(); });
}

void TDrawsPage::DrawsXlsExportExecute() {
    ExportSheetToFile(m_host, TDrawsSheet(m_model->Sheet()));
}

bool TDrawsPage::DrawsXlsExportUpdate() const {
    return !m_ws.Archive().IsEmpty();
}

QString TDrawsPage::Caption() const {
    return QStringLiteral("Архив тиражей");
}

QList<TMenuEntries> TDrawsPage::MenuEntries() const {
    return {{QStringLiteral("mnDraws"),
             {"DrawsDownload", "AutoDownload", "", "DrawsAdd", "DrawsEdit", "DrawsDel", "", "DrawsInfo", "",
              "DrawsImport", "DrawsExport", "DrawsXlsExport", "", "DrawsSorted"}},
            {QStringLiteral("mnView"), {"ViewColorDraws"}}};
}

void TDrawsPage::ApplyGameSettings(const TConfigData &config) {
    m_model->SetChannelSize(config.ChannelSize);
    m_matrixCols = config.MatrixCols;
    m_infoWindows.SetChannelSize(config.ChannelSize);
}

QList<TScreenshotRender> TDrawsPage::ScreenshotRenders() const {
    auto drawForm = [this](bool withDate) {
        return [this, withDate](QWidget *parent) -> std::unique_ptr<QWidget> {
            return std::make_unique<TFormDraw>(m_host, DrawDialogTitle(), m_ws.Archive().NewDrawTemplate(),
                                               withDate, parent);
        };
    };
    QList<TScreenshotRender> renders = {{QStringLiteral("TFormDraw"), drawForm(true)},
                                        {QStringLiteral("TFormDraw_NoDate"), drawForm(false)}};
    if (m_model->DrawAtRow(0))
        renders.append({QStringLiteral("TFormDrawInfo"), [this](QWidget *parent) -> std::unique_ptr<QWidget> {
                            return std::make_unique<TFormDrawInfo>(InfoData(0), parent);
                        }});
    return renders;
}

void TDrawsPage::LoadWindowSettings(const TWindowSettings &settings, const QString &section) {
    const QList<int> widths = settings.ColumnWidths(section, QLatin1String(ListName), DefaultColumnWidths());
    for (int c = 0; c < TDrawsModel::ColumnCount && c < widths.size(); ++c)
        if (widths[c] > 0 && widths[c] < 2000) m_list->setColumnWidth(c, widths[c]);
}

void TDrawsPage::SaveWindowSettings(TWindowSettings &settings, const QString &section) const {
    QList<int> widths;
    for (int c = 0; c < TDrawsModel::ColumnCount; ++c)
        widths.append(m_list->columnWidth(c));
    settings.SetColumnWidths(section, QLatin1String(ListName), widths);
}

QList<int> TDrawsPage::SelectedRows() const {
    QList<int> rows;
    for (const QModelIndex &index : m_list->selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

int TDrawsPage::FocusedRow() const {
    const QItemSelectionModel *selection = m_list->selectionModel();
    const QModelIndex current = selection->currentIndex();
    if (current.isValid() && selection->isRowSelected(current.row(), {})) return current.row();
    const QList<int> rows = SelectedRows();
    return rows.isEmpty() ? -1 : rows.constFirst();
}

// ---- handlers and enabled tests ------------------------------------------------------------

void TDrawsPage::DrawsDownloadExecute() {
    m_ws.Download().DownloadDraws();
}

bool TDrawsPage::DrawsDownloadUpdate() const {
    return true;
}

void TDrawsPage::DrawsAddExecute() {
    TDrawRec rec = m_ws.Archive().NewDrawTemplate();
    if (!TFormDraw::Execute(m_host, DrawDialogTitle(), rec, true, window())) return;
    m_ws.Archive().AddDraw(rec);
}

bool TDrawsPage::DrawsEditUpdate() const {
    return FocusedRow() >= 0;
}

void TDrawsPage::DrawsEditExecute() {
    const int row = FocusedRow();
    const int index = m_ws.Archive().Draws().PositionToIndex(row);
    if (row < 0 || index < 0) return;
    TDrawRec rec = m_ws.Archive().Draws().At(index);
    if (!TFormDraw::Execute(m_host, DrawDialogTitle(), rec, true, window())) return;
    m_ws.Archive().EditDraw(index, rec);
}

bool TDrawsPage::DrawsDelUpdate() const {
    return !SelectedRows().isEmpty();
}

void TDrawsPage::DrawsDelExecute() {
    const QList<int> rows = SelectedRows();
    if (rows.isEmpty()) return;
    if (!m_host.Confirm(TArchiveController::DeleteConfirmText(int(rows.size())),
                        TArchiveController::DeleteConfirmTitle(), true))
        return;
    QList<int> numbers;
    for (int row : rows)
        if (const TDrawRec *draw = m_model->DrawAtRow(row)) numbers.append(draw->DrawNumber);
    m_ws.Archive().DeleteDrawsByNumbers(numbers);
    m_list->clearSelection();
}

void TDrawsPage::DrawsImportExecute() {
    const QString file = m_host.ChooseFile(false, DrawsFileFilter(), QStringLiteral("csv"));
    if (file.isEmpty()) return;
    m_ws.Archive().ImportDrawsCsv(file);
}

bool TDrawsPage::DrawsExportUpdate() const {
    return !m_ws.Archive().IsEmpty();
}

void TDrawsPage::DrawsExportExecute() {
    const QString file = m_host.ChooseFile(true, DrawsFileFilter(), QStringLiteral("csv"));
    if (file.isEmpty()) return;
    m_ws.Archive().ExportDrawsCsv(file);
}

bool TDrawsPage::DrawsInfoUpdate() const {
    return FocusedRow() >= 0;
}

TDrawInfoData TDrawsPage::InfoData(int row) const {
    TDrawInfoData data;
    const TDrawRec *draw = m_model->DrawAtRow(row);
    if (!draw) return data;
    data.DrawNumber = draw->DrawNumber;
    data.DrawDate = DrawDateText(*draw);
    data.Numbers = DrawToComb(*draw);
    data.ArrayIndex = m_ws.Archive().Draws().PositionToIndex(row);
    data.Sorted = m_ws.Archive().SortedDraws();
    data.ChannelSize = m_model->ChannelSize();
    data.MatrixCols = m_matrixCols;
    data.Registry = &m_ws.Stats().Registry();
    data.DrawsOffset = m_ws.Archive().Offset();
    return data;
}

void TDrawsPage::DrawsInfoExecute() {
    const int row = FocusedRow();
    if (!m_model->DrawAtRow(row)) return;
    auto *form = new TFormDrawInfo(InfoData(row), window());
    m_infoWindows.Add(form);
    form->show();
}

void TDrawsPage::DrawsSortedExecute() {
    m_ws.Archive().SetSortedDraws(!m_ws.Archive().SortedDraws());
}

bool TDrawsPage::DrawsSortedUpdate() const {
    if (QAction *a = m_actions.Find(QStringLiteral("DrawsSorted")))
        a->setChecked(m_ws.Archive().SortedDraws());
    return true;
}

void TDrawsPage::ViewColorDrawsExecute() {
    m_ws.Archive().SetColorDraws(!m_ws.Archive().ColorDraws());
}

bool TDrawsPage::ViewColorDrawsUpdate() const {
    if (QAction *a = m_actions.Find(QStringLiteral("ViewColorDraws")))
        a->setChecked(m_ws.Archive().ColorDraws());
    return true;
}

// ---- workspace signals -------------------------------------------------------------------------

void TDrawsPage::OnDrawsChanged(bool force) {
    m_model->SetSorted(m_ws.Archive().SortedDraws());
    m_model->SetColored(m_ws.Archive().ColorDraws());
    m_model->Refresh(force);
    m_model->Repaint();
    const QSignalBlocker block(m_edOffset);
    m_edOffset->setMaximum(m_ws.Archive().MaxOffset());
    m_edOffset->setValue(m_ws.Archive().Offset());
    m_actions.UpdateAll();
}

void TDrawsPage::OnOffsetChanged(int offset) {
    if (m_edOffset->value() != offset) {
        const QSignalBlocker block(m_edOffset);
        if (offset > m_edOffset->maximum()) m_edOffset->setMaximum(offset);
        m_edOffset->setValue(offset);
    }
    m_model->Repaint();
}

void TDrawsPage::OnBusyChanged(bool busy) {
    m_edOffset->setEnabled(!busy);
}

} // namespace lot
