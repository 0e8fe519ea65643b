#include "sim/InProcessInstruments.h"

#include "instruments/RelayBoard.h"
#include "instruments/VogtlinPort.h"
#include "instruments/VogtlinRegisters.h"

#include <gtest/gtest.h>

#include <chrono>

namespace gasmixer::sim {
namespace {

using namespace std::chrono_literals;

// The instruments answer on their port names at the time their clock gives,
// and the names answer nothing once they are gone.
TEST(InProcessInstruments, AnswerOnTheirPortsAtTheirClocksTimeUntilTheyGo)
{
    TimePoint now{};
    TVogtlinPort mfc;
    mfc.Port = InProcessInstruments::MfcPort;
    ApplyMfcLineSettings(mfc);
    TSerialPort relay;
    relay.Port = InProcessInstruments::RelayPort;
    {
        InProcessInstruments instruments([&now] { return now; });
        EXPECT_TRUE(RelayLinkAccepted(gasmixer::RelayLinkTest(relay)));

        mfc.WriteF32(1, RegisterNumber(TVogtlinRegister::Setpoint), 0.05f);
        EXPECT_FLOAT_EQ(instruments.Mfc(1).Setpoint(), 0.05f);
        now += 60s;
        const float kg = mfc.ReadF32(1, RegisterNumber(TVogtlinRegister::Totalizer)).AsFloat;
        EXPECT_NEAR(kg, instruments.Mfc(1).TotalizerKg(now), 1e-9);
        EXPECT_GT(kg, 0.0f) << "a minute of flow on the instruments' clock";
    }
    EXPECT_FALSE(RelayLinkAccepted(gasmixer::RelayLinkTest(relay)));
    EXPECT_FALSE(mfc.ReadF32(1, RegisterNumber(TVogtlinRegister::Totalizer)).Status.empty());
}

}  // namespace
}  // namespace gasmixer::sim
