#include "mixing/MixturePlanner.h"

#include "PlanRequest.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace gasmixer {
namespace {

using test::Request;
using test::Whole;

struct MethodCase {
    const char* gasA;
    const char* gasB;
    int a;
    int w;
    double gasBLimit;
    const char* method;
};

class PlannerMethod : public testing::TestWithParam<MethodCase> {};

// With the fake controllers (A: 0.0715 g/min, min 0.000596; B: min 1e-05),
// O2 against Ar reaches every method through a, w and the gas B limit.
TEST_P(PlannerMethod, ChoosesTheMethod)
{
    const MethodCase& c = GetParam();
    const PlanResult r = PlanMixture(Request(c.gasA, c.gasB, c.a, c.w, c.gasBLimit));
    ASSERT_TRUE(r.Defined);
    EXPECT_EQ(r.MixingMethod(), c.method);
    EXPECT_TRUE(std::isfinite(r.RequiredFlowA) && std::isfinite(r.RequiredFlowB));
    EXPECT_TRUE(std::isfinite(r.QA) && std::isfinite(r.QB));
}

INSTANTIATE_TEST_SUITE_P(
    EveryMethod, PlannerMethod,
    testing::Values(MethodCase{"O2", "Ar", Whole, 0, 0.5, "A pure"},
                    MethodCase{"O2", "Ar", 10000, 0, 0.5, "A (constant) in B"},
                    MethodCase{"O2", "Ar", 300000, 0, 0.5, "A in B (limited)"},
                    MethodCase{"O2", "Ar", 10000, 10000, 0.5, "A (constant) in B/H2O"},
                    MethodCase{"O2", "Ar", 300000, 10000, 0.5, "A in B/H2O (limited)"},
                    MethodCase{"O2", "Ar", 150, 0, 0.5, "A (pulse) in B"},
                    MethodCase{"O2", "Ar", 150, 10000, 0.5, "A (pulse) in B/H2O"},
                    MethodCase{"O2", "Ar", 0, 0, 0.5, "B pure"},
                    MethodCase{"O2", "Ar", 600000, 0, 0.5, "B (constant) in A"},
                    MethodCase{"O2", "Ar", 600000, 0, 0.05, "B in A (limited)"},
                    MethodCase{"O2", "Ar", 600000, 10000, 0.5, "B/H2O (constant) in A"},
                    MethodCase{"O2", "Ar", 600000, 10000, 0.05, "B/H2O in A (limited)"},
                    MethodCase{"O2", "Ar", 999950, 0, 0.5, "B (pulse) in A"},
                    MethodCase{"O2", "Ar", 999950, 20, 0.5, "B/H2O (pulse) in A"},
                    MethodCase{"O2", "Ar", 0, 10000, 0.5, "B/H2O"},
                    MethodCase{"Air", "N2", 500000, 0, 0.5, "B (constant) in A"},
                    MethodCase{"Air", "Ar", 500000, 0, 0.5, "A in B (limited)"},
                    MethodCase{"Air", "N2", 150, 10000, 0.5, "A (pulse) in B/H2O"},
                    MethodCase{"O2", "H2O", 150, 10000, 0.5, "A (pulse) in B/H2O"},
                    MethodCase{"H2", "Ar", 5000, 0, 0.5, "A (pulse) in B"}),
    [](const testing::TestParamInfo<MethodCase>& info) { return "case" + std::to_string(info.index); });

// Dry O2 in Ar worked out in double from the table's molar masses.
TEST(Planner, DryPulseOfGasAMatchesAnIndependentCalculation)
{
    const double mO2 = FindCompound("O2").MolarMass;
    const double mAr = FindCompound("Ar").MolarMass;
    const double a = 150, b = Whole - 150;
    const double mean = (a * mO2 + b * mAr) / Whole;
    const double massA = a * mO2 / mean;
    const double massB = b * mAr / mean;
    const double maxMass = std::nearbyint(massB);
    const double relA = massA / maxMass;
    const double flowA = 0.5 * relA;
    const double timescaleA = flowA / FakeFlowInfoA().Min;

    const PlanResult r = PlanMixture(Request("O2", "Ar", 150, 0, 0.5));
    ASSERT_TRUE(r.Defined);
    EXPECT_EQ(r.Method, TMixingMethod::APulseInB);
    EXPECT_DOUBLE_EQ(r.H, 0.0);
    EXPECT_NEAR(r.MeanMolarMass, mean, 1e-12 * mean);
    EXPECT_NEAR(static_cast<double>(r.MassPpmA), massA, 1e-9);
    EXPECT_EQ(r.MaxMassPpm, static_cast<long long>(maxMass));
    EXPECT_FLOAT_EQ(r.RelA, static_cast<float>(relA));
    EXPECT_NEAR(r.RequiredFlowA, flowA, 1e-7 * flowA);
    EXPECT_EQ(r.FlowB, 0.5f);
    EXPECT_DOUBLE_EQ(r.RequiredFlowB, 0.5);
    EXPECT_FLOAT_EQ(r.TimescaleA, static_cast<float>(timescaleA));
    EXPECT_EQ(r.TimescaleB, 1.0f);
    EXPECT_DOUBLE_EQ(r.WettingFraction, 0.0);
    EXPECT_NEAR(r.QA, timescaleA * flowA / mO2 * 24000, 1e-6);
    EXPECT_NEAR(r.QB, 0.5 / mAr * 24000, 1e-4);
}

TEST(Planner, GasAAsCarrierRunsAtItsFullScale)
{
    // 600 000 ppm of O2 outweigh the Ar by mass: gas A carries gas B.
    const double mO2 = FindCompound("O2").MolarMass;
    const double mAr = FindCompound("Ar").MolarMass;
    const double a = 600000, b = Whole - a;
    const double mean = (a * mO2 + b * mAr) / Whole;
    const double rho = (b * mAr / mean) / std::nearbyint(a * mO2 / mean);

    const PlanResult r = PlanMixture(Request("O2", "Ar", 600000, 0, 0.5));
    EXPECT_EQ(r.Method, TMixingMethod::BConstantInA);
    EXPECT_NEAR(r.RelA, 1.0f, 1e-5);
    EXPECT_DOUBLE_EQ(r.RequiredFlowA, FakeFlowInfoA().Max);
    EXPECT_FLOAT_EQ(r.FlowB, static_cast<float>(FakeFlowInfoA().Max * rho));
    EXPECT_EQ(r.TimescaleA, 1.0f);
    EXPECT_EQ(r.TimescaleB, 1.0f);
}

TEST(Planner, LimitedMethodsScaleBothFlowsByTheSameFactor)
{
    const PlanResult aInB = PlanMixture(Request("O2", "Ar", 300000, 0, 0.5));
    EXPECT_EQ(aInB.Method, TMixingMethod::AInBLimited);
    EXPECT_NEAR(aInB.RequiredFlowA, FakeFlowInfoA().Max, 1e-7);
    EXPECT_NEAR(aInB.RequiredFlowA / aInB.FlowB, aInB.RelA, 1e-6);

    const PlanResult bInA = PlanMixture(Request("O2", "Ar", 600000, 0, 0.05));
    const PlanResult unlimited = PlanMixture(Request("O2", "Ar", 600000, 0, 0.5));
    EXPECT_EQ(bInA.Method, TMixingMethod::BInALimited);
    EXPECT_NEAR(bInA.FlowB, 0.05, 1e-7);
    EXPECT_NEAR(bInA.FlowB / bInA.RequiredFlowA, unlimited.FlowB / unlimited.RequiredFlowA, 1e-6);
}

// The limits decide strictly: a required flow equal to a controller's limit
// keeps the constant method.
TEST(Planner, GasAThresholds)
{
    PlanInput in = Request("O2", "Ar", 10000, 0, 0.5);
    const double flowA = PlanMixture(in).RequiredFlowA;
    const float below = std::nextafter(static_cast<float>(flowA), 0.0f);
    const float above = std::nextafter(static_cast<float>(flowA), 1.0f);

    in.FlowInfoA.Max = above;
    EXPECT_EQ(PlanMixture(in).Method, TMixingMethod::AConstantInB);
    in.FlowInfoA.Max = below;
    const PlanResult limited = PlanMixture(in);
    EXPECT_EQ(limited.Method, TMixingMethod::AInBLimited);
    EXPECT_NEAR(limited.RequiredFlowA, below, 1e-6 * below);

    in.FlowInfoA.Max = FakeFlowInfoA().Max;
    in.FlowInfoA.Min = below;
    EXPECT_EQ(PlanMixture(in).Method, TMixingMethod::AConstantInB);
    in.FlowInfoA.Min = above;
    const PlanResult pulsed = PlanMixture(in);
    EXPECT_EQ(pulsed.Method, TMixingMethod::APulseInB);
    EXPECT_LT(pulsed.TimescaleA, 1.0f);
    EXPECT_FLOAT_EQ(pulsed.TimescaleA, static_cast<float>(flowA / above));
    // Gas A keeps its full required flow; its pulse regulator applies the duty.
    EXPECT_DOUBLE_EQ(pulsed.RequiredFlowA, flowA);
}

TEST(Planner, GasBThresholds)
{
    PlanInput in = Request("O2", "Ar", 600000, 0, 0.5);
    const float flowB = PlanMixture(in).FlowB;

    in.GasBLimit = flowB;
    EXPECT_EQ(PlanMixture(in).Method, TMixingMethod::BConstantInA);
    in.GasBLimit = std::nextafter(flowB, 0.0f);
    EXPECT_EQ(PlanMixture(in).Method, TMixingMethod::BInALimited);

    in.GasBLimit = 0.5;
    in.FlowInfoB.Min = flowB;
    EXPECT_EQ(PlanMixture(in).Method, TMixingMethod::BConstantInA);
    in.FlowInfoB.Min = std::nextafter(flowB, 1.0f);
    EXPECT_EQ(PlanMixture(in).Method, TMixingMethod::BPulseInA);
}

// The published flows are what the mixer doses at, constant or pulsed: they
// must make the mixture asked for. The timescale is only the report's.
TEST(Planner, PublishedFlowsOfThePulseMethodsMakeTheMixtureAskedFor)
{
    const double mO2 = FindCompound("O2").MolarMass;
    const double mAr = FindCompound("Ar").MolarMass;
    for (const int a : {150, 999950}) {
        const PlanResult r = PlanMixture(Request("O2", "Ar", a, 0, 0.5));
        ASSERT_TRUE(r.Defined) << a;
        const double molesA = r.RequiredFlowA / mO2;
        const double molesB = r.RequiredFlowB / mAr;
        EXPECT_NEAR(molesA / (molesA + molesB) * Whole, a, 1e-3) << r.MixingMethod();
    }
    const PlanResult r = PlanMixture(Request("O2", "Ar", 999950, 0, 0.5));
    ASSERT_EQ(r.Method, TMixingMethod::BPulseInA);
    EXPECT_FLOAT_EQ(r.TimescaleB, r.FlowB / FakeFlowInfoB().Min);
    EXPECT_LT(r.TimescaleB, 1.0f);
    EXPECT_DOUBLE_EQ(r.RequiredFlowB, r.FlowB);
}

TEST(Planner, PureGasesOverrideTheChoice)
{
    const PlanResult allA = PlanMixture(Request("O2", "Ar", Whole, 0));
    EXPECT_EQ(allA.Method, TMixingMethod::APure);
    EXPECT_FLOAT_EQ(allA.RelA, 1.0f);
    EXPECT_DOUBLE_EQ(allA.RequiredFlowA, FakeFlowInfoA().Max);
    EXPECT_DOUBLE_EQ(allA.RequiredFlowB, 0.0);

    const PlanResult allB = PlanMixture(Request("O2", "Ar", 0, 0));
    EXPECT_EQ(allB.Method, TMixingMethod::BPure);
    EXPECT_DOUBLE_EQ(allB.RequiredFlowA, 0.0);
    EXPECT_DOUBLE_EQ(allB.RequiredFlowB, 0.5);
}

TEST(Planner, WaterWithoutGasAIsHumidifiedGasB)
{
    const PlanResult r = PlanMixture(Request("O2", "Ar", 0, 10000));
    EXPECT_EQ(r.Method, TMixingMethod::BH2O);
    EXPECT_DOUBLE_EQ(r.H, 0.01);
    EXPECT_DOUBLE_EQ(r.RequiredFlowA, 0.0);
    EXPECT_DOUBLE_EQ(r.RequiredFlowB, 0.5);
    EXPECT_DOUBLE_EQ(r.WettingFraction, 0.01 / WaterVapourPressure(20.0f));
}

TEST(Planner, WettingFractionIsWaterShareOverVapourPressure)
{
    PlanInput in = Request("O2", "Ar", 150, 10000);
    const double h = 10000.0 / (Whole - 150);
    EXPECT_DOUBLE_EQ(PlanMixture(in).WettingFraction, h / in.PH2O);

    // Without a vapour pressure the previous fraction stays in force.
    in.PreviousWettingFraction = 0.25;
    for (double p : {0.0, -0.01}) {
        in.PH2O = p;
        const PlanResult r = PlanMixture(in);
        EXPECT_TRUE(r.Defined);
        EXPECT_DOUBLE_EQ(r.WettingFraction, 0.25) << "p " << p;
    }
}

// Gas A and water only (the imaginary mixer accepts it): gas B cannot carry
// water, so nothing is humidified and gas B is a zero pulse.
TEST(Planner, WaterWithoutGasBIsNotHumidified)
{
    PlanInput in = Request("O2", "Ar", 990000, 10000);
    ASSERT_EQ(in.GasBPpm, 0);
    in.PreviousWettingFraction = 0.3;
    const PlanResult r = PlanMixture(in);
    ASSERT_TRUE(r.Defined);
    EXPECT_EQ(r.Method, TMixingMethod::BH2OPulseInA);
    EXPECT_DOUBLE_EQ(r.H, 0.0);
    EXPECT_EQ(r.CompoundB, FindCompound("Ar"));
    EXPECT_DOUBLE_EQ(r.WettingFraction, 0.0);
    EXPECT_EQ(r.TimescaleB, 0.0f);
    EXPECT_DOUBLE_EQ(r.RequiredFlowB, 0.0);
}

TEST(Planner, GasBLimitBecomesControllerMaxAsFloat)
{
    const PlanResult r = PlanMixture(Request("O2", "Ar", 150, 0, 0.1));
    EXPECT_EQ(r.FlowInfoBMax, 0.1f);
    EXPECT_EQ(r.FlowB, 0.1f);
}

}  // namespace
}  // namespace gasmixer
