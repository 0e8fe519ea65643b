#include "program/ProgramPlanCheck.h"

#include "common/TextFormat.h"
#include "mixing/FractionBalance.h"
#include "mixing/MixturePlanner.h"
#include "mixing/PlanEquipment.h"

#include <stdexcept>

namespace gasmixer {

namespace {

std::string Limit(double gramsPerMinute) { return FormatGeneral(gramsPerMinute, 6) + " g/min"; }

// Why the window could not run this mixture step, or nothing.
std::string MixtureProblem(const ProgramStep& step, double gasBLimit, const ProgramPlanContext& c)
{
    if (c.GasBLimitMax > c.GasBLimitMin && (gasBLimit < c.GasBLimitMin || gasBLimit > c.GasBLimitMax))
        return "the gas B limit " + Limit(gasBLimit) + " is outside " + Limit(c.GasBLimitMin) + " to " +
               Limit(c.GasBLimitMax);
    const TFractions f = BalanceFractions(step.GasAPpm, step.H2OPpm, c.PH2O, c.FakeMode);
    if (f.H2OPpm != step.H2OPpm)
        return "the bubbler delivers at most " + std::to_string(f.H2OPpm) + " ppm H2O at pH2O " +
               FormatFixed(c.PH2O, 6) + " atm";
    try {
        const PlanResult plan = PlanMixture(PlanInputOn(
            {c.GasA, c.GasB, c.FlowInfoA, c.FlowInfoB, c.PH2O, c.PreviousWettingFraction}, f, gasBLimit));
        if (!plan.Defined) return plan.Report.empty() ? "no mixing plan exists" : plan.Report.front();
    } catch (const std::exception& e) {
        return e.what();
    }
    return {};
}

}  // namespace

std::vector<StepProblem> CheckProgramPlans(const MixtureProgram& program, const ProgramPlanContext& c)
{
    std::vector<StepProblem> problems;
    const std::vector<TDateTime> starts = program.StepStarts(c.Start);
    double gasBLimit = c.GasBLimit;
    TDateTime deadline = c.StopDeadline;
    bool deadlineMet = false;
    for (int i = 0; i < program.TimedStepCount(); ++i) {
        const ProgramStep& step = program.Steps[static_cast<std::size_t>(i)];
        if (step.Kind == StepKind::Mixture) {
            gasBLimit = step.GasBLimit.value_or(gasBLimit);
            if (std::string reason = MixtureProblem(step, gasBLimit, c); !reason.empty())
                problems.push_back({i + 1, std::move(reason)});
            deadline = starts[static_cast<std::size_t>(i)] + c.CounterHours * OneHour;
        }
        // An overnight program must not be cut short by the automatic stop;
        // the step a closing hold keeps is meant to meet it.
        if (!deadlineMet && deadline < starts[static_cast<std::size_t>(i) + 1]) {
            deadlineMet = true;
            problems.push_back({i + 1, "the automatic stop at " + FormatDateTime("mmm dd @ hh:nn:ss", deadline) +
                                           " comes before the step ends; raise the hours of its counter"});
        }
    }
    return problems;
}

}  // namespace gasmixer
