// The delivery watch against the simulated controllers: a supply that runs
// out raises the alarm and its return clears it, in a constant and a pulse
// method, and a normal run raises nothing.
#include "SteppedRun.h"

#include "sim/Faults.h"

namespace gasmixer::test {
namespace {

// A tick every 5 s: the watch needs no finer look, and each tick's reads
// take their real time on the line.
constexpr double Tick = 5.0;

struct AlarmCase {
    const char* name;
    int gasAPpm;
    const char* method;
};

class DeliveryAlarmTest : public SteppedRunTest, public ::testing::WithParamInterface<AlarmCase> {};

TEST_P(DeliveryAlarmTest, AnEmptySupplyOfGasARaisesTheAlarmAndItsReturnClearsIt)
{
    Ready("O2", "N2");
    mixer.ButtonDilutionClick({GetParam().gasAPpm, 0, {}});
    ASSERT_EQ(mixer.MixingMethod, GetParam().method);
    RunFor(120, Tick, Tick);
    EXPECT_TRUE(view.Alarms.empty()) << "a running supply is not short";

    host.Mfc(1).SetFault({sim::FaultKind::NoFlow}, host.Now());
    const double emptied = clock.Elapsed();
    RunFor(150, Tick, Tick);
    ASSERT_EQ(view.Alarms.size(), 1u);
    const DeliveryAlarm& raised = view.Alarms[0].Alarm;
    EXPECT_EQ(raised.Gas, 'A');
    EXPECT_TRUE(raised.Short);
    EXPECT_TRUE(raised.Line.starts_with("Gas A delivery short: ")) << raised.Line;
    EXPECT_LE(view.Alarms[0].At - emptied, 2 * OneMinute);
    EXPECT_NEAR(raised.Time, clock.Now() - (clock.Elapsed() - view.Alarms[0].At), 1e-9) << "on the wall clock";
    EXPECT_EQ(std::count(view.Lines.begin(), view.Lines.end(), raised.Line), 1) << "and told on the Debug tab";

    host.Mfc(1).SetFault({}, host.Now());
    const double refilled = clock.Elapsed();
    RunFor(150, Tick, Tick);
    ASSERT_EQ(view.Alarms.size(), 2u);
    EXPECT_FALSE(view.Alarms[1].Alarm.Short);
    EXPECT_EQ(view.Alarms[1].Alarm.Line, "Gas A delivery recovered");
    EXPECT_LE(view.Alarms[1].At - refilled, 2 * OneMinute);
    EXPECT_TRUE(view.Errors.empty());
}

INSTANTIATE_TEST_SUITE_P(Methods, DeliveryAlarmTest,
                         ::testing::Values(AlarmCase{"Constant", 10000, "A (constant) in B"},
                                           AlarmCase{"Pulse", 300, "A (pulse) in B"}),
                         [](const ::testing::TestParamInfo<AlarmCase>& info) { return info.param.name; });

// Stop ends the mixture: an alarm that stands ends without a line.
TEST_F(SteppedRunTest, StoppingTheMixtureEndsAStandingAlarmQuietly)
{
    Ready("O2", "N2");
    mixer.ButtonDilutionClick({10000, 0, {}});
    host.Mfc(2).SetFault({sim::FaultKind::NoFlow}, host.Now());
    RunFor(90, Tick, Tick);
    ASSERT_EQ(view.Alarms.size(), 1u);
    EXPECT_EQ(view.Alarms[0].Alarm.Gas, 'B');
    mixer.ButtonStopClick();
    RunFor(2, Tick, Tick);
    ASSERT_EQ(view.Alarms.size(), 2u);
    EXPECT_FALSE(view.Alarms[1].Alarm.Short);
    EXPECT_TRUE(view.Alarms[1].Alarm.Line.empty());
}

}  // namespace
}  // namespace gasmixer::test
