#include "controls/DateTimeText.h"
#include "controls/TimeSpanText.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace gasmixer {
namespace {

FormatSettings CommaSettings()
{
    FormatSettings settings;
    settings.decimalSeparator = ',';
    return settings;
}

struct SpanCase {
    double days;
    const char* text;
};

class TimeSpanTextTest : public ::testing::TestWithParam<SpanCase> {};

TEST_P(TimeSpanTextTest, WritesAndReadsBack)
{
    const SpanCase& c = GetParam();
    const FormatSettings settings;
    EXPECT_EQ(TimeSpanText(c.days, settings), c.text);
    if (c.days > 0) {
        const auto parsed = ParseTimeSpan(c.text, settings);
        ASSERT_TRUE(parsed.has_value()) << c.text;
        EXPECT_NEAR(*parsed, c.days, 0.5 / 86400000.0) << c.text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TimeSpanTextTest,
    ::testing::Values(SpanCase{1.5, "1.12:00:00.000"}, SpanCase{0.0, ""},
                      SpanCase{0.25 + 1.5 / 86400, "06:00:01.500"},
                      // Whole days keep their time so the text does not read back as seconds.
                      SpanCase{2.0, "2.00:00:00.000"},
                      SpanCase{1.0 - 0.1 / 86400000, "1.00:00:00.000"},
                      SpanCase{400.0 + 1.0 / 1440, "400.00:01:00.000"}));

TEST(TimeSpanTextErrorTest, NegativeDurationCannotBeShown)
{
    try {
        TimeSpanText(-1.0, FormatSettings{});
        FAIL() << "no exception";
    } catch (const std::domain_error& e) {
        EXPECT_STREQ(e.what(), "Error no negative Time Span allowed");
    }
}

TEST(ParseTimeSpanTest, ReadsFromTheRight)
{
    const FormatSettings settings;
    EXPECT_DOUBLE_EQ(*ParseTimeSpan("90", settings), 90.0 / 86400);
    EXPECT_DOUBLE_EQ(*ParseTimeSpan("5:30", settings), 330.0 / 86400);
    EXPECT_DOUBLE_EQ(*ParseTimeSpan("1:00:00", settings), 1.0 / 24);
    EXPECT_DOUBLE_EQ(*ParseTimeSpan("2.3:00:00", settings), 2.125);
    EXPECT_DOUBLE_EQ(*ParseTimeSpan("1.12:00:00,5", CommaSettings()), 1.5 + 0.5 / 86400);
    for (const char* bad : {"", "-1", "1:2:3:4", "a:00", "1.x:00:00", "1:-5", "1E3"})
        EXPECT_FALSE(ParseTimeSpan(bad, settings).has_value()) << bad;
}

TEST(DateTimeTextTest, WritesDateAndTimeAndReadsBack)
{
    const FormatSettings settings;
    const TDateTime noon = EncodeDateTime(2024, 2, 29, 12, 30, 15);
    EXPECT_EQ(DateTimeText(noon, settings), "2024/02/29 12:30:15");
    EXPECT_EQ(DateTimeText(EncodeDateTime(2024, 3, 1), settings), "2024/03/01");
    EXPECT_DOUBLE_EQ(*ParseDateTime("2024/02/29 12:30:15", settings), noon);
    EXPECT_DOUBLE_EQ(*ParseDateTime("2024/02/29 12:30", settings),
                     EncodeDateTime(2024, 2, 29, 12, 30));
    EXPECT_DOUBLE_EQ(*ParseDateTime("0001/01/01", settings), MinFieldDateTime);
    for (const char* bad : {"", "2023/02/29", "2024/13/01", "2024/01/01 24:00", "2024-01-01",
                            "10000/01/01", "2024/01/01 12"})
        EXPECT_FALSE(ParseDateTime(bad, settings).has_value()) << bad;
}

}  // namespace
}  // namespace gasmixer
