#include "gui/catalogue/OnlineScriptsPanel.h"

#include "catalogue/CatalogueController.h"
#include "core/WindowSettings.h"
#include "gui/catalogue/FormIdentity.h"
#include "gui/catalogue/FormScrPublic.h"
#include "gui/catalogue/FormScrRates.h"
#include "gui/catalogue/OnlineScriptsModel.h"
#include "gui/shell/GuiHost.h"
#include "shell/Workspace.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace lot {

namespace {

const QString Category = QStringLiteral("Библиотека");
constexpr int RowHeight = 18;
const int DefaultWidths[TCatalogueController::ColumnCount] = {60, 200, 120, 110, 60,  50, 150,
                                                              70, 60,  90,  70,  150, 300};

QString RateName(int value) {
    return QStringLiteral("ScriptLibraryRate%1").arg(value);
}

} // namespace

TOnlineScriptsPanel::TOnlineScriptsPanel(TWorkspace &workspace, TGuiHost &host, TActionList &actions,
                                         const TAddAction &add, QWidget *parent)
    : QWidget(parent), m_ws(workspace), m_host(host), m_actions(actions) {
    setObjectName(QStringLiteral("pnlOnlineScripts"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 2, 0, 0);
    layout->setSpacing(2);
    auto *top = new QHBoxLayout;
    top->setContentsMargins(4, 0, 4, 0);
    auto *caption = new QLabel(QStringLiteral("Online каталог сценариев"), this);
    caption->setObjectName(QStringLiteral("lbOnlineScripts"));
    QFont bold = caption->font();
    bold.setBold(true);
    caption->setFont(bold);
    top->addWidget(caption);
    m_hint = new QLabel(QStringLiteral("Адрес каталога не указан: параметр Url раздела [CATALOGUE] файла "
                                       "\"Brantlee_6x45.ini\""),
                        this);
    m_hint->setObjectName(QStringLiteral("lbOnlineScriptsHint"));
    m_hint->hide();
    top->addWidget(m_hint);
    top->addStretch(1);
    m_filter = new QComboBox(this);
    m_filter->setObjectName(QStringLiteral("cbOnlineScriptsFilter"));
    m_filter->addItems(TCatalogueController::FilterCaptions());
    m_filter->setCurrentIndex(m_ws.Catalogue().FilterItem());
    top->addWidget(m_filter);
    layout->addLayout(top);

    m_model = new TOnlineScriptsModel(m_ws.Catalogue(), this);
    m_list = new QTableView(this);
    m_list->setObjectName(QLatin1String(ListName));
    m_list->setModel(m_model);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setWordWrap(false);
    m_list->setShowGrid(false);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    m_list->verticalHeader()->hide();
    m_list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_list->verticalHeader()->setDefaultSectionSize(qMax(RowHeight, fontMetrics().height() + 2));
    m_list->horizontalHeader()->setHighlightSections(false);
    for (int c = 0; c < TCatalogueController::ColumnCount; ++c)
        m_list->setColumnWidth(c, DefaultWidths[c]);
    layout->addWidget(m_list, 1);

    CreateActions(add);
    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("pmOnlineScripts"));
    m_actions.AddByName(m_popup, {"ScriptLibraryRefresh", "", "ScriptLibraryDownload", "ScriptLibraryUpload",
                                  "ScriptLibraryReplace", "ScriptLibraryDelete", "", "ScriptLibraryView",
                                  "ScriptLibraryRates", "", "ScriptLibraryRate1", "ScriptLibraryRate2",
                                  "ScriptLibraryRate3", "ScriptLibraryRate4", "ScriptLibraryRate5",
                                  "ScriptLibraryRate0", "", "ScriptLibraryHide"});
    connect(m_list, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { m_popup->popup(m_list->viewport()->mapToGlobal(pos)); });
    connect(m_list, &QAbstractItemView::doubleClicked, this, [this] {
        QAction *view = m_actions.Find(QStringLiteral("ScriptLibraryView"));
        if (view && view->isEnabled()) m_actions.Execute(view);
    });
    connect(m_list->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &TOnlineScriptsPanel::OnFocusChanged);
    connect(m_filter, &QComboBox::activated, this, [this](int index) {
        if (!Idle()) {
            m_filter->setCurrentIndex(m_ws.Catalogue().FilterItem());
            return;
        }
        m_ws.Catalogue().SetFilterItem(index);
    });
    connect(&m_ws.Catalogue(), &TCatalogueController::ScriptsChanged, this,
            &TOnlineScriptsPanel::OnScriptsChanged);
}

