#include "mixer/MixturePlanInput.h"

#include "mixing/PlanEquipment.h"

namespace gasmixer {

PlanInput MixturePlanInput(const MixerSnapshot& mixer, const TFractions& fractions, double gasBLimit)
{
    return PlanInputOn({mixer.GasA, mixer.GasB, mixer.FlowInfoA, mixer.FlowInfoB, mixer.PH2O, mixer.WettingFraction},
                       fractions, gasBLimit);
}

}  // namespace gasmixer
