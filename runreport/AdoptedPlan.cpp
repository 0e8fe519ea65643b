#include "runreport/AdoptedPlan.h"

#include "mixer/MixturePlanInput.h"

namespace gasmixer {
namespace {

std::string ReportedMethod(const std::vector<std::string>& report)
{
    const std::string label = "  Mixing method     : ";
    for (const std::string& line : report)
        if (line.rfind(label, 0) == 0) return line.substr(label.size());
    return {};
}

}  // namespace

std::optional<TAdoptedPlan> PlanAgain(const MixerSnapshot& mixer, const std::vector<std::string>& report,
                                      int gasAPpm, int h2oPpm, double gasBLimit)
{
    if (mixer.GasA.empty() || mixer.GasB.empty()) return std::nullopt;
    const TFractions fractions{gasAPpm, WholeMixturePpm - gasAPpm - h2oPpm, h2oPpm};
    TAdoptedPlan adopted{MixturePlanInput(mixer, fractions, gasBLimit), {}};
    adopted.Plan = PlanMixture(adopted.Input);
    if (!adopted.Plan.Defined || adopted.Plan.Report != report) return std::nullopt;
    return adopted;
}

TAppliedPlan AppliedPlanOf(TDateTime time, const std::vector<std::string>& report, int gasAPpm, int h2oPpm,
                           const std::optional<TAdoptedPlan>& adopted, const TAccuracySettings& accuracy)
{
    TAppliedPlan applied;
    applied.Time = time;
    applied.GasAPpm = gasAPpm;
    applied.H2OPpm = h2oPpm;
    applied.GasBPpm = WholeMixturePpm - gasAPpm - h2oPpm;
    applied.Method = ReportedMethod(report);
    if (!adopted) return applied;
    const PlanResult& plan = adopted->Plan;
    applied.FlowA = plan.RequiredFlowA;
    applied.FlowB = plan.RequiredFlowB;
    applied.WettingFraction = IsHumidifiedMethod(plan.Method) ? plan.WettingFraction : 0.0;
    applied.Expected = ExpectedLine(PlanUncertainty(adopted->Input, plan, accuracy));
    applied.Running = RunningMixtureOf(adopted->Input, plan);
    return applied;
}

}  // namespace gasmixer
