#include "gui/views/CardPage.h"

#include "archive/DrawsArchive.h"
#include "core/Host.h"
#include "gui/shell/ActionList.h"
#include "gui/shell/GuiHost.h"
#include "gui/shell/SheetExport.h"
#include "gui/views/NumberGrid.h"
#include "shell/Workspace.h"
#include "stats/ConfigData.h"

#include <QAction>
#include <QBrush>
#include <QColor>
#include <QHeaderView>
#include <QMenu>
#include <QTableView>
#include <QVBoxLayout>

namespace lot {

namespace {

const QString Category = QStringLiteral("Карта");

} // namespace

// ---- model -----------------------------------------------------------------------------------

TCardModel::TCardModel(const TDrawsArchive &archive, QObject *parent)
    : QAbstractTableModel(parent), m_sheet(archive), m_rows(archive.Count()) {}

void TCardModel::Refresh() {
    beginResetModel();
    m_rows = int(m_sheet.RowCount());
    endResetModel();
}

int TCardModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int TCardModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : TCardSheet::Columns;
}

QVariant TCardModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= m_rows) return {};
    switch (role) {
    case Qt::DisplayRole:
        return m_sheet.Cell(index.row(), index.column()).Value;
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    case Qt::BackgroundRole:
        return FillBackground(m_sheet.Cell(index.row(), index.column()).Fill);
    case Qt::ForegroundRole:
        return m_sheet.Cell(index.row(), index.column()).Fill == TSheetCell::NoFill
                   ? QVariant()
                   : QVariant(QBrush(Qt::black));
    default:
        return {};
    }
}

QVariant TCardModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= TCardSheet::Columns) return {};
    if (role == Qt::DisplayRole) return m_sheet.ColumnCaption(section);
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
    return {};
}

// ---- page ------------------------------------------------------------------------------------

TCardPage::TCardPage(TWorkspace &workspace, TGuiHost &host, TActionList &actions, QWidget *parent)
    : QWidget(parent), TPage(this, actions), m_ws(workspace), m_host(host) {
    setObjectName(QStringLiteral("tsCard"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    m_model = new TCardModel(m_ws.Archive().Draws(), this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("sgCard"));
    m_grid->setModel(m_model);
    m_grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setDefaultSectionSize(20);
    m_grid->horizontalHeader()->setDefaultSectionSize(26);
    m_grid->horizontalHeader()->setSectionsClickable(false);
    m_grid->setColumnWidth(0, 48);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    layout->addWidget(m_grid);

    CreateActions();
    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("pmCard"));
    actions.AddByName(m_popup, {"CardFilter_Include", "CardFilter_Exclude", "", "ViewColorCard",
                                "ViewColorCardSequences", "", "CardXlsExport"});
    connect(m_grid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { m_popup->popup(m_grid->viewport()->mapToGlobal(pos)); });
    connect(m_grid->selectionModel(), &QItemSelectionModel::selectionChanged, &actions,
            &TActionList::UpdateAll);
    connect(&m_ws.Archive(), &TArchiveController::DrawsChanged, this, [this] {
        if (isVisible()) Rebuild();
    });
    const TWindowSettings &settings = m_ws.Settings();
    m_model->Sheet().ColorCard = settings.ColorCard();
    m_model->Sheet().ColorCardSequences = settings.ColorCardSequences();
}

QString TCardPage::Caption() const {
    return QStringLiteral("Карта");
}

void TCardPage::CreateActions() {
    using TSpec = TActionList::TSpec;
    AddPageAction(
        TSpec{QStringLiteral("CardFilter_Include"),
              QStringLiteral("Оставить выделенные"),
              Category,
              {},
              KeepNumbersHint},
        [this] { FilterByViewNumbers(m_ws, TNumberView::Card, *m_grid, false, Caption()); },
        [this] { return FilterUpdate(); });
    AddPageAction(
        TSpec{QStringLiteral("CardFilter_Exclude"),
              QStringLiteral("Удалить выделенные"),
              Category,
              {},
              DropNumbersHint},
        [this] { FilterByViewNumbers(m_ws, TNumberView::Card, *m_grid, true, Caption()); },
        [this] { return FilterUpdate(); });
    const auto toggle = [this](bool TCardSheet::*field, void (TWindowSettings::*store)(bool)) {
        return [this, field, store] {
            const bool on = !(m_model->Sheet().*field);
            m_model->Sheet().*field = on;
            m_ws.StoreSetting([store, on](TWindowSettings &s) { (s.*store)(on); });
            m_model->Refresh();
        };
    };
    const auto checked = [this](const char *name, bool TCardSheet::*field) {
        return [this, name, field] {
            for (QAction *a : PageActions())
                if (a->objectName() == QLatin1String(name)) a->setChecked(m_model->Sheet().*field);
            return isVisible();
        };
    };
    AddPageAction(TSpec{QStringLiteral("ViewColorCard"),
                        QStringLiteral("Выделять каналы в карте тиражей"),
                        QStringLiteral("Вид"),
                        {},
                        {},
                        true},
                  toggle(&TCardSheet::ColorCard, &TWindowSettings::SetColorCard),
                  checked("ViewColorCard", &TCardSheet::ColorCard));
    AddPageAction(TSpec{QStringLiteral("ViewColorCardSequences"),
                        QStringLiteral("Выделять последовательности в карте тиражей"),
                        QStringLiteral("Вид"),
                        {},
                        {},
                        true},
                  toggle(&TCardSheet::ColorCardSequences, &TWindowSettings::SetColorCardSequences),
                  checked("ViewColorCardSequences", &TCardSheet::ColorCardSequences));
    AddPageAction(
        TSpec{QStringLiteral("CardXlsExport"), QStringLiteral("Экспорт карты тиражей в Microsoft Excel"),
              Category},
        [this] { ExportSheetToFile(m_host, m_model->Sheet()); },
        [this] { return isVisible() && m_model->columnCount() > 2 && m_model->rowCount() > 0; });
}

bool TCardPage::FilterUpdate() const {
    if (m_ws.Combs().IsEmpty()) return false;
    const auto [first, last] = SelectedColumnSpan(*m_grid);
    return first >= 1 && last <= NumberCount;
}

QList<TMenuEntries> TCardPage::MenuEntries() const {
    return {{QStringLiteral("mnView"), {"", "ViewColorCard", "ViewColorCardSequences"}}};
}

void TCardPage::ApplyGameSettings(const TConfigData &config) {
    m_model->Sheet().ChannelSize = config.ChannelSize;
    m_model->Refresh();
}

void TCardPage::Rebuild() {
    TBusyGuard busy(m_host);
    m_host.ShowStatus(QStringLiteral("Обновление карты тиражей..."));
    m_model->Refresh();
    m_host.ShowStatus(QString());
}

void TCardPage::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    Rebuild();
}

} // namespace lot
