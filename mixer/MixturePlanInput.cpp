#include "mixer/MixturePlanInput.h"

namespace gasmixer {

PlanInput MixturePlanInput(const MixerSnapshot& mixer, const TFractions& fractions, double gasBLimit)
{
    PlanInput input;
    input.GasAPpm = fractions.GasAPpm;
    input.GasBPpm = fractions.GasBPpm;
    input.H2OPpm = fractions.H2OPpm;
    input.PH2O = mixer.PH2O;
    input.GasBLimit = gasBLimit;
    input.CompoundA = FindCompound(mixer.GasA);
    input.CompoundB = FindCompound(mixer.GasB);
    input.FlowInfoA = mixer.FlowInfoA;
    input.FlowInfoB = mixer.FlowInfoB;
    // Controller 2's upper limit is the gas B limit the mixture runs with.
    input.FlowInfoB.Max = static_cast<float>(gasBLimit);
    input.PreviousWettingFraction = mixer.WettingFraction;
    return input;
}

}  // namespace gasmixer
