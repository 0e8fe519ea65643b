#pragma once

#include <vector>

namespace gasmixer {

// The relative expanded uncertainty of the produced A and H2O ppm, as it
// changes over a run: a step where it moved noticeably, so a day of rows
// keeps a handful of steps.
struct TBandStep {
    double Time = 0.0;
    double A = 0.0;    // U / ppm; NaN: no band
    double H2O = 0.0;
};

class TBandSteps {
public:
    void Add(double time, double a, double h2o);
    // The step in force at `time`; nothing before the first.
    const TBandStep* At(double time) const;
    const std::vector<TBandStep>& Steps() const { return steps_; }

private:
    std::vector<TBandStep> steps_;
};

// A step is kept when either share moves by more than this part of itself.
inline constexpr double BandStepChange = 0.05;

}  // namespace gasmixer
