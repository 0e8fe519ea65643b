#pragma once

#include "gasdata/FlowInfo.h"
#include "gasdata/MolarMasses.h"
#include "mixing/MixingMethods.h"

#include <cstdint>
#include <string>
#include <vector>

namespace gasmixer {

// One planning request: the balanced fractions, the gases and the controllers.
struct PlanInput {
    int GasAPpm = 0;
    int GasBPpm = 0;
    int H2OPpm = 0;
    double PH2O = 0.0;       // saturation vapour pressure of water at the bubbler, atm
    double GasBLimit = 0.0;  // upper mass flow of gas B, in controller 2's unit
    TCompound CompoundA;     // table entries of the two gases (dry)
    TCompound CompoundB;
    TFlowInfo FlowInfoA;
    TFlowInfo FlowInfoB;
    double PreviousWettingFraction = 0.0;  // kept when PH2O gives no wetting fraction
};

// A mixing plan and its readable report. When Defined is false no plan exists
// for the request: the report says why, and the caller keeps its published
// method, flows and wetting fraction.
struct PlanResult {
    bool Defined = false;
    float FlowInfoBMax = 0.0f;  // the gas B limit as controller 2's Max; set even without a plan
    TCompound CompoundB;        // gas B as mixed, with its water when humidified
    double H = 0.0;             // water mole fraction of humidified gas B
    double MeanMolarMass = 0.0;
    long double MassPpmA = 0.0L;
    long double MassPpmB = 0.0L;
    std::int64_t MaxMassPpm = 0;
    float RelA = 0.0f;
    long double RelB = 0.0L;
    TMixingMethod Method = TMixingMethod::APure;
    // The mass flows of the mixture, in the controllers' units: the setpoint
    // of a constant gas, the mean flow a pulsed gas is dosed at.
    double RequiredFlowA = 0.0;
    float FlowB = 0.0f;
    double RequiredFlowB = 0.0;  // FlowB, as the mixer regulates it
    float TimescaleA = 1.0f;
    float TimescaleB = 1.0f;
    double WettingFraction = 0.0;
    float QA = 0.0f;  // ml/min at 25 ºC
    float QB = 0.0f;
    std::vector<std::string> Report;

    std::string MixingMethod() const { return std::string(MixingMethodName(Method)); }
};

// Pure computation; throws CompoundNotFound when a component of a gas is
// missing from the compound table.
PlanResult PlanMixture(const PlanInput& input);

}  // namespace gasmixer
