#pragma once

#include <cstdint>
#include <QDialog>

class QComboBox;
class QPushButton;
class QSpinBox;

namespace lot {

/// "Удаление по условию": a condition on the overlap count and its value.
/// Opens with condition 0 and value 0 every time.
class TFormStakeFilter : public QDialog {
    Q_OBJECT
public:
    explicit TFormStakeFilter(QWidget *parent = nullptr);

    /// Opens the dialog modally; on OK packed holds the condition in its low
    /// byte and the value in its high byte.
    static bool Execute(uint16_t &packed, QWidget *parent = nullptr);

    int Condition() const;
    int Value() const;
    uint16_t Packed() const { return uint16_t(Condition() | (Value() << 8)); }
    static int ConditionOf(uint16_t packed) { return packed & 0xFF; }
    static int ValueOf(uint16_t packed) { return packed >> 8; }

    QComboBox *ConditionBox() const { return m_cbCondition; }
    QSpinBox *ValueEdit() const { return m_edValue; }
    QPushButton *OkButton() const { return m_ok; }

private:
    QComboBox *m_cbCondition = nullptr;
    QSpinBox *m_edValue = nullptr;
    QPushButton *m_ok = nullptr;
};

} // namespace lot
