// The relay board line, byte by byte.

#include "RawPort.h"
#include "gasdata/Thermistor.h"
#include "sim/SimulatorHost.h"
#include "sim/ThermistorInput.h"

#include <gtest/gtest.h>

namespace gasmixer::sim {
namespace {

using test::RawPort;

class RelayBoardLine : public ::testing::Test {
protected:
    SimulatorHost host;
    RawPort port{host.RelayBoardPath()};
};

TEST_F(RelayBoardLine, LinkTestAnswers85)
{
    EXPECT_EQ(port.Exchange({254, 33}).bytes, Bytes{85});
}

TEST_F(RelayBoardLine, EveryValveCommandIsLoggedInOrder)
{
    const auto before = SimClock::now();
    for (std::uint8_t mask : {0x18, 0x00, 0x3F}) EXPECT_EQ(port.Exchange({254, 40, mask}).bytes, Bytes{RelayAck});
    const auto after = SimClock::now();

    const auto log = host.RelayBoard().ValveLog();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].mask, 0x18);
    EXPECT_EQ(log[1].mask, 0x00);
    EXPECT_EQ(log[2].mask, 0x3F);
    EXPECT_GE(log[0].received, before);
    EXPECT_LE(log[0].received, log[1].received);
    EXPECT_LE(log[2].received, after);
}

TEST_F(RelayBoardLine, StrayBytesAndUnknownCommandsAreIgnored)
{
    EXPECT_TRUE(port.Exchange({0x00, 0x41}).bytes.empty());
    EXPECT_TRUE(port.Exchange({254, 99}).bytes.empty());
    EXPECT_EQ(port.Exchange({254, 33}).bytes, Bytes{85});
}

class AnalogRead : public RelayBoardLine, public ::testing::WithParamInterface<double> {};

// The program turns the count back into a temperature; it must find the one set.
TEST_P(AnalogRead, CountConvertsBackToTheWaterTemperature)
{
    host.RelayBoard().SetWaterTemperature(GetParam());
    const Bytes reply = port.Exchange({254, 158}).bytes;
    ASSERT_EQ(reply.size(), 2u);
    const int count = reply[0] * 256 + reply[1];
    const double V = count * 0.0048828125;
    const double R = 10000.0 * (V / 5) / (1 - V / 5);
    double T = 0.0;
    ASSERT_TRUE(ThermistorTemperature(R, T)) << "count " << count;
    EXPECT_NEAR(T, GetParam(), 0.1);
}

INSTANTIATE_TEST_SUITE_P(WaterTemperatures, AnalogRead, ::testing::Values(5.0, 12.3, 20.0, 37.5, 50.0));

TEST(RelayBoardDefault, WaterIsAt20Degrees)
{
    SimulatorHost host;
    RawPort port{host.RelayBoardPath()};
    const Bytes reply = port.Exchange({254, 158}).bytes;
    ASSERT_EQ(reply.size(), 2u);
    EXPECT_EQ(reply[0] * 256 + reply[1], CountForTemperature(20.0));
}

}  // namespace
}  // namespace gasmixer::sim
