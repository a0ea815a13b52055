#include "gui/shell/FormProgress.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace lot {

TFormProgress::TFormProgress(QWidget *parent, bool canCancel, std::function<void()> onCancel)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_onCancel(std::move(onCancel)) {
    setObjectName(QStringLiteral("FormProgress"));
    setWindowTitle(parent ? parent->window()->windowTitle() : QString());
    setModal(false);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->setSpacing(10);
    m_text = new QLabel(this);
    m_text->setWordWrap(true);
    m_text->setMinimumWidth(360);
    layout->addWidget(m_text);
    m_bar = new QProgressBar(this);
    m_bar->setTextVisible(true);
    layout->addWidget(m_bar);
    if (canCancel) {
        m_cancel = new QPushButton(QStringLiteral("Отмена"), this);
        m_cancel->setObjectName(QStringLiteral("btnCancel"));
        connect(m_cancel, &QPushButton::clicked, this, &TFormProgress::Cancel);
        auto *row = new QHBoxLayout;
        row->addStretch();
        row->addWidget(m_cancel);
        layout->addLayout(row);
    }
    setFixedHeight(sizeHint().height());
}

void TFormProgress::SetState(const QString &text, int position, int maximum) {
    m_text->setText(text);
    m_bar->setRange(0, qMax(0, maximum));
    m_bar->setValue(qBound(0, position, qMax(0, maximum)));
}

QString TFormProgress::Text() const {
    return m_text->text();
}
int TFormProgress::Position() const {
    return m_bar->value();
}
int TFormProgress::Maximum() const {
    return m_bar->maximum();
}

void TFormProgress::Cancel() {
    if (m_cancel) m_cancel->setEnabled(false);
    if (m_onCancel) m_onCancel();
}

// The caller closes the window when its loop ends; closing it by hand or
// with Esc only asks for a stop, and only where a stop is offered.
void TFormProgress::closeEvent(QCloseEvent *event) {
    event->ignore();
    if (m_cancel && m_cancel->isEnabled()) Cancel();
}

void TFormProgress::reject() {
    if (m_cancel && m_cancel->isEnabled()) Cancel();
}

} // namespace lot
