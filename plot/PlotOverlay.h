#pragma once

#include "plot/MixtureSample.h"
#include "plot/MixtureTrace.h"

#include <QColor>
#include <QRectF>

#include <functional>
#include <span>

class QPainter;

namespace gasmixer {

// The ppm axis, logarithmic. Values beneath it (zero in particular) are drawn
// on its floor, as the axis cannot show them.
inline constexpr double PlotPpmFloor = 1.0;
inline constexpr double PlotPpmCeiling = 1000000.0;

// Where times and ppm land in the plot area.
class TPlotMapping {
public:
    TPlotMapping(QRectF area, double from, double to);

    const QRectF& Area() const { return area_; }
    double X(double time) const;
    double Y(double ppm) const;
    double TimeAt(double x) const;

private:
    QRectF area_;
    double from_;
    double to_;
};

// A line through `points`, broken at NaN; a lone point between two breaks
// is drawn as a dot.
void DrawTrace(QPainter& painter, const TPlotMapping& map, std::span<const TPlotPoint> points,
               const QColor& color, Qt::PenStyle style = Qt::SolidLine);

// A dashed line across the plot at a requested ppm; nothing for NaN or zero.
void DrawRequested(QPainter& painter, const TPlotMapping& map, double ppm, const QColor& color);

// A shaded band from ppm - expanded to ppm + expanded across the plot.
void DrawRequestedBand(QPainter& painter, const TPlotMapping& map, double ppm, double expanded, const QColor& color);

// A shaded band around `points`, each within its relative expanded
// uncertainty `relativeAt(time)` (NaN: none there).
void DrawTraceBand(QPainter& painter, const TPlotMapping& map, std::span<const TPlotPoint> points,
                   const std::function<double(double)>& relativeAt, const QColor& color);

// The markers inside the plot: a dotted vertical line each, with its name at
// the top. Names that would overlap move down a line, or are left out when
// three lines are taken.
void DrawMarkers(QPainter& painter, const TPlotMapping& map, std::span<const TPlotMarker> markers);

}  // namespace gasmixer
