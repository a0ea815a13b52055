#pragma once

#include <QDialog>

class QSpinBox;

namespace lot {

/// "Количество тестов": the number of past draws a test runs over, 1 up to
/// the archive's draws minus 1, 10 at first.
class TFormTestCnt : public QDialog {
    Q_OBJECT
public:
    static constexpr int DefaultCount = 10;

    /// maxCount: the largest count allowed (at least 1 is offered).
    explicit TFormTestCnt(int maxCount, QWidget *parent = nullptr);

    /// Opens the dialog; on OK count takes the value.
    static bool Execute(int maxCount, int &count, QWidget *parent = nullptr);

    int Count() const;
    QSpinBox *CountEdit() const { return m_edCount; }

private:
    QSpinBox *m_edCount = nullptr;
};

} // namespace lot
