#include "plot/PlotChart.h"

#include "plot/PlotOverlay.h"
#include "plot/TimeTicks.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QLegend>
#include <QLineSeries>
#include <QLogValueAxis>

#include <algorithm>
#include <memory>

namespace gasmixer {

namespace {

constexpr double PixelsPerTimeLabel = 110.0;

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

// The lines are drawn over the chart by the view, since a chart series can
// neither break at an empty cell nor take a zero on a logarithmic axis. An
// empty series only gives the legend its entry.
void AddLegendEntry(QChart& chart, const TLegendEntry& entry)
{
    auto* series = new QLineSeries(&chart);
    series->setName(QString::fromUtf8(entry.Name));
    series->setPen(QPen(entry.Color, 1.5, entry.Style));
    chart.addSeries(series);
}

// Adds both axes, and attaches the chart's series to them.
QCategoryAxis* AddPlotAxes(QChart& chart)
{
    auto* time = new QCategoryAxis(&chart);
    time->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    auto* ppm = new QLogValueAxis(&chart);
    ppm->setBase(10.0);
    ppm->setRange(PlotPpmFloor, PlotPpmCeiling);
    ppm->setLabelFormat(QStringLiteral("%.0f"));
    ppm->setMinorTickCount(-1);  // 2, 3 ... 9 times each power of ten
    ppm->setMinorGridLineColor(QColor(235, 235, 235));
    ppm->setTitleText(QStringLiteral("ppm"));
    chart.addAxis(time, Qt::AlignBottom);
    chart.addAxis(ppm, Qt::AlignLeft);
    for (QAbstractSeries* series : chart.series()) {
        series->attachAxis(time);
        series->attachAxis(ppm);
    }
    return time;
}

}  // namespace

QCategoryAxis* InstallPlotChart(QChartView& view, std::initializer_list<TLegendEntry> legend)
{
    QChart* chart = NewPlotChart();
    for (const TLegendEntry& entry : legend) AddLegendEntry(*chart, entry);
    QCategoryAxis* time = AddPlotAxes(*chart);
    // The view gives up the default chart it was born with; it is ours to free.
    std::unique_ptr<QChart> defaultChart(view.chart());
    view.setChart(chart);
    return time;
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
