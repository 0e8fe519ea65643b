#include "common/TextFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>

namespace gasmixer {
namespace {

struct FloatCase {
    const char* pattern;
    double value;
    const char* expected;
    friend std::ostream& operator<<(std::ostream& os, const FloatCase& c)
    {
        return os << '"' << c.pattern << "\" " << c.value;
    }
};

class FormatFloatTest : public ::testing::TestWithParam<FloatCase> {};

TEST_P(FormatFloatTest, MatchesPattern)
{
    const FloatCase& c = GetParam();
    EXPECT_EQ(FormatFloat(c.pattern, c.value), c.expected) << c.pattern << " " << c.value;
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, FormatFloatTest,
    ::testing::Values(
        FloatCase{"0 000 000", 150, "0 000 150"},
        FloatCase{"0 000 000", 999850, "0 999 850"},
        FloatCase{"0 000 000", 12345678, "12 345 678"},
        FloatCase{"0 000 000", 2499.5, "0 002 500"},
        FloatCase{"0.000 000", 0.4, "0.400 000"},
        FloatCase{"0.000 000", 12.0000005, "12.000 001"},
        FloatCase{"0.000 000", -0.0000004, "0.000 000"},
        FloatCase{"0.000 000 000", 0.000048068, "0.000 048 068"},
        FloatCase{"0.0", -2.82, "-2.8"},
        FloatCase{"0.0", 20.0, "20.0"},
        FloatCase{"0.0", 0.25, "0.3"},
        FloatCase{"0.00", -3.8249, "-3.82"},
        FloatCase{"0.000", 1.00015, "1.000"},
        FloatCase{"0", 2.5, "3"},
        FloatCase{"0", -0.4, "0"},
        FloatCase{"0", 1234.0, "1234"},
        FloatCase{"#", 0.0, ""},
        FloatCase{"#", 7.0, "7"},
        FloatCase{"0.##", 1.5, "1.5"},
        FloatCase{"0.##", 2.0, "2"},
        // Literals outside the digit positions print where they stand.
        FloatCase{"0.0 %", 12.25, "12.3 %"},
        FloatCase{"0.0 %", -2.82, "-2.8 %"},
        FloatCase{"0.## %", 2.0, "2 %"},
        FloatCase{"0.0# %", 1.2, "1.2 %"},
        FloatCase{"[0.0]", 1.25, "[1.3]"},
        FloatCase{"0 000 000 ppm", 150, "0 000 150 ppm"},
        FloatCase{"0 %", 5, "5 %"},
        FloatCase{"# %", 0.0, " %"},
        // A blank between digit positions prints only between printed digits.
        FloatCase{"0.000 ###", 1.5, "1.500"},
        FloatCase{"0.000 ###", 1.5001, "1.500 1"}));

TEST(FormatFloat, NonFiniteValues)
{
    EXPECT_EQ(FormatFloat("0.0", std::numeric_limits<double>::quiet_NaN()), "NAN");
    EXPECT_EQ(FormatFloat("0.0", std::numeric_limits<double>::infinity()), "INF");
    EXPECT_EQ(FormatFloat("0.0", -std::numeric_limits<double>::infinity()), "-INF");
}

TEST(FormatFloat, UsesLocaleDecimalSeparator)
{
    FormatSettings comma;
    comma.decimalSeparator = ',';
    EXPECT_EQ(FormatFloat("0.000 000", 1.5, comma), "1,500 000");
    EXPECT_EQ(FormatGeneral(0.25, 15, 0, comma), "0,25");
}

struct GeneralCase {
    double value;
    int precision;
    int exponentDigits;
    const char* expected;
    friend std::ostream& operator<<(std::ostream& os, const GeneralCase& c)
    {
        return os << c.value << " precision " << c.precision;
    }
};

class FormatGeneralTest : public ::testing::TestWithParam<GeneralCase> {};

TEST_P(FormatGeneralTest, MatchesGeneralFormat)
{
    const GeneralCase& c = GetParam();
    EXPECT_EQ(FormatGeneral(c.value, c.precision, c.exponentDigits), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, FormatGeneralTest,
    ::testing::Values(GeneralCase{0.0, 15, 0, "0"}, GeneralCase{0.4, 15, 0, "0.4"},
                      GeneralCase{24.0, 15, 0, "24"}, GeneralCase{-1.25, 15, 0, "-1.25"},
                      GeneralCase{0.0001, 15, 0, "0.0001"}, GeneralCase{0.00001, 15, 0, "1E-5"},
                      GeneralCase{1.5e-7, 15, 4, "1.5E-0007"}, GeneralCase{1e15, 15, 0, "1E15"},
                      GeneralCase{123456789012345.0, 15, 0, "123456789012345"},
                      GeneralCase{2.0 / 3.0, 4, 0, "0.6667"}, GeneralCase{0.1 + 0.2, 15, 0, "0.3"},
                      GeneralCase{999.96, 4, 0, "1000"}));

TEST(FormatFixed, RoundsHalvesAwayFromZero)
{
    EXPECT_EQ(FormatFixed(0.4, 6), "0.400000");
    EXPECT_EQ(FormatFixed(-0.125, 2), "-0.13");
    EXPECT_EQ(FormatFixed(2.0, 0), "2");
}

TEST(RoundHalfEven, HalvesGoToEven)
{
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(2.6), 3);
}

struct DateCase {
    const char* pattern;
    const char* expected;
    friend std::ostream& operator<<(std::ostream& os, const DateCase& c) { return os << c.pattern; }
};

class FormatDateTimeTest : public ::testing::TestWithParam<DateCase> {};

TEST_P(FormatDateTimeTest, MatchesPattern)
{
    const TDateTime t = EncodeDateTime(2026, 3, 7, 14, 5, 9, 42);
    EXPECT_EQ(FormatDateTime(GetParam().pattern, t), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Patterns, FormatDateTimeTest,
                         ::testing::Values(DateCase{"hh:mm:ss", "14:05:09"},
                                           DateCase{"hh:nn:ss.zzz", "14:05:09.042"},
                                           DateCase{"mmm dd @ hh:mm:ss", "Mar 07 @ 14:05:09"},
                                           DateCase{"mm-dd hh_mm", "03-07 14_05"},
                                           DateCase{"mm-dd hh:mm", "03-07 14:05"},
                                           DateCase{"yyyy-mm-dd hh_mm", "2026-03-07 14_05"}));

TEST(FormatDateTime, UsesLocaleTimeSeparator)
{
    FormatSettings dots;
    dots.timeSeparator = '.';
    EXPECT_EQ(FormatDateTime("hh:mm:ss", EncodeDateTime(2026, 1, 1, 9, 8, 7), dots), "09.08.07");
}

}  // namespace
}  // namespace gasmixer
