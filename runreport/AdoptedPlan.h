#pragma once

#include "mixer/MixerView.h"
#include "mixing/MixturePlanner.h"
#include "runreport/RunLog.h"

#include <optional>
#include <string>
#include <vector>

namespace gasmixer {

struct TAdoptedPlan {
    PlanInput Input;
    PlanResult Plan;
};

// The mixer tells the report of the plan it adopted, not its input: planned
// again with the equipment of `mixer`, the plan counts only when that gives
// the very same report.
std::optional<TAdoptedPlan> PlanAgain(const MixerSnapshot& mixer, const std::vector<std::string>& report,
                                      int gasAPpm, int h2oPpm, double gasBLimit);

// The plan as the run report lists it; without `adopted` only what the
// report tells.
TAppliedPlan AppliedPlanOf(TDateTime time, const std::vector<std::string>& report, int gasAPpm, int h2oPpm,
                           const std::optional<TAdoptedPlan>& adopted, const TAccuracySettings& accuracy);

}  // namespace gasmixer
