#include "program/ProgramPlanCheck.h"

#include "common/TextFormat.h"
#include "mixing/FractionBalance.h"
#include "mixing/MixturePlanner.h"
#include "mixing/PlanEquipment.h"
#include "program/ProgramSchedule.h"

#include <algorithm>
#include <map>
#include <set>
#include <stdexcept>
#include <tuple>

namespace gasmixer {

namespace {

std::string Limit(double gramsPerMinute) { return FormatGeneral(gramsPerMinute, 6) + " g/min"; }

// Why the window could not apply this mixture, or nothing.
std::string MixtureProblem(int gasAPpm, int h2oPpm, double gasBLimit, const ProgramPlanContext& c)
{
    if (c.GasBLimitMax > c.GasBLimitMin && (gasBLimit < c.GasBLimitMin || gasBLimit > c.GasBLimitMax))
        return "the gas B limit " + Limit(gasBLimit) + " is outside " + Limit(c.GasBLimitMin) + " to " +
               Limit(c.GasBLimitMax);
    const TFractions f = BalanceFractions(gasAPpm, h2oPpm, c.PH2O, c.FakeMode);
    if (f.H2OPpm != h2oPpm)
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

// Which pass and stair of its step an entry is, when the step has more than one.
std::string Where(const ScheduledStep& e)
{
    std::string where;
    if (e.Passes > 1) where = "pass " + std::to_string(e.Pass) + " of " + std::to_string(e.Passes) + ", ";
    if (e.Stairs > 0)
        where += "stair " + std::to_string(e.Stair) + " of " + std::to_string(e.Stairs) + " (" +
                 std::to_string(e.GasAPpm) + " ppm A, " + std::to_string(e.H2OPpm) + " ppm H2O), ";
    if (!where.empty()) where.replace(where.size() - 2, 2, ": ");
    return where;
}

// Passes and stairs apply the same mixtures again and again: each is planned once.
class MixtureProblems {
public:
    explicit MixtureProblems(const ProgramPlanContext& c) : context_(c) {}

    const std::string& Of(int gasAPpm, int h2oPpm, double gasBLimit)
    {
        const auto key = std::tuple{gasAPpm, h2oPpm, gasBLimit};
        auto found = known_.find(key);
        if (found == known_.end())
            found = known_.emplace(key, MixtureProblem(gasAPpm, h2oPpm, gasBLimit, context_)).first;
        return found->second;
    }

private:
    const ProgramPlanContext& context_;
    std::map<std::tuple<int, int, double>, std::string> known_;
};

}  // namespace

std::vector<StepProblem> CheckProgramPlans(const MixtureProgram& program, const ProgramPlanContext& c)
{
    std::vector<StepProblem> problems;
    MixtureProblems plans(c);
    std::set<int> refused;  // steps with a problem already: the first stair or pass that fails is told
    double gasBLimit = c.GasBLimit;
    TDateTime deadline = c.StopDeadline;
    bool deadlineMet = false;
    for (const ScheduledStep& e : ScheduleOf(program).Entries) {
        const TDateTime start = c.Start + e.StartMinutes * OneMinute;
        if (e.Operation == ProgramOperation::ApplyMixture) {
            gasBLimit = e.GasBLimit.value_or(gasBLimit);
            if (!refused.contains(e.Step)) {
                if (const std::string& reason = plans.Of(e.GasAPpm, e.H2OPpm, gasBLimit); !reason.empty()) {
                    problems.push_back({e.Step + 1, Where(e) + reason});
                    refused.insert(e.Step);
                }
            }
            deadline = start + c.CounterHours * OneHour;
        }
        // An overnight program must not be cut short by the automatic stop;
        // the step a closing hold keeps is meant to meet it.
        if (!deadlineMet && deadline < c.Start + e.EndMinutes() * OneMinute) {
            deadlineMet = true;
            problems.push_back({e.Step + 1, "the automatic stop at " + FormatDateTime("mmm dd @ hh:nn:ss", deadline) +
                                                " comes before the step ends; raise the hours of its counter"});
        }
    }
    // A later pass may fail a step before the one an earlier pass failed.
    std::stable_sort(problems.begin(), problems.end(),
                     [](const StepProblem& x, const StepProblem& y) { return x.Step < y.Step; });
    return problems;
}

}  // namespace gasmixer
