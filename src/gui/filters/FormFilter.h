#pragma once

#include "filters/Filter.h"
#include "stats/StatList.h"

#include <QDialog>
#include <QList>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLineEdit;
class QSpinBox;

namespace lot {

class IHost;
class TStatTable;

/// The filter dialog ("Фильтр"): method, sample lengths, sort column,
/// direction, keep or delete, multi-selection, row selection mode and its
/// values, the filter's own weight coefficients and the stop condition.
/// "ОК" stores the controls into the item only after the validation passed.
class TFormFilter : public QDialog {
    Q_OBJECT
public:
    /// methods and methodIndex: the items and the selection of the main
    /// window's statistics selector; sampleLength: its current sample length.
    /// Messages go to host (an error box of its own when none is given).
    TFormFilter(const TStatList &stats, const QList<TSelectorItem> &methods, int methodIndex,
                int sampleLength, IHost *host = nullptr, QWidget *parent = nullptr);

    /// Same, with the selector and sample length of the statistics table.
    TFormFilter(const TStatList &stats, const TStatTable &table, IHost *host = nullptr,
                QWidget *parent = nullptr);

    /// EditFilter: shows the dialog filled from item; on "ОК" stores the
    /// controls into item and returns true; on cancel leaves it unchanged.
    static bool EditFilter(const TStatList &stats, const TStatTable &table, TFilterItem &item,
                           IHost *host = nullptr, QWidget *parent = nullptr);

    /// Fills the controls from an enabled item (a disabled one changes nothing).
    void SetFilter(const TFilterItem &item);
    /// The item given to SetFilter with the controls stored into it.
    TFilterItem Filter() const;
    /// Runs the validation of "ОК": false after showing its message and
    /// focusing the control it names.
    bool Validate();
    /// The enabling rules of the coefficient controls.
    void UpdateEnabling();

    QComboBox *MethodBox() const { return m_cbMethod; }
    QLineEdit *LengthsEdit() const { return m_edLengths; }
    QComboBox *SortBox() const { return m_cbSort; }
    QComboBox *DirectionBox() const { return m_cbDirection; }
    QComboBox *FilterModeBox() const { return m_cbFilterMode; }
    QCheckBox *MultiSelectBox() const { return m_chMultiSelect; }
    QComboBox *LevelModeBox() const { return m_cbLevelMode; }
    QLineEdit *ValuesEdit() const { return m_edValues; }
    QCheckBox *OverrideBox() const { return m_chOverride; }
    QDoubleSpinBox *CoefCountEdit() const { return m_edCoefCount; }
    QDoubleSpinBox *CoefDeviationEdit() const { return m_edCoefDeviation; }
    QDoubleSpinBox *CoefLevelEdit() const { return m_edCoefLevel; }
    QCheckBox *UsePercentsBox() const { return m_chUsePercents; }
    QCheckBox *UseAbsValuesBox() const { return m_chUseAbsValues; }
    QComboBox *StopModeBox() const { return m_cbStopMode; }
    QSpinBox *StopValueEdit() const { return m_edStopValue; }

public slots:
    void accept() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void CreateControls(const QList<TSelectorItem> &methods, int methodIndex, int sampleLength);
    void ShowCoefs(const TWeightCoefs &coefs);
    /// Shows the message and focuses the control; always false.
    bool Refuse(const QString &message, QWidget *control);
    bool SelectedMethodAllowsValueList() const;

    const TStatList &m_stats;
    IHost *m_host;
    TFilterItem m_item;
    QComboBox *m_cbMethod = nullptr;
    QLineEdit *m_edLengths = nullptr;
    QComboBox *m_cbSort = nullptr;
    QComboBox *m_cbDirection = nullptr;
    QComboBox *m_cbFilterMode = nullptr;
    QCheckBox *m_chMultiSelect = nullptr;
    QComboBox *m_cbLevelMode = nullptr;
    QLineEdit *m_edValues = nullptr;
    QGroupBox *m_gbCoefs = nullptr;
    QCheckBox *m_chOverride = nullptr;
    QDoubleSpinBox *m_edCoefCount = nullptr;
    QDoubleSpinBox *m_edCoefDeviation = nullptr;
    QDoubleSpinBox *m_edCoefLevel = nullptr;
    QCheckBox *m_chUsePercents = nullptr;
    QCheckBox *m_chUseAbsValues = nullptr;
    QComboBox *m_cbStopMode = nullptr;
    QSpinBox *m_edStopValue = nullptr;
};

} // namespace lot
