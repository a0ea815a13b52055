#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QToolButton;

namespace lot {

class TGuiHost;

/// "Создание нового списка комбинаций": the generation mode, the numbers or
/// the file to load, and whether these become the saved default.
class TFormGenCombs : public QDialog {
    Q_OBJECT
public:
    /// Opens with the given mode and parameter text; the save box starts
    /// unchecked every time. The host chooses the file for mode 4.
    TFormGenCombs(TGuiHost &host, int mode, const QString &parameters, QWidget *parent = nullptr);

    /// Runs the dialog; on OK mode, parameters and save hold its choice.
    static bool Execute(TGuiHost &host, int &mode, QString &parameters, bool &save, QWidget *parent);

    int Mode() const;
    QString Parameters() const;
    bool SaveParameters() const;

    QComboBox *ModeBox() const { return m_cbMode; }
    QLineEdit *ParamEdit() const { return m_edParam; }
    QToolButton *FileButton() const { return m_btnFile; }
    QCheckBox *SaveBox() const { return m_cbSave; }

    /// Puts the chosen combination file into the parameter field.
    void SelectFile();

private:
    void UpdateControls();

    TGuiHost &m_host;
    QComboBox *m_cbMode = nullptr;
    QLineEdit *m_edParam = nullptr;
    QToolButton *m_btnFile = nullptr;
    QCheckBox *m_cbSave = nullptr;
};

} // namespace lot
