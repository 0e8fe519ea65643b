// The modes and the control tick against the simulated instruments: what
// reaches the valves and the controllers, tick by tick. Ticks are driven by
// hand on a hand-stepped clock; the long waits are recorded, not waited.
#include "Form1Fixture.h"
#include "SimulatorLogs.h"

#include "controls/RtIntegerEdit.h"
#include "instruments/RelayBoard.h"
#include "instruments/VogtlinPort.h"
#include "instruments/VogtlinRegisters.h"
#include "sim/SimulatorHost.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

namespace gasmixer::test {
namespace {


class ControlTickTest : public Form1Test {
protected:
    sim::SimulatorHost host;

    void SetUp() override
    {
        ports = {host.MfcLinePath(), host.RelayBoardPath()};
        Form1Test::SetUp();
    }

    // Both ports validated, the gases chosen, on the Operation tab.
    void Ready(const std::string& gasA, const std::string& gasB)
    {
        ClickItem(form->ListBoxPortSolenoid, host.RelayBoardPath());
        ClickItem(form->ListBoxPortMFC, host.MfcLinePath());
        ClickItem(form->ListBoxSetupGas1, gasA);
        ClickItem(form->ListBoxSetupGas2, gasB);
        ClickTab(OperationPage);
        ASSERT_EQ(ActivePage(), OperationPage);
    }

    void Apply(int gasAPpm)
    {
        form->RtIntegerEditGasAPPM->SetValue(gasAPpm);
        QTest::mouseClick(form->ButtonDilution, Qt::LeftButton);
    }

    void Tick(int count = 1)
    {
        for (int i = 0; i < count; ++i) {
            RunMixerTick(form->Mixer());
            clock.Advance(0.25 * OneSecond);
        }
    }

    // Writes are not acknowledged: an answered read on each line shows that
    // the instruments have taken every frame sent before it.
    void Settle()
    {
        SettleMfcLine();
        SettleRelayBoard();
    }

    void SettleMfcLine() { SettleMfcLineOf(host); }
    void SettleRelayBoard() { SettleRelayBoardOf(host); }
    Floats Setpoints(int address) { return SetpointsOf(host, address); }
    Masks ValveMasks() { return ValveMasksOf(host); }

    // One regulation step of a pulse method. A reply that misses its 50 ms
    // on a loaded machine leaves the totalizer unread, and such a tick
    // changes nothing: tick again, as the next timer tick would.
    void PulseTick()
    {
        for (int attempt = 0; attempt < 5; ++attempt) {
            const long unread = DevFeedbackCount(Unread);
            RunMixerTick(form->Mixer());
            if (DevFeedbackCount(Unread) == unread) return;
        }
        FAIL() << "the totalizer of MFC 1 was never read";
    }

    static constexpr const char* Unread = "A Totalizer not read: no pulse";

