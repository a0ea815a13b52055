#pragma once
/// @file The game settings dialog "Параметры системы".

#include "stats/ConfigData.h"

#include <functional>
#include <QDialog>
#include <QList>

class QCheckBox;
class QDoubleSpinBox;
class QSpinBox;
class QTableWidget;
class QTableWidgetItem;

namespace lot {

/// Edits a copy of the game settings. OK hands back the new record and the
/// prefetch groups it invalidates; the caller saves the settings, refills the
/// method selectors and rebuilds those groups. Cancel changes nothing.
class TFormConfig : public QDialog {
    Q_OBJECT
public:
    /// Receives the text of an error box.
    using TErrorSink = std::function<void(const QString &text)>;

    /// errorSink: where the error boxes go; by default a message box titled
    /// "Ошибка".
    explicit TFormConfig(const TConfigData &data, QWidget *parent = nullptr, TErrorSink errorSink = {});

    /// Shows the dialog modally. On OK: data becomes the edited record,
    /// changedGroups the prefetch groups to rebuild (4 matrix columns,
    /// 3 channel size, 5 segments), and the result is true.
    static bool Execute(QWidget *parent, TConfigData &data, QList<int> &changedGroups,
                        TErrorSink errorSink = {});

    /// The record as the controls hold it now.
    TConfigData Data() const;
    /// The prefetch groups that Data() changes against the opened record.
    QList<int> ChangedGroups() const { return ChangedPrefetchGroups(m_original, Data()); }

    /// "Некорректное значение: %s!\r\rУкажите любое число от 1 до 9".
    static QString BadSegmentText(const QString &value);

private:
    void FillSegments();
    void MatrixColsChanged(int cols);
    void SegmentEdited(QTableWidgetItem *item);
    void ShowError(const QString &text);

    TConfigData m_original;
    TErrorSink m_errorSink;
    TSegmentMap m_segments;
    bool m_filling = false;

    QSpinBox *m_matrixCol = nullptr;
    QSpinBox *m_matrixRow = nullptr;
    QTableWidget *m_segmentGrid = nullptr;
    QSpinBox *m_channelSize = nullptr;
    QDoubleSpinBox *m_cost = nullptr;
    QTableWidget *m_profits = nullptr;
    QDoubleSpinBox *m_coefCount = nullptr;
    QDoubleSpinBox *m_coefDeviation = nullptr;
    QDoubleSpinBox *m_coefLevel = nullptr;
    QCheckBox *m_coefPercents = nullptr;
    QCheckBox *m_coefAbs = nullptr;
    QSpinBox *m_stakeMaxLen = nullptr;
};

} // namespace lot
