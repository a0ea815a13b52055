#include "gui/filters/FormManager.h"

#include "core/Format.h"
#include "core/Messages.h"
#include "gui/filters/FormFilterHelp.h"
#include "gui/shell/ActionList.h"
#include "gui/shell/GuiHost.h"
#include "shell/Workspace.h"
#include "stats/StatList.h"

#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace lot {

namespace {

constexpr int EntryRole = Qt::UserRole;
constexpr int ImageRole = Qt::UserRole + 1;
const QString Category = QStringLiteral("Фильтры");

/// A check box of the window style, ticked or not, as a node image.
QIcon CheckImage(const QWidget *widget, bool checked) {
    const int size = widget->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, widget);
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    QStyleOptionButton option;
    option.initFrom(widget);
    option.rect = QRect(0, 0, size, size);
    option.state = QStyle::State_Enabled | (checked ? QStyle::State_On : QStyle::State_Off);
    widget->style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, &painter, widget);
    return QIcon(pixmap);
}

/// Busy with "Подождите пожалуйста..." for the life of the guard.
class TWaitGuard {
public:
    explicit TWaitGuard(TGuiHost &host) : m_busy(host) {
        host.ShowStatus(QString::fromUtf8(msg::PleaseWait));
    }

private:
    TBusyGuard m_busy;
};

} // namespace

TFormManager::TFormManager(TWorkspace &workspace, TGuiHost &host, QWidget *parent)
    : QDialog(parent), m_ws(workspace), m_host(host) {
    setObjectName(QStringLiteral("TFormManager"));
    setWindowTitle(QStringLiteral("Менеджер избранных методов расчета статистики"));
    setSizeGripEnabled(true);
    m_actions = new TActionList(host, this);
    m_images[imUnmarked] = CheckImage(this, false);
    m_images[imMarked] = CheckImage(this, true);
    m_images[imGroup] = style()->standardIcon(QStyle::SP_DirIcon);

    auto *layout = new QVBoxLayout(this);
    auto *prompt = new QLabel(
        QStringLiteral("Отметьте методы расчета статистики, которые Вы хотите использовать:"), this);
    layout->addWidget(prompt);

    auto *middle = new QHBoxLayout;
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("tvFilters"));
    m_tree->setHeaderHidden(true);
    m_tree->setColumnCount(1);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
    m_tree->setMinimumSize(460, 380);
    m_tree->viewport()->installEventFilter(this);
    m_tree->installEventFilter(this);
    prompt->setBuddy(m_tree);
    middle->addWidget(m_tree, 1);

    CreateActions();
    auto *buttons = new QVBoxLayout;
    const QStringList names = {"CheckAll", "CheckNone", "", "GroupAll",    "GroupNone",   "",
                               "Rename",   "ResetName", "", "NamesImport", "NamesExport", "",
                               "Info"};
    for (const QString &name : names) {
        if (name.isEmpty()) {
            buttons->addSpacing(8);
            continue;
        }
        auto *button = new QToolButton(this);
        button->setObjectName(QStringLiteral("bt") + name);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        button->setDefaultAction(m_actions->Require(name, button->objectName()));
        buttons->addWidget(button);
    }
    buttons->addStretch();
    middle->addLayout(buttons);
    layout->addLayout(middle, 1);

    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("pmFilters"));
    m_actions->AddByName(m_popup, names);
    connect(m_tree, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { m_popup->popup(m_tree->viewport()->mapToGlobal(pos)); });
    connect(m_tree, &QTreeWidget::itemSelectionChanged, m_actions, &TActionList::UpdateAll);

    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("lbCount"));
    layout->addWidget(m_count);

    const TStatList &registry = m_ws.Stats().Registry();
    m_ordered = new QCheckBox(QStringLiteral("Сортировать списки по названию метода"), this);
    m_ordered->setObjectName(QStringLiteral("cbOrdered"));
    m_ordered->setChecked(registry.Ordered());
    m_showGroupName =
        new QCheckBox(QStringLiteral("Отображать идентификатор группы { xxx } перед названием метода"), this);
    m_showGroupName->setObjectName(QStringLiteral("cbShowGroupName"));
    m_showGroupName->setChecked(registry.ShowGroupName());
    m_showMethodFlags =
        new QCheckBox(QStringLiteral("Отображать особенности метода [ YYY ] после названия метода"), this);
    m_showMethodFlags->setObjectName(QStringLiteral("cbShowMethodFlags"));
    m_showMethodFlags->setChecked(registry.ShowMethodFlags());
    layout->addWidget(m_ordered);
    layout->addWidget(m_showGroupName);
    layout->addWidget(m_showMethodFlags);

    auto *box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    box->button(QDialogButtonBox::Ok)->setText(QStringLiteral("ОК"));
    box->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(box);

    BuildTree();
    m_actions->UpdateAll();
}

