#include "runreport/RunPlotImage.h"

#include "plot/Decimation.h"
#include "plot/PlotOverlay.h"
#include "plot/TimeTicks.h"

#include <QPainter>

#include <cmath>

namespace gasmixer {
namespace {

// The colours of the window's plot.
const QColor AColor(31, 119, 180);
const QColor H2OColor(214, 96, 20);
constexpr int Margin = 60;

void DrawAxes(QPainter& painter, const TPlotMapping& map, const TTimeExtent& run)
{
    const QRectF& area = map.Area();
    painter.setPen(Qt::black);
    painter.drawRect(area);
    for (double ppm = PlotPpmFloor; ppm <= PlotPpmCeiling; ppm *= 10) {
        const double y = map.Y(ppm);
        painter.setPen(QColor(220, 220, 220));
        painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(0, y - 8, Margin - 6, 16), Qt::AlignRight | Qt::AlignVCenter,
                         QString::number(ppm, 'g', 7));
    }
    for (const TTimeTick& tick : ClockTicks(run.First, run.Last, 6)) {
        const double x = map.X(tick.Time);
        painter.drawLine(QPointF(x, area.bottom()), QPointF(x, area.bottom() + 4));
        painter.drawText(QRectF(x - 60, area.bottom() + 6, 120, 16), Qt::AlignCenter,
                         QString::fromStdString(tick.Label));
    }
    painter.drawText(QRectF(area.left(), 4, area.width(), 16), Qt::AlignLeft,
                     QStringLiteral("ppm (log): A blue, H2O orange; dashed: requested"));
}

}  // namespace

QImage RunPlotImage(const TMixtureTrace& trace, double requestedA, double requestedH2O, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    const std::optional<TTimeExtent> extent = trace.Extent();
    if (!extent) return image;
    TTimeExtent run = *extent;
    if (!(run.Last > run.First)) run.Last = run.First + 1.0 / 24 / 60;
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const TPlotMapping map(QRectF(Margin, 24, size.width() - Margin - 16, size.height() - 24 - 30), run.First,
                           run.Last);
    DrawAxes(painter, map, run);
    painter.setClipRect(map.Area());
    DrawMarkers(painter, map, trace.Markers());
    DrawRequested(painter, map, requestedA, AColor);
    DrawRequested(painter, map, requestedH2O, H2OColor);
    const TPixelColumns columns{run.First, run.Last, static_cast<int>(map.Area().width())};
    DrawTrace(painter, map, DecimateMinMax(trace.Samples(), trace.Blocks(), TMixtureField::H2OPpm, columns), H2OColor);
    DrawTrace(painter, map, DecimateMinMax(trace.Samples(), trace.Blocks(), TMixtureField::APpm, columns), AColor);
    return image;
}

}  // namespace gasmixer
