#pragma once

#include "core/Lottery.h"

#include <QDialog>
#include <QList>
#include <QPointer>

class QLabel;
class QSpinBox;
class QTableWidget;

namespace lot {

class TStatList;

/// What the detail window shows: a draw or a combination.
struct TDrawInfoData {
    int DrawNumber = -1; ///< below 0: no draw number (a combination)
    QString DrawDate;    ///< empty: no date
    TComb Numbers;       ///< in stored order
    int ArrayIndex = -1; ///< index in the archive or the list; below 0: none
    bool Sorted = false; ///< show the numbers ascending
    int ChannelSize = 5;
    int MatrixCols = 5;
    /// The methods whose graph values are listed; none without a registry.
    const TStatList *Registry = nullptr;
    /// The draws offset: a combination stands for the draw after the newest
    /// draw in use, which is where its graph values are computed.
    int DrawsOffset = 0;

    /// The archive entry the graph values are computed for: the draw's own
    /// index, or for a combination the entry after the newest draw in use
    /// (the archive's count at offset 0).
    int ValuePosition() const;
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
    /// One row per graph method shown in the statistics: its caption and
    /// the graph value of the six numbers.
    QTableWidget *Values() const { return m_values; }

private:
    void FillMatrix();
    void FillValues();

    TDrawInfoData m_data;
    QLabel *m_numbers = nullptr;
    QTableWidget *m_values = nullptr;
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
