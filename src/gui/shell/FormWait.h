#pragma once

#include <QDialog>

class QLabel;

namespace lot {

/// The wait window: one line of text over the main window while a blocking
/// call (a download) runs.
class TFormWait : public QDialog {
    Q_OBJECT
public:
    explicit TFormWait(QWidget *parent);
    void SetText(const QString &text);
    QString Text() const;

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override {}

private:
    QLabel *m_text = nullptr;
};

} // namespace lot
