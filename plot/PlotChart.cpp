#include "plot/PlotChart.h"

#include "plot/PlotOverlay.h"
#include "plot/TimeTicks.h"

#include <QCategoryAxis>
#include <QChart>
#include <QLegend>
#include <QLineSeries>
#include <QLogValueAxis>

#include <algorithm>

namespace gasmixer {

namespace {

constexpr double PixelsPerTimeLabel = 110.0;

}  // namespace

QChart* NewPlotChart()
{
    auto* chart = new QChart;
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->setBackgroundRoundness(0);
    chart->legend()->setAlignment(Qt::AlignBottom);
    // A line sample tells the dashed lines from the solid ones.
    chart->legend()->setMarkerShape(QLegend::MarkerShapeFromSeries);
    return chart;
}

QLineSeries* AddLegendEntry(QChart& chart, const char* name, const QColor& color, Qt::PenStyle style)
{
    auto* series = new QLineSeries(&chart);
    series->setName(QString::fromUtf8(name));
    series->setPen(QPen(color, 1.5, style));
    chart.addSeries(series);
    return series;
}

TPlotAxes AddPlotAxes(QChart& chart)
{
    TPlotAxes axes;
    axes.Time = new QCategoryAxis(&chart);
    axes.Time->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    axes.Ppm = new QLogValueAxis(&chart);
    axes.Ppm->setBase(10.0);
    axes.Ppm->setRange(PlotPpmFloor, PlotPpmCeiling);
    axes.Ppm->setLabelFormat(QStringLiteral("%.0f"));
    axes.Ppm->setMinorTickCount(-1);  // 2, 3 ... 9 times each power of ten
    axes.Ppm->setMinorGridLineColor(QColor(235, 235, 235));
    axes.Ppm->setTitleText(QStringLiteral("ppm"));
    chart.addAxis(axes.Time, Qt::AlignBottom);
    chart.addAxis(axes.Ppm, Qt::AlignLeft);
    for (QAbstractSeries* series : chart.series()) {
        series->attachAxis(axes.Time);
        series->attachAxis(axes.Ppm);
    }
    return axes;
}

void ShowTimeWindow(QCategoryAxis& axis, const TTimeExtent& window, double plotWidth, bool labelled)
{
    for (const QString& label : axis.categoriesLabels()) axis.remove(label);
    axis.setRange(window.First, window.Last);
    axis.setStartValue(window.First);
    if (!labelled) return;
    const double width = std::max(plotWidth, 1.0);
    const int maxTicks = std::max(2, static_cast<int>(width / PixelsPerTimeLabel));
    // A label centred on a tick at the very right would be cut off.
    const double lastLabelled = window.Last - (window.Last - window.First) * PixelsPerTimeLabel / 2 / width;
    for (const TTimeTick& tick : ClockTicks(window.First, window.Last, maxTicks))
        if (tick.Time > window.First && tick.Time <= lastLabelled)
            axis.append(QString::fromStdString(tick.Label), tick.Time);
}

}  // namespace gasmixer
