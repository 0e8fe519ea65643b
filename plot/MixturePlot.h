#pragma once

#include "common/DateTime.h"
#include "plot/BandSteps.h"
#include "plot/MixtureSample.h"
#include "plot/MixtureTrace.h"

#include <QChartView>
#include <QTimer>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QAction;
class QCategoryAxis;

namespace gasmixer {

// The produced A ppm and H2O ppm against clock time on a logarithmic ppm
// axis, with the requested ppm as dashed lines and a named marker at each
// mode change and planner reset. Handing over a row only stores it; redraws
// are gathered, at most a few a second, and each one reduces the visible rows
// to a few points per pixel column, so its cost hardly grows with the run.
// The mouse wheel zooms the time axis, a double click shows everything again,
// and the context menu saves the plot as a PNG image.
class TMixturePlot final : public QChartView {
public:
    // Asks the operator where to save the image; nothing when cancelled.
    using ImagePathAsker = std::function<std::optional<std::string>()>;

    // Tells the operator that the image could not be written.
    using ErrorReporter = std::function<void(const std::string&)>;

    TMixturePlot(ImagePathAsker askImagePath, ErrorReporter reportError, QWidget* parent = nullptr);

    // One stored row. NaN stands for an empty ppm cell and leaves a gap.
    void AddRecord(TDateTime time, std::string_view mode, double aPpm, double h2oPpm);
    // The planner's "Reset" row.
    void AddReset(TDateTime time);
    void AddMarker(TDateTime time, std::string label);
    // The requests of the applied plan; NaN or zero draws no line. The
    // expanded uncertainties shade a band around each; zero: none.
    void SetRequested(double aPpm, double h2oPpm, double aExpanded = 0.0, double h2oExpanded = 0.0);
    // The produced rows' relative expanded uncertainty from `time` on, as a
    // band around each trace; NaN: none.
    void SetProducedBand(TDateTime time, double aRelative, double h2oRelative);

    // Draws what was handed over now, instead of at the next gathered redraw.
    void Redraw();
    // Back from a zoom: the whole run, following new rows.
    void ShowAll();
    // The plot as shown, at its size; false when the file cannot be written.
    bool SaveImage(const std::string& path);

    QAction* SaveImageAction() const { return saveImageAction_; }
    const TMixtureTrace& Trace() const { return trace_; }
    TTimeExtent VisibleTime() const;
    bool RedrawPending() const { return redrawTimer_.isActive(); }
    // What the last redraw drew of each line.
    const std::vector<TPlotPoint>& DrawnA() const { return drawnA_; }
    const std::vector<TPlotPoint>& DrawnH2O() const { return drawnH2O_; }

protected:
    void drawForeground(QPainter* painter, const QRectF& rect) override;
    void wheelEvent(QWheelEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildChart();
    void ScheduleRedraw();
    void UpdateTimeAxis(const TTimeExtent& window);
    void SaveImageAsked();
    TTimeExtent WholeRun() const;
    QRectF PlotAreaInView() const;
    int PixelColumns() const;

    ImagePathAsker askImagePath_;
    ErrorReporter reportError_;
    TMixtureTrace trace_;
    double requestedA_ = 0.0;
    double requestedH2O_ = 0.0;
    double requestedAExpanded_ = 0.0;
    double requestedH2OExpanded_ = 0.0;
    TBandSteps producedBand_;

    std::optional<TTimeExtent> zoom_;  // nothing: the whole run
    TTimeExtent drawnWindow_;
    int drawnColumns_ = 0;
    std::vector<TPlotPoint> drawnA_;
    std::vector<TPlotPoint> drawnH2O_;
    bool dirty_ = true;

    QTimer redrawTimer_;
    QCategoryAxis* timeAxis_ = nullptr;
    QAction* saveImageAction_ = nullptr;
};

}  // namespace gasmixer
