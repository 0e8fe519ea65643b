#pragma once

#include "sim/SimClock.h"

#include <chrono>

namespace gasmixer::sim {

// The flow through a controller: it follows its target with a first-order
// lag, and the delivered mass is the exact integral of that response, so the
// result does not depend on how often it is looked at.
class FlowLag {
public:
    FlowLag(std::chrono::duration<double> timeConstant, TimePoint start);

    // Moves the state to `now`, the target having been constant since the
    // previous call. Earlier times are ignored.
    void AdvanceTo(TimePoint now, double target);

    double Flow() const { return flow_; }           // per minute
    double Delivered() const { return delivered_; }  // flow unit × minutes
    void ResetDelivered() { delivered_ = 0.0; }

private:
    double tau_;  // seconds
    TimePoint last_;
    double flow_ = 0.0;
    double delivered_ = 0.0;
};

}  // namespace gasmixer::sim
