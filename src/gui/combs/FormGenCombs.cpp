#include "gui/combs/FormGenCombs.h"

#include "combs/CombFile.h"
#include "combs/CombGenerator.h"
#include "gui/shell/GuiHost.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace lot {

namespace {
// The stored filter is in the "text|pattern" form of the file dialogs of old;
// Qt wants only the text, which already names the pattern.
QString CombsDialogFilter() {
    return QString::fromUtf8(CombsFileFilter).section(QLatin1Char('|'), 0, 0);
}
} // namespace

TFormGenCombs::TFormGenCombs(TGuiHost &host, int mode, const QString &parameters, QWidget *parent)
    : QDialog(parent), m_host(host) {
    setObjectName(QStringLiteral("TFormGenCombs"));
    setWindowTitle(QStringLiteral("Создание нового списка комбинаций"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 12, 14, 12);
    layout->setSpacing(4);

    auto *lbMode = new QLabel(QStringLiteral("Режим генерации списка комбинаций:"), this);
    m_cbMode = new QComboBox(this);
    m_cbMode->setObjectName(QStringLiteral("cbCombsGenerateMode"));
    m_cbMode->addItems(CombsGenerateModeTexts());
    m_cbMode->setCurrentIndex(NormalizeGenerateMode(mode));
    lbMode->setBuddy(m_cbMode);
    layout->addWidget(lbMode);
    layout->addWidget(m_cbMode);
    layout->addSpacing(8);

    auto *lbParam = new QLabel(QStringLiteral("Мои числа или имя файла для загрузки:"), this);
    m_edParam = new QLineEdit(parameters, this);
    m_edParam->setObjectName(QStringLiteral("edCombsGenerateParam"));
    // The saved parameter text holds at most 255 characters.
    m_edParam->setMaxLength(255);
    m_btnFile = new QToolButton(this);
    m_btnFile->setObjectName(QStringLiteral("btnSelectFile"));
    m_btnFile->setText(QStringLiteral("..."));
    m_btnFile->setToolTip(QStringLiteral("Выбор файла"));
    m_btnFile->setStatusTip(QStringLiteral("Выбор файла"));
    lbParam->setBuddy(m_edParam);
    layout->addWidget(lbParam);
    auto *paramRow = new QHBoxLayout;
    paramRow->setSpacing(4);
    paramRow->addWidget(m_edParam, 1);
    paramRow->addWidget(m_btnFile);
    layout->addLayout(paramRow);
    layout->addSpacing(8);

    m_cbSave = new QCheckBox(
        QStringLiteral("Сохранить эти параметры для генерации комбинаций \"по умолчанию\""), this);
    m_cbSave->setObjectName(QStringLiteral("cbSaveParameters"));
    m_cbSave->setChecked(false);
    layout->addWidget(m_cbSave);
    layout->addSpacing(6);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(m_cbMode, &QComboBox::currentIndexChanged, this, &TFormGenCombs::UpdateControls);
    connect(m_btnFile, &QToolButton::clicked, this, &TFormGenCombs::SelectFile);
    UpdateControls();
    setMinimumWidth(440);
    adjustSize();
}

bool TFormGenCombs::Execute(TGuiHost &host, int &mode, QString &parameters, bool &save, QWidget *parent) {
    TFormGenCombs form(host, mode, parameters, parent);
    if (form.exec() != QDialog::Accepted) return false;
    mode = form.Mode();
    parameters = form.Parameters();
    save = form.SaveParameters();
    return true;
}

int TFormGenCombs::Mode() const {
    return qMax(0, m_cbMode->currentIndex());
}

QString TFormGenCombs::Parameters() const {
    return m_edParam->text();
}

bool TFormGenCombs::SaveParameters() const {
    return m_cbSave->isChecked();
}

void TFormGenCombs::SelectFile() {
    const QString file =
        m_host.ChooseFile(false, CombsDialogFilter(), QString::fromLatin1(CombsFileExtension));
    if (!file.isEmpty()) m_edParam->setText(QDir::toNativeSeparators(file));
}

void TFormGenCombs::UpdateControls() {
    const int mode = Mode();
    m_edParam->setEnabled(mode >= cgmAnyOf && mode <= cgmFromFile);
    m_btnFile->setEnabled(mode == cgmFromFile);
}

} // namespace lot