void TOnlineScriptsPanel::CreateActions(const TAddAction &add) {
    using TSpec = TActionList::TSpec;
    const auto bind = [this, &add](const TSpec &spec, void (TOnlineScriptsPanel::*execute)(),
                                   bool (TOnlineScriptsPanel::*update)() const) {
        return add(
            spec, [this, execute] { (this->*execute)(); }, [this, update] { return (this->*update)(); });
    };
    TSpec library{QStringLiteral("ScriptLibrary"), QStringLiteral("Online каталог сценариев"), Category,
                  QKeySequence(Qt::CTRL | Qt::Key_L),
                  QStringLiteral("Показать или скрыть online каталог сценариев")};
    library.Checkable = true;
    bind(library, &TOnlineScriptsPanel::ScriptLibraryExecute, &TOnlineScriptsPanel::ScriptLibraryUpdate);
    bind({QStringLiteral("ScriptLibraryRefresh"),
          QStringLiteral("Обновить"),
          Category,
          {},
          QStringLiteral("Обновить список сценариев online каталога")},
         &TOnlineScriptsPanel::ScriptLibraryRefreshExecute, &TOnlineScriptsPanel::ScriptLibraryRefreshUpdate);
    bind({QStringLiteral("ScriptLibraryDownload"),
          QStringLiteral("Скачать из каталога"),
          Category,
          {},
          QStringLiteral("Заменить текущий сценарий выбранным сценарием каталога")},
         &TOnlineScriptsPanel::ScriptLibraryDownloadExecute,
         &TOnlineScriptsPanel::ScriptLibraryDownloadUpdate);
    bind({QStringLiteral("ScriptLibraryUpload"),
          QStringLiteral("Опубликовать"),
          Category,
          {},
          QStringLiteral("Опубликовать текущий сценарий в каталоге")},
         &TOnlineScriptsPanel::ScriptLibraryUploadExecute, &TOnlineScriptsPanel::ScriptLibraryUploadUpdate);
    bind({QStringLiteral("ScriptLibraryReplace"),
          QStringLiteral("Изменить"),
          Category,
          {},
          QStringLiteral("Заменить выбранный сценарий каталога текущим сценарием")},
         &TOnlineScriptsPanel::ScriptLibraryReplaceExecute, &TOnlineScriptsPanel::ScriptLibraryReplaceUpdate);
    bind({QStringLiteral("ScriptLibraryDelete"),
          QStringLiteral("Удалить"),
          Category,
          {},
          QStringLiteral("Удалить выбранный сценарий из каталога")},
         &TOnlineScriptsPanel::ScriptLibraryDeleteExecute, &TOnlineScriptsPanel::ScriptLibraryDeleteUpdate);
    bind({QStringLiteral("ScriptLibraryView"),
          QStringLiteral("Свойства сценария"),
          Category,
          {},
          QStringLiteral("Показать свойства выбранного сценария")},
         &TOnlineScriptsPanel::ScriptLibraryViewExecute, &TOnlineScriptsPanel::ScriptLibraryViewUpdate);
    bind({QStringLiteral("ScriptLibraryRates"),
          QStringLiteral("Просмотр оценок"),
          Category,
          {},
          QStringLiteral("Показать оценки пользователей")},
         &TOnlineScriptsPanel::ScriptLibraryRatesExecute, &TOnlineScriptsPanel::ScriptLibraryRatesUpdate);
    for (int value = 0; value <= 5; ++value) {
        TSpec spec{RateName(value), TCatalogueController::RateCaption(value), Category};
        spec.Checkable = value > 0;
        add(
            spec, [this, value] { ScriptLibraryRateExecute(value); },
            [this, value] { return ScriptLibraryRateUpdate(value); });
    }
    TSpec hide{QStringLiteral("ScriptLibraryHide"),
               QStringLiteral("Скрыть сценарий"),
               Category,
               {},
               QStringLiteral("Не показывать сценарий в списке")};
    hide.Checkable = true;
    bind(hide, &TOnlineScriptsPanel::ScriptLibraryHideExecute, &TOnlineScriptsPanel::ScriptLibraryHideUpdate);
}

QStringList TOnlineScriptsPanel::MenuNames() {
    return {"ScriptLibrary",        "ScriptLibraryRefresh", "ScriptLibraryDownload", "ScriptLibraryUpload",
            "ScriptLibraryReplace", "ScriptLibraryDelete",  "ScriptLibraryView",     "ScriptLibraryRates"};
}

