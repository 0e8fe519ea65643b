#pragma once

#include "mixing/MixturePlanner.h"

#include <string>
#include <vector>

namespace gasmixer {

// The readable plan shown to the operator, one entry per memo line.
std::vector<std::string> PlanReportLines(const PlanInput& input, const PlanResult& plan);

}  // namespace gasmixer
