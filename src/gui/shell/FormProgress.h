#pragma once

#include <functional>
#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace lot {

/// The progress window: a text, a bar and an optional "Отмена" button. It
/// stays on top of the main window and never blocks it; the owner of the
/// long operation polls the cancel request.
class TFormProgress : public QDialog {
    Q_OBJECT
public:
    TFormProgress(QWidget *parent, bool canCancel, std::function<void()> onCancel);

    void SetState(const QString &text, int position, int maximum);
    QString Text() const;
    int Position() const;
    int Maximum() const;
    QPushButton *CancelButton() const { return m_cancel; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    void Cancel();

    QLabel *m_text = nullptr;
    QProgressBar *m_bar = nullptr;
    QPushButton *m_cancel = nullptr;
    std::function<void()> m_onCancel;
};

} // namespace lot
