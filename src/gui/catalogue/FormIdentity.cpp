#include "gui/catalogue/FormIdentity.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lot {

TFormIdentity::TFormIdentity(std::function<void(const QString &)> notice, QWidget *parent)
    : QDialog(parent), m_notice(std::move(notice)) {
    setObjectName(QStringLiteral("TFormIdentity"));
    setWindowTitle(QStringLiteral("Ваши данные для online-каталога"));
    auto *layout = new QVBoxLayout(this);
    auto *note =
        new QLabel(QStringLiteral("Имя и адрес электронной почты указываются при публикации и оценке "
                                  "сценариев и систем; по адресу каталог узнаёт Ваши записи."),
                   this);
    note->setWordWrap(true);
    layout->addWidget(note);
    auto *form = new QFormLayout;
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("edUserName"));
    m_name->setMaxLength(64);
    m_mail = new QLineEdit(this);
    m_mail->setObjectName(QStringLiteral("edUserMail"));
    m_mail->setMaxLength(254);
    form->addRow(QStringLiteral("Имя:"), m_name);
    form->addRow(QStringLiteral("E-mail:"), m_mail);
    layout->addLayout(form);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TFormIdentity::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(420, 160);
}

void TFormIdentity::SetIdentity(const QString &name, const QString &mail) {
    m_name->setText(name);
    m_mail->setText(mail);
}

QString TFormIdentity::Name() const {
    return m_name->text().trimmed();
}
QString TFormIdentity::Mail() const {
    return m_mail->text().trimmed();
}

void TFormIdentity::accept() {
    if (Name().isEmpty()) {
        m_notice(QStringLiteral("Имя должно быть указано обязательно!"));
        m_name->setFocus();
        return;
    }
    // An address is something@something: the catalogue keys entries by it.
    const qsizetype at = Mail().indexOf(QLatin1Char('@'));
    if (at <= 0 || at == Mail().size() - 1 || Mail().contains(QLatin1Char(' '))) {
        m_notice(QStringLiteral("Адрес электронной почты должен иметь вид имя@домен!"));
        m_mail->setFocus();
        return;
    }
    QDialog::accept();
}

} // namespace lot
