#include "mixing/PlanEquipment.h"

namespace gasmixer {

PlanInput PlanInputOn(const PlanEquipment& equipment, const TFractions& fractions, double gasBLimit)
{
    PlanInput input;
    input.GasAPpm = fractions.GasAPpm;
    input.GasBPpm = fractions.GasBPpm;
    input.H2OPpm = fractions.H2OPpm;
    input.PH2O = equipment.PH2O;
    input.GasBLimit = gasBLimit;
    input.CompoundA = FindCompound(equipment.GasA);
    input.CompoundB = FindCompound(equipment.GasB);
    input.FlowInfoA = equipment.FlowInfoA;
    input.FlowInfoB = equipment.FlowInfoB;
    // Controller 2's upper limit is the gas B limit the mixture runs with.
    input.FlowInfoB.Max = static_cast<float>(gasBLimit);
    input.PreviousWettingFraction = equipment.PreviousWettingFraction;
    return input;
}

}  // namespace gasmixer
