#include "humidity/WettingCycle.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace gasmixer {
namespace {

const TDateTime Start = EncodeDateTime(2024, 5, 14, 9, 30, 0);
constexpr double Loop = 3.0;

TDateTime At(double seconds) { return Start + seconds * OneSecond; }

TEST(NextWettingCycle, TheFirstCycleAsksForTheFractionOfTheLoopPlusTheTimeSinceStart)
{
    TWettingCycleInput in{Start, At(0.001), At(0.001), 0.0, Loop, 0.3};
    const TWettingCycle c = NextWettingCycle(in, At(0.004));
    EXPECT_NEAR(c.TotalElapsedTimeS, 0.004, 1e-6);
    EXPECT_NEAR(c.DesiredWETTotalTimeS, 0.0012, 1e-6);
    EXPECT_EQ(c.WETPulseOccurredS, 0.0);
    EXPECT_EQ(c.OccuredWETTotalTimeS, 0.0);
    EXPECT_NEAR(c.WETPulseIntendedS, 0.9012, 1e-6);
    EXPECT_NEAR(c.DRYPulseIntendedS, 2.0988, 1e-6);
    EXPECT_FALSE(c.WETSkip);
    EXPECT_FALSE(c.DRYSkip);
}

TEST(NextWettingCycle, MeasuresThePreviousWetPhaseAndFeedsTheErrorBack)
{
    // Previous wet phase 0.95 s where 0.9 s was wanted after one whole cycle.
    TWettingCycleInput in{Start, At(0.0), At(0.95), 0.0, Loop, 0.3};
    const TWettingCycle c = NextWettingCycle(in, At(3.0));
    EXPECT_NEAR(c.WETPulseOccurredS, 0.95, 1e-6);
    EXPECT_NEAR(c.OccuredWETTotalTimeS, 0.95, 1e-6);
    EXPECT_NEAR(c.ErrorWETTotalTimeS, -0.05, 1e-6);
    EXPECT_NEAR(c.WETPulseIntendedS, 0.85, 1e-6);
    EXPECT_NEAR(c.DRYPulseIntendedS, 2.15, 1e-6);
}

TEST(NextWettingCycle, SkipsAShortWetPhaseBeforeLookingAtTheDryOne)
{
    struct Case {
        double loop;
        double fraction;
        bool wetSkip;
        bool drySkip;
    };
    for (const Case c : {Case{3.0, 0.02, true, false}, Case{3.0, 0.05, false, false},
                         Case{3.0, 0.97, false, true}, Case{3.0, 0.95, false, false},
                         Case{0.2, 0.5, true, false}, Case{3.0, 0.0, true, false}}) {
        const TWettingCycle cycle = NextWettingCycle({Start, Start, Start, 0.0, c.loop, c.fraction}, Start);
        EXPECT_EQ(cycle.WETSkip, c.wetSkip) << c.loop << " s at " << c.fraction;
        EXPECT_EQ(cycle.DRYSkip, c.drySkip) << c.loop << " s at " << c.fraction;
    }
}

// Runs the law with phases that last exactly what they were meant to.
struct IdealRun {
    std::vector<TWettingCycle> cycles;
    std::vector<double> wet, dry;  // phases actually held, s
};

IdealRun RunIdeally(double fraction, int count)
{
    IdealRun run;
    TWettingCycleInput in{Start, Start, Start, 0.0, Loop, fraction};
    double now = 0.0;
    for (int i = 0; i < count; ++i) {
        const TWettingCycle c = NextWettingCycle(in, At(now));
        const double wet = c.WETSkip ? 0.0 : c.WETPulseIntendedS;
        const double dry = c.DRYSkip ? 0.0 : c.DRYPulseIntendedS;
        in.WetStart = At(now);
        in.WetEnd = At(now + wet);
        in.OccuredWETTotalTimeS = c.OccuredWETTotalTimeS;
        now += wet + dry;
        run.cycles.push_back(c);
        run.wet.push_back(wet);
        run.dry.push_back(dry);
    }
    return run;
}

TEST(NextWettingCycle, AtThreeTenthsEveryCycleIsNineTenthsWetAndTheRestDry)
{
    const IdealRun run = RunIdeally(0.3, 50);
    for (std::size_t i = 0; i < run.cycles.size(); ++i) {
        EXPECT_NEAR(run.wet[i], 0.9, 1e-5) << i;
        EXPECT_NEAR(run.dry[i], 2.1, 1e-5) << i;
        EXPECT_FALSE(run.cycles[i].WETSkip || run.cycles[i].DRYSkip) << i;
    }
}

// A minor phase is held back until the error makes it 0.15 s long; the wet
// time never falls further behind or ahead than that.
TEST(NextWettingCycle, AnExtremeFractionSwitchesItsMinorPhaseOnlyEveryFewCycles)
{
    for (const double fraction : {0.02, 0.97}) {
        const IdealRun run = RunIdeally(fraction, 200);
        const bool wetIsMinor = fraction < 0.5;
        int switched = 0;
        for (std::size_t i = 0; i < run.cycles.size(); ++i) {
            const TWettingCycle& c = run.cycles[i];
            const double minorIntended = wetIsMinor ? c.WETPulseIntendedS : c.DRYPulseIntendedS;
            const bool skipped = wetIsMinor ? c.WETSkip : c.DRYSkip;
            EXPECT_EQ(skipped, minorIntended < ShortestValvePhaseS) << fraction << " cycle " << i;
            if (!skipped) ++switched;
            EXPECT_LT(std::abs(c.ErrorWETTotalTimeS), ShortestValvePhaseS + 1e-6) << fraction << " cycle " << i;
        }
        EXPECT_TRUE(wetIsMinor ? run.cycles[0].WETSkip : run.cycles[0].DRYSkip) << fraction;
        EXPECT_GT(switched, 20) << fraction;
        EXPECT_LE(switched, 100) << fraction;
    }
}

}  // namespace
}  // namespace gasmixer
