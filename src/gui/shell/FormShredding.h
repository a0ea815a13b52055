#pragma once
/// @file The shredding formulas dialog "Методы шинковки".

#include "stats/StatList.h"

#include <functional>
#include <QDialog>

class QLineEdit;
class QSpinBox;

namespace lot {

/// Edits the three shredding formulas and the digits each keeps. OK checks
/// every formula first: the first one with an error is reported (its error
/// box names what muparser found) and gets the focus, and the dialog stays
/// open. The caller saves the formulas and rebuilds their prefetch files.
class TFormShredding : public QDialog {
    Q_OBJECT
public:
    /// Receives the text of an error box.
    using TErrorSink = std::function<void(const QString &text)>;

    /// errorSink: where the error boxes go; by default a message box titled "Ошибка".
    explicit TFormShredding(const TShreddingData &data, QWidget *parent = nullptr, TErrorSink errorSink = {});

    /// Shows the dialog modally; on OK data becomes the edited formulas and
    /// the result is true. Cancel changes nothing.
    static bool Execute(QWidget *parent, TShreddingData &data, TErrorSink errorSink = {});

    /// The formulas as the controls hold them now.
    TShreddingData Data() const;

    void accept() override;

private:
    void ShowError(const QString &text);

    TErrorSink m_errorSink;
    QLineEdit *m_formula[3] = {};
    QSpinBox *m_digits[3] = {};
};

} // namespace lot
