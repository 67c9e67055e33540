#include "widgets/chartseries.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QColor>
#include <QLineSeries>
#include <QPen>

namespace fitrova {

namespace {

const QList<QColor> &colours()
{
    static const QList<QColor> c{QColor(0x2E, 0x75, 0xB6), QColor(0xED, 0x7D, 0x31), QColor(0x70, 0xAD, 0x47),
                                 QColor(0xFF, 0xC0, 0x00), QColor(0x5B, 0x9B, 0xD5), QColor(0xA5, 0xA5, 0xA5),
                                 QColor(0x9E, 0x48, 0x0E), QColor(0x63, 0x63, 0x63)};
    return c;
}

} // namespace

void addStyledSeries(QChart *chart, QAbstractAxis *x, QAbstractAxis *y, ChartStyle style,
                     const QList<QPair<QString, QList<qint64>>> &data, double unit)
{
    if (style == ChartStyle::Bar2D || style == ChartStyle::Bar3D) {
        auto *bars = new QBarSeries;
        for (int i = 0; i < data.size(); ++i) {
            auto *set = new QBarSet(data[i].first);
            for (qint64 v : data[i].second)
                *set << double(v) / unit;
            const QColor c = colours().at(i % colours().size());
            set->setColor(c);
            if (style == ChartStyle::Bar3D) {
                set->setBorderColor(c.darker(160));
                set->setPen(QPen(c.darker(160), 2));
            }
            bars->append(set);
        }
        chart->addSeries(bars);
        bars->attachAxis(x);
        bars->attachAxis(y);
    } else {
        for (int i = 0; i < data.size(); ++i) {
            auto *line = new QLineSeries;
            line->setName(data[i].first);
            const QList<qint64> &values = data[i].second;
            for (int k = 0; k < values.size(); ++k) {
                if (style == ChartStyle::Step3D) {
                    line->append(k - 0.5, double(values[k]) / unit);
                    line->append(k + 0.5, double(values[k]) / unit);
                } else {
                    line->append(k, double(values[k]) / unit);
                }
            }
            QPen pen(colours().at(i % colours().size()));
            pen.setWidth(style == ChartStyle::Line2D ? 2 : 4);
            line->setPen(pen);
            line->setPointsVisible(style == ChartStyle::Line3D);
            chart->addSeries(line);
            line->attachAxis(x);
            line->attachAxis(y);
        }
    }
    chart->legend()->setVisible(true);
    chart->legend()->setAlignment(Qt::AlignBottom);
}

} // namespace fitrova
