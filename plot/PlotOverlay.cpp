#include "plot/PlotOverlay.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace gasmixer {

namespace {

constexpr double LineWidth = 1.5;
constexpr double DotWidth = 4.0;
constexpr int MarkerLabelLines = 3;
constexpr double MarkerLabelGap = 4.0;
const QColor MarkerColor(110, 110, 110);

}  // namespace

TPlotMapping::TPlotMapping(QRectF area, double from, double to) : area_(area), from_(from), to_(to) {}

double TPlotMapping::X(double time) const
{
    const double span = to_ - from_;
    return area_.left() + (span > 0.0 ? (time - from_) / span * area_.width() : 0.0);
}

double TPlotMapping::Y(double ppm) const
{
    const double decades = std::log10(PlotPpmCeiling / PlotPpmFloor);
    const double clamped = std::clamp(ppm, PlotPpmFloor, PlotPpmCeiling);
    return area_.bottom() - std::log10(clamped / PlotPpmFloor) / decades * area_.height();
}

double TPlotMapping::TimeAt(double x) const
{
    return area_.width() > 0.0 ? from_ + (x - area_.left()) / area_.width() * (to_ - from_) : from_;
}

void DrawTrace(QPainter& painter, const TPlotMapping& map, std::span<const TPlotPoint> points,
               const QColor& color, Qt::PenStyle style)
{
    // Polylines, not one path: a path is stroked as a whole, which costs
    // dearly where the minima and maxima zigzag through every pixel column.
    QPen pen(color, style == Qt::SolidLine ? 1.0 : LineWidth, style, Qt::RoundCap, Qt::RoundJoin);
    pen.setCosmetic(true);
    painter.setPen(pen);
    QPolygonF stretch;
    QPolygonF dots;
    const auto drawStretch = [&] {
        if (stretch.size() == 1)
            dots << stretch.front();
        else if (stretch.size() > 1)
            painter.drawPolyline(stretch);
        stretch.clear();
    };
    for (const TPlotPoint& p : points) {
        if (std::isnan(p.Value))
            drawStretch();
        else
            stretch << QPointF(map.X(p.Time), map.Y(p.Value));
    }
    drawStretch();
    painter.setPen(QPen(color, DotWidth, Qt::SolidLine, Qt::RoundCap));
    painter.drawPoints(dots);
}

void DrawRequested(QPainter& painter, const TPlotMapping& map, double ppm, const QColor& color)
{
    if (!(ppm > 0.0)) return;
    const double y = map.Y(ppm);
    painter.setPen(QPen(color, LineWidth, Qt::DashLine));
    painter.drawLine(QPointF(map.Area().left(), y), QPointF(map.Area().right(), y));
}

namespace {

// Light enough that the lines stay readable through it.
QColor BandColor(const QColor& color, int alpha = 70)
{
    QColor band = color;
    band.setAlpha(alpha);
    return band;
}

}  // namespace

void DrawRequestedBand(QPainter& painter, const TPlotMapping& map, double ppm, double expanded, const QColor& color)
{
    if (!(ppm > 0.0) || !(expanded > 0.0)) return;
    const double top = map.Y(ppm + expanded);
    const double bottom = map.Y(ppm - expanded);
    const QRectF& area = map.Area();
    painter.fillRect(QRectF(QPointF(area.left(), top), QPointF(area.right(), bottom)), BandColor(color));
    // Its edges, for a band only a few pixels high on the decades of the axis.
    painter.setPen(QPen(BandColor(color, 160), 1.0));
    for (const double y : {top, bottom}) painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
}

void DrawTraceBand(QPainter& painter, const TPlotMapping& map, std::span<const TPlotPoint> points,
                   const std::function<double(double)>& relativeAt, const QColor& color)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(BandColor(color));
    QPolygonF upper;
    QPolygonF lower;
    const auto fill = [&] {
        if (upper.size() > 1) {
            std::reverse(lower.begin(), lower.end());
            painter.drawPolygon(upper + lower);
        }
        upper.clear();
        lower.clear();
    };
    for (const TPlotPoint& p : points) {
        const double relative = std::isnan(p.Value) ? std::nan("") : relativeAt(p.Time);
        if (!(relative > 0.0)) {
            fill();
            continue;
        }
        const double x = map.X(p.Time);
        upper << QPointF(x, map.Y(p.Value * (1 + relative)));
        lower << QPointF(x, map.Y(p.Value * (1 - relative)));
    }
    fill();
    painter.setBrush(Qt::NoBrush);
}

void DrawMarkers(QPainter& painter, const TPlotMapping& map, std::span<const TPlotMarker> markers)
{
    const QRectF& area = map.Area();
    const QFontMetricsF metrics(painter.font());
    const double lineHeight = metrics.height() + 2.0;
    std::array<double, MarkerLabelLines> lineEnds;
    lineEnds.fill(-std::numeric_limits<double>::infinity());
    for (const TPlotMarker& marker : markers) {
        const double x = map.X(marker.Time);
        if (x < area.left() || x > area.right()) continue;
        painter.setPen(QPen(MarkerColor, 1.0, Qt::DotLine));
        painter.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));

        const QString text = QString::fromStdString(marker.Label);
        const double width = metrics.horizontalAdvance(text) + 4.0;
        const double left = std::min(x + 2.0, area.right() - width);
        const auto line = std::find_if(lineEnds.begin(), lineEnds.end(),
                                       [&](double end) { return left > end + MarkerLabelGap; });
        if (line == lineEnds.end()) continue;
        *line = left + width;
        const QRectF box(left, area.top() + 2.0 + (line - lineEnds.begin()) * lineHeight, width,
                         metrics.height());
        painter.fillRect(box, QColor(255, 255, 255, 200));
        painter.setPen(MarkerColor.darker(150));
        painter.drawText(box, Qt::AlignCenter, text);
    }
}

}  // namespace gasmixer
