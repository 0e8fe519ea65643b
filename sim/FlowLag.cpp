#include "sim/FlowLag.h"

#include <cmath>

namespace gasmixer::sim {

FlowLag::FlowLag(std::chrono::duration<double> timeConstant, TimePoint start)
    : tau_(timeConstant.count()), last_(start)
{
}

void FlowLag::AdvanceTo(TimePoint now, double target)
{
    if (now <= last_) return;
    const double dt = std::chrono::duration<double>(now - last_).count();
    const double decay = std::exp(-dt / tau_);
    // ∫ target + (flow - target)·e^(-t/τ) dt over [0, dt], in minutes
    delivered_ += (target * dt + (flow_ - target) * tau_ * (1.0 - decay)) / 60.0;
    flow_ = target + (flow_ - target) * decay;
    last_ = now;
}

}  // namespace gasmixer::sim
