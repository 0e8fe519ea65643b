#include "mixing/MixturePlanner.h"

#include "common/TextFormat.h"
#include "PlanRequest.h"

#include <gtest/gtest.h>

namespace gasmixer {
namespace {

using test::Request;

float M(const char* name) { return FindCompound(name).MolarMass; }

TEST(Humidification, PureGasBBecomesTwoSlotsOfGasAndWater)
{
    const PlanResult r = PlanMixture(Request("O2", "Ar", 150, 10000));
    const double h = 10000.0 / 999850.0;
    const TCompound& b = r.CompoundB;
    EXPECT_DOUBLE_EQ(r.H, h);
    EXPECT_TRUE(b.Mixture);
    EXPECT_EQ(b.Name, "Ar");
    EXPECT_EQ(b.LongName, "Argon with H2O");
    EXPECT_EQ(b.C1Name, "Ar");
    EXPECT_FLOAT_EQ(b.C1VFraction, static_cast<float>(1 - h));
    EXPECT_EQ(b.C2Name, "H2O");
    EXPECT_EQ(b.C2VFraction, static_cast<float>(h));
    EXPECT_EQ(b.C3Name, "");
    // Summed in single precision, product by product.
    const float molarMass = M("Ar") * b.C1VFraction + M("H2O") * b.C2VFraction;
    EXPECT_EQ(b.MolarMass, molarMass);
}

TEST(Humidification, WaterAsGasBListsWaterTwice)
{
    const PlanResult r = PlanMixture(Request("O2", "H2O", 150, 10000));
    const TCompound& b = r.CompoundB;
    EXPECT_EQ(b.C1Name, "H2O");
    EXPECT_EQ(b.C2Name, "H2O");
    EXPECT_EQ(b.LongName, "Water with H2O");
    EXPECT_FLOAT_EQ(b.MolarMass, M("H2O"));
}

// Slots of a mixture shrink by 1 / (1 + h), not by 1 - h, and water takes
// the first free slot after the second.
TEST(Humidification, MixtureGasBIsScaledAndGetsAWaterSlot)
{
    const PlanResult r = PlanMixture(Request("O2", "5%H2,95%Ar", 150, 10000));
    const double h = r.H;
    const TCompound& b = r.CompoundB;
    EXPECT_FLOAT_EQ(b.C1VFraction, static_cast<float>(0.05f / (1 + h)));
    EXPECT_FLOAT_EQ(b.C2VFraction, static_cast<float>(0.95f / (1 + h)));
    EXPECT_EQ(b.C3Name, "H2O");
    EXPECT_EQ(b.C3VFraction, static_cast<float>(h));
    EXPECT_EQ(b.LongName, "5%H2,95%Ar with H2O");
}

// Air fills three slots, so water goes to the fourth: it counts in the molar
// mass of gas B but never in the mean molar mass of the mixture.
TEST(Humidification, FourthSlotCountsOnlyInGasBMolarMass)
{
    const PlanResult r = PlanMixture(Request("O2", "Air", 150, 10000));
    const TCompound& b = r.CompoundB;
    ASSERT_EQ(b.C4Name, "H2O");
    EXPECT_EQ(b.C4VFraction, static_cast<float>(r.H));
    EXPECT_GT(b.MolarMass, 0.0f);

    double sum = 150.0 * M("O2");
    const char* names[] = {"N2", "O2", "Ar"};
    const float fractions[] = {b.C1VFraction, b.C2VFraction, b.C3VFraction};
    for (int i = 0; i < 3; ++i)
        sum += static_cast<double>(static_cast<float>(999850.0 * fractions[i])) * M(names[i]);
    EXPECT_NEAR(r.MeanMolarMass, sum / 1e6, 1e-12);
}

TEST(Humidification, MixtureGasAEntersByItsComponents)
{
    const PlanResult r = PlanMixture(Request("Air", "N2", 150, 0));
    const TCompound air = FindCompound("Air");
    const double sum = 150.0 * air.C1VFraction * M("N2") + 150.0 * air.C2VFraction * M("O2")
                       + 150.0 * air.C3VFraction * M("Ar") + 999850.0 * M("N2");
    EXPECT_NEAR(r.MeanMolarMass, sum / 1e6, 1e-12);
}

// The carrier test and gas B's flow use dry gas B as the table gives it.
TEST(Humidification, CarrierFlowUsesDryGasB)
{
    const PlanResult r = PlanMixture(Request("O2", "Ar", 600000, 10000));
    ASSERT_EQ(r.Method, TMixingMethod::BH2OConstantInA);
    const double dry = FakeFlowInfoA().Max * 390000.0 * M("Ar") / r.MeanMolarMass / r.MaxMassPpm;
    EXPECT_FLOAT_EQ(r.FlowB, static_cast<float>(dry));
}

// The larger mass share is tested with dry gas B but taken with its water:
// here gas A outweighs dry gas B, so the largest share is gas A's even though
// gas B with its water weighs more.
TEST(Humidification, MaxMassPpmTestsDryGasB)
{
    PlanInput in = Request("O2", "Ar", 450000, 150000);
    ASSERT_EQ(in.GasBPpm, 400000);
    const PlanResult r = PlanMixture(in);
    EXPECT_EQ(r.MaxMassPpm, RoundHalfEven(static_cast<double>(r.MassPpmA)));
    EXPECT_NEAR(r.RelA, 1.0f, 1e-5);
    EXPECT_GT(r.RelB, 1.0L);
}

}  // namespace
}  // namespace gasmixer
