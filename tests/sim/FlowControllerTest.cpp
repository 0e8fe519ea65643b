#include "sim/FlowController.h"
#include "sim/Faults.h"
#include "sim/RegisterCodec.h"

#include <gtest/gtest.h>

#include <cmath>

namespace gasmixer::sim {
namespace {

using namespace std::chrono_literals;

// A controller on a clock the test steps by hand.
class FlowControllerTest : public ::testing::Test {
protected:
    const TimePoint t0{};
    FlowController mfc{1, GasAController(), t0};

    ModbusException WriteFloat(std::uint16_t reg, float value, TimePoint at)
    {
        return mfc.Write(reg, EncodeF32(value), at);
    }
    float ReadFloat(std::uint16_t reg, TimePoint at)
    {
        Words words;
        EXPECT_EQ(mfc.Read(reg, 2, words, at), ModbusException::None);
        return DecodeF32(words);
    }
};

TEST_F(FlowControllerTest, FlowFollowsTheSetpointWithAFirstOrderLag)
{
    ASSERT_EQ(WriteFloat(RegSetpoint, 0.06f, t0), ModbusException::None);
    EXPECT_NEAR(mfc.ActualFlow(t0 + 400ms), 0.06f * (1 - std::exp(-1.0)), 1e-12);
    const double settled = mfc.ActualFlow(t0 + 5s);
    EXPECT_NEAR(settled, 0.06f, 1e-6);
    ASSERT_EQ(WriteFloat(RegSetpoint, 0.0f, t0 + 5s), ModbusException::None);
    EXPECT_NEAR(mfc.ActualFlow(t0 + 5400ms), settled * std::exp(-1.0), 1e-12);
}

TEST_F(FlowControllerTest, TotalizerIntegratesTheLaggedFlowInKilograms)
{
    WriteFloat(RegSetpoint, 0.06f, t0);
    // ∫ s(1 - e^(-t/τ)) dt over 10 s, τ = 0.4 s, in g/min × min → kg
    const double expectedKg = 0.06f * (10.0 - 0.4 * (1 - std::exp(-25.0))) / 60.0 / 1000.0;
    EXPECT_NEAR(ReadFloat(RegTotalizer, t0 + 10s), expectedKg, expectedKg * 1e-6);
}

TEST_F(FlowControllerTest, TotalIsTheSameHoweverOftenItIsRead)
{
    FlowController other{1, GasAController(), t0};
    WriteFloat(RegSetpoint, 0.05f, t0);
    ASSERT_EQ(other.Write(RegSetpoint, EncodeF32(0.05f), t0), ModbusException::None);
    for (auto t = 10ms; t < 3s; t += 10ms) mfc.TotalizerKg(t0 + t);
    EXPECT_NEAR(mfc.TotalizerKg(t0 + 3s), other.TotalizerKg(t0 + 3s), 1e-15);
}

TEST_F(FlowControllerTest, FlowIsLimitedToTheFullScaleOfTheTableInUse)
{
    WriteFloat(RegSetpoint, 1.0f, t0);
    EXPECT_NEAR(mfc.ActualFlow(t0 + 10s), 0.0715, 1e-6);  // table 2, O2
    ASSERT_EQ(mfc.Write(RegTableInUse, Words{4}, t0 + 10s), ModbusException::None);
    EXPECT_NEAR(mfc.ActualFlow(t0 + 20s), 0.05, 1e-6);  // table 4, H2
    EXPECT_EQ(mfc.Setpoint(), 1.0f);
}

TEST_F(FlowControllerTest, ResetZeroesTheTotalButNotTheFlow)
{
    WriteFloat(RegSetpoint, 0.06f, t0);
    ASSERT_GT(mfc.TotalizerKg(t0 + 5s), 0.0);
    ASSERT_EQ(WriteFloat(RegTotalizerReset, 0.0f, t0 + 5s), ModbusException::None);
    EXPECT_EQ(ReadFloat(RegTotalizer, t0 + 5s), 0.0f);
    EXPECT_NEAR(mfc.TotalizerKg(t0 + 6s), 0.06 / 60.0 / 1000.0, 1e-10);
}

// An empty supply: the controller still answers and keeps its setpoint, the
// flow dies away with the lag and the total stands; a clear brings it back.
TEST_F(FlowControllerTest, AnEmptySupplyStopsTheFlowUntilItIsCleared)
{
    WriteFloat(RegSetpoint, 0.06f, t0);
    mfc.SetFault({FaultKind::NoFlow}, t0 + 5s);
    const double atFault = mfc.TotalizerKg(t0 + 5s);
    const double inFlightKg = mfc.ActualFlow(t0 + 5s) * 0.4 / 60.0 / 1000.0;
    EXPECT_NEAR(mfc.TotalizerKg(t0 + 60s), atFault + inFlightKg, 1e-15) << "what was in flight";
    EXPECT_NEAR(mfc.ActualFlow(t0 + 60s), 0.0, 1e-12);
    EXPECT_EQ(ReadFloat(RegSetpoint, t0 + 60s), 0.06f);
    const double stood = mfc.TotalizerKg(t0 + 60s);
    EXPECT_EQ(mfc.TotalizerKg(t0 + 120s), stood);

    mfc.SetFault({}, t0 + 120s);
    EXPECT_NEAR(mfc.ActualFlow(t0 + 130s), 0.06f, 1e-6);
    EXPECT_GT(mfc.TotalizerKg(t0 + 130s), stood);
}

TEST_F(FlowControllerTest, TimeGoingBackIsIgnored)
{
    WriteFloat(RegSetpoint, 0.06f, t0);
    const double total = mfc.TotalizerKg(t0 + 2s);
    EXPECT_EQ(mfc.TotalizerKg(t0 + 1s), total);
}

struct BadWrite {
    const char* name;
    std::uint16_t reg;
    Words words;
    ModbusException expected;
};

void PrintTo(const BadWrite& c, std::ostream* os)
{
    *os << c.name;
}

class FlowControllerBadWrite : public ::testing::TestWithParam<BadWrite> {};

TEST_P(FlowControllerBadWrite, IsRefusedAndChangesNothing)
{
    const TimePoint t0{};
    FlowController mfc{1, GasAController(), t0};
    EXPECT_EQ(mfc.Write(GetParam().reg, GetParam().words, t0), GetParam().expected);
    EXPECT_EQ(mfc.Setpoint(), 0.0f);
    EXPECT_EQ(mfc.TableInUse(), 2);
    EXPECT_EQ(mfc.TableShown(), 2);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FlowControllerBadWrite,
    ::testing::Values(
        BadWrite{"NegativeSetpoint", RegSetpoint, EncodeF32(-0.01f), ModbusException::IllegalDataValue},
        BadWrite{"NaNSetpoint", RegSetpoint, EncodeF32(std::nanf("")), ModbusException::IllegalDataValue},
        BadWrite{"InfiniteSetpoint", RegSetpoint, EncodeF32(INFINITY), ModbusException::IllegalDataValue},
        BadWrite{"HalfASetpoint", RegSetpoint, Words{0x3F80}, ModbusException::IllegalDataAddress},
        BadWrite{"SecondWordOfSetpoint", RegSetpoint + 1, Words{0}, ModbusException::IllegalDataAddress},
        BadWrite{"TableWithoutGas", RegTableInUse, Words{8}, ModbusException::IllegalDataValue},
        BadWrite{"ShownTableWithoutGas", RegTableShown, Words{1}, ModbusException::IllegalDataValue},
        BadWrite{"ResetToNonZero", RegTotalizerReset, EncodeF32(1.0f), ModbusException::IllegalDataValue},
        BadWrite{"ReadOnlyFullScale", RegFullScale, EncodeF32(1.0f), ModbusException::IllegalDataAddress},
        BadWrite{"UnknownRegister", 100, Words{1}, ModbusException::IllegalDataAddress}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FlowControllerRead, RangeMustLieInReadableRegisters)
{
    const TimePoint t0{};
    FlowController mfc{2, GasBController(), t0};
    Words words;
    EXPECT_EQ(mfc.Read(RegTotalizer, 4, words, t0), ModbusException::None);  // totalizer and setpoint together
    EXPECT_EQ(mfc.Read(RegDeviceType, 5, words, t0), ModbusException::IllegalDataAddress);
    EXPECT_EQ(mfc.Read(RegTotalizerReset, 2, words, t0), ModbusException::IllegalDataAddress);
    EXPECT_EQ(mfc.Read(0xFFFF, 2, words, t0), ModbusException::IllegalDataAddress);
    EXPECT_EQ(mfc.Read(RegTotalizer, 0, words, t0), ModbusException::IllegalDataValue);
    EXPECT_EQ(mfc.Read(RegLongName, 126, words, t0), ModbusException::IllegalDataValue);
}

TEST_F(FlowControllerTest, AcceptedSetpointsAreLoggedInOrderWithTheirTimes)
{
    WriteFloat(RegSetpoint, 0.035f, t0 + 1s);
    WriteFloat(RegSetpoint, -1.0f, t0 + 2s);  // refused
    WriteFloat(RegSetpoint, 0.0f, t0 + 3s);
    const auto log = mfc.SetpointLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].value, 0.035f);
    EXPECT_EQ(log[0].received, t0 + 1s);
    EXPECT_EQ(log[1].value, 0.0f);
    EXPECT_EQ(log[1].received, t0 + 3s);
}

// A simulator left running for days keeps only the latest writes.
TEST_F(FlowControllerTest, TheSetpointLogKeepsTheLatestWritesOnly)
{
    const int writes = static_cast<int>(RecentLog<SetpointWrite>::Capacity) + 5;
    for (int i = 0; i < writes; ++i) WriteFloat(RegSetpoint, static_cast<float>(i) * 1e-6f, t0 + i * 1ms);
    const std::vector<SetpointWrite> log = mfc.SetpointLog();
    ASSERT_EQ(log.size(), RecentLog<SetpointWrite>::Capacity);
    EXPECT_EQ(log.front().value, static_cast<float>(5) * 1e-6f);
    EXPECT_EQ(log.back().value, static_cast<float>(writes - 1) * 1e-6f);
}

}  // namespace
}  // namespace gasmixer::sim
