#include "program/ProgramFile.h"
#include "program/ProgramPlanCheck.h"

#include <gtest/gtest.h>

namespace gasmixer {
namespace {

MixtureProgram Program(const std::string& steps)
{
    const ParsedProgram parsed = ParseProgram(std::string(ProgramFileHeader) + "\n" + steps);
    EXPECT_TRUE(parsed.Program) << parsed.Error.Line << ": " << parsed.Error.Reason;
    return parsed.Program.value_or(MixtureProgram{});
}

constexpr TDateTime T0 = 45000.25;

// The imaginary mixer's controllers, a real bubbler at 20 ºC, O2 in N2.
ProgramPlanContext Context()
{
    ProgramPlanContext c;
    c.GasA = "O2";
    c.GasB = "N2";
    c.FlowInfoA = FakeFlowInfoA();
    c.FlowInfoB = FakeFlowInfoB();
    c.PH2O = WaterVapourPressure(20.0f);
    c.GasBLimit = 0.4;
    c.GasBLimitMin = 0.01;
    c.GasBLimitMax = 2.0;
    c.Start = T0;
    c.StopDeadline = T0 + 1.0;
    c.CounterHours = 24.0;
    return c;
}

TEST(ProgramPlanCheck, APlannableProgramHasNoProblems)
{
    EXPECT_EQ(CheckProgramPlans(Program("mixture;2000;0;;120\nflush;;;;1\nmixture;500;10000;0.25;120\n"
                                        "stop;;;;0\n"),
                                Context()),
              std::vector<StepProblem>{});
}

TEST(ProgramPlanCheck, NamesEachImpossibleStepAndWhy)
{
    const auto problems =
        CheckProgramPlans(Program("mixture;2000;0;;10\n"
                                  "mixture;1000;100000;;10\n"  // more water than the bubbler gives
                                  "flush;;;;1\n"
                                  "mixture;1000;0;3.5;10\n"    // limit above the control
                                  "stop;;;;0\n"),
                          Context());
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0].Step, 2);
    EXPECT_TRUE(problems[0].Reason.starts_with("the bubbler delivers at most 2")) << problems[0].Reason;
    EXPECT_EQ(problems[1], (StepProblem{4, "the gas B limit 3.5 g/min is outside 0.01 g/min to 2 g/min"}));
}

TEST(ProgramPlanCheck, GivesThePlannersReasonWhenNoPlanExists)
{
    ProgramPlanContext c = Context();
    c.FakeMode = true;  // water is not capped: the planner sees water alone
    EXPECT_EQ(CheckProgramPlans(Program("mixture;0;1000000;;10\n"), c),
              (std::vector<StepProblem>{{1, "No mixing plan exists for a mixture without gas A and gas B"}}));
    c = Context();
    c.FlowInfoA = TFlowInfo{};
    EXPECT_EQ(CheckProgramPlans(Program("bypass;;;;1\nmixture;2000;0;;10\n"), c),
              (std::vector<StepProblem>{
                  {2, "No mixing plan exists without a flow range of the controller for gas A"}}));
    c = Context();
    c.GasB = "Xe";
    const auto unknown = CheckProgramPlans(Program("mixture;2000;0;;10\n"), c);
    ASSERT_EQ(unknown.size(), 1u);
    EXPECT_NE(unknown[0].Reason.find("Xe"), std::string::npos) << unknown[0].Reason;
}

TEST(ProgramPlanCheck, AStepWithoutLimitPlansWithTheOneBeforeIt)
{
    ProgramPlanContext c = Context();
    c.GasBLimit = 0.0;  // no plan with the limit of the window
    EXPECT_EQ(CheckProgramPlans(Program("mixture;2000;0;0.3;10\nmixture;1000;0;;10\n"), c).size(), 0u);
    const auto problems = CheckProgramPlans(Program("mixture;2000;0;;10\n"), c);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0], (StepProblem{1, "the gas B limit 0 g/min is outside 0.01 g/min to 2 g/min"}));
}

TEST(ProgramPlanCheck, TheImaginaryMixerCarriesAnyWater)
{
    ProgramPlanContext c = Context();
    c.FakeMode = true;
    EXPECT_EQ(CheckProgramPlans(Program("mixture;1000;100000;;10\n"), c).size(), 0u);
}

TEST(ProgramPlanCheck, TheAutomaticStopMustNotCutTheProgramShort)
{
    ProgramPlanContext c = Context();
    c.StopDeadline = T0 + 2 * OneHour;
    // Before the first mixture the armed deadline holds; each mixture re-arms it.
    const auto early = CheckProgramPlans(Program("bypass;;;;180\nmixture;2000;0;;60\n"), c);
    ASSERT_EQ(early.size(), 1u);
    EXPECT_EQ(early[0].Step, 1);
    EXPECT_TRUE(early[0].Reason.starts_with("the automatic stop at ")) << early[0].Reason;

    c.CounterHours = 3.0;
    const auto late = CheckProgramPlans(Program("mixture;2000;0;;120\nbypass;;;;30\nflush;;;;60\n"), c);
    ASSERT_EQ(late.size(), 1u);
    EXPECT_EQ(late[0].Step, 3);
    EXPECT_EQ(CheckProgramPlans(Program("mixture;2000;0;;120\nhold;;;;\n"), c).size(), 0u)
        << "the automatic stop ends a held step as it ends any";
}

TEST(ProgramPlanCheck, ARampIsRefusedAtItsFirstStairThatCannotBePlanned)
{
    // Eight stairs of 12 500 ppm H2O each: the bubbler at 20 ºC carries the first only.
    const auto problems = CheckProgramPlans(Program("mixture;1000;0;;10\nramp;1000;100000;;8\nflush;;;;1\n"
                                                    "repeat;2;;;\n"),
                                            Context());
    ASSERT_EQ(problems.size(), 1u) << "each step is told once, whatever its stairs and passes";
    EXPECT_EQ(problems[0].Step, 2);
    EXPECT_TRUE(problems[0].Reason.starts_with(
        "pass 1 of 2, stair 2 of 8 (1000 ppm A, 25000 ppm H2O): the bubbler delivers at most 2"))
        << problems[0].Reason;
}

TEST(ProgramPlanCheck, EveryPassCountsTowardsTheAutomaticStop)
{
    ProgramPlanContext c = Context();
    c.StopDeadline = T0 + 2 * OneHour;
    EXPECT_EQ(CheckProgramPlans(Program("bypass;;;;50\nrepeat;2;;;\n"), c).size(), 0u);
    const auto problems = CheckProgramPlans(Program("bypass;;;;50\nrepeat;3;;;\n"), c);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].Step, 1);
    EXPECT_TRUE(problems[0].Reason.starts_with("the automatic stop at ")) << problems[0].Reason;
    // Each stair re-arms the stop as Apply Mixture does.
    c.CounterHours = 1.0;
    EXPECT_EQ(CheckProgramPlans(Program("mixture;1000;0;;30\nramp;3000;0;;90\n"), c).size(), 0u);
}

}  // namespace
}  // namespace gasmixer
