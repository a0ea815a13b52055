#pragma once
/// @file The graph window "График": a chart of titled line series with the
/// check box "Отображать метки на графиках".

#include <QDialog>

class QCheckBox;

namespace lot {

class TGraphChart;
struct TStakeGraph;
struct TSumsDistribution;

class TFormGraph : public QDialog {
    Q_OBJECT
public:
    explicit TFormGraph(QWidget *parent = nullptr);

    TGraphChart *Chart() const { return m_chart; }
    QCheckBox *MarksBox() const { return m_marks; }

    /// The sums distribution: the actual tally (red, points and marks),
    /// the theoretical one scaled to it (maroon) and the three threshold
    /// lines with their ranges.
    void ShowSumsDistribution(const TSumsDistribution &distribution);
    /// A graph of stakes or ratings: each point added to the series of its
    /// name (made on first use with its look), the caption as the window's.
    void ShowStakeGraph(const TStakeGraph &graph);

private:
    TGraphChart *m_chart = nullptr;
    QCheckBox *m_marks = nullptr;
};

} // namespace lot
