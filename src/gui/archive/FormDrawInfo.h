#pragma once

#include "core/Lottery.h"

#include <QDialog>
#include <QList>
#include <QPointer>

class QLabel;
class QSpinBox;
class QTableWidget;

namespace lot {

/// What the detail window shows: a draw or a combination.
struct TDrawInfoData {
    int DrawNumber = -1; ///< below 0: no draw number (a combination)
    QString DrawDate;    ///< empty: no date
    TComb Numbers;       ///< in stored order
    int ArrayIndex = -1; ///< index in the archive or the list; below 0: none
    bool Sorted = false; ///< show the numbers ascending
    int ChannelSize = 5;
    int MatrixCols = 5;
};

/// The detail window "Подробная информация": the draw's number, date, its six
/// numbers and their places in the number matrix, tinted by channel.
class TFormDrawInfo : public QDialog {
    Q_OBJECT
public:
    TFormDrawInfo(const TDrawInfoData &data, QWidget *parent = nullptr);

    QString NumbersText() const;
    /// Tints the drawn numbers for another channel size (the game settings changed).
    void SetChannelSize(int size);
    int ChannelSize() const { return m_data.ChannelSize; }
    QSpinBox *ColumnsEdit() const { return m_edCols; }
    QTableWidget *Matrix() const { return m_matrix; }

private:
    void FillMatrix();

    TDrawInfoData m_data;
    QLabel *m_numbers = nullptr;
    QSpinBox *m_edCols = nullptr;
    QTableWidget *m_matrix = nullptr;
};

/// The detail windows a page opened that are still open, so that they
/// follow a change of the game settings like the page's list does.
class TDrawInfoWindows {
public:
    void Add(TFormDrawInfo *form);
    void SetChannelSize(int size);

private:
    QList<QPointer<TFormDrawInfo>> m_forms;
};

} // namespace lot
