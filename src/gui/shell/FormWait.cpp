#include "gui/shell/FormWait.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

namespace lot {

TFormWait::TFormWait(QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("FormWait"));
    setModal(false);
    auto *frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);
    auto *layout = new QVBoxLayout(frame);
    layout->setContentsMargins(24, 18, 24, 18);
    m_text = new QLabel(frame);
    m_text->setAlignment(Qt::AlignCenter);
    m_text->setMinimumWidth(320);
    m_text->setWordWrap(true);
    layout->addWidget(m_text);
}

void TFormWait::SetText(const QString &text) {
    m_text->setText(text);
    adjustSize();
}

QString TFormWait::Text() const {
    return m_text->text();
}

// Only the operation that opened the window closes it.
void TFormWait::closeEvent(QCloseEvent *event) {
    event->ignore();
}

} // namespace lot
