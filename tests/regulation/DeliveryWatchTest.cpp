#include "regulation/DeliveryWatch.h"

#include "common/DateTime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace gasmixer {
namespace {

constexpr double Tick = 0.25 * OneSecond;

// A supply that can run out: the gas a tick lets through, in g, given the
// elapsed time and what passed so far.
using Supply = std::function<double(double elapsed, double delivered)>;

struct Seen {
    double at;  // minutes
    TDeliveryChange change;
};

// Ticks the watch for `minutes`, the supply empty from `emptyFrom` to
// `emptyUntil` (minutes).
std::vector<Seen> Watch(const Supply& supply, double flow, double tolerance, double minutes, double emptyFrom = 1e9,
                      double emptyUntil = 1e9)
{
    TDeliveryWatch watch('A');
    std::vector<Seen> seen;
    double delivered = 0.0;
    for (double t = 0.0; t < minutes * OneMinute; t += Tick) {
        const double m = t / OneMinute;
        const bool empty = m >= emptyFrom && m < emptyUntil;
        if (!empty) delivered += supply(t, delivered);
        if (const auto change = watch.Observe(t, delivered, flow, tolerance)) seen.push_back({m, *change});
    }
    return seen;
}

// A constant setpoint of 0.5 g/min.
double Constant(double, double) { return 0.5 * Tick / OneMinute; }

// The pulse law in short: a dose of 0.000 146 g (0.035 g/min for 250 ms)
// whenever delivery is behind 0.000 17 g/min, about 300 ppm of O2 in N2.
constexpr double PulsedFlow = 0.00017;
double Pulsed(double elapsed, double delivered)
{
    return delivered < PulsedFlow * elapsed / OneMinute ? 0.035 * 0.25 / 60.0 : 0.0;
}
constexpr double PulseDose = 0.035 * 0.25 / 60.0;

TEST(DeliveryWatch, ARunningSupplyRaisesNothing)
{
    EXPECT_TRUE(Watch(Constant, 0.5, 0.0, 60).empty());
    EXPECT_TRUE(Watch(Pulsed, PulsedFlow, PulseDose, 60).empty()) << "the saw-tooth of the pulses is no shortfall";
}

TEST(DeliveryWatch, AnEmptySupplyIsShortWithinTwoMinutesAndRecoversWithinTwoMinutesOfItsReturn)
{
    struct Case {
        const char* name;
        Supply supply;
        double flow;
        double tolerance;
    };
    for (const Case& c : {Case{"constant", Constant, 0.5, 0.0}, Case{"pulsed", Pulsed, PulsedFlow, PulseDose}}) {
        SCOPED_TRACE(c.name);
        const std::vector<Seen> seen = Watch(c.supply, c.flow, c.tolerance, 20, 5, 10);
        ASSERT_EQ(seen.size(), 2u);
        EXPECT_TRUE(seen[0].change.Short);
        EXPECT_TRUE(seen[0].change.Line.starts_with("Gas A delivery short: ")) << seen[0].change.Line;
        EXPECT_NE(seen[0].change.Line.find(" g in the last "), std::string::npos) << seen[0].change.Line;
        EXPECT_GT(seen[0].at, 5.0);
        EXPECT_LT(seen[0].at, 7.0);
        EXPECT_FALSE(seen[1].change.Short);
        EXPECT_EQ(seen[1].change.Line, "Gas A delivery recovered");
        EXPECT_GT(seen[1].at, 10.0);
        EXPECT_LT(seen[1].at, 12.0);
    }
}

// Short by more than a tenth but by less than the grams a pulse may lag is
// no shortfall; a gas that asks for less than two pulses a minute is judged
// over as many minutes as ask for two.
TEST(DeliveryWatch, AShortfallMustExceedOnePulse)
{
    TDeliveryWatch fast('A');
    EXPECT_FALSE(fast.Observe(0.0, 0.0, 5 * PulseDose, PulseDose));
    EXPECT_FALSE(fast.Observe(OneMinute, 4.2 * PulseDose, 5 * PulseDose, PulseDose));

    TDeliveryWatch slow('B');
    EXPECT_FALSE(slow.Observe(0.0, 0.0, PulseDose, PulseDose));
    EXPECT_FALSE(slow.Observe(OneMinute, 0.0, PulseDose, PulseDose)) << "the window is two minutes";
    const auto change = slow.Observe(2 * OneMinute, 0.0, PulseDose, PulseDose);
    ASSERT_TRUE(change);
    EXPECT_EQ(change->Line, "Gas B delivery short: 0.000 000 g of 0.000 292 g in the last 2 minutes");
}

TEST(DeliveryWatch, UnreadTotalizersAndEndsRaiseNothing)
{
    TDeliveryWatch watch('A');
    const double unread = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(watch.Observe(0.0, 0.0, 0.5, 0.0));
    for (double t = Tick; t < 3 * OneMinute; t += Tick) EXPECT_FALSE(watch.Observe(t, unread, 0.5, 0.0));
    EXPECT_FALSE(watch.Short());

    ASSERT_TRUE(watch.Observe(3 * OneMinute, 0.0, 0.5, 0.0));
    EXPECT_TRUE(watch.End()) << "an alarm ends with the mixture";
    EXPECT_FALSE(watch.Short());
    EXPECT_FALSE(watch.End());

    // A new mixture keeps an alarm until a whole minute of it is judged.
    EXPECT_FALSE(watch.Observe(4 * OneMinute, 0.0, 0.5, 0.0)) << "a window begins again";
    ASSERT_TRUE(watch.Observe(5 * OneMinute, 0.0, 0.5, 0.0));
    watch.Restart();
    EXPECT_FALSE(watch.Observe(5.5 * OneMinute, 0.0, 0.5, 0.0));
    EXPECT_TRUE(watch.Short());
    const auto change = watch.Observe(6.5 * OneMinute, 0.5, 0.5, 0.0);
    ASSERT_TRUE(change);
    EXPECT_FALSE(change->Short);
}

}  // namespace
}  // namespace gasmixer
