#pragma once

#include "plot/MixtureTrace.h"
#include "plot/ProgramProfile.h"

#include <QChartView>

#include <optional>
#include <string>
#include <vector>

class QCategoryAxis;

namespace gasmixer {

class TPlotMapping;

// A step the preview marks as wrong. A step beyond the drawn program (a row
// that could not be read) is marked where the program ends.
struct TProfileFault {
    int Step = 0;  // index of the written step
    std::string Label;
};

// A mixture program as a curve against clock time, on the live plot's axes:
// the planned A and H2O ppm (dashed), the flush, bypass and stop steps as
// bands, the step boundaries with their numbers. While the program runs, a
// line shows where it stands and the produced ppm are drawn over the plan.
class TProgramPreview final : public QChartView {
public:
    explicit TProgramPreview(QWidget* parent = nullptr);

    void ShowPlan(const ProgramSchedule& schedule, TDateTime start, std::vector<TProfileFault> faults);
    // `now` nothing: no run to show. `produced` may hold rows of other runs:
    // only the program's time is drawn.
    void ShowRun(std::optional<TDateTime> now, const TMixtureTrace* produced);

    const TProgramProfile& Profile() const { return profile_; }
    const std::vector<TProfileFault>& Faults() const { return faults_; }
    std::optional<TDateTime> RunPosition() const { return now_; }
    const std::vector<TPlotPoint>& DrawnProducedA() const { return producedA_; }
    const std::vector<TPlotPoint>& DrawnProducedH2O() const { return producedH2O_; }

protected:
    void drawForeground(QPainter* painter, const QRectF& rect) override;

private:
    void Redraw();
    QRectF PlotAreaInView() const;
    void DrawBands(QPainter& painter, const TPlotMapping& map) const;
    void DrawFaults(QPainter& painter, const TPlotMapping& map) const;

    TProgramProfile profile_;
    std::vector<TProfileFault> faults_;
    std::optional<TDateTime> now_;
    const TMixtureTrace* produced_ = nullptr;
    std::vector<TPlotPoint> producedA_;
    std::vector<TPlotPoint> producedH2O_;
    QCategoryAxis* timeAxis_ = nullptr;
};

}  // namespace gasmixer