    long DevFeedbackCount(const std::string& line) const
    {
        const auto lines = Lines(form->MemoDevFeedback->toPlainText());
        return std::count(lines.begin(), lines.end(), line);
    }
};

TEST_F(ControlTickTest, ApplyMixtureOfADryConstantMethodSendsEachSetpointOnceAndOpensV4AndV5)
{
    Ready("O2", "Ar");
    const double applied = clock.Elapsed();
    Apply(10000);
    ASSERT_EQ(form->Mixer().MixingMethod, "A (constant) in B");
    EXPECT_EQ(form->Mixer().Mode, TMixerState::Dilution);
    EXPECT_EQ(form->LabelStatus->text(), "Dilution");
    EXPECT_EQ(form->Mixer().TotalizerA.StartTime, applied);
    EXPECT_EQ(form->Mixer().TotalizerB.StartTime, applied);

    Tick(4);
    Settle();
    EXPECT_EQ(Setpoints(1), Floats{static_cast<float>(form->Mixer().RequiredFlowA)});
    EXPECT_EQ(Setpoints(2), Floats{static_cast<float>(form->Mixer().RequiredFlowB)});
    EXPECT_EQ(ValveMasks(), Masks{24});
    EXPECT_GT(form->Mixer().TotalizerB.Time, applied) << "read by the ticks";
    EXPECT_TRUE(dialogs.Errors.empty());
}

TEST_F(ControlTickTest, StopClosesEveryValveAndZeroesBothSetpointsOnEveryTick)
{
    Ready("O2", "Ar");
    Apply(10000);
    Tick();
    form->ButtonStop->click();
    Tick(3);
    SettleRelayBoard();
    EXPECT_EQ(From(ValveMasks(), 1), (Masks{0, 0, 0}));
    EXPECT_EQ(From(Setpoints(1), 1), (Floats{0, 0, 0}));
    EXPECT_EQ(From(Setpoints(2), 1), (Floats{0, 0, 0}));
    EXPECT_EQ(form->LabelStatus->text(), "Standby");
}

TEST_F(ControlTickTest, BypassSendsGasBAtFullScaleThroughV3)
{
    Ready("O2", "Ar");
    ASSERT_EQ(form->Mixer().MaxFlowB, 1.4f);
    form->ButtonBypass->click();
    Tick(2);
    Settle();
    EXPECT_EQ(ValveMasks(), (Masks{4, 4}));
    EXPECT_EQ(Setpoints(1), (Floats{0, 0}));
    EXPECT_EQ(Setpoints(2), (Floats{1.4f, 1.4f}));
    EXPECT_GT(form->Mixer().TotalizerA.Time, 0.0) << "Bypass reads the totalizers";
}

TEST_F(ControlTickTest, TheFlushRunsGasBThroughEachPathThenStandsBy)
{
    Ready("O2", "Ar");
    std::vector<std::string> statuses;
    whileSleeping = [&](std::uint32_t) { statuses.push_back(form->LabelStatus->text().toStdString()); };
    form->ButtonFlush->click();
    Tick();
    Settle();
    EXPECT_EQ(ValveMasks(), (Masks{4, 35, 40, 0}));
    EXPECT_EQ(Setpoints(2), (Floats{1.4f, 0}));
    EXPECT_TRUE(Setpoints(1).empty());
    EXPECT_EQ(sleeps, (std::vector<std::uint32_t>{2000, 5000, 2000}));
    EXPECT_EQ(statuses, (std::vector<std::string>{"Flush bypass line with gas B (2 sec)",
                                                  "Flush bubbler and chambers (5 sec)",
                                                  "Flush chambers with dry (2 sec)"}));
    EXPECT_EQ(form->LabelStatus->text(), "Standby");

    Tick();
    Settle();
    EXPECT_EQ(ValveMasks().back(), 0);
    EXPECT_EQ(Setpoints(1), Floats{0});
}

TEST_F(ControlTickTest, APulseMethodPulsesLongerWhileBehindAndStopsWhileAhead)
{
    Ready("O2", "Ar");
    Apply(150);
    ASSERT_EQ(form->Mixer().MixingMethod, "A (pulse) in B");
    // No time since the reset: nothing is due, so nothing is behind.
    for (int tick = 0; tick < 2; ++tick) PulseTick();
    // An hour per tick keeps delivery far behind whatever the pulses let through.
    for (int hours = 1; hours <= 3; ++hours) {
        clock.Advance(OneHour);
        PulseTick();
    }
    Settle();

    EXPECT_EQ(sleeps, (std::vector<std::uint32_t>{110, 120, 130})) << "the pulse lengths";
    EXPECT_EQ(Setpoints(1), (Floats{0, 0, 0.035f, 0, 0.035f, 0, 0.035f, 0}));
    EXPECT_EQ(Setpoints(2), Floats{static_cast<float>(form->Mixer().RequiredFlowB)}) << "gas B keeps its one setpoint";
    EXPECT_EQ(ValveMasks(), Masks{24});
    EXPECT_EQ(form->Mixer().PulseCount, 3);
    EXPECT_EQ(form->Mixer().PulseExtraA, 3.0);
    EXPECT_FALSE(form->Mixer().SetpointASent);
    for (const char* line : {"A Send more flow 1", "A Send more flow 2", "A Send more flow 3"})
        EXPECT_EQ(DevFeedbackCount(line), 1) << line;
    EXPECT_EQ(DevFeedbackCount("A Stop flow"), 2);
    EXPECT_EQ(DevFeedbackCount("A Elapsed time          :10800 s"), 1);
    EXPECT_TRUE(dialogs.Errors.empty());
}

TEST_F(ControlTickTest, ASilentControllerInAPulseMethodGetsNoPulseUntilItAnswersAgain)
{
    Ready("O2", "Ar");
    Apply(150);
    ASSERT_EQ(form->Mixer().MixingMethod, "A (pulse) in B");
    host.Mfc(1).Faults().Set({sim::FaultKind::Silent});
    for (int tick = 0; tick < 2; ++tick) {
        clock.Advance(OneHour);
        RunMixerTick(form->Mixer());
    }
    EXPECT_EQ(DevFeedbackCount(Unread), 2) << "one line per tick";
    EXPECT_TRUE(std::isnan(form->Mixer().TotalizerA.Value));
    EXPECT_EQ(form->Mixer().PulseExtraA, 1.0);
    EXPECT_EQ(form->Mixer().PulseCount, 0);
    EXPECT_TRUE(sleeps.empty());
    EXPECT_TRUE(dialogs.Errors.empty()) << "no box per tick";

    host.Mfc(1).Faults().Set({});
    clock.Advance(OneHour);
    PulseTick();
    Settle();
    EXPECT_EQ(sleeps, std::vector<std::uint32_t>{120});
    EXPECT_EQ(Setpoints(1), (Floats{0.035f, 0}));
}

TEST_F(ControlTickTest, StopStillReachesWhateverAnswers)
{
    Ready("O2", "Ar");
    Apply(10000);
    Tick();
    host.RelayBoard().Faults().Set({sim::FaultKind::Silent});
    form->ButtonStop->click();
    Tick(2);
    SettleMfcLine();
    EXPECT_EQ(From(Setpoints(1), 1), (Floats{0, 0}));
    EXPECT_EQ(From(Setpoints(2), 1), (Floats{0, 0}));

    host.RelayBoard().Faults().Set({});
    host.Mfc(2).Faults().Set({sim::FaultKind::Vanish});  // the MFC line is gone for good
    Tick(3);
    SettleRelayBoard();
    EXPECT_EQ(From(ValveMasks(), 1), (Masks{0, 0, 0}));
    EXPECT_EQ(form->Mixer().Mode, TMixerState::Standby);
    EXPECT_TRUE(dialogs.Errors.empty());
}

}  // namespace
}  // namespace gasmixer::test
