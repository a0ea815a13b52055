#pragma once

#include <QDialog>

class QCheckBox;
class QPushButton;

namespace lot {

class IHost;

/// The first-run dialog: points a new user at the help file.
class TFormFirstRun : public QDialog {
    Q_OBJECT
public:
    /// helpFile: the help file found at start, empty when there is none.
    TFormFirstRun(IHost &host, const QString &helpFile, QWidget *parent = nullptr);

    /// True when "Больше не показывать данный диалог" is checked.
    bool DontShowAgain() const;
    QPushButton *HelpButton() const { return m_btnHelp; }
    QCheckBox *DontShowCheck() const { return m_cbDontShow; }

private:
    IHost &m_host;
    QString m_helpFile;
    QPushButton *m_btnHelp = nullptr;
    QCheckBox *m_cbDontShow = nullptr;
};

} // namespace lot
