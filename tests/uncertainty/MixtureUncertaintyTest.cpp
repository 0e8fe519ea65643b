#include "uncertainty/MixtureUncertainty.h"

#include "../mixing/PlanRequest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace gasmixer {
namespace {

using test::Request;

bool HasLine(const TMixtureUncertainty& u, const std::string& prefix)
{
    return std::any_of(u.Budget.begin(), u.Budget.end(),
                       [&](const TBudgetLine& line) { return line.Input.rfind(prefix, 0) == 0; });
}

TEST(ValueWithUncertainty, TwoSignificantDigitsRoundedUpAndTheValueToTheSamePlace)
{
    struct Case {
        double Value;
        double Expanded;
        const char* Text;
    };
    for (const Case& c : {Case{2000, 31.0, "2 000 ± 31"}, Case{10000, 421.1, "10 000 ± 430"},
                          Case{150, 3.14, "150.0 ± 3.2"}, Case{20, 0.0495, "20.000 ± 0.050"},
                          Case{1234567, 1234, "1 234 600 ± 1 300"}, Case{9901, 0, "9 901 ± 0"}})
        EXPECT_EQ(ValueWithUncertainty(c.Value, c.Expanded), c.Text) << c.Value;
}

TEST(ExpectedLine, NamesGasAAndWaterOrElseGasB)
{
    TMixtureUncertainty u;
    u.Species[SpeciesA] = {2000, 15.5, 31};
    u.Species[SpeciesB] = {988000, 200, 400};
    u.Species[SpeciesH2O] = {10000, 210, 420};
    EXPECT_EQ(ExpectedLine(u), "Expected: 2 000 ± 31 ppm A, 10 000 ± 420 ppm H2O (k = 2)");
    u.Species[SpeciesH2O] = {};
    EXPECT_EQ(ExpectedLine(u), "Expected: 2 000 ± 31 ppm A (k = 2)");
    u.Species[SpeciesA] = {};
    u.Species[SpeciesB] = {1000000, 0, 0};
    EXPECT_EQ(ExpectedLine(u), "Expected: 1 000 000 ± 0 ppm B (k = 2)");
}

TEST(PlanUncertainty, CentresOnTheRequestAndCountsWhatTheMethodUses)
{
    struct Case {
        int A;
        int H2O;
        TMixingMethod Method;
        bool Pulses;
        bool Water;
    };
    for (const Case& c : {Case{2000, 0, TMixingMethod::AConstantInB, false, false},
                          Case{150, 0, TMixingMethod::APulseInB, true, false},
                          Case{0, 10000, TMixingMethod::BH2O, false, true}}) {
        const PlanInput in = Request("O2", "N2", c.A, c.H2O, 1.0);
        const PlanResult plan = PlanMixture(in);
        ASSERT_EQ(plan.Method, c.Method) << c.A;
        const TMixtureUncertainty u = PlanUncertainty(in, plan, TAccuracySettings{});
        EXPECT_EQ(u.Species[SpeciesA].Ppm, c.A);
        EXPECT_EQ(u.Species[SpeciesH2O].Ppm, c.H2O);
        EXPECT_EQ(HasLine(u, "Pulses of A (one pulse in 5 min)"), c.Pulses) << c.A;
        EXPECT_EQ(HasLine(u, "Water temperature"), c.Water) << c.A;
        EXPECT_FALSE(HasLine(u, "Totalizer")) << c.A;
        EXPECT_EQ(HasLine(u, "MFC A"), c.A > 0);
        for (int s = 0; s < SpeciesCount; ++s) {
            if (u.Species[s].Ppm > 0) {
                EXPECT_GT(u.Species[s].Expanded, 0) << c.A << " " << s;
            }
        }
    }
}

TEST(PlanUncertainty, NothingWithoutAPlan)
{
    PlanInput in = Request("O2", "N2", 2000, 0);
    in.FlowInfoA.Max = 0;
    const TMixtureUncertainty u = PlanUncertainty(in, PlanMixture(in), TAccuracySettings{});
    EXPECT_TRUE(u.Budget.empty());
}

// An hour of the 2000 ppm plan as the totalizers count it: the same
// controllers' errors as the plan's, plus their resolution, and pulses no
// longer count since the totalizer measured them.
TEST(ProducedUncertainty, FromTheTotalizerMasses)
{
    const PlanInput in = Request("O2", "N2", 150, 10000, 1.0);
    const PlanResult plan = PlanMixture(in);
    ASSERT_EQ(plan.Method, TMixingMethod::APulseInBH2O);
    const TRunningMixture running = RunningMixtureOf(in, plan);
    TDelivered delivered;
    delivered.Minutes = 60;
    delivered.GramsA = plan.RequiredFlowA * 60;
    delivered.GramsB = plan.RequiredFlowB * 60;
    // As the records count it: gas B's moles through the bubbler, pH2O moles of water each.
    delivered.GramsWater = delivered.GramsB / in.CompoundB.MolarMass * plan.WettingFraction * in.PH2O
                         * FindCompound("H2O").MolarMass;
    const TMixtureUncertainty produced = ProducedUncertainty(running, delivered, TAccuracySettings{});
    EXPECT_TRUE(HasLine(produced, "Totalizer A resolution"));
    EXPECT_FALSE(HasLine(produced, "Pulses"));
    // The records' law: water per mole of gas B is pH2O x wetting fraction.
    EXPECT_NEAR(produced.Species[SpeciesH2O].Ppm, 10000 / (1 + plan.H), 20);
    EXPECT_NEAR(produced.Species[SpeciesA].Ppm, 150, 2);
    const TMixtureUncertainty planned = PlanUncertainty(in, plan, TAccuracySettings{});
    EXPECT_NEAR(produced.Species[SpeciesH2O].Expanded, planned.Species[SpeciesH2O].Expanded,
                0.02 * planned.Species[SpeciesH2O].Expanded);
    EXPECT_LT(produced.Species[SpeciesA].Expanded, planned.Species[SpeciesA].Expanded);
}

}  // namespace
}  // namespace gasmixer

namespace gasmixer {
namespace {

// The totalizer's own step, or that of the float of kilograms it is read
// as; a mass between two rows is two readings.
TEST(ProducedUncertainty, TotalizerStepIsTheCoarserOfItsOwnAndTheFloats)
{
    const PlanInput in = test::Request("O2", "N2", 2000, 0, 1.0);
    const TRunningMixture running = RunningMixtureOf(in, PlanMixture(in));
    const auto resolutionOfA = [&](double gramsA, int readings) {
        const TDelivered delivered{gramsA, 1000.0, 0.0, 60.0, readings};
        for (const TBudgetLine& line : ProducedUncertainty(running, delivered, TAccuracySettings{}).Budget)
            if (line.Input == "Totalizer A resolution") return line.StandardUncertainty;
        return -1.0;
    };
    const double floatStepAt2kg = 2.0 / (1 << 23) * 1000;  // g
    EXPECT_NEAR(resolutionOfA(0.0004, 1), 1e-6 / std::sqrt(12.0), 1e-12);
    EXPECT_NEAR(resolutionOfA(2000.0, 1), floatStepAt2kg / std::sqrt(12.0), 1e-12);
    EXPECT_NEAR(resolutionOfA(0.0004, 2), std::sqrt(2.0) * 1e-6 / std::sqrt(12.0), 1e-12);
}

}  // namespace
}  // namespace gasmixer
