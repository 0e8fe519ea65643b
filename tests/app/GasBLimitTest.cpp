#include "mixer/GasBLimit.h"
#include "mixer/MixerState.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace gasmixer::test {
namespace {

TEST(GasBLimitTest, RangeFollowsFullScaleAndTurnDown)
{
    const auto range = GasBLimitRangeFor(2.0f, 50);
    ASSERT_TRUE(range.has_value());
    EXPECT_DOUBLE_EQ(range->Maximum, 2.0);
    EXPECT_DOUBLE_EQ(range->Minimum, 0.04);
    EXPECT_DOUBLE_EQ(range->Value, 1.0);
    EXPECT_DOUBLE_EQ(range->Increment, 0.2);
}

struct UnusableReading {
    float FullScale;
    std::uint32_t TurnDown;
};

class UnusableReadingTest : public ::testing::TestWithParam<UnusableReading> {};

TEST_P(UnusableReadingTest, GivesNoRangeAndNoUndefinedLimits)
{
    const UnusableReading reading = GetParam();
    EXPECT_FALSE(GasBLimitRangeFor(reading.FullScale, reading.TurnDown).has_value());
    const TFlowInfo info = FlowInfoFromReadings("", "", "", reading.FullScale, reading.TurnDown);
    EXPECT_TRUE(std::isfinite(info.Max));
    EXPECT_TRUE(std::isfinite(info.MaxOrig));
    EXPECT_TRUE(std::isfinite(info.Min));
    EXPECT_GE(info.Min, 0.0f);
    EXPECT_EQ(info.Dyn, reading.TurnDown);
}

INSTANTIATE_TEST_SUITE_P(SilentOrBrokenController, UnusableReadingTest,
                         ::testing::Values(UnusableReading{std::numeric_limits<float>::quiet_NaN(), 120},
                                           UnusableReading{2.0f, 0},
                                           UnusableReading{0.0f, 120},
                                           UnusableReading{-1.0f, 120},
                                           UnusableReading{std::numeric_limits<float>::infinity(), 120}));

TEST(GasBLimitTest, FlowInfoFromGoodReadings)
{
    const TFlowInfo info = FlowInfoFromReadings("N2", "Nitrogen", "g/min", 2.0f, 50);
    EXPECT_EQ(info, (TFlowInfo{"N2", "Nitrogen", "g/min", 2.0f, 2.0f, 50, 0.04f}));
}

TEST(GasBLimitTest, ImaginaryControllerUsesItsOwnMinimum)
{
    const TGasBLimitRange range = FakeGasBLimitRange(FakeFlowInfoB());
    EXPECT_EQ(range, (TGasBLimitRange{1.0, static_cast<double>(0.00001f), 0.5, 0.1}));
}

TEST(MixerStateTest, ValueNamesAreTheModeColumnTexts)
{
    EXPECT_EQ(MixerStateName(TMixerState::Unknown), "Unknown");
    EXPECT_EQ(MixerStateName(TMixerState::Standby), "Standby");
    EXPECT_EQ(MixerStateName(TMixerState::Flushing), "Flushing");
    EXPECT_EQ(MixerStateName(TMixerState::Dilution), "Dilution");
    EXPECT_EQ(MixerStateName(TMixerState::Bypass), "Bypass");
    EXPECT_EQ(static_cast<int>(TMixerState::Bypass), 4);
}

}  // namespace
}  // namespace gasmixer::test
