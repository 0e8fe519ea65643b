#include "plot/ProgramPreview.h"

#include "plot/Decimation.h"
#include "plot/PlotChart.h"
#include "plot/PlotOverlay.h"

#include <QCategoryAxis>
#include <QChart>
#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <memory>

namespace gasmixer {

namespace {

const QColor FaultColor(220, 40, 40);
const QColor PositionColor(40, 40, 40);

QColor BandColor(ProgramOperation operation)
{
    switch (operation) {
    case ProgramOperation::Flush: return {120, 180, 230, 70};
    case ProgramOperation::Bypass: return {150, 150, 150, 60};
    case ProgramOperation::Stop: return {230, 170, 120, 70};
    case ProgramOperation::ApplyMixture: break;
    }
    return Qt::transparent;
}

QString BandName(ProgramOperation operation)
{
    switch (operation) {
    case ProgramOperation::Flush: return QStringLiteral("flush");
    case ProgramOperation::Bypass: return QStringLiteral("bypass");
    case ProgramOperation::Stop: return QStringLiteral("stop");
    case ProgramOperation::ApplyMixture: break;
    }
    return {};
}

}  // namespace

TProgramPreview::TProgramPreview(QWidget* parent) : QChartView(parent)
{
    timeAxis_ = InstallPlotChart(*this, {{"A planned", PlotAColor, Qt::DashLine},
                                         {"H2O planned", PlotH2OColor, Qt::DashLine},
                                         {"A produced", PlotAColor, Qt::SolidLine},
                                         {"H2O produced", PlotH2OColor, Qt::SolidLine}});
    setRenderHint(QPainter::Antialiasing);
    connect(chart(), &QChart::plotAreaChanged, this, [this] { Redraw(); });
}

void TProgramPreview::ShowPlan(const ProgramSchedule& schedule, TDateTime start, std::vector<TProfileFault> faults)
{
    profile_ = ProfileOf(schedule, start);
    faults_ = std::move(faults);
    Redraw();
}

void TProgramPreview::ShowRun(std::optional<TDateTime> now, const TMixtureTrace* produced)
{
    now_ = now;
    produced_ = produced;
    Redraw();
}

QRectF TProgramPreview::PlotAreaInView() const { return chart()->mapRectToScene(chart()->plotArea()); }

void TProgramPreview::Redraw()
{
    const TTimeExtent& window = profile_.Extent;
    const double width = chart()->plotArea().width();
    ShowTimeWindow(*timeAxis_, window, width, true);
    producedA_.clear();
    producedH2O_.clear();
    if (now_ && produced_) {
        const TPixelColumns columns{window.First, window.Last, std::max(1, static_cast<int>(std::lround(width)))};
        producedA_ = DecimateMinMax(produced_->Samples(), produced_->Blocks(), TMixtureField::APpm, columns);
        producedH2O_ = DecimateMinMax(produced_->Samples(), produced_->Blocks(), TMixtureField::H2OPpm, columns);
    }
    viewport()->update();
}

void TProgramPreview::DrawBands(QPainter& painter, const TPlotMapping& map) const
{
    const QRectF& area = map.Area();
    const QFontMetricsF metrics(painter.font());
    for (const TProfileBand& band : profile_.Bands) {
        const QRectF box(QPointF(map.X(band.First), area.top()), QPointF(map.X(band.Last), area.bottom()));
        painter.fillRect(box, BandColor(band.Operation));
        const QString name = BandName(band.Operation);
        if (metrics.horizontalAdvance(name) + 4.0 < box.width()) {
            painter.setPen(BandColor(band.Operation).darker(250));
            painter.drawText(box.adjusted(0, 0, 0, -4), Qt::AlignHCenter | Qt::AlignBottom, name);
        }
    }
}

void TProgramPreview::DrawFaults(QPainter& painter, const TPlotMapping& map) const
{
    const QRectF& area = map.Area();
    QColor shade = FaultColor;
    shade.setAlpha(60);
    for (const TProfileFault& fault : faults_) {
        std::optional<double> left;
        double right = 0.0;
        // Every pass of the step; the label over the first.
        for (const TProfileSpan& span : profile_.Spans) {
            if (span.Step != fault.Step) continue;
            const double from = map.X(span.First);
            const double to = std::max(map.X(span.Last), from + 2.0);
            painter.fillRect(QRectF(QPointF(from, area.top()), QPointF(to, area.bottom())), shade);
            if (!left) {
                left = from;
                right = to;
            }
        }
        const double x = left.value_or(map.X(profile_.Extent.Last) - 1.0);
        painter.setPen(QPen(FaultColor, 2.0));
        if (!left) painter.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
        const QString text = QString::fromStdString(fault.Label);
        const QFontMetricsF metrics(painter.font());
        const double width = metrics.horizontalAdvance(text) + 6.0;
        // Over the step's first pass, or left of the line; inside the area when it fits.
        const double wanted = left ? (x + right) / 2 - width / 2 : x - width;
        const double at = std::max(area.left(), std::min(wanted, area.right() - width));
        const QRectF box(at, area.center().y() - metrics.height() / 2, width, metrics.height());
        painter.fillRect(box, QColor(255, 255, 255, 220));
        painter.drawText(box, Qt::AlignCenter, text);
    }
}

void TProgramPreview::drawForeground(QPainter* painter, const QRectF& rect)
{
    QChartView::drawForeground(painter, rect);
    const TPlotMapping map(PlotAreaInView(), profile_.Extent.First, profile_.Extent.Last);
    painter->save();
    painter->setClipRect(map.Area());
    painter->setRenderHint(QPainter::Antialiasing);
    DrawBands(*painter, map);
    DrawMarkers(*painter, map, profile_.Boundaries);
    DrawTrace(*painter, map, profile_.H2O, PlotH2OColor, Qt::DashLine);
    DrawTrace(*painter, map, profile_.A, PlotAColor, Qt::DashLine);
    DrawTrace(*painter, map, producedH2O_, PlotH2OColor);
    DrawTrace(*painter, map, producedA_, PlotAColor);
    DrawFaults(*painter, map);
    if (now_) {
        const double x = map.X(*now_);
        painter->setPen(QPen(PositionColor, 2.0));
        painter->drawLine(QPointF(x, map.Area().top()), QPointF(x, map.Area().bottom()));
    }
    painter->restore();
}

}  // namespace gasmixer
