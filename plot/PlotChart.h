#pragma once

#include "plot/MixtureTrace.h"

#include <QColor>

class QCategoryAxis;
class QChart;
class QLineSeries;
class QLogValueAxis;

namespace gasmixer {

// What the plots of mixtures share: their colours, the clock-time axis and
// the logarithmic ppm axis.
inline const QColor PlotAColor(31, 119, 180);
inline const QColor PlotH2OColor(214, 96, 20);

// A chart with the plots' margins and its legend below.
QChart* NewPlotChart();

// The lines are drawn over the chart by the view, since a chart series can
// neither break at an empty cell nor take a zero on a logarithmic axis. An
// empty series only gives the legend its entry.
QLineSeries* AddLegendEntry(QChart& chart, const char* name, const QColor& color, Qt::PenStyle style);

struct TPlotAxes {
    QCategoryAxis* Time = nullptr;
    QLogValueAxis* Ppm = nullptr;
};

// Adds both axes, and attaches the chart's series to them.
TPlotAxes AddPlotAxes(QChart& chart);

// Shows `window` on the time axis, labelled at round clock times as many as
// `plotWidth` pixels hold; without labels when there is no time to show yet.
void ShowTimeWindow(QCategoryAxis& axis, const TTimeExtent& window, double plotWidth, bool labelled);

}  // namespace gasmixer
