#pragma once

#include "systems/SystemInfo.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace lot {

class TGuiHost;

/// "Система": a system's fields, its combinations and the table of what it
/// guarantees. In edit mode leaving the combinations field normalises it
/// and OK checks the fields in order; read-only, OK is hidden.
class TFormSystem : public QDialog {
    Q_OBJECT
public:
    TFormSystem(TGuiHost &host, const tSystemData &data, bool editable, QWidget *parent = nullptr);

    /// Opens the dialog modally; data takes the fields on OK (edit mode only).
    static bool Execute(TGuiHost &host, tSystemData &data, bool editable, QWidget *parent = nullptr);

    /// What OK returns: the incoming id and owner e-mail, the fields, the
    /// shown creation time (now when none is shown) and last download.
    tSystemData Result() const;
    bool Editable() const { return m_editable; }

    /// The combinations field's normalisation (leaving the field); false
    /// when a word is no integer (the error was shown).
    bool NormaliseCombs();
    /// Computes the guarantee table of the combinations in the field.
    void UpdateGuarantees();
    /// The context menu of the combinations field, its entries enabled for now.
    QMenu *CombsMenu();
    void LoadCombsFromFile(const QString &fileName);
    void SaveCombsToFile(const QString &fileName);

    QLineEdit *TitleEdit() const { return m_edTitle; }
    QPlainTextEdit *DescrEdit() const { return m_edDescr; }
    QLineEdit *AuthorEdit() const { return m_edAuthor; }
    QLineEdit *UrlEdit() const { return m_edUrl; }
    QPushButton *UrlButton() const { return m_btnUrl; }
    QLineEdit *NumsEdit() const { return m_edNums; }
    QLineEdit *OlapEdit() const { return m_edOlap; }
    QPlainTextEdit *CombsEdit() const { return m_edCombs; }
    QLabel *CountLabel() const { return m_lbCount; }
    QTableWidget *GuaranteesGrid() const { return m_guarantees; }
    QLabel *GuaranteeLabel() const { return m_lbGuarantee; }
    QPushButton *OkButton() const { return m_btnOk; }
    QPushButton *CancelButton() const { return m_btnCancel; }

public slots:
    void accept() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *NumberEdit(const QString &name, int value);

    TGuiHost &m_host;
    tSystemData m_data;
    bool m_editable;
    QLineEdit *m_edTitle = nullptr;
    QPlainTextEdit *m_edDescr = nullptr;
    QLineEdit *m_edAuthor = nullptr;
    QLineEdit *m_edUrl = nullptr;
    QPushButton *m_btnUrl = nullptr;
    QLineEdit *m_edNums = nullptr;
    QLineEdit *m_edCLen = nullptr;
    QLineEdit *m_edOlap = nullptr;
    QLabel *m_lbCreated = nullptr;
    QLabel *m_lbCount = nullptr;
    QLabel *m_lbDownloads = nullptr;
    QLabel *m_lbLast = nullptr;
    QPlainTextEdit *m_edCombs = nullptr;
    QTableWidget *m_guarantees = nullptr;
    QLabel *m_lbGuarantee = nullptr;
    QMenu *m_menu = nullptr;
    QPushButton *m_btnOk = nullptr;
    QPushButton *m_btnCancel = nullptr;
};

} // namespace lot
