#pragma once

#include "mixing/MixturePlanner.h"

#include <string>

namespace gasmixer {

// The plan as one JSON object. Without a plan the method and every planned
// quantity are null, and the report says why.
std::string PlanJson(const PlanInput& input, const PlanResult& plan);

}  // namespace gasmixer
