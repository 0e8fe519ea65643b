#include "uncertainty/MixtureModel.h"

#include "gasdata/MolarMasses.h"

#include <gtest/gtest.h>

#include <cmath>

namespace gasmixer {
namespace {

// Every quantity off its nominal value, so that no term of a coefficient
// hides behind a factor of one.
TModelQuantities HumidPoint()
{
    TModelQuantities q;
    q.QA = 0.05;
    q.QB = 1.0;
    q.MolarMassA = 32;
    q.MolarMassB = 28;
    q.WetShare = 0.5;
    q.PH2O = 0.023;
    q.Saturation = 0.98;
    q.ContentA = 0.999;
    q.ContentB = 0.998;
    return q;
}

double& QuantityOf(TModelQuantities& q, TModelInput input)
{
    switch (input) {
    case TModelInput::QA: return q.QA;
    case TModelInput::QB: return q.QB;
    case TModelInput::PH2O: return q.PH2O;
    case TModelInput::Saturation: return q.Saturation;
    case TModelInput::ContentA: return q.ContentA;
    case TModelInput::ContentB: return q.ContentB;
    }
    return q.QA;
}

class Sensitivity : public testing::TestWithParam<TModelInput> {};

TEST_P(Sensitivity, MatchesTheNumericalDerivative)
{
    const TModelInput input = GetParam();
    const TModelQuantities q = HumidPoint();
    TModelQuantities up = q;
    TModelQuantities down = q;
    const double h = 1e-5 * QuantityOf(up, input);
    QuantityOf(up, input) += h;
    QuantityOf(down, input) -= h;
    const TPpm high = ModelPpm(up);
    const TPpm low = ModelPpm(down);
    const TPpm analytic = ModelSensitivity(q, input);
    for (int s = 0; s < SpeciesCount; ++s) {
        const double numeric = (high[s] - low[s]) / (2 * h);
        EXPECT_NEAR(analytic[s], numeric, 1e-6 * std::abs(numeric) + 1e-6) << "species " << s;
    }
}

INSTANTIATE_TEST_SUITE_P(Model, Sensitivity,
                         testing::Values(TModelInput::QA, TModelInput::QB, TModelInput::PH2O,
                                         TModelInput::Saturation, TModelInput::ContentA, TModelInput::ContentB));

TEST(VapourPressureSlope, MatchesTheNumericalDerivative)
{
    for (const double t : {5.0, 20.0, 35.0}) {
        const double h = 0.1;
        const double numeric = (double{WaterVapourPressure(static_cast<float>(t + h))}
                                - WaterVapourPressure(static_cast<float>(t - h))) / (2 * h);
        EXPECT_NEAR(WaterVapourPressureSlope(t), numeric, 1e-4 * numeric) << t;
        EXPECT_NEAR(WaterTemperatureAt(WaterVapourPressure(static_cast<float>(t))), t, 1e-3);
    }
}

TEST(Model, NoGasGivesZeroPpmAndZeroCoefficients)
{
    TModelQuantities q = HumidPoint();
    q.QA = 0;
    q.QB = 0;
    EXPECT_EQ(ModelPpm(q), (TPpm{0, 0, 0}));
    EXPECT_EQ(ModelSensitivity(q, TModelInput::QA), (TPpm{0, 0, 0}));
}

}  // namespace
}  // namespace gasmixer
