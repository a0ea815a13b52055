#include "gui/systems/FormSystem.h"

#include "core/AtomicFile.h"
#include "core/Codec1251.h"
#include "core/Errors.h"
#include "core/Host.h"
#include "core/OpResult.h"
#include "gui/shell/GuiHost.h"
#include "systems/SystemFiles.h"
#include "systems/SystemGuarantee.h"
#include "systems/SystemsController.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFile>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace lot {

namespace {

const QString SystemFilesFilter = QStringLiteral("Текстовые файлы (*.txt *.dat);;Все файлы (*)");

QString ShownDate(const QDateTime &time) {
    return SystemDateText(time);
}

} // namespace

TFormSystem::TFormSystem(TGuiHost &host, const tSystemData &data, bool editable, QWidget *parent)
    : QDialog(parent), m_host(host), m_data(data), m_editable(editable) {
    setObjectName(QStringLiteral("TFormSystem"));
    setWindowTitle(QStringLiteral("Система"));
    const tSystemInfo &info = data.Info;
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    layout->addLayout(form);

    m_edTitle = new QLineEdit(info.Title, this);
    m_edTitle->setObjectName(QStringLiteral("edTitle"));
    form->addRow(QStringLiteral("Наименование:"), m_edTitle);
    m_edDescr = new QPlainTextEdit(info.Description, this);
    m_edDescr->setObjectName(QStringLiteral("edDescr"));
    m_edDescr->setMaximumHeight(70);
    form->addRow(QStringLiteral("Описание:"), m_edDescr);
    m_edAuthor = new QLineEdit(info.Author, this);
    m_edAuthor->setObjectName(QStringLiteral("edAuthor"));
    form->addRow(QStringLiteral("Автор:"), m_edAuthor);
    m_edUrl = new QLineEdit(info.Url, this);
    m_edUrl->setObjectName(QStringLiteral("edURL"));
    m_btnUrl = new QPushButton(QStringLiteral("..."), this);
    m_btnUrl->setObjectName(QStringLiteral("btnURL"));
    m_btnUrl->setToolTip(QStringLiteral("Открыть ссылку в браузере"));
    auto *urlRow = new QHBoxLayout;
    urlRow->addWidget(m_edUrl, 1);
    urlRow->addWidget(m_btnUrl);
    form->addRow(QStringLiteral("Ссылка:"), urlRow);
    connect(m_btnUrl, &QPushButton::clicked, this,
            [this] { m_host.OpenWithDefault(m_edUrl->text().trimmed()); });
    connect(m_edUrl, &QLineEdit::textChanged, this,
            [this](const QString &text) { m_btnUrl->setEnabled(!text.trimmed().isEmpty()); });
    m_btnUrl->setEnabled(!info.Url.trimmed().isEmpty());

    auto *grid = new QGridLayout;
    layout->addLayout(grid);
    m_edNums = NumberEdit(QStringLiteral("edNums"), info.Nums);
    m_edCLen = NumberEdit(QStringLiteral("edCLen"), CombSize);
    m_edCLen->setReadOnly(true);
    m_edOlap = NumberEdit(QStringLiteral("edOlap"), info.Block);
    grid->addWidget(new QLabel(QStringLiteral("Числа:"), this), 0, 0);
    grid->addWidget(m_edNums, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Длина:"), this), 0, 2);
    grid->addWidget(m_edCLen, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("Блок:"), this), 0, 4);
    grid->addWidget(m_edOlap, 0, 5);
    auto readOnly = [this](const QString &name, const QString &text) {
        auto *label = new QLabel(text, this);
        label->setObjectName(name);
        return label;
    };
    m_lbCreated = readOnly(QStringLiteral("lbCreated"), ShownDate(info.Created));
    m_lbCount = readOnly(QStringLiteral("lbCSize"), QString::number(info.CSize));
    m_lbDownloads = readOnly(QStringLiteral("lbDownloads"), QString::number(info.Downloads));
    m_lbLast = readOnly(QStringLiteral("lbLastDownload"), ShownDate(info.LastDownload));
    grid->addWidget(new QLabel(QStringLiteral("Создана:"), this), 1, 0);
    grid->addWidget(m_lbCreated, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Комбинаций:"), this), 1, 2);
    grid->addWidget(m_lbCount, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Загрузок:"), this), 2, 0);
    grid->addWidget(m_lbDownloads, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Последняя:"), this), 2, 2);
    grid->addWidget(m_lbLast, 2, 3);

    layout->addWidget(new QLabel(QStringLiteral("Список комбинаций:"), this));
    m_edCombs = new QPlainTextEdit(data.Content, this);
    m_edCombs->setObjectName(QStringLiteral("edCombs"));
    m_edCombs->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_edCombs->setContextMenuPolicy(Qt::CustomContextMenu);
    m_edCombs->installEventFilter(this);
    connect(m_edCombs, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { CombsMenu()->popup(m_edCombs->viewport()->mapToGlobal(pos)); });
    layout->addWidget(m_edCombs, 1);

    // What the system guarantees: for m drawn numbers among its N, the share
    // of the cases in which one combination holds k of them.
    m_lbGuarantee = new QLabel(this);
    m_lbGuarantee->setObjectName(QStringLiteral("lbGuarantee"));
    m_lbGuarantee->setWordWrap(true);
    layout->addWidget(m_lbGuarantee);
    m_guarantees = new QTableWidget(GuaranteeMaxDrawn - GuaranteeMinDrawn + 1, GuaranteeMaxDrawn, this);
    m_guarantees->setObjectName(QStringLiteral("sgGuarantees"));
    m_guarantees->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int k = 1; k <= GuaranteeMaxDrawn; ++k)
        m_guarantees->setHorizontalHeaderItem(k - 1, new QTableWidgetItem(QStringLiteral("%1 совп.").arg(k)));
    for (int m = GuaranteeMinDrawn; m <= GuaranteeMaxDrawn; ++m)
        m_guarantees->setVerticalHeaderItem(m - GuaranteeMinDrawn,
                                            new QTableWidgetItem(QStringLiteral("выпало %1").arg(m)));
    m_guarantees->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_guarantees->setMaximumHeight(m_guarantees->verticalHeader()->defaultSectionSize() * 5 + 8);
    layout->addWidget(m_guarantees);

    auto *buttons = new QDialogButtonBox(this);
    m_btnOk = buttons->addButton(QDialogButtonBox::Ok);
    m_btnCancel = buttons->addButton(QDialogButtonBox::Cancel);
    m_btnCancel->setText(QStringLiteral("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TFormSystem::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TFormSystem::reject);
    layout->addWidget(buttons);

    if (!m_editable) {
        for (QLineEdit *e : {m_edTitle, m_edAuthor, m_edUrl, m_edNums, m_edOlap})
            e->setReadOnly(true);
        m_edDescr->setReadOnly(true);
        m_edCombs->setReadOnly(true);
        m_btnOk->hide();
        m_btnCancel->setText(QStringLiteral("Закрыть окно"));
        m_btnCancel->setDefault(true);
        m_btnCancel->setFocus();
    } else {
        m_edTitle->setFocus();
    }
    resize(560, 640);
    UpdateGuarantees();
}

bool TFormSystem::Execute(TGuiHost &host, tSystemData &data, bool editable, QWidget *parent) {
    TFormSystem form(host, data, editable, parent);
    if (form.exec() != QDialog::Accepted || !editable) return false;
    data = form.Result();
    return true;
}

QLineEdit *TFormSystem::NumberEdit(const QString &name, int value) {
    auto *edit = new QLineEdit(QString::number(value), this);
    edit->setObjectName(name);
    edit->setMaximumWidth(60);
    edit->installEventFilter(this);
    return edit;
}

bool TFormSystem::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_edCombs && event->type() == QEvent::FocusOut && m_editable) {
        // The field's own context menu takes the focus only for a moment.
        if (static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason) NormaliseCombs();
    } else if (event->type() == QEvent::KeyPress &&
               (watched == m_edNums || watched == m_edCLen || watched == m_edOlap)) {
        // Digits only; keys that type no character (editing, moving, Enter,
        // Escape, shortcuts) keep their meaning.
        auto *key = static_cast<QKeyEvent *>(event);
        const QString text = key->text();
        const bool typesCharacter = !text.isEmpty() && text.at(0).isPrint() &&
                                    !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        if (typesCharacter && !text.at(0).isDigit()) {
            QApplication::beep();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool TFormSystem::NormaliseCombs() {
    TNormalisedSystem normal;
    if (!Guarded(m_host, QString(), [&] { normal = NormaliseSystemContent(m_edCombs->toPlainText()); }))
        return false;
    if (SystemContentLines(normal.Content) != SystemContentLines(m_edCombs->toPlainText()))
        m_edCombs->setPlainText(normal.Content);
    m_edNums->setText(QString::number(normal.Nums));
    m_lbCount->setText(QString::number(normal.Count));
    UpdateGuarantees();
    return true;
}

void TFormSystem::UpdateGuarantees() {
    m_guarantees->clearContents();
    const int n = m_edNums->text().toInt();
    const QStringList lines = SystemContentLines(m_edCombs->toPlainText());
    QString reason;
    try {
        if (n < CombSize + 1 || n > NumberCount) throw EError(QStringLiteral("нужно от 7 до 45 чисел"));
        QByteArray identity;
        for (int i = 1; i <= n; ++i)
            identity.append(char(i));
        const std::vector<TComb> positions = ExpandSystemLines(lines, identity);
        if (positions.empty()) throw EError(QStringLiteral("нет комбинаций"));
        // Every case of up to six of N numbers: a large system takes a moment.
        TBusyGuard busy(m_host);
        m_host.ShowStatus(QStringLiteral("Расчет гарантий системы..."));
        const TGuaranteeTable table = GuaranteeTable(positions, n);
        QStringList summary;
        for (int m = GuaranteeMinDrawn; m <= GuaranteeMaxDrawn; ++m) {
            for (int k = 1; k <= m; ++k) {
                auto *item = new QTableWidgetItem(
                    GuaranteeShareText(table.Reached[size_t(m)][size_t(k)], table.Cases[size_t(m)]));
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                m_guarantees->setItem(m - GuaranteeMinDrawn, k - 1, item);
            }
            summary << QStringLiteral("%1 при %2").arg(table.Guarantee(m)).arg(m);
        }
        m_lbGuarantee->setText(QStringLiteral("Гарантии системы (доля случаев, %): ") +
                               summary.join(QStringLiteral(", ")));
        return;
    } catch (const std::exception &e) {
        reason = ExceptionText(e);
    }
    m_lbGuarantee->setText(QStringLiteral("Гарантии системы не рассчитаны: ") + reason);
}

QMenu *TFormSystem::CombsMenu() {
    if (!m_menu) {
        m_menu = new QMenu(this);
        m_menu->setObjectName(QStringLiteral("pmCombs"));
        m_menu->addAction(QStringLiteral("Копировать в буфер обмена"), this, [this] {
            const QString selected = m_edCombs->textCursor().selectedText().replace(QChar(0x2029), "\r\n");
            QApplication::clipboard()->setText(selected.isEmpty() ? m_edCombs->toPlainText() : selected);
        });
        m_menu->addAction(QStringLiteral("Вставить из буфера обмена"), m_edCombs, &QPlainTextEdit::paste);
        m_menu->addAction(QStringLiteral("Выделить все"), m_edCombs, &QPlainTextEdit::selectAll);
        m_menu->addSeparator();
        m_menu->addAction(QStringLiteral("Загрузить из файла"), this, [this] {
            const QString file = m_host.ChooseFile(false, SystemFilesFilter, QStringLiteral("txt"));
            if (!file.isEmpty()) LoadCombsFromFile(file);
        });
        m_menu->addAction(QStringLiteral("Сохранить в файле"), this, [this] {
            const QString file = m_host.ChooseFile(true, SystemFilesFilter, QStringLiteral("txt"));
            if (!file.isEmpty()) SaveCombsToFile(file);
        });
    }
    const QList<QAction *> actions = m_menu->actions();
    const QMimeData *clip = QApplication::clipboard()->mimeData();
    actions[1]->setEnabled(m_editable && clip && clip->hasText());
    actions[4]->setEnabled(m_editable);
    return m_menu;
}

void TFormSystem::LoadCombsFromFile(const QString &fileName) {
    QString text;
    const TOpResult r = Guarded(m_host, QString(), [&] {
        QFile f(fileName);
        if (!f.open(QIODevice::ReadOnly))
            throw EError(QStringLiteral("Не удалось открыть файл \"%1\": %2").arg(fileName, f.errorString()));
        text = FromCp1251(f.readAll());
    });
    if (!r) return;
    m_edCombs->setPlainText(text);
    NormaliseCombs();
}

void TFormSystem::SaveCombsToFile(const QString &fileName) {
    (void)Guarded(m_host, QString(), [&] {
        WriteFileAtomically(fileName, ToCp1251(JoinLinesCrLf(SystemContentLines(m_edCombs->toPlainText()))));
    });
}

tSystemData TFormSystem::Result() const {
    tSystemData data;
    data.Info.Id = m_data.Info.Id;
    data.Info.OwnerMail = m_data.Info.OwnerMail;
    const int nums = m_edNums->text().toInt();
    const int block = m_edOlap->text().toInt();
    // Out of the byte's range is out of the checks' range too.
    data.Info.Nums = uint8_t(nums >= 0 && nums <= 255 ? nums : 0);
    data.Info.Block = uint8_t(block >= 0 && block <= 255 ? block : 255);
    data.Info.CSize = m_lbCount->text().toInt();
    data.Info.Title = m_edTitle->text();
    data.Info.Author = m_edAuthor->text();
    data.Info.Description = m_edDescr->toPlainText();
    data.Info.Url = m_edUrl->text();
    data.Content = SystemContentLines(m_edCombs->toPlainText()).join(QStringLiteral("\r\n"));
    data.Info.Created = m_data.Info.Created.isValid()
                            ? m_data.Info.Created
                            : QDateTime::fromSecsSinceEpoch(QDateTime::currentSecsSinceEpoch());
    data.Info.LastDownload = m_data.Info.LastDownload;
    data.Info.Downloads = m_data.Info.Downloads;
    return data;
}

void TFormSystem::accept() {
    if (!m_editable) return;
    // OK may come while the combinations field still has the focus.
    if (m_edCombs->hasFocus() && !NormaliseCombs()) {
        m_edCombs->setFocus();
        return;
    }
    QString text;
    const TSystemField field = CheckSystemData(Result(), &text);
    if (field != TSystemField::None) {
        m_host.ShowError(text);
        QWidget *focus[] = {nullptr, m_edTitle, m_edNums, m_edOlap, m_edAuthor, m_edDescr, m_edCombs};
        if (QWidget *w = focus[int(field)]) w->setFocus();
        return;
    }
    QDialog::accept();
}

} // namespace lot
