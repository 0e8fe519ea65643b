#pragma once

#include "gasdata/FlowInfo.h"

#include <cstdint>
#include <optional>
#include <string>

namespace gasmixer {

// What the gas B limit control is set to when a gas is chosen, in the order
// maximum, minimum, value, increment.
struct TGasBLimitRange {
    double Maximum = 0.0;
    double Minimum = 0.0;
    double Value = 0.0;
    double Increment = 0.0;

    friend bool operator==(const TGasBLimitRange&, const TGasBLimitRange&) = default;
};

// From a controller's full scale F and turn-down D: F, F / D, F / 2, F / 10.
// Nothing when the reading is unusable (F not a positive number, or D = 0):
// a silent controller must not leave NaN or infinite limits on the control.
std::optional<TGasBLimitRange> GasBLimitRangeFor(float fullScale, std::uint32_t turnDown);

// The imaginary mixer's gas B: its own maximum and minimum.
TGasBLimitRange FakeGasBLimitRange(const TFlowInfo& fake);

// A controller identity from its register readings. Max and MaxOrig are the
// full scale and Min is F / D; a full scale that is not a positive number
// reads as 0, and so does Min when D is 0, so no undefined value spreads.
TFlowInfo FlowInfoFromReadings(std::string name, std::string longName, std::string flowUnit,
                               float fullScale, std::uint32_t turnDown);

}  // namespace gasmixer
