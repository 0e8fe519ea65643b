#include "regulation/PulseRegulation.h"

#include "common/DateTime.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace gasmixer {
namespace {

// Day counts exact in binary, so that "on time" can be met to the bit.
const double Start = 45000.375;
constexpr double RunMinutes = 90.0;

// 90 min into the run, 0.001 g/min required: 0.09 g should have passed.
TPulseInput NinetyMinutesIn(double delivered, double extra = 1.0, char gas = 'A')
{
    TPulseInput in;
    in.Gas = gas;
    in.Delivered = delivered;
    in.StartTime = Start;
    in.Now = Start + 0.0625;
    in.RequiredFlow = 0.001;
    in.Extra = extra;
    in.PulseCount = 7;
    return in;
}

TEST(PulseRegulationTest, BehindSendsAPulseSizedAfterTheCounterRose)
{
    const TPulseStep step = DecidePulse(NinetyMinutesIn(0.08));
    EXPECT_TRUE(step.Decided);
    EXPECT_EQ(step.Extra, 2.0);
    EXPECT_EQ(step.PulseCount, 8);
    EXPECT_EQ(step.PulseMs, 120u);
    EXPECT_EQ(step.Log, (std::vector<std::string>{
                            "Extra flow up           :20 ",
                            "A Send more flow 8",
                            "A Elapsed time          :5400 s",
                            "A Flow should be by now :0.090 000 000 g",
                            "A Flow is by now        :0.080 000 000 g",
                        }));
}

TEST(PulseRegulationTest, OnTimeOrAheadStopsTheFlowAndShortensTheNextPulse)
{
    struct Case {
        const char* name;
        double delivered;
        double extraIn;
        double extraOut;
        const char* extraLine;
    };
    // Delivery exactly at the target counts as on time. The counter is
    // logged before it is floored at 0.
    for (const Case& c : {Case{"on time", RunMinutes * 0.001, 3.0, 2.0, "Extra flow down         :20 "},
                          Case{"ahead", 0.1, 1.0, 0.0, "Extra flow down         :0 "},
                          Case{"ahead at the floor", 0.1, 0.0, 0.0, "Extra flow down         :-10 "}}) {
        SCOPED_TRACE(c.name);
        const TPulseStep step = DecidePulse(NinetyMinutesIn(c.delivered, c.extraIn));
        EXPECT_TRUE(step.Decided);
        EXPECT_EQ(step.Extra, c.extraOut);
        EXPECT_EQ(step.PulseCount, 7);
        EXPECT_FALSE(step.PulseMs.has_value());
        ASSERT_EQ(step.Log.size(), 5u);
        EXPECT_EQ(step.Log[0], c.extraLine);
        EXPECT_EQ(step.Log[1], "A Stop flow");
    }
}

TEST(PulseRegulationTest, PulsesGrowByTenMillisecondsPerTickBehindAndShrinkToTheFloor)
{
    TPulseInput in = NinetyMinutesIn(0.0);
    std::vector<std::uint32_t> pulses;
    for (int tick = 0; tick < 4; ++tick) {
        const TPulseStep step = DecidePulse(in);
        pulses.push_back(step.PulseMs.value_or(0));
        in.Extra = step.Extra;
        in.PulseCount = step.PulseCount;
    }
    EXPECT_EQ(pulses, (std::vector<std::uint32_t>{120, 130, 140, 150}));
    EXPECT_EQ(in.PulseCount, 11);

    in.Delivered = 1.0;  // far ahead
    for (int tick = 0; tick < 8; ++tick) in.Extra = DecidePulse(in).Extra;
    EXPECT_EQ(in.Extra, 0.0);
    in.Delivered = 0.0;
    EXPECT_EQ(DecidePulse(in).PulseMs, 110u) << "one tick behind after the floor";
}

// A supply that stays empty for an hour keeps delivery behind every tick:
// the pulse stops at one tick's length, and the first tick ahead after the
// gas returns shortens the next pulse at once.
TEST(PulseRegulationTest, AnHourBehindHoldsThePulseAtOneTickAndTheReturnShortensItAtOnce)
{
    TPulseInput in = NinetyMinutesIn(0.0);
    std::uint32_t longest = 0;
    for (int tick = 0; tick < 14400; ++tick) {
        const TPulseStep step = DecidePulse(in);
        longest = std::max(longest, step.PulseMs.value_or(0));
        in.Extra = step.Extra;
    }
    EXPECT_EQ(longest, 250u);
    EXPECT_EQ(DecidePulse(in).PulseMs, 250u);
    EXPECT_EQ(DecidePulse(in).Log[0], "Extra flow up           :150 ");

    in.Delivered = 1.0;
    in.Extra = DecidePulse(in).Extra;
    in.Extra = DecidePulse(in).Extra;
    in.Delivered = 0.0;
    EXPECT_EQ(DecidePulse(in).PulseMs, 240u);
}

TEST(PulseRegulationTest, AnUnreadTotalizerChangesNothingAndSaysSoInOneLine)
{
    for (const char gas : {'A', 'B'}) {
        const TPulseStep step = DecidePulse(NinetyMinutesIn(std::numeric_limits<double>::quiet_NaN(), 4.0, gas));
        EXPECT_FALSE(step.Decided);
        EXPECT_EQ(step.Extra, 4.0);
        EXPECT_EQ(step.PulseCount, 7);
        EXPECT_FALSE(step.PulseMs.has_value());
        EXPECT_EQ(step.Log, std::vector<std::string>{std::string(1, gas) + " Totalizer not read: no pulse"});
    }
}

TEST(PulseRegulationTest, GasBLinesCarryItsLetterExceptTheCounterLine)
{
    const TPulseStep step = DecidePulse(NinetyMinutesIn(0.0, 1.0, 'B'));
    EXPECT_EQ(step.Log[0], "Extra flow up           :20 ");
    EXPECT_EQ(step.Log[1], "B Send more flow 8");
    EXPECT_EQ(step.Log[2], "B Elapsed time          :5400 s");
    EXPECT_EQ(step.Log[3], "B Flow should be by now :0.090 000 000 g");
    EXPECT_EQ(step.Log[4], "B Flow is by now        :0.000 000 000 g");
}

TEST(PulseRegulationTest, ANullRequiredFlowNeverPulses)
{
    TPulseInput in = NinetyMinutesIn(0.0);
    in.RequiredFlow = 0.0;
    in.Now = Start + 2 * OneHour;
    const TPulseStep step = DecidePulse(in);
    EXPECT_FALSE(step.PulseMs.has_value());
    EXPECT_EQ(step.Log[1], "A Stop flow");
    EXPECT_EQ(step.Log[2], "A Elapsed time          :7200 s");
}

}  // namespace
}  // namespace gasmixer
