#include "humidity/WettingTrace.h"

#include <gtest/gtest.h>

namespace gasmixer {
namespace {

TEST(WettingTraceLine, ShowsTheFlagsAndFiguresInTheirPlaces)
{
    TWettingCycle c;
    c.TotalElapsedTimeS = 3.004;
    c.DesiredWETTotalTimeS = 0.9012;
    c.OccuredWETTotalTimeS = 0.9;
    c.ErrorWETTotalTimeS = -0.016;
    c.WETPulseIntendedS = 0.885;
    c.WETPulseOccurredS = 0.9;
    c.DRYSkip = true;
    EXPECT_EQ(WettingTraceLine(2, false, false, c),
              "I:2  00 Elapsed:3.00  Desired WT:0.90 - Occured WT:0.90 = Error in WT:-0.02"
              "  Intended WP:0.89  Previous WP:0.90  D-skip:True  W-skip:False ");
    EXPECT_EQ(WettingTraceLine(7, true, false, {}).substr(0, 8), "I:7  -10");
    EXPECT_EQ(WettingTraceLine(7, true, true, {}).substr(0, 9), "I:7  -1-1");
}

}  // namespace
}  // namespace gasmixer
