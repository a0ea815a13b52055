#include "gui/archive/FormDraw.h"
#include "core/Messages.h"

#include "archive/DrawText.h"
#include "core/CoreHelpers.h"
#include "core/Host.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>
#include <QTimeEdit>
#include <QVBoxLayout>

#include <limits>

namespace lot {

namespace {
constexpr int HeightWithoutDate = 200;
}

TFormDraw::TFormDraw(IHost &host, const QString &title, const TDrawRec &draw, bool showDate, QWidget *parent)
    : QDialog(parent), m_host(host), m_source(draw), m_result(draw), m_showDate(showDate) {
    setObjectName(QStringLiteral("TFormDraw"));
    setWindowTitle(QStringLiteral("Данные тиража"));
    const QLocale russian(QLocale::Russian, QLocale::Russia);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 10, 14, 10);
    layout->setSpacing(4);

    if (!title.isEmpty()) {
        auto *heading = new QLabel(title, this);
        heading->setObjectName(QStringLiteral("lbTitle"));
        QFont font = heading->font();
        font.setBold(true);
        heading->setFont(font);
        layout->addWidget(heading);
        layout->addSpacing(4);
    }

    auto *lbNumber = new QLabel(QStringLiteral("Номер тиража:"), this);
    m_edDrawNumber = new QSpinBox(this);
    m_edDrawNumber->setObjectName(QStringLiteral("edDrawNumber"));
    m_edDrawNumber->setRange(1, std::numeric_limits<int>::max());
    m_edDrawNumber->setValue(draw.DrawNumber);
    m_edDrawNumber->setMinimumWidth(120);
    lbNumber->setBuddy(m_edDrawNumber);
    layout->addWidget(lbNumber);
    auto *numberRow = new QHBoxLayout;
    numberRow->addWidget(m_edDrawNumber);
    numberRow->addStretch();
    layout->addLayout(numberRow);

    auto *lbData =
        new QLabel(QStringLiteral("Выпавшие числа, разделенные точкой с запятой или запятой:"), this);
    m_edDrawData = new QLineEdit(DrawNumbersToEditText(draw), this);
    m_edDrawData->setObjectName(QStringLiteral("edDrawData"));
    lbData->setBuddy(m_edDrawData);
    layout->addWidget(lbData);
    layout->addWidget(m_edDrawData);

    m_lbDrawDate = new QLabel(QStringLiteral("Дата и время тиража:"), this);
    m_edDrawDate = new QDateEdit(this);
    m_edDrawDate->setObjectName(QStringLiteral("edDrawDate"));
    m_edDrawDate->setLocale(russian);
    m_edDrawDate->setDisplayFormat(russian.dateFormat(QLocale::LongFormat));
    m_edDrawDate->setCalendarPopup(true);
    m_edDrawTime = new QTimeEdit(this);
    m_edDrawTime->setObjectName(QStringLiteral("edDrawTime"));
    m_edDrawTime->setLocale(russian);
    m_edDrawTime->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    m_lbDrawDate->setBuddy(m_edDrawDate);
    auto *dateRow = new QHBoxLayout;
    dateRow->addWidget(m_edDrawDate, 1);
    dateRow->addWidget(m_edDrawTime);
    layout->addWidget(m_lbDrawDate);
    layout->addLayout(dateRow);

    if (showDate) {
        QDate date;
        const QString text = DrawDateText(draw);
        if (!text.trimmed().isEmpty()) {
            try {
                date = DrawTextToDate(text);
            } catch (const std::exception &) {
                m_keepDateText = true;
            }
        }
        if (date.isValid()) {
            m_edDrawDate->setDate(date);
            m_edDrawTime->setTime(QTime(0, 0));
        } else {
            const QDateTime now = QDateTime::currentDateTime();
            m_edDrawDate->setDate(now.date());
            m_edDrawTime->setTime(now.time());
        }
        connect(m_edDrawDate, &QDateEdit::dateChanged, this, [this] { m_dateTouched = true; });
    } else {
        m_lbDrawDate->hide();
        m_edDrawDate->hide();
        m_edDrawTime->hide();
    }

    layout->addStretch(1);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TFormDraw::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    setMinimumWidth(420);
    if (!showDate) setFixedHeight(HeightWithoutDate);
    m_edDrawData->setFocus();
    m_edDrawData->selectAll();
}

bool TFormDraw::Execute(IHost &host, const QString &title, TDrawRec &draw, bool showDate, QWidget *parent) {
    TFormDraw form(host, title, draw, showDate, parent);
    if (form.exec() != QDialog::Accepted) return false;
    draw = form.Draw();
    return true;
}

void TFormDraw::accept() {
    TDrawRec rec = m_source;
    if (!ParseDrawNumbersText(m_edDrawData->text(), rec)) {
        m_host.ShowError(QString::fromUtf8(msg::BadCombination));
        m_edDrawData->setFocus();
        return;
    }
    rec.DrawNumber = m_edDrawNumber->value();
    // Only the date reaches the text; the draw time is not stored.
    if (m_showDate && !(m_keepDateText && !m_dateTouched))
        SetDrawDateText(rec, DateToDrawText(m_edDrawDate->date()));
    m_result = rec;
    QDialog::accept();
}

} // namespace lot
