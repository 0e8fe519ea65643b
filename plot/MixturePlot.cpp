#include "plot/MixturePlot.h"

#include "plot/Decimation.h"
#include "plot/PlotOverlay.h"
#include "plot/TimeTicks.h"

#include <QAction>
#include <QCategoryAxis>
#include <QChart>
#include <QLegend>
#include <QLineSeries>
#include <QLogValueAxis>
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
constexpr double PixelsPerTimeLabel = 110.0;

const QColor AColor(31, 119, 180);
const QColor H2OColor(214, 96, 20);

// The lines are drawn over the chart by the view, since a chart series can
// neither break at an empty cell nor take a zero on a logarithmic axis. These
// empty series only give the legend its entries.
QLineSeries* LegendEntry(QChart& chart, const char* name, const QColor& color, Qt::PenStyle style)
{
    auto* series = new QLineSeries(&chart);
    series->setName(QString::fromUtf8(name));
    series->setPen(QPen(color, 1.5, style));
    chart.addSeries(series);
    return series;
}

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
    auto* chart = new QChart;
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->setBackgroundRoundness(0);
    chart->legend()->setAlignment(Qt::AlignBottom);
    // A line sample tells the dashed requests from the produced lines.
    chart->legend()->setMarkerShape(QLegend::MarkerShapeFromSeries);

    timeAxis_ = new QCategoryAxis(chart);
    timeAxis_->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    auto* ppmAxis = new QLogValueAxis(chart);
    ppmAxis->setBase(10.0);
    ppmAxis->setRange(PlotPpmFloor, PlotPpmCeiling);
    ppmAxis->setLabelFormat(QStringLiteral("%.0f"));
    ppmAxis->setMinorTickCount(-1);  // 2, 3 ... 9 times each power of ten
    ppmAxis->setMinorGridLineColor(QColor(235, 235, 235));
    ppmAxis->setTitleText(QStringLiteral("ppm"));
    chart->addAxis(timeAxis_, Qt::AlignBottom);
    chart->addAxis(ppmAxis, Qt::AlignLeft);

    for (QLineSeries* series : {LegendEntry(*chart, "A ppm", AColor, Qt::SolidLine),
                                LegendEntry(*chart, "H2O ppm", H2OColor, Qt::SolidLine),
                                LegendEntry(*chart, "A requested", AColor, Qt::DashLine),
                                LegendEntry(*chart, "H2O requested", H2OColor, Qt::DashLine)}) {
        series->attachAxis(timeAxis_);
        series->attachAxis(ppmAxis);
    }
    // The view gives up the default chart it was born with; it is ours to free.
    std::unique_ptr<QChart> defaultChart(this->chart());
    setChart(chart);
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
    for (const QString& label : timeAxis_->categoriesLabels()) timeAxis_->remove(label);
    timeAxis_->setRange(window.First, window.Last);
    timeAxis_->setStartValue(window.First);
    // Before the first row the range is a stand-in, with no time to show.
    if (!trace_.Extent()) return;
    const double width = std::max(chart()->plotArea().width(), 1.0);
    const int maxTicks = std::max(2, static_cast<int>(width / PixelsPerTimeLabel));
    // A label centred on a tick at the very right would be cut off.
    const double lastLabelled = window.Last - (window.Last - window.First) * PixelsPerTimeLabel / 2 / width;
    for (const TTimeTick& tick : ClockTicks(window.First, window.Last, maxTicks))
        if (tick.Time > window.First && tick.Time <= lastLabelled)
            timeAxis_->append(QString::fromStdString(tick.Label), tick.Time);
}

void TMixturePlot::drawForeground(QPainter* painter, const QRectF& rect)
{
    QChartView::drawForeground(painter, rect);
    const TPlotMapping map(PlotAreaInView(), drawnWindow_.First, drawnWindow_.Last);
    painter->save();
    painter->setClipRect(map.Area());
    painter->setRenderHint(QPainter::Antialiasing);
    DrawMarkers(*painter, map, trace_.Markers());
    DrawRequestedBand(*painter, map, requestedA_, requestedAExpanded_, AColor);
    DrawRequestedBand(*painter, map, requestedH2O_, requestedH2OExpanded_, H2OColor);
    const auto band = [this](double TBandStep::*share) {
        return [this, share](double time) {
            const TBandStep* step = producedBand_.At(time);
            return step ? step->*share : std::nan("");
        };
    };
    DrawTraceBand(*painter, map, drawnH2O_, band(&TBandStep::H2O), H2OColor);
    DrawTraceBand(*painter, map, drawnA_, band(&TBandStep::A), AColor);
    DrawRequested(*painter, map, requestedA_, AColor);
    DrawRequested(*painter, map, requestedH2O_, H2OColor);
    DrawTrace(*painter, map, drawnH2O_, H2OColor);
    DrawTrace(*painter, map, drawnA_, AColor);
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