void TOnlineScriptsPanel::LoadWindowSettings(const TWindowSettings &settings, const QString &section) {
    m_on = settings.ScriptLibraryOn();
    setVisible(m_on);
    if (QAction *a = m_actions.Find(QStringLiteral("ScriptLibrary"))) a->setChecked(m_on);
    m_filter->setCurrentIndex(m_ws.Catalogue().FilterItem());
    QList<int> current;
    for (int c = 0; c < TCatalogueController::ColumnCount; ++c)
        current.append(m_list->columnWidth(c));
    const QList<int> widths = settings.ColumnWidths(section, QLatin1String(ListName), current);
    for (int c = 0; c < TCatalogueController::ColumnCount && c < widths.size(); ++c)
        if (widths[c] > 0 && widths[c] <= 4000) m_list->setColumnWidth(c, widths[c]);
}

void TOnlineScriptsPanel::SaveWindowSettings(TWindowSettings &settings, const QString &section) const {
    QList<int> widths;
    for (int c = 0; c < TCatalogueController::ColumnCount; ++c)
        widths.append(m_list->columnWidth(c));
    settings.SetColumnWidths(section, QLatin1String(ListName), widths);
}

void TOnlineScriptsPanel::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    UpdateHint();
    // The list loads the first time the panel is on screen, once a catalogue is set; the
    // window's start-up has run by then.
    if (m_loadedOnce || !m_on) return;
    QTimer::singleShot(0, this, [this] {
        if (m_loadedOnce || !isVisible() || !Idle() || !m_ws.Catalogue().HasCatalogue()) return;
        m_loadedOnce = true;
        m_ws.Catalogue().RefreshScripts();
    });
}

bool TOnlineScriptsPanel::Idle() const {
    return m_host.IsIdle();
}

void TOnlineScriptsPanel::UpdateHint() {
    m_hint->setVisible(!m_ws.Catalogue().HasCatalogue());
}

void TOnlineScriptsPanel::OnScriptsChanged() {
    UpdateHint();
    m_syncing = true;
    m_model->Refresh();
    const int focused = m_ws.Catalogue().Focused();
    if (focused >= 0) {
        m_list->selectRow(focused);
        m_list->scrollTo(m_model->index(focused, 0));
    }
    m_syncing = false;
    m_actions.UpdateAll();
}

void TOnlineScriptsPanel::OnFocusChanged() {
    if (m_syncing) return;
    const QModelIndex current = m_list->selectionModel()->currentIndex();
    QSignalBlocker block(&m_ws.Catalogue());
    m_ws.Catalogue().SetFocused(current.isValid() ? current.row() : -1);
    m_actions.UpdateAll();
}

bool TOnlineScriptsPanel::EnsureIdentity() {
    TCatalogueController &c = m_ws.Catalogue();
    if (c.HasIdentity()) return true;
    TFormIdentity form([this](const QString &text) { m_host.ShowWarning(text); }, window());
    form.SetIdentity(c.Settings().UserName, c.Settings().UserMail);
    if (form.exec() != QDialog::Accepted) return false;
    return bool(c.SetIdentity(form.Name(), form.Mail()));
}

bool TOnlineScriptsPanel::EditScriptData(tScriptData &data, bool readOnly) {
    TFormScrPublic form(
        [this](int32_t id, const QString &title, bool &taken) {
            bool free = false;
            if (!m_ws.Catalogue().CheckTitle(id, title, &free)) return false;
            taken = !free;
            return free;
        },
        [this](const QString &text) { m_host.ShowWarning(text); }, window());
    form.SetData(data);
    form.SetReadOnly(readOnly);
    if (form.exec() != QDialog::Accepted || readOnly) return false;
    data = form.Data();
    return true;
}

// ---- actions ---------------------------------------------------------------------------------------

bool TOnlineScriptsPanel::ScriptLibraryUpdate() const {
    return true;
}

void TOnlineScriptsPanel::ScriptLibraryExecute() {
    m_on = !m_on;
    m_ws.StoreSetting([on = m_on](TWindowSettings &s) { s.SetScriptLibraryOn(on); });
    if (QAction *a = m_actions.Find(QStringLiteral("ScriptLibrary"))) a->setChecked(m_on);
    setVisible(m_on);
    if (!m_on) {
        m_ws.Catalogue().ClearScripts();
        return;
    }
    m_loadedOnce = true;
    m_ws.Catalogue().RefreshScripts();
}

bool TOnlineScriptsPanel::ScriptLibraryRefreshUpdate() const {
    return m_on;
}

void TOnlineScriptsPanel::ScriptLibraryRefreshExecute() {
    m_loadedOnce = true;
    m_ws.Catalogue().RefreshScripts();
}

bool TOnlineScriptsPanel::ScriptLibraryDownloadUpdate() const {
    const tScriptInfo *s = m_ws.Catalogue().FocusedScript();
    return m_on && s && s->Compatible;
}

