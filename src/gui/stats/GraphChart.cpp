#include "gui/stats/GraphChart.h"

#include <QChart>
#include <QImage>
#include <QLineSeries>
#include <QPainter>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace lot {

namespace {

/// A size × size point marker filled with `fill`, outlined with `outline`.
QImage Marker(int size, const QColor &fill, const QColor &outline) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(fill);
    QPainter painter(&image);
    painter.setPen(outline.isValid() ? outline : fill);
    painter.drawRect(0, 0, size - 1, size - 1);
    return image;
}

/// Distinct colours for the series that ask for none, in order of creation.
QColor AutoColour(int index) {
    static const QRgb palette[] = {0xFF0000, 0x00A000, 0x0000FF, 0xFF8000, 0x800080, 0x00A0A0,
                                   0xA0A000, 0xFF00FF, 0x804000, 0x008080, 0x808000, 0x4080FF};
    constexpr int count = int(sizeof palette / sizeof palette[0]);
    return QColor::fromRgb(palette[index % count]);
}

/// A tick step of 1, 2 or 5 times a power of ten, whole numbers only, that
/// puts about ten ticks over span.
double WholeTickStep(double span) {
    const double raw = std::max(1.0, span / 10);
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double f : {1.0, 2.0, 5.0})
        if (f * power >= raw) return f * power;
    return 10 * power;
}

} // namespace

TGraphChart::TGraphChart(QWidget *parent) : QChartView(new QChart, parent) {
    chart()->legend()->setAlignment(Qt::AlignBottom);
    chart()->setMargins(QMargins(2, 2, 2, 2));
    chart()->setBackgroundRoundness(0);
    setRenderHint(QPainter::Antialiasing);
}

QLineSeries *TGraphChart::FindSeries(const QString &title) const {
    return m_series.value(title.toLower());
}

void TGraphChart::AddPoint(double x, const QString &title, double y, bool pointers, bool marks,
                           const QColor &colour, int markerSize, const QColor &markerOutline) {
    m_points[EnsureSeries(title, pointers, marks, colour, markerSize, markerOutline)].append({x, y});
}

QLineSeries *TGraphChart::EnsureSeries(const QString &title, bool pointers, bool marks, const QColor &colour,
                                       int markerSize, const QColor &markerOutline) {
    QLineSeries *series = FindSeries(title);
    if (!series) {
        series = new QLineSeries(this);
        series->setName(title);
        QPen pen(colour.isValid() ? colour : AutoColour(m_autoColours++));
        pen.setWidth(2);
        series->setPen(pen);
        series->setMarkerSize(markerSize);
        series->setLightMarker(Marker(markerSize, pen.color(), markerOutline));
        series->setPointsVisible(pointers);
        series->setPointLabelsFormat(QStringLiteral("@xPoint"));
        series->setPointLabelsClipping(false);
        series->setPointLabelsVisible(marks && m_marksVisible);
        if (marks) m_withMarks.append(series);
        m_series.insert(title.toLower(), series);
        m_order.append(series);
    }
    return series;
}

void TGraphChart::Finish() {
    QChart *c = chart();
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    bool any = false;
    for (QLineSeries *series : m_order) {
        const QList<QPointF> &points = m_points.value(series);
        series->replace(points);
        if (!c->series().contains(series)) c->addSeries(series);
        for (const QPointF &p : points) {
            minX = any ? std::min(minX, p.x()) : p.x();
            maxX = any ? std::max(maxX, p.x()) : p.x();
            minY = any ? std::min(minY, p.y()) : p.y();
            maxY = any ? std::max(maxY, p.y()) : p.y();
            any = true;
        }
    }
    for (QAbstractAxis *axis : c->axes()) {
        c->removeAxis(axis);
        delete axis;
    }
    if (!any) return;
    auto *axisX = new QValueAxis;
    axisX->setLabelFormat(QStringLiteral("%.0f"));
    auto *axisY = new QValueAxis;
    axisY->setLabelFormat(QStringLiteral("%g"));
    c->addAxis(axisX, Qt::AlignBottom);
    c->addAxis(axisY, Qt::AlignLeft);
    for (QLineSeries *series : m_order) {
        series->attachAxis(axisX);
        series->attachAxis(axisY);
    }
    const double padX = maxX > minX ? 0 : 1;
    const double padY = maxY > minY ? (maxY - minY) * 0.05 : 1;
    axisX->setRange(minX - padX, maxX + padX);
    // X values are whole numbers (draw numbers, overlap counts): ticks on
    // whole numbers only, so no label is a rounded fraction.
    axisX->setTickType(QValueAxis::TicksDynamic);
    axisX->setTickAnchor(std::floor(minX - padX));
    axisX->setTickInterval(WholeTickStep(maxX - minX + 2 * padX));
    // Counts and other values that are never negative keep the axis at 0.
    axisY->setRange(minY >= 0 ? std::max(0.0, minY - padY) : minY - padY, maxY + padY);
    axisY->applyNiceNumbers();
}

void TGraphChart::Clear() {
    chart()->removeAllSeries(); // deletes them
    for (QAbstractAxis *axis : chart()->axes()) {
        chart()->removeAxis(axis);
        delete axis;
    }
    m_series.clear();
    m_order.clear();
    m_withMarks.clear();
    m_points.clear();
    m_autoColours = 0;
}

void TGraphChart::SetMarksVisible(bool visible) {
    m_marksVisible = visible;
    for (QLineSeries *series : m_withMarks)
        series->setPointLabelsVisible(visible);
}

} // namespace lot
