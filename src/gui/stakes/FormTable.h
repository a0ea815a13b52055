#pragma once

#include "stakes/Tables.h"

#include <QDialog>
#include <QStringList>

class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace lot {

class IHost;

/// "Добавление регулярной ставки": the rule's name, whether it shifts a
/// constant start combination or the previous draw's numbers, and the step.
/// rule.Stakes carries the number of selected combinations in: with one
/// the start combination is edited, otherwise it stands for them all.
class TFormTable : public QDialog {
    Q_OBJECT
public:
    TFormTable(IHost &host, const TTableRec &rule, const QStringList &names, QWidget *parent = nullptr);

    /// Opens the dialog modally; on OK rule takes the result.
    static bool Execute(IHost &host, TTableRec &rule, const QStringList &names, QWidget *parent = nullptr);

    /// The incoming rule with the dialog's values (valid after OK).
    const TTableRec &Rule() const { return m_result; }

    QLineEdit *CommentEdit() const { return m_edComment; }
    QRadioButton *UseMyCombButton() const { return m_rbUseMyComb; }
    QRadioButton *UseLastDrawButton() const { return m_rbUseLastDraw; }
    QLineEdit *CombStartEdit() const { return m_edCombStart; }
    QSpinBox *StepEdit() const { return m_edStep; }

public slots:
    void accept() override;

private:
    void UpdateEnabled();

    IHost &m_host;
    TTableRec m_result;
    QStringList m_names;
    int m_selected = 0;
    QLineEdit *m_edComment = nullptr;
    QRadioButton *m_rbUseMyComb = nullptr;
    QRadioButton *m_rbUseLastDraw = nullptr;
    QLineEdit *m_edCombStart = nullptr;
    QSpinBox *m_edStep = nullptr;
};

} // namespace lot
