#pragma once

#include "gasdata/FlowInfo.h"
#include "mixing/FractionBalance.h"
#include "mixing/MixturePlanner.h"

#include <string>

namespace gasmixer {

// What a plan is made on besides the fractions: the gases by their table
// names, the controllers as read, the bubbler's water and the wetting
// fraction in force.
struct PlanEquipment {
    std::string GasA;
    std::string GasB;
    TFlowInfo FlowInfoA;
    TFlowInfo FlowInfoB;
    double PH2O = 0.0;  // atm
    double PreviousWettingFraction = 0.0;
};

// The planner's input for balanced fractions and a gas B limit on that
// equipment; throws CompoundNotFound for a gas missing from the table.
PlanInput PlanInputOn(const PlanEquipment& equipment, const TFractions& fractions, double gasBLimit);

}  // namespace gasmixer
