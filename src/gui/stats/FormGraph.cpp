#include "gui/stats/FormGraph.h"

#include "gui/stats/GraphChart.h"
#include "stakes/StakeGraphs.h"
#include "stats/GraphViews.h"

#include <QChart>
#include <QCheckBox>
#include <QLegend>
#include <QVBoxLayout>

namespace lot {

TFormGraph::TFormGraph(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TFormGraph"));
    setWindowTitle(QStringLiteral("График"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    auto *layout = new QVBoxLayout(this);
    m_chart = new TGraphChart(this);
    m_chart->setObjectName(QStringLiteral("chGraph"));
    layout->addWidget(m_chart, 1);
    m_marks = new QCheckBox(QStringLiteral("Отображать метки на графиках"), this);
    m_marks->setObjectName(QStringLiteral("cbMarks"));
    m_marks->setChecked(true);
    connect(m_marks, &QCheckBox::toggled, m_chart, &TGraphChart::SetMarksVisible);
    layout->addWidget(m_marks);
    resize(1280, 640);
}

void TFormGraph::ShowSumsDistribution(const TSumsDistribution &d) {
    setWindowTitle(SumsDistributionCaption);
    // Five long titles: one per line beside the chart.
    m_chart->chart()->legend()->setAlignment(Qt::AlignRight);
    TGraphChart *chart = m_chart;
    chart->Clear();
    for (const TSumsDistribution::TTally &t : d.Actual)
        chart->AddPoint(t.Sum, ActualSumsTitle, double(t.Count), true, true, QColor(255, 0, 0));
    for (const TSumsDistribution::TTally &t : d.Theoretical)
        chart->AddPoint(t.Sum, TheoreticalSumsTitle, d.Scaled(double(t.Count)), false, false,
                        QColor(128, 0, 0));
    const QColor colours[3] = {QColor(0, 128, 0), QColor(0, 0, 255), QColor(255, 0, 255)};
    if (!d.Theoretical.isEmpty())
        for (int k = 0; k < 3; ++k)
            for (int x : {d.Theoretical.first().Sum, d.Theoretical.last().Sum})
                chart->AddPoint(x, d.RangeTitle(k), d.Scaled(double(d.Thresholds[k])), false, false,
                                colours[k]);
    chart->Finish();
}

void TFormGraph::ShowStakeGraph(const TStakeGraph &graph) {
    setWindowTitle(graph.Caption);
    m_chart->chart()->legend()->setAlignment(Qt::AlignRight);
    m_chart->Clear();
    for (const TSeriesPoint &p : graph.Points) {
        const QColor colour = p.Colour == 0 ? QColor() : QColor(QRgb(p.Colour));
        m_chart->AddPoint(p.X, p.Series, p.Y, p.Pointers, p.Marks, colour);
    }
    m_chart->Finish();
}

} // namespace lot
