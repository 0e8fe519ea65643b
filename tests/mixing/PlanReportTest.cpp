#include "mixing/MixturePlanner.h"

#include "PlanRequest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace gasmixer {
namespace {

using test::Request;
using Lines = std::vector<std::string>;

Lines Join(std::initializer_list<Lines> parts)
{
    Lines all;
    for (const Lines& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// The fake controllers with a gas B limit of 0.5 g/min.
const Lines FakeControllers = {
    "  ",
    "Controller details for Gas A",
    "  Fluid name     : O2",
    "  Long name      : O2",
    "  Flow unit      : g/min",
    "  Max flow       : 0.071 500",
    "  Min flow       : 0.000 596",
    "  Turndown ratio : 120",
    "    ",
    "Controller details for Gas B",
    "  Fluid name     : N2",
    "  Long name      : Nitrogen",
    "  Flow unit      : g/min",
    "  Max flow       : 0.500 000",
    "  Min flow       : 0.000 010",
    "  Turndown ratio : 120",
    "    ",
    "Flow limits",
    // 0.0715 is not exact in single precision.
    "  Min flow of gas A : 0.000 596 000 g/min",
    "  Max flow of gas A : 0.071 500 003 g/min",
    "  Min flow of gas B : 0.000 010 000 g/min",
    "  Max flow of gas B : 0.500 000 000 g/min",
};

const Lines LimitWarning = {
    "",
    "Limiting flow for gas B leads to increased",
    "delay for settling to new setpoint. Additionally, ",
    "mixture may be less accurate and less stable.",
};

// Worked out from M(O2) = 31.9988 and M(Ar) = 39.948: mean molar mass
// 39.946 809, mass ppm 120.155 and 999 879.845, MaxMassPpm 999 880,
// relA 1.201 697e-4, flow A 0.5 x relA = 6.008 485e-5 g/min, below the
// minimum 0.000 596, so timescale A = 0.100 813 5; 0.5 g/min of Ar is
// 300.390 ml/min at 24 l/mol.
TEST(PlanReport, DryOxygenInArgon)
{
    const PlanResult r = PlanMixture(Request("O2", "Ar", 150, 0, 0.5));
    const Lines expected = Join({
        {
            "Description of desired mixture",
            "  150 ppm of Oxygen in Argon",
            "  ",
            "Components of mixture (as partial pressure)",
            "  150 ppm of O2",
            "  999850 ppm of Ar",
            "  ",
            "  log10(pO2)=-3.8",
            "  log10(pAr)=0.0",
            "  ",
            "Components of mixture (as mass fraction)",
            "  120.2 ppm of O2",
            "  999879.8 ppm of Ar",
            "    ",
            "Mass relations of input gases",
            "  0.000 120 170 of Oxygen",
            "  0.999 999 845 of Argon",
        },
        FakeControllers,
        {
            "    ",
            "Conclusion",
            "  Mixing method     : A (pulse) in B",
            "  Required flow A   : 0.000 060 085 g/min",
            "  Required flow B   : 0.500 000 000 g/min",
            "  Timescale A       : 0.100 814",
            "  Timescale B       : 1.000 000",
            "  1/Timescale A     : 9.919 306",
            "  1/Timescale B     : 1.000 000",
            "  Timescale A * 60  : 6.049",
            "  Timescale B * 60  : 60.000",
            "  Massflow A (1 min): 0.000 006 057 g",
            "  Massflow B (1 min): 0.500 000 000 g",
            "  Resulting flow    : 300.4 ml/min  (25\u00BAC)",
            "  Resulting flow    : 280.4 mln/min (0\u00BAC)",
        },
        LimitWarning,
    });
    EXPECT_EQ(r.Report, expected);
}

// Water 10 000 ppm: h = 10 000 / 999 850 = 1.000 15 %, gas B is Ar (1 - h)
// and H2O (h) with the single-precision molar mass 39.723 6; mean molar mass
// 39.727 482, mass ppm of O2 120.819, of gas B 999 879.18 (Ar 995 344.47,
// H2O 4 534.71), MaxMassPpm 999 879; wetting h / pH2O(20 ºC) = 43.333 %.
TEST(PlanReport, HumidifiedArgon)
{
    const PlanResult r = PlanMixture(Request("O2", "Ar", 150, 10000, 0.5));
    const Lines expected = Join({
        {
            "Description of desired mixture",
            "  150 ppm of Oxygen in Argon with H2O",
            "  ",
            "Components of mixture (as partial pressure)",
            "  150 ppm of O2",
            "  989850 ppm of Ar",
            "  10000 ppm of H2O",
            "      1.000 % H2O fraction of B",
            "  ",
            "  log10(pO2)=-3.8",
            "  log10(pAr)=0.0",
            "  log10(pH2O)=-2.0",
            "  ",
            "Components of mixture (as mass fraction)",
            "  120.8 ppm of O2",
            "  999879.2 ppm total gas B",
            "      995344.5 ppm of Ar",
            "      4534.7 ppm of H2O",
            "    ",
            "Mass relations of input gases",
            "  0.000 120 833 of Oxygen",
            "  1.000 000 176 of Argon with H2O",
        },
        FakeControllers,
        {
            "    ",
            "Conclusion",
            "  Mixing method     : A (pulse) in B/H2O",
            "  Required flow A   : 0.000 060 417 g/min",
            "  Required flow B   : 0.500 000 000 g/min",
            "  Wetting time for B: 43.333%",
            "  Timescale A       : 0.101 370",
            "  Timescale B       : 1.000 000",
            "  1/Timescale A     : 9.864 834",
            "  1/Timescale B     : 1.000 000",
            "  Timescale A * 60  : 6.082",
            "  Timescale B * 60  : 60.000",
            "  Massflow A (1 min): 0.000 006 124 g",
            "  Massflow B (1 min): 0.500 000 000 g",
            "  Resulting flow    : 302.1 ml/min  (25\u00BAC)",
            "  Resulting flow    : 281.9 mln/min (0\u00BAC)",
        },
        LimitWarning,
    });
    EXPECT_EQ(r.Report, expected);
}

bool Has(const Lines& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

bool HasPrefix(const Lines& lines, const std::string& prefix)
{
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
}

TEST(PlanReport, MixtureGasAListsItsThreeComponents)
{
    const Lines report = PlanMixture(Request("Air", "N2", 150, 0)).Report;
    // Partial pressures 150 x 0.78084, 0.20946 and 0.00934; masses over the
    // mean molar mass 28.013 540.
    for (const char* line :
         {"  117 ppm of N2", "  31 ppm of O2", "  1 ppm of Ar", "  999850 ppm of N2", "  log10(pN2)=-3.9",
          "  log10(pO2)=-4.5", "  log10(pAr)=-5.9", "  log10(pN2)=0.0", "  155.0 ppm total gas A",
          "      117.1 ppm of N2", "      35.9 ppm of O2", "      2.0 ppm of Ar", "  999845.0 ppm of N2"})
        EXPECT_TRUE(Has(report, line)) << line;
}

TEST(PlanReport, FourthComponentIsNeverShown)
{
    const Lines report = PlanMixture(Request("O2", "Air", 150, 10000)).Report;
    EXPECT_TRUE(HasPrefix(report, "  log10(pAr)="));
    EXPECT_FALSE(HasPrefix(report, "  log10(pH2O)="));
    EXPECT_FALSE(HasPrefix(report, "  10000 ppm of H2O"));
    EXPECT_TRUE(Has(report, "      1.000 % H2O fraction of B"));
}

TEST(PlanReport, NoLogarithmsWithoutBothGases)
{
    for (int a : {0, 1'000'000}) {
        const Lines report = PlanMixture(Request("O2", "Ar", a, 0)).Report;
        EXPECT_FALSE(HasPrefix(report, "  log10(")) << a;
    }
    // Gas A and water only: gas B has no partial pressure to show.
    const Lines report = PlanMixture(Request("O2", "Ar", 990000, 10000)).Report;
    EXPECT_TRUE(Has(report, "  log10(pO2)=0.0"));
    EXPECT_FALSE(HasPrefix(report, "  log10(pAr)="));
}

TEST(PlanReport, TimescalesOnlyForPulsesWithBothDutiesPositive)
{
    EXPECT_FALSE(HasPrefix(PlanMixture(Request("O2", "Ar", 10000, 0)).Report, "  Timescale A"));
    EXPECT_TRUE(HasPrefix(PlanMixture(Request("O2", "Ar", 999950, 0)).Report, "  Timescale A"));
    // "B/H2O (pulse) in A" without gas B: its duty is 0.
    const PlanResult noGasB = PlanMixture(Request("O2", "Ar", 990000, 10000));
    ASSERT_EQ(noGasB.Method, TMixingMethod::BH2OPulseInA);
    EXPECT_TRUE(Has(noGasB.Report, "  Mixing method     : B/H2O (pulse) in A"));
    EXPECT_FALSE(HasPrefix(noGasB.Report, "  Timescale A"));
}

TEST(PlanReport, PulsedGasBShowsItsFlowBeforeTheTimescale)
{
    const PlanResult r = PlanMixture(Request("O2", "Ar", 999950, 0));
    ASSERT_EQ(r.Method, TMixingMethod::BPulseInA);
    EXPECT_TRUE(HasPrefix(r.Report, "  Required flow B   : 0.000 004 46"));
    EXPECT_TRUE(Has(r.Report, "  Timescale A       : 1.000 000"));
}

TEST(PlanReport, PreviousWettingFractionIsShownWithoutVapourPressure)
{
    PlanInput in = Request("O2", "Ar", 150, 10000);
    in.PH2O = 0.0;
    in.PreviousWettingFraction = 0.25;
    EXPECT_TRUE(Has(PlanMixture(in).Report, "  Wetting time for B: 25.000%"));
    in.PreviousWettingFraction = 0.0;
    EXPECT_FALSE(HasPrefix(PlanMixture(in).Report, "  Wetting time"));
}

TEST(PlanReport, WarningOnlyBelowFullScale)
{
    const Lines atFullScale = PlanMixture(Request("O2", "Ar", 150, 0, 1.0)).Report;
    EXPECT_EQ(atFullScale.back().rfind("  Resulting flow    : ", 0), 0u);
    EXPECT_TRUE(Has(atFullScale, "  Max flow of gas B : 1.000 000 000 g/min"));
    const Lines below = PlanMixture(Request("O2", "Ar", 150, 0, 0.999)).Report;
    EXPECT_TRUE(std::equal(LimitWarning.rbegin(), LimitWarning.rend(), below.rbegin()));
}

}  // namespace
}  // namespace gasmixer
