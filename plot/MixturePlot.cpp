#include "plot/MixturePlot.h"

#include "plot/Decimation.h"
#include "plot/PlotChart.h"
#include "plot/PlotOverlay.h"

#include <QAction>
#include <QChart>
#include <QPainter>
#include <QPixmap>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <memory>

namespace gasmixer {

namespace {

constexpr int RedrawGatherMs = 250;
constexpr double ShortestWholeRun = OneMinute;
constexpr double ShortestZoom = 10 * OneSecond;
constexpr double ZoomPerWheelStep = 0.8;

}  // namespace

TMixturePlot::TMixturePlot(ImagePathAsker askImagePath, ErrorReporter reportError, QWidget* parent)
    : QChartView(parent), askImagePath_(std::move(askImagePath)), reportError_(std::move(reportError))
{
    BuildChart();
    setRenderHint(QPainter::Antialiasing);
    setRubberBand(QChartView::NoRubberBand);

    redrawTimer_.setSingleShot(true);
    redrawTimer_.setInterval(RedrawGatherMs);
    connect(&redrawTimer_, &QTimer::timeout, this, [this] {
        // A hidden plot catches up when it is shown.
        if (isVisible()) Redraw();
    });
    connect(chart(), &QChart::plotAreaChanged, this, [this] {
        if (PixelColumns() != drawnColumns_) ScheduleRedraw();
    });

    saveImageAction_ = new QAction(QStringLiteral("Save plot as PNG..."), this);
    connect(saveImageAction_, &QAction::triggered, this, [this] { SaveImageAsked(); });
    addAction(saveImageAction_);
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

void TMixturePlot::BuildChart()
{
    timeAxis_ = InstallPlotChart(*this, {{"A ppm", PlotAColor, Qt::SolidLine},
                                         {"H2O ppm", PlotH2OColor, Qt::SolidLine},
                                         {"A requested", PlotAColor, Qt::DashLine},
                                         {"H2O requested", PlotH2OColor, Qt::DashLine}});
}

void TMixturePlot::AddRecord(TDateTime time, std::string_view mode, double aPpm, double h2oPpm)
{
    trace_.AddRecord(time, mode, aPpm, h2oPpm);
    ScheduleRedraw();
}

void TMixturePlot::AddReset(TDateTime time)
{
    trace_.AddReset(time);
    ScheduleRedraw();
}

void TMixturePlot::AddMarker(TDateTime time, std::string label)
{
    trace_.AddMarker(time, std::move(label));
    ScheduleRedraw();
}

void TMixturePlot::SetRequested(double aPpm, double h2oPpm, double aExpanded, double h2oExpanded)
{
    requestedA_ = aPpm;
    requestedH2O_ = h2oPpm;
    requestedAExpanded_ = aExpanded;
    requestedH2OExpanded_ = h2oExpanded;
    ScheduleRedraw();
}

void TMixturePlot::SetProducedBand(TDateTime time, double aRelative, double h2oRelative)
{
    producedBand_.Add(time, aRelative, h2oRelative);
    ScheduleRedraw();
}

void TMixturePlot::ScheduleRedraw()
{
    dirty_ = true;
    if (!redrawTimer_.isActive()) redrawTimer_.start();
}

TTimeExtent TMixturePlot::WholeRun() const
{
    const std::optional<TTimeExtent> extent = trace_.Extent();
    if (!extent) return {0.0, ShortestWholeRun};
    return {extent->First, std::max(extent->Last, extent->First + ShortestWholeRun)};
}

TTimeExtent TMixturePlot::VisibleTime() const { return zoom_ ? *zoom_ : WholeRun(); }

QRectF TMixturePlot::PlotAreaInView() const
{
    return chart()->mapRectToScene(chart()->plotArea());
}

int TMixturePlot::PixelColumns() const
{
    return std::max(1, static_cast<int>(std::lround(chart()->plotArea().width())));
}

void TMixturePlot::Redraw()
{
    redrawTimer_.stop();
    dirty_ = false;
    drawnWindow_ = VisibleTime();
    drawnColumns_ = PixelColumns();
    const TPixelColumns columns{drawnWindow_.First, drawnWindow_.Last, drawnColumns_};
    drawnA_ = DecimateMinMax(trace_.Samples(), trace_.Blocks(), TMixtureField::APpm, columns);
    drawnH2O_ = DecimateMinMax(trace_.Samples(), trace_.Blocks(), TMixtureField::H2OPpm, columns);
    UpdateTimeAxis(drawnWindow_);
    viewport()->update();
}

void TMixturePlot::UpdateTimeAxis(const TTimeExtent& window)
{
    // Before the first row the range is a stand-in, with no time to show.
    ShowTimeWindow(*timeAxis_, window, chart()->plotArea().width(), trace_.Extent().has_value());
}

void TMixturePlot::drawForeground(QPainter* painter, const QRectF& rect)
{
    QChartView::drawForeground(painter, rect);
    const TPlotMapping map(PlotAreaInView(), drawnWindow_.First, drawnWindow_.Last);
    painter->save();
    painter->setClipRect(map.Area());
    painter->setRenderHint(QPainter::Antialiasing);
    DrawMarkers(*painter, map, trace_.Markers());
    DrawRequestedBand(*painter, map, requestedA_, requestedAExpanded_, PlotAColor);
    DrawRequestedBand(*painter, map, requestedH2O_, requestedH2OExpanded_, PlotH2OColor);
    const auto band = [this](double TBandStep::*share) {
        return [this, share](double time) {
            const TBandStep* step = producedBand_.At(time);
            return step ? step->*share : std::nan("");
        };
    };
    DrawTraceBand(*painter, map, drawnH2O_, band(&TBandStep::H2O), PlotH2OColor);
    DrawTraceBand(*painter, map, drawnA_, band(&TBandStep::A), PlotAColor);
    DrawRequested(*painter, map, requestedA_, PlotAColor);
    DrawRequested(*painter, map, requestedH2O_, PlotH2OColor);
    DrawTrace(*painter, map, drawnH2O_, PlotH2OColor);
    DrawTrace(*painter, map, drawnA_, PlotAColor);
    painter->restore();
}

void TMixturePlot::wheelEvent(QWheelEvent* event)
{
    event->accept();
    const double steps = event->angleDelta().y() / 120.0;
    if (steps == 0.0 || !trace_.Extent()) return;
    const TTimeExtent whole = WholeRun();
    const TTimeExtent shown = VisibleTime();
    const TPlotMapping map(PlotAreaInView(), shown.First, shown.Last);
    const QPointF at = mapToScene(event->position().toPoint());
    // The time under the pointer stays where it is.
    const double anchor = map.Area().contains(at) ? map.TimeAt(at.x()) : (shown.First + shown.Last) / 2;
    const double oldSpan = shown.Last - shown.First;
    const double span = std::max(oldSpan * std::pow(ZoomPerWheelStep, steps), ShortestZoom);
    if (span >= whole.Last - whole.First) {
        ShowAll();
        return;
    }
    double first = anchor - (anchor - shown.First) * span / oldSpan;
    first = std::clamp(first, whole.First, whole.Last - span);
    zoom_ = TTimeExtent{first, first + span};
    Redraw();
}

void TMixturePlot::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
    ShowAll();
}

void TMixturePlot::ShowAll()
{
    zoom_.reset();
    Redraw();
}

void TMixturePlot::showEvent(QShowEvent* event)
{
    QChartView::showEvent(event);
    if (dirty_) Redraw();
}

bool TMixturePlot::SaveImage(const std::string& path)
{
    if (dirty_) Redraw();
    return grab().save(QString::fromStdString(path), "PNG");
}

void TMixturePlot::SaveImageAsked()
{
    const std::optional<std::string> path = askImagePath_ ? askImagePath_() : std::nullopt;
    if (!path) return;
    // Reported, not thrown: the action's signal must not be unwound.
    if (!SaveImage(*path) && reportError_) reportError_("Could not write the plot to " + *path);
}

}  // namespace gasmixer
