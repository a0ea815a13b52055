#pragma once

#include <functional>
#include <QDialog>

class QLineEdit;

namespace lot {

/// "Ваши данные для online-каталога": the name and e-mail the catalogue knows the user by,
/// asked the first time a call needs them.
class TFormIdentity : public QDialog {
    Q_OBJECT
public:
    /// notice shows what OK refuses.
    explicit TFormIdentity(std::function<void(const QString &)> notice, QWidget *parent = nullptr);
    void SetIdentity(const QString &name, const QString &mail);
    QString Name() const;
    QString Mail() const;
    QLineEdit *NameEdit() const { return m_name; }
    QLineEdit *MailEdit() const { return m_mail; }

    void accept() override;

private:
    std::function<void(const QString &)> m_notice;
    QLineEdit *m_name = nullptr;
    QLineEdit *m_mail = nullptr;
};

} // namespace lot
