#include "gasdata/MolarMasses.h"
#include "humidity/ThermistorCount.h"

#include <gtest/gtest.h>

#include <cmath>

namespace gasmixer {
namespace {

TEST(WaterReadingOfCount, WritesTheLinesAndFindsATemperatureOnlyInsideTheWindow)
{
    struct Case {
        std::uint32_t count;
        std::vector<std::string> lines;
        bool hasTemperature;
    };
    const Case cases[] = {
        {0, {"0-1024 DAC = 0"}, false},
        {1, {"0-1024 DAC = 1", "Voltage    = 0.0048828125", "Ohm        = 9.77517106549365"}, false},
        {235, {"0-1024 DAC = 235", "Voltage    = 1.1474609375", "Ohm        = 2978.45373891001"}, false},
        {236, {"0-1024 DAC = 236", "Voltage    = 1.15234375", "Ohm        = 2994.92385786802"}, true},
        {512, {"0-1024 DAC = 512", "Voltage    = 2.5", "Ohm        = 10000"}, true},
        {783, {"0-1024 DAC = 783", "Voltage    = 3.8232421875", "Ohm        = 32489.6265560166"}, true},
        {784, {"0-1024 DAC = 784", "Voltage    = 3.828125", "Ohm        = 32666.6666666667"}, false},
        {1023, {"0-1024 DAC = 1023", "Voltage    = 4.9951171875", "Ohm        = 10230000"}, false},
        // Full scale: no resistance, so no division by zero and no line for it.
        {1024, {"0-1024 DAC = 1024", "Voltage    = 5"}, false},
        {65535, {"0-1024 DAC = 65535", "Voltage    = 319.9951171875", "Ohm        = -10158.7326192432"}, false},
    };
    for (const Case& c : cases) {
        const TWaterReading r = WaterReadingOfCount(c.count);
        EXPECT_EQ(r.Lines, c.lines) << c.count;
        EXPECT_EQ(r.Temperature > 0.0, c.hasTemperature) << c.count;
        if (!c.hasTemperature) {
            EXPECT_EQ(r.Temperature, 0.0) << c.count;
        }
        const float pH2O = WaterVapourPressure(static_cast<float>(r.Temperature));
        EXPECT_TRUE(std::isfinite(pH2O)) << c.count;
    }
}

TEST(WaterReadingOfCount, TheDividerMidpointIsTenKiloOhm)
{
    EXPECT_NEAR(WaterReadingOfCount(512).Temperature, 24.998, 0.001);
    EXPECT_NEAR(WaterReadingOfCount(236).Temperature, 54.8, 0.2);
    EXPECT_GT(WaterReadingOfCount(783).Temperature, WaterReadingOfCount(782).Temperature - 1.0);
}

TEST(WettingTemperatureOfCount, HasNoWindowButGivesZeroWhereTheFormulaFails)
{
    EXPECT_EQ(WettingTemperatureOfCount(0), 0.0);
    EXPECT_EQ(WettingTemperatureOfCount(1024), 0.0);
    EXPECT_EQ(WettingTemperatureOfCount(1025), 0.0) << "negative resistance";
    EXPECT_EQ(WettingTemperatureOfCount(65535), 0.0);
    // Outside the window's range it still gives a temperature.
    EXPECT_GT(WettingTemperatureOfCount(100), 55.0);
    EXPECT_NEAR(WettingTemperatureOfCount(512), 24.41, 0.01);
    EXPECT_LT(WettingTemperatureOfCount(1023), 0.0);
    // It crosses 0 ºC near 30 kΩ.
    EXPECT_GT(WettingTemperatureOfCount(760), 0.0);
    EXPECT_LT(WettingTemperatureOfCount(775), 0.0);
}

}  // namespace
}  // namespace gasmixer
