#pragma once

#include "core/Lottery.h"

#include <QDialog>

class QDateEdit;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTimeEdit;

namespace lot {

class IHost;

/// The draw dialog: draw number, the eight numbers as one line of text and,
/// when asked, the draw date. OK keeps the window open until the numbers
/// are a valid draw.
class TFormDraw : public QDialog {
    Q_OBJECT
public:
    TFormDraw(IHost &host, const QString &title, const TDrawRec &draw, bool showDate,
              QWidget *parent = nullptr);

    /// Opens the dialog modally; true and the edited record on OK.
    static bool Execute(IHost &host, const QString &title, TDrawRec &draw, bool showDate,
                        QWidget *parent = nullptr);

    /// The record as the controls give it (valid after a successful OK).
    TDrawRec Draw() const { return m_result; }

    QSpinBox *DrawNumberEdit() const { return m_edDrawNumber; }
    QLineEdit *DrawDataEdit() const { return m_edDrawData; }
    QDateEdit *DrawDateEdit() const { return m_edDrawDate; }
    QTimeEdit *DrawTimeEdit() const { return m_edDrawTime; }

public slots:
    void accept() override;

private:
    IHost &m_host;
    TDrawRec m_source;
    TDrawRec m_result;
    bool m_showDate;
    // A stored date text that does not parse is kept as it is unless the
    // user picks a date: an edit must not silently replace it with today.
    bool m_keepDateText = false;
    bool m_dateTouched = false;
    QSpinBox *m_edDrawNumber = nullptr;
    QLineEdit *m_edDrawData = nullptr;
    QDateEdit *m_edDrawDate = nullptr;
    QTimeEdit *m_edDrawTime = nullptr;
    QLabel *m_lbDrawDate = nullptr;
};

} // namespace lot
