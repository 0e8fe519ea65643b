#pragma once

#include "mixing/MixturePlanner.h"
#include "uncertainty/AccuracySettings.h"

#include <string>

namespace gasmixer {

// The plan as one JSON object. Without a plan the method and every planned
// quantity are null, and the report says why. The uncertainty of the planned
// mixture, with `accuracy`, is an object of its own; null without a plan.
std::string PlanJson(const PlanInput& input, const PlanResult& plan, const TAccuracySettings& accuracy);

}  // namespace gasmixer
