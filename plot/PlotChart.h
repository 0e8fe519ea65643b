#pragma once

#include "plot/MixtureTrace.h"

#include <QColor>

#include <initializer_list>

class QCategoryAxis;
class QChartView;

namespace gasmixer {

// What the plots of mixtures share: their colours, the clock-time axis and
// the logarithmic ppm axis.
inline const QColor PlotAColor(31, 119, 180);
inline const QColor PlotH2OColor(214, 96, 20);

// One line of the legend: what a line drawn over the chart shows.
struct TLegendEntry {
    const char* Name;
    QColor Color;
    Qt::PenStyle Style;
};

// Gives `view` a chart with the plots' margins, these entries in its legend
// below, and the clock-time and logarithmic ppm axes; returns the time axis.
QCategoryAxis* InstallPlotChart(QChartView& view, std::initializer_list<TLegendEntry> legend);

// Shows `window` on the time axis, labelled at round clock times as many as
// `plotWidth` pixels hold; without labels when there is no time to show yet.
void ShowTimeWindow(QCategoryAxis& axis, const TTimeExtent& window, double plotWidth, bool labelled);

}  // namespace gasmixer
