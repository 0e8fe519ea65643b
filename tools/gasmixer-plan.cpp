// gasmixer-plan: plans a mixture away from the mixer, with the window's planner.

#include "common/Version.h"
#include "mixing/MixturePlanner.h"
#include "tools/PlanJson.h"
#include "tools/PlanOptions.h"
#include "tools/PlanRequest.h"
#include "uncertainty/AccuracyStore.h"

#include <exception>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace gasmixer;

constexpr int ExitPlan = 0;
constexpr int ExitNoPlan = 1;
constexpr int ExitUsage = 2;

void Error(const std::string& message) { std::cerr << "gasmixer-plan: " << message << '\n'; }

// A plan that never reached its reader must not pass for success.
int Flushed(int status)
{
    std::cout.flush();
    if (std::cout) return status;
    Error("cannot write the output");
    return ExitNoPlan;
}

int Run(const std::vector<std::string_view>& args)
{
    const PlanOptions options = ParseOptions(args);
    if (options.Help) {
        std::cout << UsageText();
        return Flushed(ExitPlan);
    }
    if (options.Version) {
        std::cout << VersionText("gasmixer-plan");
        return Flushed(ExitPlan);
    }
    const PlanInput input = MakePlanInput(options);
    if (input.H2OPpm != options.H2OPpm)
        Error("water reduced to " + std::to_string(input.H2OPpm)
              + " ppm, what gas B saturated at --ph2o can carry (--fake keeps it)");

    const PlanResult plan = PlanMixture(input);
    if (options.Json) {
        std::cout << PlanJson(input, plan, LoadRememberedAccuracy()) << '\n';
    } else {
        for (const std::string& line : plan.Report) std::cout << line << '\n';
    }
    return Flushed(plan.Defined ? ExitPlan : ExitNoPlan);
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        return Run({argv + 1, argv + argc});
    } catch (const UsageError& e) {
        Error(e.what());
        return ExitUsage;
    } catch (const CompoundNotFound& e) {
        Error(e.what());
        return ExitUsage;
    } catch (const std::exception& e) {
        Error(e.what());
        return ExitNoPlan;
    }
}
