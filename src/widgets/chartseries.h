#pragma once
// The series of the report charts in their five styles. The "3D" styles are
// drawn flat: bars with a darker raised outline, a thick line with its points
// marked, a thick step line.

#include <QList>
#include <QPair>
#include <QString>

class QAbstractAxis;
class QChart;

namespace fitrova {

// In the order of the style pick lists ("1-2D Bar" ... "5-3D Step").
enum class ChartStyle { Bar2D = 1, Bar3D, Line2D, Line3D, Step3D };

// Adds one series per entry (name, one value per category) to the chart,
// each value divided by unit, attached to both axes; the legend goes below.
void addStyledSeries(QChart *chart, QAbstractAxis *x, QAbstractAxis *y, ChartStyle style,
                     const QList<QPair<QString, QList<qint64>>> &data, double unit = 1.0);

} // namespace fitrova
