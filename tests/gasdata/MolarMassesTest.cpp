#include "gasdata/MolarMasses.h"

#include <gtest/gtest.h>

#include <ostream>

namespace gasmixer {
namespace {

struct Row {
    const char* name;
    const char* longName;
    bool mixture;
    float molarMass;
    friend std::ostream& operator<<(std::ostream& os, const Row& r) { return os << '"' << r.name << '"'; }
};

class FindCompoundTest : public ::testing::TestWithParam<Row> {};

TEST_P(FindCompoundTest, YieldsTheTableRow)
{
    const Row& r = GetParam();
    const TCompound c = FindCompound(r.name);
    EXPECT_EQ(c.Name, r.name);
    EXPECT_EQ(c.LongName, r.longName);
    EXPECT_EQ(c.Mixture, r.mixture);
    EXPECT_EQ(c.MolarMass, r.molarMass);  // the stored 32-bit value, exactly
    if (!r.mixture) {
        for (int i = 1; i <= 4; ++i) {
            EXPECT_TRUE(c.SlotName(i).empty());
            EXPECT_EQ(c.SlotVFraction(i), 0.0f);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    AllRows, FindCompoundTest,
    ::testing::Values(Row{"5%H2,95%Ar", "5%H2,95%Ar", true, 38.0513f}, Row{"Air", "Air", true, 28.9495f},
                      Row{"Air2", "AirBottle", true, 28.8462f}, Row{"Air3", "AirBottleDry", true, 28.846348f},
                      Row{"Ar", "Argon", false, 39.948f}, Row{"CO", "Carbon monoxide", false, 28.0134f},
                      Row{"CO2", "Carbon dioxide", false, 44.0095f}, Row{"H2", "Hydrogen", false, 2.01588f},
                      Row{"H2O", "Water", false, 18.01528f}, Row{"He", "Helium", false, 4.002602f},
                      Row{"N2", "Nitrogen", false, 28.0134f}, Row{"O2", "Oxygen", false, 31.9988f},
                      Row{"C", "Carbon single", false, 12.0107f}, Row{"H", "Hydrogen single", false, 1.00794f},
                      Row{"N", "Nitrogen single", false, 14.0067f}, Row{"O", "Oxygen single", false, 15.9994f},
                      Row{"", "", false, 0.0f}));

TEST(FindCompound, MixtureComponents)
{
    const TCompound h2ar = FindCompound("5%H2,95%Ar");
    EXPECT_EQ(h2ar.C1Name, "H2");
    EXPECT_EQ(h2ar.C1VFraction, 0.05f);
    EXPECT_EQ(h2ar.C2Name, "Ar");
    EXPECT_EQ(h2ar.C2VFraction, 0.95f);
    EXPECT_TRUE(h2ar.C3Name.empty());

    const TCompound air = FindCompound("Air");
    EXPECT_EQ(air.C3Name, "Ar");
    EXPECT_EQ(air.C1VFraction, 0.78084f);
    EXPECT_EQ(air.C2VFraction, 0.20946f);
    EXPECT_EQ(air.C3VFraction, 0.00934f);
    EXPECT_EQ(air.C1MFraction, 0.0f);

    const TCompound air2 = FindCompound("Air2");
    EXPECT_EQ(air2.C3Name, "H2O");
    EXPECT_EQ(air2.C3VFraction, 1.5e-05f);
    EXPECT_EQ(air2.C1VFraction, 0.790985f);

    const TCompound air3 = FindCompound("Air3");
    EXPECT_EQ(air3.C1MFraction, 0.76815957f);
    EXPECT_EQ(air3.C2MFraction, 0.2318404f);
    EXPECT_TRUE(air3.C3Name.empty());
}

TEST(FindCompound, LookupIsExactAndCaseSensitive)
{
    for (const char* name : {"o2", "O2 ", " O2", "NAN", "air"}) {
        try {
            FindCompound(name);
            ADD_FAILURE() << name << " was found";
        } catch (const CompoundNotFound& e) {
            EXPECT_EQ(std::string(e.what()),
                      std::string("Molar mass could not be found for search item '") + name
                          + "' It is not recommended to continue the program before the problem is fixed");
        }
    }
}

TEST(FindCompound, ResultIsACopy)
{
    TCompound c = FindCompound("O2");
    c.Name = "changed";
    EXPECT_EQ(FindCompound("O2").Name, "O2");
}

TEST(InverseMolarMass, IsExtendedReciprocalOfStoredFloat)
{
    EXPECT_EQ(InverseMolarMass("H2O"), 1.0L / static_cast<long double>(18.01528f));
    EXPECT_THROW(InverseMolarMass("h2o"), CompoundNotFound);
}

TEST(WaterVapourPressure, PolynomialValues)
{
    EXPECT_EQ(WaterVapourPressure(0.0f), 0.00600131607517f);
    EXPECT_NEAR(WaterVapourPressure(100.0f), 1.0f, 5e-6);
    EXPECT_NEAR(WaterVapourPressure(20.0f), 0.0230804f, 1e-7);
}

}  // namespace
}  // namespace gasmixer
