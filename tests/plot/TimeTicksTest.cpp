#include "plot/TimeTicks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace gasmixer {
namespace {

std::vector<std::string> LabelsOf(const std::vector<TTimeTick>& ticks)
{
    std::vector<std::string> labels;
    for (const TTimeTick& t : ticks) labels.push_back(t.Label);
    return labels;
}

TEST(TimeTicks, FallOnRoundClockTimesInsideTheRange)
{
    const TDateTime from = EncodeDateTime(2024, 5, 14, 9, 30, 7);
    EXPECT_EQ(LabelsOf(ClockTicks(from, from + 50 * OneSecond, 6)),
              (std::vector<std::string>{"09:30:10", "09:30:20", "09:30:30", "09:30:40", "09:30:50"}));
    EXPECT_EQ(LabelsOf(ClockTicks(from, from + 2 * OneHour, 6)),
              (std::vector<std::string>{"10:00", "10:30", "11:00", "11:30"}));
}

TEST(TimeTicks, ARangeOverDaysShowsTheDate)
{
    const TDateTime from = EncodeDateTime(2024, 5, 14, 22, 0, 0);
    const auto ticks = ClockTicks(from, from + 30 * OneHour, 6);
    ASSERT_FALSE(ticks.empty());
    EXPECT_EQ(ticks.front().Label, "15 May 00:00");
    const auto week = ClockTicks(from, from + 7.0, 4);
    ASSERT_FALSE(week.empty());
    EXPECT_EQ(week.front().Label, "17 May");  // every third day
}

TEST(TimeTicks, NeverMoreThanAskedAndNoneForAnEmptyRange)
{
    const TDateTime from = EncodeDateTime(2024, 5, 14, 9, 0, 0);
    for (const double span : {5 * OneSecond, 10 * OneMinute, 5 * OneHour, 3.0, 40.0})
        for (const int max : {2, 5, 17}) EXPECT_LE(ClockTicks(from, from + span, max).size(), std::size_t(max)) << span;
    EXPECT_TRUE(ClockTicks(from, from, 5).empty());
}

}  // namespace
}  // namespace gasmixer
