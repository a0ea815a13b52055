#include "gui/download/FormProxy.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace lot {

TFormProxy::TFormProxy(const TProxy &proxy, QWidget *parent) : QDialog(parent), m_original(proxy) {
    setObjectName(QStringLiteral("TFormProxy"));
    setWindowTitle(QStringLiteral("Параметры proxy-сервера"));
    auto *layout = new QVBoxLayout(this);

    m_off = new QRadioButton(QStringLiteral("Не использовать proxy-сервер"), this);
    m_off->setObjectName(QStringLiteral("rbProxyOff"));
    m_auto = new QRadioButton(QStringLiteral("Автоматический поиск сервера (возможны задержки)"), this);
    m_auto->setObjectName(QStringLiteral("rbProxyAuto"));
    m_manual = new QRadioButton(QStringLiteral("Ручной выбор proxy-сервера:"), this);
    m_manual->setObjectName(QStringLiteral("rbProxyManual"));
    layout->addWidget(m_off);
    layout->addWidget(m_auto);
    layout->addWidget(m_manual);

    auto *fields = new QFormLayout;
    fields->setContentsMargins(24, 0, 0, 0);
    m_server = new QLineEdit(proxy.Server, this);
    m_server->setObjectName(QStringLiteral("edServer"));
    m_server->setMinimumWidth(260);
    m_port = new QSpinBox(this);
    m_port->setObjectName(QStringLiteral("edPort"));
    m_port->setRange(1, 65535);
    m_port->setValue(proxy.Port >= 1 && proxy.Port <= 65535 ? proxy.Port : 80);
    m_port->setMinimumWidth(90);
    m_username = new QLineEdit(proxy.Username, this);
    m_username->setObjectName(QStringLiteral("edUsername"));
    m_password = new QLineEdit(proxy.Password, this);
    m_password->setObjectName(QStringLiteral("edPassword"));
    m_password->setEchoMode(QLineEdit::Password);
    fields->addRow(QStringLiteral("Имя или адрес сервера:"), m_server);
    fields->addRow(QStringLiteral("Порт:"), m_port);
    fields->addRow(QStringLiteral("Имя пользователя:"), m_username);
    fields->addRow(QStringLiteral("Пароль:"), m_password);
    layout->addLayout(fields);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addStretch();
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    switch (proxy.EffectiveMode()) {
    case pmAuto:
        m_auto->setChecked(true);
        break;
    case pmManual:
        m_manual->setChecked(true);
        break;
    default:
        m_off->setChecked(true);
        break;
    }
    for (QRadioButton *button : {m_off, m_auto, m_manual})
        connect(button, &QRadioButton::toggled, this, &TFormProxy::UpdateFields);
    UpdateFields();
    setFixedSize(sizeHint());
}

void TFormProxy::UpdateFields() {
    const bool manual = m_manual->isChecked();
    for (QWidget *field : {static_cast<QWidget *>(m_server), static_cast<QWidget *>(m_port),
                           static_cast<QWidget *>(m_username), static_cast<QWidget *>(m_password)})
        field->setEnabled(manual);
}

TProxy TFormProxy::Data() const {
    TProxy proxy = m_original;
    proxy.Server = m_server->text().trimmed();
    proxy.Port = m_port->value();
    proxy.Username = m_username->text();
    proxy.Password = m_password->text();
    proxy.Saved = false;
    if (m_manual->isChecked()) {
        proxy.Mode = pmManual;
    } else if (m_auto->isChecked()) {
        proxy.Mode = pmAuto;
        proxy.Server.clear();
        proxy.Port = 0;
        proxy.Username.clear();
        proxy.Password.clear();
    } else {
        proxy.Mode = pmNone;
    }
    return proxy;
}

bool TFormProxy::Execute(QWidget *parent, TProxy &proxy) {
    TFormProxy form(proxy, parent);
    if (form.exec() != QDialog::Accepted) return false;
    proxy = form.Data();
    return true;
}

} // namespace lot
