#pragma once
/// @file A chart of line series looked up by title, shared by the graphs
/// tab and the graph window ("График").

#include <QChartView>
#include <QColor>
#include <QHash>
#include <QList>
#include <QPointF>
#include <QString>

class QLineSeries;
class QValueAxis;

namespace lot {

class TGraphChart : public QChartView {
    Q_OBJECT
public:
    explicit TGraphChart(QWidget *parent = nullptr);

    /// Adds a point to the series titled `title` (case-insensitive). A
    /// missing series is made with the colour (when valid), line width 2,
    /// markerSize × markerSize point markers shown when `pointers`, value
    /// marks shown when `marks` (such a series is remembered for
    /// SetMarksVisible), marks without frame. The point's mark is x in decimal.
    void AddPoint(double x, const QString &title, double y, bool pointers, bool marks,
                  const QColor &colour = {}, int markerSize = 3, const QColor &markerOutline = {});
    /// The series titled `title`, made as AddPoint makes it when missing.
    QLineSeries *EnsureSeries(const QString &title, bool pointers, bool marks, const QColor &colour = {},
                              int markerSize = 3, const QColor &markerOutline = {});
    /// Draws what was added since the last Clear (axes fitted to the points).
    void Finish();
    void Clear();
    /// Shows or hides the marks of the series made with marks.
    void SetMarksVisible(bool visible);

    /// The series in order of creation.
    QList<QLineSeries *> Series() const { return m_order; }
    QLineSeries *FindSeries(const QString &title) const;

private:
    QHash<QString, QLineSeries *> m_series; ///< by lower-case title
    QList<QLineSeries *> m_order;
    QList<QLineSeries *> m_withMarks;
    QHash<QLineSeries *, QList<QPointF>> m_points;
    bool m_marksVisible = true;
    int m_autoColours = 0; ///< series made so far without a colour of their own
};

} // namespace lot
