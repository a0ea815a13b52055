#pragma once

#include <QDialog>

class QLineEdit;
class QSpinBox;

namespace lot {

class IHost;

/// "Добавление мультиставки": the draw number, draws count and comment of a
/// stake per combination. OK needs a comment.
class TFormMulti : public QDialog {
    Q_OBJECT
public:
    TFormMulti(IHost &host, int drawNumber, int drawsCount, const QString &comment,
               QWidget *parent = nullptr);

    /// Opens the dialog modally; the fields' values on OK.
    static bool Execute(IHost &host, int &drawNumber, int &drawsCount, QString &comment,
                        QWidget *parent = nullptr);

    int DrawNumber() const;
    int DrawsCount() const;
    QString Comment() const;

    QSpinBox *DrawNumberEdit() const { return m_edDrawNumber; }
    QSpinBox *DrawsCountEdit() const { return m_edDrawsCount; }
    QLineEdit *CommentEdit() const { return m_edComment; }

public slots:
    void accept() override;

private:
    IHost &m_host;
    QSpinBox *m_edDrawNumber = nullptr;
    QSpinBox *m_edDrawsCount = nullptr;
    QLineEdit *m_edComment = nullptr;
};

} // namespace lot
