#include "gui/catalogue/FormScrPublic.h"

#include "catalogue/CatalogueClient.h"
#include "catalogue/CatalogueCodec.h"
#include "catalogue/CatalogueController.h"
#include "core/Format.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace lot {

TFormScrPublic::TFormScrPublic(TTitleCheck check, TNotice notice, QWidget *parent)
    : QDialog(parent), m_check(std::move(check)), m_notice(std::move(notice)) {
    setObjectName(QStringLiteral("TFormScrPublic"));
    setWindowTitle(QStringLiteral("Свойства сценария"));
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    m_author = new QLineEdit(this);
    m_author->setObjectName(QStringLiteral("edClName"));
    m_author->setMaxLength(64);
    form->addRow(QStringLiteral("Автор:"), m_author);
    m_language = new QComboBox(this);
    m_language->setObjectName(QStringLiteral("cbClLcid"));
    for (const auto &[lcid, name] : ScriptLanguages())
        m_language->addItem(name, lcid);
    form->addRow(QStringLiteral("Язык:"), m_language);
    m_title = new QLineEdit(this);
    m_title->setObjectName(QStringLiteral("edTitle"));
    m_title->setMaxLength(64);
    form->addRow(QStringLiteral("Название:"), m_title);
    m_description = new QPlainTextEdit(this);
    m_description->setObjectName(QStringLiteral("edDescr"));
    form->addRow(QStringLiteral("Описание:"), m_description);
    layout->addLayout(form, 1);

    auto *view = new QGroupBox(QStringLiteral(" Доступность "), this);
    view->setObjectName(QStringLiteral("rgViewMode"));
    auto *viewLayout = new QVBoxLayout(view);
    m_public = new QRadioButton(QStringLiteral("Сценарий виден всем пользователям"), view);
    m_private = new QRadioButton(QStringLiteral("Сценарий виден только мне"), view);
    viewLayout->addWidget(m_public);
    viewLayout->addWidget(m_private);
    auto *app = new QGroupBox(QStringLiteral(" Применяемость "), this);
    app->setObjectName(QStringLiteral("rgAppMode"));
    auto *appLayout = new QVBoxLayout(app);
    m_thisApp =
        new QRadioButton(Format(QStringLiteral("Только в \"%s\""), {TCatalogueClient::AppName()}), app);
    m_anyApp = new QRadioButton(QStringLiteral("В любом приложении Zelvin"), app);
    appLayout->addWidget(m_thisApp);
    appLayout->addWidget(m_anyApp);
    auto *groups = new QHBoxLayout;
    groups->addWidget(view);
    groups->addWidget(app);
    layout->addLayout(groups);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("btnOK"));
    m_ok->setToolTip(QStringLiteral("Отправить сценарий на сервер"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("Отмена"), this);
    m_cancel->setObjectName(QStringLiteral("btnCancel"));
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);
    connect(m_ok, &QPushButton::clicked, this, &TFormScrPublic::accept);
    connect(m_cancel, &QPushButton::clicked, this, &TFormScrPublic::reject);
    resize(520, 420);
    SetData(tScriptData{});
}

void TFormScrPublic::SetData(const tScriptData &data) {
    m_id = data.Id;
    m_author->setText(data.AuthorName);
    int index = m_language->findData(data.Lcid);
    if (index < 0 && data.Lcid != 0) {
        m_language->addItem(LanguageAbbreviation(data.Lcid), data.Lcid);
        index = m_language->count() - 1;
    }
    m_language->setCurrentIndex(qMax(0, index));
    m_title->setText(data.Title);
    m_description->setPlainText(data.Description);
    (data.Public ? m_public : m_private)->setChecked(true);
    (data.Universal ? m_anyApp : m_thisApp)->setChecked(true);
}

tScriptData TFormScrPublic::Data() const {
    tScriptData d;
    d.Id = m_id;
    d.AuthorName = m_author->text().trimmed();
    d.Lcid = m_language->currentData().toInt();
    d.Universal = m_anyApp->isChecked();
    d.Public = m_public->isChecked();
    d.Title = m_title->text().trimmed();
    d.Description = m_description->toPlainText();
    return d;
}

void TFormScrPublic::SetReadOnly(bool readOnly) {
    m_author->setReadOnly(readOnly);
    m_title->setReadOnly(readOnly);
    m_description->setReadOnly(readOnly);
    m_language->setEnabled(!readOnly);
    for (QRadioButton *b : {m_public, m_private, m_thisApp, m_anyApp})
        b->setEnabled(!readOnly);
    m_ok->setVisible(!readOnly);
    m_cancel->setText(readOnly ? QStringLiteral("Закрыть окно") : QStringLiteral("Отмена"));
    if (readOnly) {
        m_cancel->setDefault(true);
        m_cancel->setFocus();
    }
}

void TFormScrPublic::accept() {
    const QString title = m_title->text().trimmed();
    if (title.isEmpty()) {
        m_notice(QStringLiteral("Название сценария должно быть указано обязательно!"));
        m_title->setFocus();
        return;
    }
    bool taken = false;
    if (!m_check(m_id, title, taken)) {
        if (taken) {
            m_notice(TCatalogueController::TitleTakenText());
            m_title->setFocus();
        }
        return;
    }
    if (m_author->text().trimmed().isEmpty()) {
        m_notice(QStringLiteral("Имя автора должно быть указано обязательно!"));
        m_author->setFocus();
        return;
    }
    QDialog::accept();
}

} // namespace lot
