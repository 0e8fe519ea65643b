#pragma once

#include "mixing/MixturePlanner.h"
#include "uncertainty/UncertaintyBudget.h"

#include <string>

// The uncertainty of what the mixer is asked for and of what it produced.

namespace gasmixer {

// The running mixture as the mixer holds it: its method, gases and
// controllers, and the water's vapour pressure.
struct TRunningMixture {
    TMixingMethod Method = TMixingMethod::APure;
    TCompound CompoundA;  // dry
    TCompound CompoundB;
    TFlowInfo FlowInfoA;
    TFlowInfo FlowInfoB;
    double PH2O = 0.0;
};

TRunningMixture RunningMixtureOf(const PlanInput& input, const PlanResult& plan);

// What a stored row counts since a reset, or between two rows of a mixture.
struct TDelivered {
    double GramsA = 0.0;      // totalizer A
    double GramsB = 0.0;      // totalizer B
    double GramsWater = 0.0;  // as the records count it, from the wet time
    double Minutes = 0.0;
    int Readings = 1;  // totalizer readings per mass: 2 between two rows
};

// From the setpoints; the ppm are the requested ones.
TMixtureUncertainty PlanUncertainty(const PlanInput& input, const PlanResult& plan,
                                    const TAccuracySettings& settings);

// From the totalizer masses, with each controller's accuracy over its mass.
TMixtureUncertainty ProducedUncertainty(const TRunningMixture& mixture, const TDelivered& delivered,
                                        const TAccuracySettings& settings);

// "Expected: 2 000 ± 31 ppm A, 10 000 ± 420 ppm H2O (k = 2)": gas A and
// water when asked for, gas B alone when neither is; the expanded
// uncertainty to two significant digits, the value to the same place.
std::string ExpectedLine(const TMixtureUncertainty& u);

// "2 000 ± 31": one species, as the expected line writes it.
std::string ValueWithUncertainty(double value, double expanded);

}  // namespace gasmixer
