#pragma once
/// @file The repeats window "Количество повторов в зависимости от тиража".

#include <QDialog>

class QSpinBox;
class QTableWidget;

namespace lot {

class TGraphChart;
class TGuiHost;
class TWorkspace;

class TFormRepeats : public QDialog {
    Q_OBJECT
public:
    static constexpr const char *Section = "TFormRepeats";

    TFormRepeats(TWorkspace &workspace, TGuiHost &host, QWidget *parent = nullptr);
    ~TFormRepeats() override;

    QSpinBox *LengthEdit() const { return m_edLen; }
    QSpinBox *DeepEdit() const { return m_edDeep; }
    QTableWidget *List() const { return m_list; }
    TGraphChart *Chart() const { return m_chart; }

    /// "Рассчитать": the rows and the chart.
    void Calculate();

private:
    TWorkspace &m_ws;
    TGuiHost &m_host;
    QSpinBox *m_edLen = nullptr;
    QSpinBox *m_edDeep = nullptr;
    QTableWidget *m_list = nullptr;
    TGraphChart *m_chart = nullptr;
};

} // namespace lot
