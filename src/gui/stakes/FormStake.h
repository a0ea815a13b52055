#pragma once

#include "stakes/StakeRec.h"

#include <QDialog>

class QLineEdit;
class QSpinBox;

namespace lot {

class IHost;

/// "Добавление ставки": draw number, draws count, the six numbers as text
/// with their running sum, and the comment. OK keeps the window open until
/// the numbers are six distinct numbers 1..45 and a comment is given.
class TFormStake : public QDialog {
    Q_OBJECT
public:
    TFormStake(IHost &host, const TStakeRec &rec, int drawsCount, QWidget *parent = nullptr);

    /// Opens the dialog modally; on OK rec takes the draw number, comment
    /// and numbers (six, ascending) and drawsCount the count.
    static bool Execute(IHost &host, TStakeRec &rec, int &drawsCount, QWidget *parent = nullptr);

    /// The incoming record with the dialog's draw number, comment and
    /// numbers (valid after a successful OK).
    const TStakeRec &Stake() const { return m_result; }
    int DrawsCount() const;

    QSpinBox *DrawNumberEdit() const { return m_edDrawNumber; }
    QSpinBox *DrawsCountEdit() const { return m_edDrawsCount; }
    QLineEdit *StakeDataEdit() const { return m_edStakeData; }
    QLineEdit *StakeSumEdit() const { return m_edStakeSum; }
    QLineEdit *CommentEdit() const { return m_edComment; }

public slots:
    void accept() override;

private:
    void UpdateSum();

    IHost &m_host;
    TStakeRec m_result;
    QSpinBox *m_edDrawNumber = nullptr;
    QSpinBox *m_edDrawsCount = nullptr;
    QLineEdit *m_edStakeData = nullptr;
    QLineEdit *m_edStakeSum = nullptr;
    QLineEdit *m_edComment = nullptr;
};

} // namespace lot
