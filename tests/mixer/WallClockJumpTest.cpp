// Daylight saving and time syncs move the wall clock an hour at a time. The
// mixer takes every duration from the monotonic clock: across a jump back
// and a jump forward the pulses neither pause nor burst, the rows keep their
// cadence, and the wetting valves keep their cycle and their share.
#include "SteppedRun.h"

#include "regulation/PulseRegulation.h"

#include <algorithm>

namespace gasmixer::test {
namespace {

constexpr std::uint8_t WetPattern = 19;

class WallClockJumpTest : public SteppedRunTest {
protected:
    // 80 s before, between and after the jumps, back one hour, then forward:
    // each jump falls between two rows of the minute cadence.
    void RunThroughBothJumps(double tick, double step)
    {
        RunFor(80, tick, step);
        clock.JumpWall(-OneHour);
        RunFor(80, tick, step);
        clock.JumpWall(OneHour);
        RunFor(80, tick, step);
    }

    // After the fast phase of 30 s, a row each minute, on the elapsed time.
    void ExpectTheRowCadence(double tick)
    {
        std::vector<double> slowGaps;
        for (std::size_t i = 1; i < view.RowsAt.size(); ++i) {
            if (view.RowsAt[i - 1] - view.RowsAt.front() < 30 * OneSecond) continue;
            slowGaps.push_back((view.RowsAt[i] - view.RowsAt[i - 1]) / OneSecond);
        }
        ASSERT_EQ(slowGaps.size(), 2u) << "rows at 90, 150 and 210 s";
        for (const double gap : slowGaps) {
            EXPECT_GT(gap, 60.0);
            EXPECT_LE(gap, 60.0 + tick + 1e-6);
        }
    }
};

TEST_F(WallClockJumpTest, APulseMethodDosesOnAndTheRowsKeepTheirCadence)
{
    Ready("O2", "N2");
    mixer.ButtonDilutionClick({300, 0, {}});
    ASSERT_EQ(mixer.MixingMethod, "A (pulse) in B");
    const double start = mixer.TotalizerA.StartTime;
    const double flow = mixer.RequiredFlowA;
    const auto pulsesBy = [this](double at) {
        const auto log = host.Mfc(1).SetpointLog();
        return std::count_if(log.begin(), log.end(), [&](const sim::SetpointWrite& w) {
            return w.value == PulseSetpointA &&
                   std::chrono::duration<double>(w.received.time_since_epoch()).count() <= at / OneSecond;
        });
    };

    RunThroughBothJumps(2.0, 2.0);

    // Each minute doses about a minute's worth: no pause after the jump
    // back, no burst after the jump forward.
    const double dose = PulseSetpointA * LongestPulseMs / 60000.0;
    for (int minute = 1; minute <= 4; ++minute) {
        SCOPED_TRACE(minute);
        EXPECT_GT(pulsesBy(start + minute * OneMinute), pulsesBy(start + (minute - 1) * OneMinute));
    }
    const double delivered = host.Mfc(1).TotalizerKg(host.Now()) * 1000.0;
    const double planned = flow * (clock.Elapsed() - start) / OneMinute;
    EXPECT_NEAR(delivered, planned, 0.05 * planned + dose);
    ExpectTheRowCadence(2.0);
    EXPECT_TRUE(view.Errors.empty());
}

TEST_F(WallClockJumpTest, AHumidifiedMethodKeepsItsValveCycleItsWetShareAndItsRows)
{
    Ready("O2", "N2");
    mixer.ButtonDilutionClick({10000, 5000, {}});
    ASSERT_EQ(mixer.MixingMethod, "A (constant) in B/H2O");
    const double fraction = mixer.WettingFraction;
    ASSERT_GT(fraction, 0.1);
    ASSERT_LT(fraction, 0.9);
    mixer.Timer1Timer();  // starts the worker
    const double started = clock.Elapsed();

    RunThroughBothJumps(2.0, 0.05);

    std::vector<double> wetStarts;  // s
    for (const auto& command : host.RelayBoard().ValveLog()) {
        if (command.mask == WetPattern)
            wetStarts.push_back(std::chrono::duration<double>(command.received.time_since_epoch()).count());
    }
    ASSERT_GE(wetStarts.size(), 75u);
    for (std::size_t i = 1; i < wetStarts.size(); ++i) {
        EXPECT_NEAR(wetStarts[i] - wetStarts[i - 1], 3.0, 0.15) << "cycle " << i << " at " << wetStarts[i] << " s";
    }
    const double elapsedS = (clock.Elapsed() - started) / OneSecond;
    // The share is handed over once a cycle: up to one wet phase behind.
    EXPECT_NEAR(mixer.WetTimeOccurred, fraction * elapsedS, fraction * 3.0 + 0.1);
    ASSERT_FALSE(view.Rows.empty());
    ASSERT_TRUE(view.Rows.back().H2OPpm());
    EXPECT_NEAR(*view.Rows.back().H2OPpm(), 5000.0, 250.0);
    ExpectTheRowCadence(2.0);
    EXPECT_TRUE(view.Errors.empty());
}

}  // namespace
}  // namespace gasmixer::test
