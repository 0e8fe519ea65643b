#include "gasdata/Thermistor.h"
#include "sim/ThermistorInput.h"

#include <gtest/gtest.h>

namespace gasmixer {
namespace {

TEST(ThermistorTemperature, HoldsOnlyInsideItsResistanceWindow)
{
    struct Case {
        double R;
        bool ok;
    };
    for (const Case c : {Case{2985.999, false}, Case{2986.0, true}, Case{32600.0, true}, Case{32600.001, false},
                         Case{-1.0, false}, Case{0.0, false}}) {
        double T = -99.0;
        EXPECT_EQ(ThermistorTemperature(c.R, T), c.ok) << c.R;
        if (!c.ok) {
            EXPECT_EQ(T, -99.0) << "output touched for " << c.R;
        }
    }
}

TEST(ThermistorTemperature, FallsFromFiftyFiveToZeroAcrossTheWindow)
{
    double hot = 0, mid = 0, cold = 0;
    ASSERT_TRUE(ThermistorTemperature(2986.0, hot));
    ASSERT_TRUE(ThermistorTemperature(10000.0, mid));
    ASSERT_TRUE(ThermistorTemperature(32600.0, cold));
    EXPECT_NEAR(hot, 55.0, 0.2);
    EXPECT_NEAR(mid, 24.998, 0.001);
    EXPECT_GT(cold, 0.0);
    EXPECT_LT(cold, 0.1);
}

TEST(ThermistorInput, CountsGiveATemperatureOnlyFrom236To783)
{
    double T = 0.0;
    EXPECT_FALSE(sim::TemperatureOfCount(235, T));
    EXPECT_TRUE(sim::TemperatureOfCount(236, T));
    EXPECT_TRUE(sim::TemperatureOfCount(783, T));
    EXPECT_FALSE(sim::TemperatureOfCount(784, T));
    EXPECT_FALSE(sim::TemperatureOfCount(0, T));
    EXPECT_FALSE(sim::TemperatureOfCount(1024, T));
}

TEST(ThermistorInput, CountRoundTripsWithinATenthOfADegree)
{
    for (double celsius = 5.0; celsius <= 50.0; celsius += 0.25) {
        double back = 0.0;
        ASSERT_TRUE(sim::TemperatureOfCount(sim::CountForTemperature(celsius), back)) << celsius;
        EXPECT_NEAR(back, celsius, 0.1);
    }
}

TEST(ThermistorInput, TemperatureOutsideTheRangeGivesTheNearestEnd)
{
    EXPECT_EQ(sim::CountForTemperature(80.0), 236);
    EXPECT_EQ(sim::CountForTemperature(-10.0), 783);
}

}  // namespace
}  // namespace gasmixer