void TOnlineScriptsPanel::ScriptLibraryDownloadExecute() {
    if (const tScriptInfo *s = m_ws.Catalogue().FocusedScript()) m_ws.Catalogue().DownloadScript(s->Id);
}

bool TOnlineScriptsPanel::ScriptLibraryUploadUpdate() const {
    return m_on && !m_ws.Scripts().IsEmpty();
}

void TOnlineScriptsPanel::ScriptLibraryUploadExecute() {
    if (!EnsureIdentity()) return;
    tScriptData data = m_ws.Catalogue().NewScriptData();
    if (!EditScriptData(data, false)) return;
    m_ws.Catalogue().PublishScript(data);
}

bool TOnlineScriptsPanel::ScriptLibraryReplaceUpdate() const {
    const tScriptInfo *s = m_ws.Catalogue().FocusedScript();
    return m_on && s && s->Editable && !m_ws.Scripts().IsEmpty();
}

void TOnlineScriptsPanel::ScriptLibraryReplaceExecute() {
    const tScriptInfo *s = m_ws.Catalogue().FocusedScript();
    if (!s || !EnsureIdentity()) return;
    tScriptData data = TCatalogueController::ScriptDataOf(*s);
    if (!EditScriptData(data, false)) return;
    m_ws.Catalogue().PublishScript(data);
}

bool TOnlineScriptsPanel::ScriptLibraryDeleteUpdate() const {
    const tScriptInfo *s = m_ws.Catalogue().FocusedScript();
    return m_on && s && s->Editable;
}

void TOnlineScriptsPanel::ScriptLibraryDeleteExecute() {
    const tScriptInfo *s = m_ws.Catalogue().FocusedScript();
    if (!s) return;
    const int32_t id = s->Id;
    if (!m_host.Confirm(TCatalogueController::DeleteQuestion(s->Title))) return;
    if (!EnsureIdentity()) return;
    m_ws.Catalogue().DeleteScript(id);
}

bool TOnlineScriptsPanel::ScriptLibraryViewUpdate() const {
    return m_on && m_ws.Catalogue().FocusedScript();
}

void TOnlineScriptsPanel::ScriptLibraryViewExecute() {
    if (const tScriptInfo *s = m_ws.Catalogue().FocusedScript()) {
        tScriptData data = TCatalogueController::ScriptDataOf(*s);
        EditScriptData(data, true);
    }
}

bool TOnlineScriptsPanel::ScriptLibraryRatesUpdate() const {
    return m_on && m_ws.Catalogue().FocusedScript();
}

void TOnlineScriptsPanel::ScriptLibraryRatesExecute() {
    const tScriptInfo *s = m_ws.Catalogue().FocusedScript();
    if (!s) return;
    QList<tScriptRate> rates;
    if (!m_ws.Catalogue().LoadRates(s->Id, rates)) return;
    TFormScrRates form(rates, window());
    form.exec();
}

bool TOnlineScriptsPanel::ScriptLibraryRateUpdate(int value) const {
    const tScriptInfo *s = m_ws.Catalogue().FocusedScript();
    if (QAction *a = m_actions.Find(RateName(value)); a && value > 0)
        a->setChecked(s && s->RatingYou == value);
    if (!m_on || !s) return false;
    return value > 0 || s->RatingYou > 0;
}

void TOnlineScriptsPanel::ScriptLibraryRateExecute(int value) {
    const tScriptInfo *s = m_ws.Catalogue().FocusedScript();
    if (!s) return;
    const int32_t id = s->Id;
    QString comment;
    if (value > 0) {
        bool ok = false;
        comment = QInputDialog::getText(window(), QStringLiteral("Комментарий"),
                                        QStringLiteral("Вы можете оставить свой комментарий:"),
                                        QLineEdit::Normal, QString(), &ok);
        if (!ok) {
            OnScriptsChanged();
            return;
        }
    }
    if (!EnsureIdentity()) return;
    m_ws.Catalogue().RateScript(id, value, comment);
}

bool TOnlineScriptsPanel::ScriptLibraryHideUpdate() const {
    const tScriptInfo *s = m_ws.Catalogue().FocusedScript();
    if (QAction *a = m_actions.Find(QStringLiteral("ScriptLibraryHide")))
        a->setChecked(s && s->RatingYou == -1);
    return m_on && s;
}

void TOnlineScriptsPanel::ScriptLibraryHideExecute() {
    const tScriptInfo *s = m_ws.Catalogue().FocusedScript();
    if (!s || !EnsureIdentity()) return;
    m_ws.Catalogue().RateScript(s->Id, -1, QString());
}

} // namespace lot
