#include "common/DateTime.h"
#include "common/ManualClock.h"

#include <gtest/gtest.h>

#include <cmath>

namespace gasmixer {
namespace {

TEST(DateTime, DayCountStartsAt1899_12_30)
{
    EXPECT_DOUBLE_EQ(EncodeDateTime(1899, 12, 30), 0.0);
    EXPECT_DOUBLE_EQ(EncodeDateTime(1900, 1, 1), 2.0);
    EXPECT_DOUBLE_EQ(EncodeDateTime(2026, 12, 10), 46366.0);
    EXPECT_DOUBLE_EQ(EncodeDateTime(2000, 1, 1, 6), 36526.25);
}

TEST(DateTime, DecodeRoundTripsToTheMillisecond)
{
    const DateTimeParts p = DecodeDateTime(EncodeDateTime(2024, 2, 29, 23, 59, 59, 999));
    EXPECT_EQ(p.year, 2024);
    EXPECT_EQ(p.month, 2);
    EXPECT_EQ(p.day, 29);
    EXPECT_EQ(p.hour, 23);
    EXPECT_EQ(p.minute, 59);
    EXPECT_EQ(p.second, 59);
    EXPECT_EQ(p.millisecond, 999);
}

TEST(DateTime, NowIsTodayOnTheWallClock)
{
    const TDateTime now = LocalNow();
    EXPECT_GT(now, EncodeDateTime(2020, 1, 1));
    EXPECT_LT(now, EncodeDateTime(2200, 1, 1));
}

// Time passing moves both clocks; a jump or a setting back moves the wall
// clock alone, and the elapsed time never runs backwards.
TEST(DateTime, ManualClockStepsBothClocksAndJumpsTheWallClockAlone)
{
    ManualClock clock(EncodeDateTime(2026, 1, 1));
    clock.Advance(OneHour);
    EXPECT_EQ(DecodeDateTime(clock.Now()).hour, 1);
    EXPECT_DOUBLE_EQ(clock.Elapsed(), OneHour);
    clock.Advance(30 * OneSecond);
    EXPECT_EQ(DecodeDateTime(clock.Now()).second, 30);

    const double elapsed = clock.Elapsed();
    clock.JumpWall(-OneHour);
    EXPECT_EQ(DecodeDateTime(clock.Now()).hour, 0);
    EXPECT_EQ(clock.Elapsed(), elapsed);
    clock.Set(EncodeDateTime(2025, 12, 31));
    EXPECT_EQ(clock.Elapsed(), elapsed);
    clock.Set(EncodeDateTime(2025, 12, 31, 0, 10));
    EXPECT_NEAR(clock.Elapsed(), elapsed + 10 * OneMinute, 1e-9);
}

}  // namespace
}  // namespace gasmixer
