#pragma once

#include <QDialog>

class QLineEdit;

namespace lot {

/// "Ваши данные для online-каталога": the name and e-mail the catalogue knows the user by,
/// asked the first time a call needs them.
class TFormIdentity : public QDialog {
    Q_OBJECT
public:
    explicit TFormIdentity(QWidget *parent = nullptr);
    void SetIdentity(const QString &name, const QString &mail);
    QString Name() const;
    QString Mail() const;
    QLineEdit *NameEdit() const { return m_name; }
    QLineEdit *MailEdit() const { return m_mail; }

    void accept() override;

private:
    QLineEdit *m_name = nullptr;
    QLineEdit *m_mail = nullptr;
};

} // namespace lot
