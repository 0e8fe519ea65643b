#include "controls/KeyFilter.h"
#include "controls/Limits.h"
#include "controls/NumberText.h"

#include <gtest/gtest.h>

#include <limits>

namespace gasmixer {
namespace {

TEST(ParseIntegerTest, ReadsDecimal32BitIntegersOnly)
{
    EXPECT_EQ(ParseInteger("150"), 150);
    EXPECT_EQ(ParseInteger("-5"), -5);
    EXPECT_EQ(ParseInteger("+7"), 7);
    EXPECT_EQ(ParseInteger(" 42 "), 42);
    EXPECT_EQ(ParseInteger("2147483647"), std::numeric_limits<int>::max());
    EXPECT_EQ(ParseInteger("-2147483648"), std::numeric_limits<int>::min());
    for (const char* bad : {"", "-", "1-2", "2147483648", "1.5", "0x10", "+-1", "12a"})
        EXPECT_FALSE(ParseInteger(bad).has_value()) << bad;
}

TEST(ParseRealTest, ReadsNumbersWithTheGivenSeparator)
{
    EXPECT_EQ(ParseReal("1.5", '.'), 1.5);
    EXPECT_EQ(ParseReal("1E-3", '.'), 1e-3);
    EXPECT_EQ(ParseReal("+2.5e+2", '.'), 250.0);
    EXPECT_EQ(ParseReal("-.5", '.'), -0.5);
    EXPECT_EQ(ParseReal("1,25", ','), 1.25);
    // Another separator than the locale's is a typing error, not a digit group.
    EXPECT_FALSE(ParseReal("1.25", ',').has_value());
    for (const char* bad : {"", "-", "1-2", "1E", "inf", "nan", "0x1p3", "1E999", "1..2"})
        EXPECT_FALSE(ParseReal(bad, '.').has_value()) << bad;
}

struct FitCase {
    int digits;
    double value;
    const char* expected;
};

class FitTextTest : public ::testing::TestWithParam<FitCase> {};

TEST_P(FitTextTest, ShortensToTheDigitCount)
{
    const FitCase& c = GetParam();
    EXPECT_EQ(FitText(c.digits, c.value), c.expected) << c.digits << " " << c.value;
}

INSTANTIATE_TEST_SUITE_P(Cases, FitTextTest,
                         ::testing::Values(FitCase{0, 0.1, "0.1"},
                                           FitCase{4, 3.14159, "3.14"},
                                           FitCase{2, 3.14159, "3"},
                                           FitCase{4, 123456.0, "1E5"},
                                           FitCase{6, 123456.0, "123456"},
                                           FitCase{8, 0.000048, "4.8E-5"},
                                           FitCase{18, 3.0517578125e-5, "3.0517578125E-0005"},
                                           FitCase{12, 3.0517578125e-5, "3.0517578E-5"},
                                           FitCase{2, -0.5, "-0.5"}));

struct FixedCase {
    double value;
    int decimals;
    const char* expected;
};

class FixedTextTest : public ::testing::TestWithParam<FixedCase> {};

TEST_P(FixedTextTest, ShowsAtMost18SignificantDigits)
{
    const FixedCase& c = GetParam();
    EXPECT_EQ(FixedText(c.value, c.decimals, FormatSettings{}), c.expected)
        << c.value << " " << c.decimals;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FixedTextTest,
    ::testing::Values(FixedCase{1.1, 18, "1.100000000000000090"},
                      FixedCase{-1.1, 18, "-1.100000000000000090"},
                      FixedCase{123.456, 18, "123.456000000000003000"},
                      FixedCase{0.1, 18, "0.100000000000000006"},
                      FixedCase{0.25, 18, "0.250000000000000000"},
                      FixedCase{0.4, 6, "0.400000"},
                      FixedCase{-0.125, 2, "-0.13"},
                      FixedCase{0.0, 3, "0.000"},
                      // 18 digits before the separator leave none after it.
                      FixedCase{123456789012345678.0, 2, "123456789012345680.00"},
                      FixedCase{1.2345678901234567e20, 1, "123456789012345668000.0"},
                      FixedCase{1.2345678901234567e20, 0, "123456789012345668000"}));

TEST(FixedTextTest, UsesTheGivenDecimalSeparator)
{
    FormatSettings comma;
    comma.decimalSeparator = ',';
    EXPECT_EQ(FixedText(1.1, 18, comma), "1,100000000000000090");
    EXPECT_EQ(FixedText(1e18, 2, comma), "1000000000000000000,00");
}

TEST(ClampToLimitsTest, LimitsApplyOnlyWhenMaxAboveMin)
{
    EXPECT_EQ(ClampToLimits(150, 0, 100), 100);
    EXPECT_EQ(ClampToLimits(-3, 0, 100), 0);
    EXPECT_EQ(ClampToLimits(-5, 0, 0), -5);
    EXPECT_EQ(ClampToLimits(2000000, 0, 0), 2000000);
    EXPECT_EQ(ClampToLimits(7, 10, 5), 7);
}

TEST(KeyFilterTest, IntegerFieldTakesDigitsMinusAndEditingKeys)
{
    for (char32_t c : {U'0', U'9', U'-', char32_t{8}, char32_t{1}, char32_t{3}, char32_t{22},
                       char32_t{24}, char32_t{26}})
        EXPECT_TRUE(IsIntegerEditChar(c)) << static_cast<int>(c);
    for (char32_t c : {U'+', U'.', U'e', U'a', U' ', char32_t{13}, char32_t{2}})
        EXPECT_FALSE(IsIntegerEditChar(c)) << static_cast<int>(c);
}

TEST(KeyFilterTest, RealFieldTakesNumberCharactersAndDateCharactersInDateModes)
{
    FormatSettings settings;
    settings.decimalSeparator = ',';
    for (char32_t c : {U'5', U'+', U'-', U'E', U'e', U'.', U','})
        EXPECT_TRUE(IsRealEditChar(c, settings, false, U"")) << static_cast<int>(c);
    for (char32_t c : {U' ', U':', U'/', U'A', U'x'})
        EXPECT_FALSE(IsRealEditChar(c, settings, false, U"AMPM")) << static_cast<int>(c);
    for (char32_t c : {U' ', U':', U'/', U'A', U'P', U'M'})
        EXPECT_TRUE(IsRealEditChar(c, settings, true, U"AMPM")) << static_cast<int>(c);
    EXPECT_FALSE(IsRealEditChar(U'x', settings, true, U"AMPM"));
    EXPECT_FALSE(IsRealEditChar(char32_t{13}, settings, true, U"AMPM"));
}

}  // namespace
}  // namespace gasmixer
