#include "gui/shell/FormFirstRun.h"

#include "core/Host.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace lot {

TFormFirstRun::TFormFirstRun(IHost &host, const QString &helpFile, QWidget *parent)
    : QDialog(parent), m_host(host), m_helpFile(helpFile) {
    setObjectName(QStringLiteral("TFormFirstRun"));
    setWindowTitle(QStringLiteral("Справочная информация"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 16, 18, 14);
    layout->setSpacing(12);

    auto *text = new QLabel(QStringLiteral("Если Вы запускаете программу в первый раз, рекомендуем Вам "
                                           "ознакомится со справочной инфомацией:"),
                            this);
    text->setWordWrap(true);
    text->setMinimumWidth(380);
    layout->addWidget(text);

    m_btnHelp = new QPushButton(QStringLiteral("Открыть файл встроенной справочной системы"), this);
    m_btnHelp->setObjectName(QStringLiteral("btnHelp"));
    m_btnHelp->setEnabled(!m_helpFile.isEmpty() && QFileInfo::exists(m_helpFile));
    connect(m_btnHelp, &QPushButton::clicked, this, [this] { m_host.OpenWithDefault(m_helpFile); });
    layout->addWidget(m_btnHelp);
    layout->addSpacing(6);

    auto *bottom = new QHBoxLayout;
    m_cbDontShow = new QCheckBox(QStringLiteral("Больше не показывать данный диалог"), this);
    m_cbDontShow->setObjectName(QStringLiteral("cbDontShow"));
    bottom->addWidget(m_cbDontShow);
    bottom->addStretch();
    auto *close = new QPushButton(QStringLiteral("Закрыть"), this);
    close->setObjectName(QStringLiteral("btnClose"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    bottom->addWidget(close);
    layout->addLayout(bottom);
    setFixedSize(sizeHint());
}

bool TFormFirstRun::DontShowAgain() const {
    return m_cbDontShow->isChecked();
}

} // namespace lot
