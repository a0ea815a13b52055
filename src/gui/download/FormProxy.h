#pragma once
/// @file The proxy settings dialog "Параметры proxy-сервера".

#include "download/ProxySettings.h"

#include <QDialog>

class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace lot {

/// Chooses how the results pages are fetched: directly, through a proxy
/// found automatically, or through one the user enters. The server, port,
/// user name and password fields are usable only for a manual proxy.
class TFormProxy : public QDialog {
    Q_OBJECT
public:
    /// Opens with the current settings; a mode outside 0..2 shows as "off".
    explicit TFormProxy(const TProxy &proxy, QWidget *parent = nullptr);

    /// Shows the dialog modally; on OK proxy holds the chosen mode and
    /// fields (automatic clears them) and the result is true.
    static bool Execute(QWidget *parent, TProxy &proxy);

    /// The settings as the controls hold them now: the fields as typed, the
    /// mode of the selected button, and in automatic mode no server, port,
    /// user name or password.
    TProxy Data() const;

private:
    void UpdateFields();

    TProxy m_original;
    QRadioButton *m_off = nullptr;
    QRadioButton *m_auto = nullptr;
    QRadioButton *m_manual = nullptr;
    QLineEdit *m_server = nullptr;
    QSpinBox *m_port = nullptr;
    QLineEdit *m_username = nullptr;
    QLineEdit *m_password = nullptr;
};

} // namespace lot