void TFormManager::CreateActions() {
    using TSpec = TActionList::TSpec;
    const auto hasNodes = [this] { return m_tree->topLevelItemCount() > 0; };
    const auto hasSelection = [this] { return !m_tree->selectedItems().isEmpty(); };
    const auto hasMethod = [this] { return SelectedMethod() != nullptr; };
    m_actions->Add(
        TSpec{QStringLiteral("CheckNone"),
              QStringLiteral("Сбросить все"),
              Category,
              {},
              QStringLiteral("Снять отметки со всех фильтров")},
        [this] { MarkAll(false); }, hasNodes);
    m_actions->Add(
        TSpec{QStringLiteral("CheckAll"),
              QStringLiteral("Выбрать все"),
              Category,
              {},
              QStringLiteral("Поставить отметки у всех фильтров")},
        [this] { MarkAll(true); }, hasNodes);
    m_actions->Add(
        TSpec{QStringLiteral("GroupNone"),
              QStringLiteral("Сбросить группу"),
              Category,
              {},
              QStringLiteral("Снять отметки со всех фильтров группы")},
        [this] { MarkGroup(false); }, hasSelection);
    m_actions->Add(
        TSpec{QStringLiteral("GroupAll"),
              QStringLiteral("Выбрать группу"),
              Category,
              {},
              QStringLiteral("Поставить отметки у всех фильтров группы")},
        [this] { MarkGroup(true); }, hasSelection);
    m_actions->Add(
        TSpec{QStringLiteral("Rename"),
              QStringLiteral("Переименовать"),
              Category,
              {},
              QStringLiteral("Переименовать фильтр")},
        [this] { RenameExecute(); }, hasMethod);
    m_actions->Add(
        TSpec{QStringLiteral("ResetName"), QStringLiteral("Вернуть"), Category},
        [this] { ResetNameExecute(); }, hasMethod);
    m_actions->Add(
        TSpec{QStringLiteral("NamesImport"),
              QStringLiteral("Импорт названий"),
              Category,
              {},
              QStringLiteral("Импорт названий фильтров из файла")},
        [this] { NamesImportExecute(); }, [] { return true; });
    m_actions->Add(
        TSpec{QStringLiteral("NamesExport"),
              QStringLiteral("Экспорт названий"),
              Category,
              {},
              QStringLiteral("Экспорт названий фильтров в файл")},
        [this] { NamesExportExecute(); }, [] { return true; });
    m_actions->Add(
        TSpec{QStringLiteral("Info"),
              QStringLiteral("Описание"),
              Category,
              {},
              QStringLiteral("Справочная информация о выделенном методе расчета статистики")},
        [this] { InfoExecute(); }, hasMethod);
}

bool TFormManager::Execute(TWorkspace &workspace, TGuiHost &host, QWidget *parent) {
    TFormManager form(workspace, host, parent);
    if (form.exec() != QDialog::Accepted) return false;
    return bool(workspace.Stats().ApplyFavourites(form.Edits(), form.Options()));
}

// ---- the tree ------------------------------------------------------------------------------

int TFormManager::EntryOf(const QTreeWidgetItem *node) {
    return node ? node->data(0, EntryRole).toInt() : -1;
}

int TFormManager::ImageOf(const QTreeWidgetItem *node) {
    return node ? node->data(0, ImageRole).toInt() : -1;
}

void TFormManager::SetImage(QTreeWidgetItem *node, int image) {
    node->setData(0, ImageRole, image);
    node->setIcon(0, m_images[image]);
}

void TFormManager::BuildTree() {
    TWaitGuard wait(m_host);
    const TStatList &registry = m_ws.Stats().Registry();
    m_tree->clear();
    m_count->setText(Format(QStringLiteral("всего %d методов"), {registry.Count()}));
    for (const TMethodGroup &group : MethodGroups(registry)) {
        auto *groupNode = new QTreeWidgetItem(m_tree, {group.Heading});
        groupNode->setData(0, EntryRole, -1);
        SetImage(groupNode, imGroup);
        for (int entry : group.Entries) {
            auto *node = new QTreeWidgetItem(groupNode, {MethodName(registry, entry)});
            node->setData(0, EntryRole, entry);
            SetImage(node, registry.IsListed(entry) ? imMarked : imUnmarked);
        }
    }
    m_tree->expandAll();
    m_actions->UpdateAll();
}

