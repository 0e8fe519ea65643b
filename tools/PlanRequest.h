#pragma once

#include "mixing/MixturePlanner.h"
#include "tools/PlanOptions.h"

namespace gasmixer {

// The planner input for a command line: the gases looked up and the fractions
// balanced as the window balances them. Throws CompoundNotFound for a gas the
// table does not know, UsageError when nothing is left for gas B.
PlanInput MakePlanInput(const PlanOptions& options);

}  // namespace gasmixer
