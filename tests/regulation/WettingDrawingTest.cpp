#include "regulation/WettingDrawing.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace gasmixer {
namespace {

using Valves = std::array<bool, 6>;
constexpr Valves Wet{true, true, false, false, true, false};
constexpr Valves Dry{false, false, false, true, true, false};

TEST(WettingDrawingTest, WetWhenTheFractionInPercentExceedsTheDraw)
{
    EXPECT_EQ(WettingDrawing(0.5, 49), Wet);
    EXPECT_EQ(WettingDrawing(0.5, 50), Dry) << "50 > 50 does not hold";
    for (const int r : {1, 99}) {
        EXPECT_EQ(WettingDrawing(0.0, r), Dry) << "a fraction of 0 is never drawn wet";
        EXPECT_EQ(WettingDrawing(1.0, r), Wet) << "a fraction of 1 is always drawn wet";
    }
}

TEST(WettingDrawingTest, TheProgramsDrawStaysWithinOneToNinetyNine)
{
    UniformPercentDraw draw;
    int lowest = 100;
    int highest = 0;
    for (int i = 0; i < 5000; ++i) {
        const int r = draw();
        lowest = std::min(lowest, r);
        highest = std::max(highest, r);
    }
    EXPECT_EQ(lowest, 1);
    EXPECT_EQ(highest, 99);
}

}  // namespace
}  // namespace gasmixer
