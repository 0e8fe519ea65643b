// The MFC line as an independent Modbus master sees it.

#include "ModbusMaster.h"
#include "gasdata/FlowInfo.h"
#include "gasdata/MolarMasses.h"
#include "sim/SimulatorHost.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <functional>
#include <thread>

namespace gasmixer::sim {
namespace {

using test::ModbusMaster;
using namespace std::chrono_literals;

class MfcLinePeer : public ::testing::Test {
protected:
    SimulatorHost host;
    ModbusMaster master{host.MfcLinePath()};
};

TEST_F(MfcLinePeer, BothControllersIdentifyAsGsc)
{
    for (int address : {1, 2}) {
        master.SetSlave(address);
        const std::string type = master.ReadText(35, 4);
        ASSERT_EQ(type.size(), 8u) << address;
        EXPECT_EQ(type.substr(0, 3), "GSC") << address;
    }
}

TEST_F(MfcLinePeer, ThirdAddressGetsNoReply)
{
    master.SetSlave(3);
    std::vector<std::uint16_t> words;
    EXPECT_EQ(master.ReadRegisters(35, 4, words), -1);
    EXPECT_EQ(errno, ETIMEDOUT);
    master.SetSlave(1);
    EXPECT_EQ(master.ReadRegisters(35, 4, words), 4) << "line unusable after a request for nobody";
}

// The gases the operator's lists offer, in order; table number = position + 2.
struct ListedGas {
    int address;
    std::uint16_t table;
    const char* gas;
};

void PrintTo(const ListedGas& c, std::ostream* os)
{
    *os << c.gas;
}

class GasTablePeer : public MfcLinePeer, public ::testing::WithParamInterface<ListedGas> {};

bool AcceptedCharacters(const std::string& text)
{
    return text.find_first_not_of(" %*,/0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz_") ==
           std::string::npos;
}

TEST_P(GasTablePeer, SelectedTableDescribesTheListedGas)
{
    const ListedGas& g = GetParam();
    master.SetSlave(g.address);
    ASSERT_EQ(master.WriteRegister(16697, g.table), 1);
    ASSERT_EQ(master.WriteRegister(24575, g.table), 1);

    std::vector<std::uint16_t> inUse;
    ASSERT_EQ(master.ReadRegisters(16697, 1, inUse), 1);
    EXPECT_EQ(inUse[0], g.table);

    const std::string shortName = master.ReadText(24642, 4);
    const std::string longName = master.ReadText(24610, 25);
    ASSERT_EQ(longName.size(), 50u);
    EXPECT_TRUE(AcceptedCharacters(shortName)) << shortName;
    EXPECT_TRUE(AcceptedCharacters(longName)) << longName;
    EXPECT_NE(shortName.find_first_not_of(' '), std::string::npos);
    EXPECT_EQ(longName.substr(0, longName.find_last_not_of(' ') + 1), FindCompound(g.gas).LongName);
    EXPECT_EQ(master.ReadText(24646, 4), "g/min   ");

    const float fullScale = master.ReadFloat(24608);
    if (g.address == 1) {
        EXPECT_GE(fullScale, 0.04f);
        EXPECT_LE(fullScale, 0.1f);
    } else {
        EXPECT_GE(fullScale, 0.5f);
        EXPECT_LE(fullScale, 2.5f);
    }
    std::vector<std::uint16_t> turnDown;
    ASSERT_EQ(master.ReadRegisters(24866, 1, turnDown), 1);
    EXPECT_GE(turnDown[0], 50);
    EXPECT_LE(turnDown[0], 120);
}

INSTANTIATE_TEST_SUITE_P(Lists, GasTablePeer,
                         ::testing::Values(ListedGas{1, 2, "O2"}, ListedGas{1, 3, "5%H2,95%Ar"}, ListedGas{1, 4, "H2"},
                                           ListedGas{1, 5, "Air"}, ListedGas{1, 6, "Air2"}, ListedGas{1, 7, "Air3"},
                                           ListedGas{2, 2, "Ar"}, ListedGas{2, 3, "N2"}, ListedGas{2, 4, "H2"},
                                           ListedGas{2, 5, "H2O"}),
                         [](const auto& info) { return "Mfc" + std::to_string(info.param.address) + "Table" +
                                                       std::to_string(info.param.table); });

// The identities the program assumes without hardware are those of the
// simulated O2 and N2 tables, so both paths plan alike.
TEST_F(MfcLinePeer, OxygenAndNitrogenTablesMatchTheFakeIdentities)
{
    struct Case {
        int address;
        std::uint16_t table;
        TFlowInfo fake;
    };
    for (const Case& c : {Case{1, 2, FakeFlowInfoA()}, Case{2, 3, FakeFlowInfoB()}}) {
        master.SetSlave(c.address);
        ASSERT_EQ(master.WriteRegister(24575, c.table), 1);
        EXPECT_EQ(master.ReadFloat(24608), c.fake.MaxOrig);
        std::vector<std::uint16_t> turnDown;
        ASSERT_EQ(master.ReadRegisters(24866, 1, turnDown), 1);
        EXPECT_EQ(turnDown[0], c.fake.Dyn);
    }
}

TEST_F(MfcLinePeer, ShownTableIsIndependentOfTheTableInUse)
{
    master.SetSlave(2);
    ASSERT_EQ(master.WriteRegister(16697, 5), 1);
    ASSERT_EQ(master.WriteRegister(24575, 2), 1);
    EXPECT_EQ(host.Mfc(2).TableInUse(), 5);
    EXPECT_EQ(master.ReadText(24642, 4), "Ar      ");
    EXPECT_EQ(host.Mfc(1).TableInUse(), 2) << "the other controller changed too";
}

TEST_F(MfcLinePeer, SetpointIsReadBackAsWritten)
{
    master.SetSlave(2);
    ASSERT_EQ(master.WriteFloat(6, 0.22f), 2);
    EXPECT_EQ(master.ReadFloat(6), 0.22f);
    EXPECT_EQ(host.Mfc(2).Setpoint(), 0.22f);
    EXPECT_EQ(host.Mfc(1).Setpoint(), 0.0f);
}

TEST_F(MfcLinePeer, TotalizerGrowsInKilogramsAndResets)
{
    using Clock = std::chrono::steady_clock;
    const auto seconds = [](Clock::duration d) { return std::chrono::duration<double>(d).count(); };
    const double setpoint = 0.06;  // g/min
    const double tau = 0.4;        // s, the controller's lag

    master.SetSlave(1);
    const auto beforeSetpoint = Clock::now();
    ASSERT_EQ(master.WriteFloat(6, static_cast<float>(setpoint)), 2);
    ASSERT_EQ(master.WriteFloat(25472, 0.0f), 2);
    const auto afterReset = Clock::now();
    std::this_thread::sleep_for(1500ms);
    const auto beforeRead = Clock::now();
    const float kg = master.ReadFloat(4);
    const auto afterRead = Clock::now();

    // At most what the lagging flow delivers from the setpoint write to the
    // end of the read; at least the setpoint over the inner window less one lag.
    const double outer = seconds(afterRead - beforeSetpoint);
    const double most = setpoint * (outer - tau * (1 - std::exp(-outer / tau))) / 60.0 / 1000.0;
    const double least = setpoint * (seconds(beforeRead - afterReset) - tau) / 60.0 / 1000.0;
    EXPECT_LE(kg, most * 1.0001);
    EXPECT_GE(kg, least * 0.9999);

    ASSERT_EQ(master.WriteFloat(25472, 0.0f), 2);
    EXPECT_LT(master.ReadFloat(4), kg);
}

struct Refusal {
    const char* name;
    std::function<int(ModbusMaster&)> request;
    int error;
};

void PrintTo(const Refusal& c, std::ostream* os)
{
    *os << c.name;
}

class RefusalPeer : public MfcLinePeer, public ::testing::WithParamInterface<Refusal> {};

TEST_P(RefusalPeer, GetsAnExceptionReply)
{
    master.SetSlave(1);
    EXPECT_EQ(GetParam().request(master), -1);
    EXPECT_EQ(errno, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusalPeer,
    ::testing::Values(
        Refusal{"UnknownRegister",
                [](ModbusMaster& m) {
                    std::vector<std::uint16_t> w;
                    return m.ReadRegisters(100, 1, w);
                },
                EMBXILADD},
        Refusal{"ReadPastTheDeviceType",
                [](ModbusMaster& m) {
                    std::vector<std::uint16_t> w;
                    return m.ReadRegisters(35, 5, w);
                },
                EMBXILADD},
        Refusal{"WriteToTheTotalizer", [](ModbusMaster& m) { return m.WriteFloat(4, 0.0f); }, EMBXILADD},
        Refusal{"WriteHalfASetpoint", [](ModbusMaster& m) { return m.WriteRegister(6, 0x3F80); }, EMBXILADD},
        Refusal{"TableWithoutGas", [](ModbusMaster& m) { return m.WriteRegister(16697, 9); }, EMBXILVAL},
        Refusal{"NegativeSetpoint", [](ModbusMaster& m) { return m.WriteFloat(6, -1.0f); }, EMBXILVAL},
        Refusal{"UnknownFunction",
                [](ModbusMaster& m) {
                    std::uint8_t id[64];
                    return modbus_report_slave_id(m.Context(), sizeof id, id);
                },
                EMBXILFUN}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace gasmixer::sim