QTreeWidgetItem *TFormManager::NodeOf(int entry) const {
    for (int g = 0; g < m_tree->topLevelItemCount(); ++g) {
        QTreeWidgetItem *group = m_tree->topLevelItem(g);
        for (int i = 0; i < group->childCount(); ++i)
            if (EntryOf(group->child(i)) == entry) return group->child(i);
    }
    return nullptr;
}

void TFormManager::ToggleNode(QTreeWidgetItem *node) {
    const int image = ImageOf(node);
    if (image == imUnmarked || image == imMarked) SetImage(node, image == imMarked ? imUnmarked : imMarked);
}

bool TFormManager::eventFilter(QObject *watched, QEvent *event) {
    // Each click counts, also both clicks of a double click: a press
    // switches, and the second press of a double click arrives as the
    // double-click event.
    if (watched == m_tree->viewport() &&
        (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && m_host.IsIdle()) {
            if (QTreeWidgetItem *node = m_tree->itemAt(mouse->position().toPoint())) ToggleNode(node);
        }
        if (event->type() == QEvent::MouseButtonDblClick) return true; // no expand or collapse
    }
    if (watched == m_tree && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Space && m_host.IsIdle()) {
        ToggleNode(m_tree->currentItem());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TFormManager::MarkAll(bool marked) {
    TWaitGuard wait(m_host);
    for (int g = 0; g < m_tree->topLevelItemCount(); ++g) {
        QTreeWidgetItem *group = m_tree->topLevelItem(g);
        for (int i = 0; i < group->childCount(); ++i)
            SetImage(group->child(i), marked ? imMarked : imUnmarked);
    }
}

void TFormManager::MarkGroup(bool marked) {
    const QList<QTreeWidgetItem *> selected = m_tree->selectedItems();
    if (selected.isEmpty()) return;
    QTreeWidgetItem *group =
        selected.constFirst()->parent() ? selected.constFirst()->parent() : selected.constFirst();
    TWaitGuard wait(m_host);
    for (int i = 0; i < group->childCount(); ++i)
        SetImage(group->child(i), marked ? imMarked : imUnmarked);
}

QTreeWidgetItem *TFormManager::SelectedMethod() const {
    const QList<QTreeWidgetItem *> selected = m_tree->selectedItems();
    if (selected.isEmpty() || EntryOf(selected.constFirst()) < 0) return nullptr;
    return selected.constFirst();
}

QList<TMethodEdit> TFormManager::Edits() const {
    QList<TMethodEdit> edits;
    for (int g = 0; g < m_tree->topLevelItemCount(); ++g) {
        const QTreeWidgetItem *group = m_tree->topLevelItem(g);
        for (int i = 0; i < group->childCount(); ++i) {
            const QTreeWidgetItem *node = group->child(i);
            edits.append({EntryOf(node), ImageOf(node) == imMarked, node->text(0)});
        }
    }
    return edits;
}

TDisplayOptions TFormManager::Options() const {
    return {m_ordered->isChecked(), m_showGroupName->isChecked(), m_showMethodFlags->isChecked()};
}

// ---- names and descriptions ------------------------------------------------------------------

void TFormManager::RenameExecute() {
    QTreeWidgetItem *node = SelectedMethod();
    if (!node) return;
    QInputDialog input(this);
    input.setWindowTitle(QStringLiteral("Переименование"));
    input.setLabelText(QStringLiteral("Введите наименование фильтра:"));
    input.setTextValue(node->text(0));
    input.setOkButtonText(QStringLiteral("ОК"));
    input.setCancelButtonText(QStringLiteral("Отмена"));
    if (input.exec() == QDialog::Accepted) node->setText(0, input.textValue());
}

void TFormManager::ResetNameExecute() {
    QTreeWidgetItem *node = SelectedMethod();
    if (!node) return;
    const TStatMethod &m = m_ws.Stats().Registry().Items(EntryOf(node));
    node->setText(0, m.StatClass->Caption(m.Param));
}

void TFormManager::NamesImportExecute() {
    const QString file = m_host.ChooseFile(false, QStringLiteral("Наименования фильтров (*.flt)"),
                                           QStringLiteral("flt"), m_ws.Files().Dir());
    if (file.isEmpty()) return;
    m_ws.Stats().ImportNames(file);
    BuildTree();
}

void TFormManager::NamesExportExecute() {
    const QString file = m_host.ChooseFile(true, QStringLiteral("Наименования фильтров (*.flt)"),
                                           QStringLiteral("flt"), m_ws.Files().Dir());
    if (file.isEmpty()) return;
    m_ws.Stats().ExportNames(file, Edits());
}

void TFormManager::InfoExecute() {
    if (QTreeWidgetItem *node = SelectedMethod())
        TFormFilterHelp::Execute(m_ws.Stats().Registry(), EntryOf(node), m_ws.Settings(), this);
}

} // namespace lot
