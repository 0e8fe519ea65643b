#pragma once

#include "mixer/MixerView.h"
#include "mixing/FractionBalance.h"
#include "mixing/MixturePlanner.h"

namespace gasmixer {

// The planner's input for balanced fractions and a gas B limit, with the
// gases, controllers, water and previous wetting fraction of `mixer`.
PlanInput MixturePlanInput(const MixerSnapshot& mixer, const TFractions& fractions, double gasBLimit);

}  // namespace gasmixer
