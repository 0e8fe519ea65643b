#include "plot/BandSteps.h"

#include <algorithm>
#include <cmath>

namespace gasmixer {
namespace {

bool Moved(double before, double now)
{
    if (std::isnan(before) || std::isnan(now)) return std::isnan(before) != std::isnan(now);
    return std::abs(now - before) > BandStepChange * std::abs(before);
}

}  // namespace

void TBandSteps::Add(double time, double a, double h2o)
{
    if (!steps_.empty() && !Moved(steps_.back().A, a) && !Moved(steps_.back().H2O, h2o)) return;
    steps_.push_back({time, a, h2o});
}

const TBandStep* TBandSteps::At(double time) const
{
    const auto after = std::upper_bound(steps_.begin(), steps_.end(), time,
                                        [](double t, const TBandStep& step) { return t < step.Time; });
    return after == steps_.begin() ? nullptr : &*(after - 1);
}

}  // namespace gasmixer
