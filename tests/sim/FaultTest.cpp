// Injected faults, seen from the program's side of each line.

#include "RawPort.h"
#include "sim/ModbusRtu.h"
#include "sim/SimulatorHost.h"

#include <gtest/gtest.h>

#include <functional>
#include <thread>

namespace gasmixer::sim {
namespace {

using test::RawPort;
using test::Received;
using test::WithCrc;
using namespace std::chrono_literals;

constexpr auto Delay = 250ms;

struct FaultCase {
    const char* name;
    Fault fault;
    // Judges what came back, given the reply of a healthy device.
    std::function<void(const Received& got, const Bytes& healthy)> check;
};

void PrintTo(const FaultCase& c, std::ostream* os)
{
    *os << c.name;
}

std::string CaseName(const ::testing::TestParamInfo<FaultCase>& info)
{
    return info.param.name;
}

void NoReply(const Received& got, const Bytes&)
{
    EXPECT_TRUE(got.bytes.empty());
    EXPECT_FALSE(got.hungUp);
}

void Healthy(const Received& got, const Bytes& healthy)
{
    EXPECT_EQ(got.bytes, healthy);
}

void Truncated(const Received& got, const Bytes& healthy)
{
    EXPECT_EQ(got.bytes, Bytes(healthy.begin(), healthy.end() - 1));
}

void LateButWhole(const Received& got, const Bytes& healthy)
{
    EXPECT_EQ(got.bytes, healthy);
    EXPECT_GE(got.firstByteAfter, Delay);
}

void NoiseFirst(const Received& got, const Bytes& healthy)
{
    ASSERT_GT(got.bytes.size(), healthy.size());
    EXPECT_EQ(Bytes(got.bytes.end() - static_cast<long>(healthy.size()), got.bytes.end()), healthy);
}

void HungUp(const Received& got, const Bytes&)
{
    EXPECT_TRUE(got.hungUp);
    EXPECT_TRUE(got.bytes.empty());
}

// ---- MFC line: a device-type read of MFC 1

const Bytes TypeRequest = WithCrc({1, 3, 0, 35, 0, 4});

class MfcFault : public ::testing::TestWithParam<FaultCase> {
protected:
    SimulatorHost host;
    RawPort port{host.MfcLinePath()};
};

TEST_P(MfcFault, ShowsOnTheLine)
{
    const Bytes healthy = port.Exchange(TypeRequest).bytes;
    ASSERT_EQ(healthy.size(), 13u);
    host.Mfc(1).Faults().Set(GetParam().fault);
    GetParam().check(port.Exchange(TypeRequest), healthy);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, MfcFault,
    ::testing::Values(
        FaultCase{"None", {}, Healthy}, FaultCase{"Silent", {FaultKind::Silent}, NoReply},
        FaultCase{"Exception", {FaultKind::Exception},
                  [](const Received& got, const Bytes&) {
                      EXPECT_EQ(got.bytes, WithCrc({1, 0x83, 4}));
                  }},
        FaultCase{"Truncated", {FaultKind::Truncated}, Truncated},
        FaultCase{"CorruptChecksum", {FaultKind::CorruptChecksum},
                  [](const Received& got, const Bytes& healthy) {
                      ASSERT_EQ(got.bytes.size(), healthy.size());
                      EXPECT_FALSE(HasValidCrc(got.bytes));
                      EXPECT_EQ(Bytes(got.bytes.begin(), got.bytes.end() - 2), Bytes(healthy.begin(), healthy.end() - 2));
                  }},
        FaultCase{"Delayed", {FaultKind::Delayed, Delay}, LateButWhole},
        FaultCase{"Garbage", {FaultKind::Garbage}, NoiseFirst}, FaultCase{"Vanish", {FaultKind::Vanish}, HungUp}),
    CaseName);

TEST(MfcFaults, FaultOfOneControllerLeavesTheOtherAnswering)
{
    SimulatorHost host;
    RawPort port{host.MfcLinePath()};
    host.Mfc(2).Faults().Set({FaultKind::Silent});
    EXPECT_TRUE(port.Exchange(WithCrc({2, 3, 0, 35, 0, 4})).bytes.empty());
    EXPECT_EQ(port.Exchange(TypeRequest).bytes.size(), 13u);
}

TEST(MfcFaults, SilentControllerIgnoresWritesAndRefusingOneDoesNotAct)
{
    SimulatorHost host;
    RawPort port{host.MfcLinePath()};
    const Bytes setpoint = WithCrc({1, 16, 0, 6, 0, 2, 4, 0x3D, 0x4C, 0xCC, 0xCD});  // 0.05
    for (FaultKind kind : {FaultKind::Silent, FaultKind::Exception}) {
        host.Mfc(1).Faults().Set({kind});
        port.Exchange(setpoint, 300ms);
        EXPECT_EQ(host.Mfc(1).Setpoint(), 0.0f);
    }
    host.Mfc(1).Faults().Set({FaultKind::Truncated});
    port.Exchange(setpoint);
    EXPECT_EQ(host.Mfc(1).Setpoint(), 0.05f) << "a damaged reply should not undo the write";
}

TEST(MfcFaults, VanishingClosesTheLineOnce)
{
    SimulatorHost host;
    host.Mfc(1).Faults().Set({FaultKind::Vanish});
    RawPort port{host.MfcLinePath()};
    EXPECT_TRUE(port.Exchange(TypeRequest).hungUp);
    EXPECT_EQ(host.Mfc(1).Faults().Current(), Fault{}) << "the fault stays armed";
    EXPECT_TRUE(port.Exchange(WithCrc({2, 3, 0, 35, 0, 4})).hungUp) << "MFC 2 shares the vanished line";
    EXPECT_EQ(RawPort(host.RelayBoardPath()).Exchange({254, 33}).bytes, Bytes{85});
}

TEST(MfcLineFraming, BadCrcAndCutRequestsAreIgnored)
{
    SimulatorHost host;
    RawPort port{host.MfcLinePath()};
    Bytes bad = TypeRequest;
    bad.back() ^= 0x01;
    EXPECT_TRUE(port.Exchange(bad, 300ms).bytes.empty());

    port.Write(Bytes(TypeRequest.begin(), TypeRequest.begin() + 4));  // then silence
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(port.Exchange(TypeRequest).bytes.size(), 13u);
}

// ---- relay board: an analog read (two reply bytes)

const Bytes AnalogRequest{254, 158};

class RelayFault : public ::testing::TestWithParam<FaultCase> {
protected:
    SimulatorHost host;
    RawPort port{host.RelayBoardPath()};
};

TEST_P(RelayFault, ShowsOnTheLine)
{
    const Bytes healthy = port.Exchange(AnalogRequest).bytes;
    ASSERT_EQ(healthy.size(), 2u);
    host.RelayBoard().Faults().Set(GetParam().fault);
    GetParam().check(port.Exchange(AnalogRequest), healthy);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, RelayFault,
    ::testing::Values(FaultCase{"None", {}, Healthy}, FaultCase{"Silent", {FaultKind::Silent}, NoReply},
                      FaultCase{"WrongFirstByte", {FaultKind::Exception},
                                [](const Received& got, const Bytes& healthy) {
                                    ASSERT_EQ(got.bytes.size(), 2u);
                                    EXPECT_NE(got.bytes[0], healthy[0]);
                                    EXPECT_EQ(got.bytes[1], healthy[1]);
                                }},
                      FaultCase{"Truncated", {FaultKind::Truncated}, Truncated},
                      FaultCase{"CorruptLastByte", {FaultKind::CorruptChecksum},
                                [](const Received& got, const Bytes& healthy) {
                                    ASSERT_EQ(got.bytes.size(), 2u);
                                    EXPECT_EQ(got.bytes[0], healthy[0]);
                                    EXPECT_NE(got.bytes[1], healthy[1]);
                                }},
                      FaultCase{"Delayed", {FaultKind::Delayed, Delay}, LateButWhole},
                      FaultCase{"Garbage", {FaultKind::Garbage}, NoiseFirst},
                      FaultCase{"Vanish", {FaultKind::Vanish}, HungUp}),
    CaseName);

TEST(RelayFaults, LinkTestRefusedWithAnotherByte)
{
    SimulatorHost host;
    RawPort port{host.RelayBoardPath()};
    host.RelayBoard().Faults().Set({FaultKind::Exception});
    const Bytes reply = port.Exchange({254, 33}).bytes;
    ASSERT_EQ(reply.size(), 1u);
    EXPECT_NE(reply[0], 85);
}

}  // namespace
}  // namespace gasmixer::sim
