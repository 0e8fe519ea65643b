#include "uncertainty/UncertaintyBudget.h"

#include "gasdata/MolarMasses.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>

namespace gasmixer {
namespace {

// Contributions |c u| in ppm of A, B and H2O, worked out by hand from the
// relative forms of the model (x = mole fractions, r = water per mole of B):
//   d xA / d ln QA = xA (1 - xA),    d xB / d ln QA = -xA xB,  d xW / d ln QA = -xA xW
//   d xA / d ln QB = -xA (xB + xW),  d xB / d ln QB = xA xB,   d xW / d ln QB = xA xW
//   d xA / d ln r = -xA xW,          d xB / d ln r = -xB xW,   d xW / d ln r = xW (1 - xW)
// with the default accuracy: 0.5 % of reading and 0.1 % of full scale at
// k = 2, repeatability 0.2 %, purity 0.99999 (rectangular), ± 0.5 ºC and
// ± 2 % saturation (rectangular), dp/dT at 20 ºC = 0.001 429 847 atm/ºC.
using Contributions = std::map<std::string, TPpm>;

struct WorkedExample {
    const char* Name;
    TMixturePoint Point;
    TPpm Ppm;
    Contributions Lines;
    TPpm Standard;
};

TMeteredGas Constant(double flow, double fullScale, double molarMass)
{
    TMeteredGas gas;
    gas.Quantity = flow;
    gas.RunningFlow = flow;
    gas.FullScale = fullScale;
    gas.MolarMass = molarMass;
    return gas;
}

// Gas A at 2 % of its full scale, gas B at 50 %.
WorkedExample ConstantMethod()
{
    WorkedExample e{"constant", {}, {1746.94285, 998253.057, 0}, {}, {44.3408, 44.7138, 0}};
    e.Point.A = Constant(0.002, 0.1, 32);
    e.Point.B = Constant(1, 2, 28);
    e.Lines = {
        {"MFC A accuracy, % of reading", {4.35973, 4.35973, 0}},
        {"MFC A accuracy, % of full scale", {43.5973, 43.5973, 0}},
        {"MFC A repeatability", {3.48778, 3.48778, 0}},
        {"MFC B accuracy, % of reading", {4.35973, 4.35973, 0}},
        {"MFC B accuracy, % of full scale", {1.74389, 1.74389, 0}},
        {"MFC B repeatability", {3.48778, 3.48778, 0}},
        {"Purity of gas A", {0.010086, 0, 0}},
        {"Purity of gas B", {0, 5.76342, 0}},
    };
    return e;
}

// 20 ppm of A dosed in pulses of 250 ms at 0.035 g/min, judged over an hour.
WorkedExample PulseMethod()
{
    WorkedExample e{"pulse", {}, {20, 999980, 0}, {}, {1.23137, 5.90324, 0}};
    const double molesB = 1.0 / 28;
    e.Point.A = Constant(molesB * 20e-6 / (1 - 20e-6) * 32, 0.0715, 32);
    e.Point.A.RunningFlow = 0.035;
    e.Point.A.Pulsed = true;
    e.Point.A.PulseDoseGrams = 0.035 * 0.25 / 60;
    e.Point.B = Constant(1, 1, 28);
    e.Point.Minutes = 60;
    e.Lines = {
        {"MFC A accuracy, % of reading", {0.049999, 0.049999, 0}},
        {"MFC A accuracy, % of full scale", {0.0204282, 0.0204282, 0}},
        {"MFC A repeatability", {0.0399992, 0.0399992, 0}},
        {"Pulses of A (one pulse in 60 min)", {1.22782, 1.22782, 0}},
        {"MFC B accuracy, % of reading", {0.049999, 0.049999, 0}},
        {"MFC B accuracy, % of full scale", {0.0099998, 0.0099998, 0}},
        {"MFC B repeatability", {0.0399992, 0.0399992, 0}},
        {"Purity of gas A", {0.00011547, 0, 0}},
        {"Purity of gas B", {0, 5.77339, 0}},
    };
    return e;
}

// Gas B at 50 % through the bubbler half of the time, water at 20 ºC.
WorkedExample HumidifiedMethod()
{
    WorkedExample e{"humidified", {}, {41457.7898, 947606.625, 10935.5855}, {}, {188.746, 288.821, 230.255}};
    e.Point.A = Constant(0.05, 0.1, 32);
    e.Point.B = Constant(1, 2, 28);
    e.Point.WetShare = 0.5;
    e.Point.PH2O = WaterVapourPressure(20.0f);
    e.Lines = {
        {"MFC A accuracy, % of reading", {99.3476, 98.2142, 1.13341}},
        {"MFC A accuracy, % of full scale", {39.739, 39.2857, 0.453365}},
        {"MFC A repeatability", {79.4781, 78.5714, 0.90673}},
        {"MFC B accuracy, % of reading", {99.3476, 98.2142, 1.13341}},
        {"MFC B accuracy, % of full scale", {39.739, 39.2857, 0.453365}},
        {"MFC B repeatability", {79.4781, 78.5714, 0.90673}},
        {"Purity of gas A", {0.239357, 0, 0}},
        {"Purity of gas B", {0, 5.47101, 0}},
        {"Water temperature", {8.1078, 185.321, 193.429}},
        {"Saturation efficiency", {5.23501, 119.657, 124.892}},
    };
    return e;
}

void ExpectClose(double actual, double expected, const std::string& what)
{
    EXPECT_NEAR(actual, expected, 1e-4 * std::abs(expected) + 1e-9) << what;
}

class WorkedExamples : public testing::TestWithParam<WorkedExample (*)()> {};

TEST_P(WorkedExamples, BudgetMatchesTheHandCalculation)
{
    const WorkedExample e = GetParam()();
    const TMixtureUncertainty u = EvaluateUncertainty(e.Point, TAccuracySettings{});
    ASSERT_EQ(u.Budget.size(), e.Lines.size()) << e.Name;
    for (const TBudgetLine& line : u.Budget) {
        const auto expected = e.Lines.find(line.Input);
        ASSERT_NE(expected, e.Lines.end()) << e.Name << ": " << line.Input;
        for (int s = 0; s < SpeciesCount; ++s)
            ExpectClose(std::abs(line.Contribution[s]), expected->second[s],
                        std::string(e.Name) + ": " + line.Input + " on " + SpeciesNames[s]);
    }
    for (int s = 0; s < SpeciesCount; ++s) {
        const std::string species = std::string(e.Name) + " " + SpeciesNames[s];
        ExpectClose(u.Species[s].Ppm, e.Ppm[s], species + " ppm");
        ExpectClose(u.Species[s].Standard, e.Standard[s], species + " standard");
        EXPECT_DOUBLE_EQ(u.Species[s].Expanded, 2 * u.Species[s].Standard) << species;
    }
}

TEST_P(WorkedExamples, SharesAddUpToTheCombinedVariance)
{
    const WorkedExample e = GetParam()();
    const TMixtureUncertainty u = EvaluateUncertainty(e.Point, TAccuracySettings{});
    for (int s = 0; s < SpeciesCount; ++s) {
        const auto species = static_cast<TSpecies>(s);
        double variance = 0.0;
        double shares = 0.0;
        for (const TBudgetLine& line : u.Budget) {
            variance += line.Variance(species);
            shares += u.Share(line, species);
        }
        EXPECT_NEAR(variance, u.Species[s].Standard * u.Species[s].Standard, 1e-9 * variance) << e.Name;
        if (u.Species[s].Ppm > 0) {
            EXPECT_NEAR(shares, 1.0, 1e-12) << e.Name << " " << SpeciesNames[s];
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Model, WorkedExamples, testing::Values(ConstantMethod, PulseMethod, HumidifiedMethod));

}  // namespace
}  // namespace gasmixer
