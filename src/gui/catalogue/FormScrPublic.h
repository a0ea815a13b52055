#pragma once

#include "catalogue/CatalogueTypes.h"

#include <functional>
#include <QDialog>

class QButtonGroup;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace lot {

/// "Свойства сценария": what a catalogue script is published as. OK checks the title, asks the
/// catalogue whether it is free for this entry, then checks the author.
class TFormScrPublic : public QDialog {
    Q_OBJECT
public:
    /// Asks the catalogue whether a title is free for the id; false when the call failed (it
    /// showed its error) or the title is taken, with taken set.
    using TTitleCheck = std::function<bool(int32_t id, const QString &title, bool &taken)>;
    /// Shows a message of the dialog's own checks.
    using TNotice = std::function<void(const QString &text)>;

    TFormScrPublic(TTitleCheck check, TNotice notice, QWidget *parent = nullptr);

    void SetData(const tScriptData &data);
    /// The result: the id kept, trimmed title and author, the language, the flags, the description.
    tScriptData Data() const;
    /// Read-only: every field disabled, OK hidden, "Закрыть окно" focused.
    void SetReadOnly(bool readOnly);

    QLineEdit *AuthorEdit() const { return m_author; }
    QLineEdit *TitleEdit() const { return m_title; }
    QPushButton *OkButton() const { return m_ok; }
    QPushButton *CancelButton() const { return m_cancel; }

    void accept() override;

private:
    TTitleCheck m_check;
    TNotice m_notice;
    int32_t m_id = -1;
    QLineEdit *m_author = nullptr;
    QComboBox *m_language = nullptr;
    QLineEdit *m_title = nullptr;
    QPlainTextEdit *m_description = nullptr;
    QRadioButton *m_public = nullptr;
    QRadioButton *m_private = nullptr;
    QRadioButton *m_thisApp = nullptr;
    QRadioButton *m_anyApp = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
};

} // namespace lot
