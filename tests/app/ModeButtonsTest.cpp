// The mode buttons and the control tick without instruments: the fake port,
// or no port at all. Ticks are driven by hand on a hand-stepped clock.
#include "Form1Fixture.h"

#include "controls/RtFloatEdit.h"
#include "controls/RtIntegerEdit.h"
#include "plot/MixturePlot.h"

#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace gasmixer::test {
namespace {

using Valves = std::array<std::uint8_t, 6>;

class ModeButtonsTest : public Form1Test {
protected:
    void SetUp() override
    {
        Form1Test::SetUp();
    }

    void Tick(int count = 1)
    {
        for (int i = 0; i < count; ++i) {
            RunMixerTick(form->Mixer());
            clock.Advance(0.25 * OneSecond);
        }
    }

    std::string Status() const { return form->LabelStatus->text().toStdString(); }

    long DevFeedbackCount(const std::string& line) const
    {
        const auto lines = Lines(form->MemoDevFeedback->toPlainText());
        return std::count(lines.begin(), lines.end(), line);
    }

    // What the schematic shows: a valve is drawn closed when its cross bar is.
    bool DrawnClosed(int valve) const
    {
        const TValveBars& bars = ValveBars[static_cast<std::size_t>(valve - 1)];
        const QPoint p = bars.Closed.First + (ValveCentre(bars) - bars.Closed.First) / 3;
        return form->Schematic.Picture().pixelColor(p) == Qt::black;
    }
};

TEST_F(ModeButtonsTest, NothingHappensUntilAButtonOrTheAutomaticStop)
{
    Tick(3);
    EXPECT_EQ(form->Mixer().Mode, TMixerState::Unknown);
    EXPECT_EQ(Status(), "Undefined");
    EXPECT_EQ(form->Mixer().ValveState, Valves{});
}

TEST_F(ModeButtonsTest, EachButtonSetsItsModeAndStatusAndAsksForTheSetpointAgain)
{
    struct Case {
        QPushButton* button;
        TMixerState mode;
        const char* status;
    };
    for (const Case& c : {Case{form->ButtonFlush, TMixerState::Flushing, "Flushing"},
                          Case{form->ButtonBypass, TMixerState::Bypass, "Bypass"},
                          Case{form->ButtonStop, TMixerState::Standby, "Standby"}}) {
        form->Mixer().SetpointBSent = true;
        form->Mixer().MethodStarted = true;
        c.button->click();
        EXPECT_EQ(form->Mixer().Mode, c.mode) << c.status;
        EXPECT_EQ(Status(), c.status);
        EXPECT_FALSE(form->Mixer().SetpointBSent) << c.status;
        EXPECT_FALSE(form->Mixer().MethodStarted) << c.status;
    }
    EXPECT_TRUE(sleeps.empty()) << "the hardware follows at the next tick";
}

TEST_F(ModeButtonsTest, TheAutomaticStopFiresWithoutAnyPortAndReArmsItself)
{
    ASSERT_EQ(form->Mixer().StopDeadline, EncodeDateTime(2024, 5, 15, 9, 30, 0));
    clock.Set(EncodeDateTime(2024, 5, 15, 9, 30, 1));
    Tick();
    // The caption shows the deadline in force once the tick is over.
    EXPECT_EQ(form->GroupBox12->title().toStdString(), "Automatic stop: May 16 @ 09:30:01");
    EXPECT_EQ(form->Mixer().Mode, TMixerState::Standby);
    EXPECT_EQ(Status(), "Standby");
    EXPECT_EQ(form->Mixer().StopDeadline, EncodeDateTime(2024, 5, 15, 9, 30, 1) + 1.0);
    EXPECT_TRUE(dialogs.Errors.empty());

    form->ButtonBypass->click();
    Tick();
    EXPECT_EQ(form->Mixer().Mode, TMixerState::Bypass);
    clock.Set(form->Mixer().StopDeadline + OneSecond);
    Tick();
    EXPECT_EQ(form->Mixer().Mode, TMixerState::Standby) << "it fires again a day later";
    EXPECT_TRUE(dialogs.Errors.empty());
}

TEST_F(ModeButtonsTest, AddHoursToCounterSetsTheDeadlineFromNow)
{
    ChooseFakePorts();
    form->RtDoubleEditCounter->SetValue(2.0);
    form->ButtonAddToCounter->click();
    EXPECT_EQ(form->Mixer().StopDeadline, clock.Now() + 2.0 / 24) << "not added to the old deadline";

    form->ButtonBypass->click();
    Tick();
    form->RtDoubleEditCounter->SetValue(0.0);
    form->ButtonAddToCounter->click();
    EXPECT_EQ(form->Mixer().StopDeadline, clock.Now());
    EXPECT_EQ(form->Mixer().Mode, TMixerState::Bypass);
    clock.Advance(0.25 * OneSecond);
    Tick();
    EXPECT_EQ(form->Mixer().Mode, TMixerState::Standby) << "0 hours stops at the next tick";
}

TEST_F(ModeButtonsTest, TheFakePortRunsEveryModeQuietly)
{
    ChooseFakePorts();
    const TDateTime applied = clock.Now();
    form->ButtonDilution->click();
    ASSERT_EQ(form->Mixer().MixingMethod, "A (pulse) in B");
    EXPECT_EQ(Status(), "Dilution");
    EXPECT_EQ(form->Mixer().StopDeadline, applied + 1.0);
    EXPECT_TRUE(std::isnan(form->Mixer().TotalizerA.StartValue));
    EXPECT_EQ(form->Mixer().TotalizerB.StartTime, clock.Elapsed());

    Tick(3);
    EXPECT_EQ(form->Mixer().ValveState, (Valves{0, 0, 0, 1, 1, 0}));
    EXPECT_TRUE(std::isnan(form->Mixer().TotalizerA.Value));
    // Nothing to regulate with: no pulse, counters as the plan left them.
    EXPECT_EQ(DevFeedbackCount("A Totalizer not read: no pulse"), 3);
    EXPECT_EQ(form->Mixer().PulseExtraA, 1.0);
    EXPECT_EQ(form->Mixer().PulseCount, 0);
    EXPECT_TRUE(sleeps.empty());

    form->ButtonBypass->click();
    Tick();
    EXPECT_EQ(form->Mixer().ValveState, (Valves{0, 0, 1, 0, 0, 0}));
    form->ButtonFlush->click();
    Tick();
    EXPECT_EQ(form->Mixer().ValveState, Valves{});
    EXPECT_EQ(form->Mixer().Mode, TMixerState::Standby);
    EXPECT_EQ(sleeps, (std::vector<std::uint32_t>{2000, 5000, 2000}));
    Tick();
    EXPECT_TRUE(dialogs.Errors.empty());
}

TEST_F(ModeButtonsTest, AMethodTheMixerDoesNotKnowCommandsNothingAndSaysSoOnce)
{
    const std::string said = "Unknown mixing method \"\": valves and flows left unchanged";
    form->ButtonDilution->click();  // no gases, so no plan was adopted
    ASSERT_EQ(form->Mixer().MixingMethod, "");
    Tick(4);
    EXPECT_EQ(form->Mixer().Mode, TMixerState::Dilution);
    EXPECT_EQ(DevFeedbackCount(said), 1);
    EXPECT_EQ(form->Mixer().ValveState, Valves{});
    EXPECT_FALSE(form->Mixer().MethodStarted);
    EXPECT_FALSE(form->Mixer().SetpointASent);
    EXPECT_TRUE(dialogs.Errors.empty());

    form->ButtonDilution->click();
    Tick(2);
    EXPECT_EQ(DevFeedbackCount(said), 2) << "said again for a new Apply Mixture";
}

TEST_F(ModeButtonsTest, AHumidifiedMethodDrawsTheWettingAndLeavesTheValvesToTheWorker)
{
    ChooseFakePorts();
    form->ButtonDilution->click();
    // As a humidified plan leaves the run state.
    form->Mixer().MixingMethod = "A (constant) in B/H2O";
    form->Mixer().WettingFraction = 0.4;

    percentDrawn = 39;
    Tick();
    EXPECT_TRUE(form->Mixer().MethodStarted) << "the worker was started";
    EXPECT_EQ(form->Mixer().ValveState, Valves{}) << "no valve command of the tick's own";
    EXPECT_FALSE(DrawnClosed(1));
    EXPECT_FALSE(DrawnClosed(2));
    EXPECT_TRUE(DrawnClosed(3));
    EXPECT_TRUE(DrawnClosed(4));
    EXPECT_FALSE(DrawnClosed(5));
    EXPECT_TRUE(DrawnClosed(6));

    percentDrawn = 40;
    Tick();
    EXPECT_TRUE(DrawnClosed(1));
    EXPECT_TRUE(DrawnClosed(2));
    EXPECT_FALSE(DrawnClosed(4));
    EXPECT_FALSE(DrawnClosed(5));
    EXPECT_TRUE(form->Mixer().SetpointASent);
    EXPECT_TRUE(form->Mixer().SetpointBSent);

    form->ButtonStop->click();
    EXPECT_FALSE(form->Mixer().MethodStarted);
}

TEST_F(ModeButtonsTest, NoTickRunsInsideTheFlush)
{
    ChooseFakePorts();
    std::vector<std::string> statuses;
    whileSleeping = [&](std::uint32_t) {
        statuses.push_back(Status());
        form->Mixer().Timer1Timer();  // as a tick started in the middle would
    };
    form->ButtonFlush->click();
    EXPECT_EQ(Status(), "Flushing");
    Tick();

    EXPECT_EQ(sleeps, (std::vector<std::uint32_t>{2000, 5000, 2000})) << "no flush inside the flush";
    EXPECT_EQ(statuses, (std::vector<std::string>{"Flush bypass line with gas B (2 sec)",
                                                  "Flush bubbler and chambers (5 sec)",
                                                  "Flush chambers with dry (2 sec)"}));
    EXPECT_EQ(form->Mixer().Mode, TMixerState::Standby);
    EXPECT_EQ(Status(), "Standby");
}

TEST_F(ModeButtonsTest, AnErrorInTheFlushEndsThatTickOnlyAndIsShown)
{
    ChooseFakePorts();
    whileSleeping = [](std::uint32_t) { throw std::runtime_error("fault in the wait"); };
    form->ButtonFlush->click();
    Tick();
    EXPECT_EQ(dialogs.Errors, std::vector<std::string>{"fault in the wait"});

    whileSleeping = nullptr;
    Tick();
    EXPECT_EQ(sleeps.size(), 4u) << "the next tick ran the whole flush";
    EXPECT_EQ(form->Mixer().Mode, TMixerState::Standby);
}

TEST_F(ModeButtonsTest, AButtonClickedDuringTheFlushRunsAtTheNextPause)
{
    struct Case {
        std::size_t clickDuringWait;  // 1..3
        TMixerState after;
    };
    // Before the last wait the final Standby overrides the click; during it
    // the click runs after Standby was set and its mode stands.
    for (const Case& c : {Case{1, TMixerState::Standby}, Case{2, TMixerState::Standby},
                          Case{3, TMixerState::Bypass}}) {
        MakeForm();
        ChooseFakePorts();
        sleeps.clear();
        whileSleeping = [&](std::uint32_t) {
            if (sleeps.size() == c.clickDuringWait) form->ButtonBypass->click();
        };
        form->ButtonFlush->click();
        Tick();
        EXPECT_EQ(form->Mixer().Mode, c.after) << "click during wait " << c.clickDuringWait;
        EXPECT_EQ(form->Mixer().ValveState, Valves{}) << "the flush ends with every valve closed";
        Tick();
        EXPECT_EQ(form->Mixer().ValveState[2], c.after == TMixerState::Bypass ? 1 : 0);
    }
}

// The delivery alarms as the mixer tells them: a warning under the mixer
// status while a gas is short, and a marker on the plot where each alarm
// rose and ended; an alarm that ends with the mixture leaves no marker.
TEST_F(ModeButtonsTest, DeliveryAlarmsShowUnderTheStatusAndOnThePlot)
{
    const auto markers = [this] {
        std::vector<std::string> labels;
        for (const TPlotMarker& marker : form->MixturePlot->Trace().Markers()) labels.push_back(marker.Label);
        return labels;
    };
    EXPECT_TRUE(form->LabelDeliveryWarning->isHidden());
    form->DeliveryAlarmChanged({'A', true, "Gas A delivery short: 0.000 000 g of 0.500 000 g in the last minute",
                                clock.Now()});
    form->DeliveryAlarmChanged({'B', true, "Gas B delivery short: 0.100 000 g of 1.000 000 g in the last minute",
                                clock.Now()});
    EXPECT_FALSE(form->LabelDeliveryWarning->isHidden());
    EXPECT_EQ(form->LabelDeliveryWarning->text(), "Gas A delivery short\nGas B delivery short");

    form->DeliveryAlarmChanged({'A', false, "Gas A delivery recovered", clock.Now()});
    EXPECT_EQ(form->LabelDeliveryWarning->text(), "Gas B delivery short");
    form->DeliveryAlarmChanged({'B', false, {}, clock.Now()});
    EXPECT_TRUE(form->LabelDeliveryWarning->isHidden());
    EXPECT_EQ(markers(), (std::vector<std::string>{"Reset", "Gas A short", "Gas B short", "Gas A recovered"}))
        << "after the Reset of the opening preview";
}

}  // namespace
}  // namespace gasmixer::test
